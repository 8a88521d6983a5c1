#include "support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <QThread>
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
    QByteArray out, err;
    RunCli({"create", db}, &out, &err);
    {
        SQLite::Database d(db.toStdString(), SQLite::OPEN_READWRITE);
        d.exec("BEGIN");
        for (int i = 1; i <= 40000; ++i) {
            d.exec("INSERT INTO Forms (Form_Name) VALUES ('r" + std::to_string(i) + "')");
            for (int f = 0; f < 4; ++f)
                d.exec("INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES ('f" +
                       std::to_string(f) + "', 'v', " + std::to_string(i) + ")");
        }
        d.exec("COMMIT");
    }
    const QString target = dir.File("killed.fdb");
    QProcess cli;
    cli.start(QStringLiteral(TALLOWMERE_CLI), {"transfer", db, target, "--yes"});
    ASSERT_TRUE(cli.waitForStarted());
    for (int i = 0; i < 200 && !QFile::exists(target + "-wal"); ++i)
        QThread::msleep(10);
    QThread::msleep(300);
    cli.kill();
    cli.waitForFinished();
    ASSERT_TRUE(QFile::exists(target));
    SQLite::Database t(target.toStdString());
    EXPECT_EQ(t.execAndGet("SELECT count(*) FROM Forms WHERE (SELECT count(*) FROM Data WHERE "
                           "Data.FormID = Forms.FormID) <> 4")
                  .getInt(),
              0);
    EXPECT_EQ(t.execAndGet("SELECT count(*) FROM Data WHERE FormID NOT IN (SELECT FormID FROM "
                           "Forms)")
                  .getInt(),
              0);
}
