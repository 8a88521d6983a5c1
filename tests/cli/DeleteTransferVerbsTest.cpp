#include "support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

namespace {

QString ThreeRecords(TempDir& dir, const QString& name)
{
    const QString db = dir.File(name);
    QByteArray out, err;
    RunCli({"create", db}, &out, &err);
    const QString file = dir.Write(name + ".txt", "name=Ann&age=30\r\n\r\nname=Bob&age=41\r\n\r\n"
                                                  "name=Cy&age=52\r\n");
    RunCli({"import", db, file}, &out, &err);
    return db;
}

int Count(const QString& db, const char* sql)
{
    SQLite::Database d(db.toStdString());
    return d.execAndGet(sql).getInt();
}

} // namespace

TEST(DeleteVerb, OnlyYesDeletesAndARangeSkipsMissingNumbers)
{
    TempDir dir;
    const QString db = ThreeRecords(dir, "d.fdb");
    QByteArray out, err;
    EXPECT_EQ(RunCli({"delete", db}, &out, &err), 1);
    EXPECT_EQ(out, "Delete Cancelled\n");
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Forms"), 3);
    EXPECT_EQ(RunCli({"delete", db, "--ids", "2-9", "--yes"}, &out, &err), 0) << err.constData();
    EXPECT_EQ(out, "2 record(s) Deleted\n");
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Data WHERE FormID <> 1"), 0);
    EXPECT_EQ(RunCli({"delete", db, "--ids", "5-3", "--yes"}, &out, &err), 1);
    EXPECT_EQ(RunCli({"delete", db, "--ids", "3"}, &out, &err), 2);
    EXPECT_EQ(RunCli({"delete", db, "--find", "name", "Ann", "--yes"}, &out, &err), 0)
        << err.constData();
    EXPECT_EQ(out, "1 record(s) Deleted\n");
}

TEST(TransferVerb, CreatesOnlyWithYesAndRefusesAForeignFile)
{
    TempDir dir;
    const QString db = ThreeRecords(dir, "s.fdb");
    const QString target = dir.File("t.fdb");
    QByteArray out, err;
    EXPECT_EQ(RunCli({"transfer", db, target}, &out, &err), 1);
    EXPECT_EQ(out, "Save cancelled\n");
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(RunCli({"transfer", db, target, "--yes"}, &out, &err), 0) << err.constData();
    EXPECT_EQ(out, ("3 record(s) saved to " + target + "\n").toUtf8());
    EXPECT_EQ(RunCli({"transfer", db, target, "--ids", "2-2"}, &out, &err), 0);
    EXPECT_EQ(Count(target, "SELECT count(*) FROM Forms"), 4);
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Forms"), 3);

    const QString foreign = dir.Write("foreign.fdb", "not a database at all");
    EXPECT_EQ(RunCli({"transfer", db, foreign, "--yes"}, &out, &err), 1);
    EXPECT_EQ(out, ("0 record(s) saved to " + foreign + "\n").toUtf8());
}

TEST(TransferVerb, AKilledTransferLeavesOnlyWholeRecords)
{
    TempDir dir;
    const QString db = dir.File("big.fdb");
    constexpr int kTotal = 60000;
    QByteArray out, err;
    RunCli({"create", db}, &out, &err);
    {
        SQLite::Database d(db.toStdString(), SQLite::OPEN_READWRITE);
        d.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
               std::to_string(kTotal) +
               ") INSERT INTO Forms (FormID, Form_Name) SELECT i, 'r' || i FROM n");
        d.exec("INSERT INTO Data (Field_Name, Field_Value, FormID) SELECT 'f' || k, 'v' || k, "
               "FormID FROM Forms, (SELECT 0 AS k UNION ALL SELECT 1 UNION ALL SELECT 2 UNION "
               "ALL SELECT 3) ORDER BY FormID, k");
    }
    const QString target = dir.File("killed.fdb");
    QProcess cli;
    cli.start(QStringLiteral(TALLOWMERE_CLI), {"transfer", db, target, "--yes"});
    ASSERT_TRUE(cli.waitForStarted());
    // Killed once the target holds its first committed records, so the
    // transfer is surely under way.
    int seen = 0;
    while (seen == 0 && cli.state() == QProcess::Running) {
        try {
            SQLite::Database t(target.toStdString());
            seen = t.execAndGet("SELECT count(*) FROM Forms").getInt();
        } catch (const SQLite::Exception&) {
            // not there yet
        }
        if (seen == 0)
            cli.waitForFinished(5);
    }
    cli.kill();
    cli.waitForFinished();
    ASSERT_GT(seen, 0) << "the transfer ended before writing: "
                       << cli.readAllStandardError().data();
    EXPECT_EQ(cli.exitStatus(), QProcess::CrashExit) << "the transfer was not killed";

    SQLite::Database t(target.toStdString());
    EXPECT_EQ(t.execAndGet("PRAGMA integrity_check").getString(), "ok");
    const int kept = t.execAndGet("SELECT count(*) FROM Forms").getInt();
    EXPECT_GE(kept, seen);
    EXPECT_LT(kept, kTotal);
    // The first records in order, each with its own four fields.
    EXPECT_EQ(t.execAndGet("SELECT count(DISTINCT Form_Name) = count(*) AND min(CAST(substr("
                           "Form_Name, 2) AS INTEGER)) = 1 AND max(CAST(substr(Form_Name, 2) AS "
                           "INTEGER)) = count(*) FROM Forms")
                  .getInt(),
              1);
    EXPECT_EQ(t.execAndGet("SELECT count(*) FROM Forms WHERE (SELECT group_concat(Field_Name "
                           "|| '=' || Field_Value, ',') FROM (SELECT * FROM Data WHERE "
                           "Data.FormID = Forms.FormID ORDER BY DataID)) = "
                           "'f0=v0,f1=v1,f2=v2,f3=v3'")
                  .getInt(),
              kept);
    EXPECT_EQ(t.execAndGet("SELECT count(*) FROM Data").getInt(), 4 * kept);
}
