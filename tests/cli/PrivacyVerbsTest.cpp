#include "support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

namespace {

// Four records: two dated 400 days back, one 10 days back, one today.
QString DatedDatabase(TempDir& dir)
{
    const QString db = dir.File("p.fdb");
    QByteArray out, err;
    EXPECT_EQ(RunCli({"create", db}, &out, &err), 0);
    const QString file = dir.Write("p.txt", "email=ann@example.org&city=Oslo\r\n\r\n"
                                            "email=bob@example.org&city=Rome\r\n\r\n"
                                            "email=ann@example.org&city=Lima\r\n\r\n"
                                            "email=cy@example.org&city=Pisa\r\n");
    EXPECT_EQ(RunCli({"import", db, file}, &out, &err), 0) << err.constData();
    SQLite::Database d(db.toStdString(), SQLite::OPEN_READWRITE);
    d.exec("UPDATE Forms SET Form_Date = CASE FormID WHEN 1 THEN date('now', 'localtime', "
           "'-400 days') WHEN 2 THEN date('now', 'localtime', '-400 days') WHEN 3 THEN "
           "date('now', 'localtime', '-10 days') ELSE date('now', 'localtime') END");
    return db;
}

int Count(const QString& db, const char* sql)
{
    SQLite::Database d(db.toStdString());
    return d.execAndGet(sql).getInt();
}

} // namespace

TEST(RetentionVerb, SetsListsAndAppliesOnlyWithApplyAndYes)
{
    TempDir dir;
    const QString db = DatedDatabase(dir);
    QByteArray out, err;
    EXPECT_EQ(RunCli({"retention", db}, &out, &err), 0);
    EXPECT_EQ(out, "Retention: none\n");
    for (const char* bad : {"days=0,action=delete", "days=-5,action=delete"}) {
        EXPECT_EQ(RunCli({"retention", db, "--set", bad}, &out, &err), 1) << bad;
        EXPECT_EQ(err, "The retention period must be one day or more.\n");
    }
    EXPECT_EQ(RunCli({"retention", db, "--set", "days=3,action=burn"}, &out, &err), 2);
    EXPECT_EQ(RunCli({"retention", db, "--set", "days=30,action=mask,fields=nosuch"}, &out, &err),
              1);
    EXPECT_EQ(RunCli({"retention", db, "--set", "days=365,action=delete", "--list"}, &out, &err),
              0);
    EXPECT_EQ(out, "Retention rule saved: 365 days, then delete the record\n"
                   "Retention: 365 days, then delete the record\n");

    EXPECT_EQ(RunCli({"retention", db, "--dry-run"}, &out, &err), 0);
    EXPECT_TRUE(out.startsWith("1\t")) << out.constData();
    EXPECT_TRUE(out.endsWith("2 record(s) would be deleted: past the retention period of 365 "
                             "days\n"))
        << out.constData();
    EXPECT_EQ(RunCli({"retention", db, "--apply"}, &out, &err), 1);
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Forms"), 4);
    EXPECT_EQ(RunCli({"retention", db, "--apply", "--yes"}, &out, &err), 0) << err.constData();
    EXPECT_EQ(out, "2 record(s) deleted: past the retention period of 365 days\n");
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Forms WHERE FormID IN (1, 2)"), 0);

    EXPECT_EQ(
        RunCli({"retention", db, "--set", "days=5,action=mask,fields=EMAIL", "--apply", "--yes"},
               &out, &err),
        0)
        << err.constData();
    EXPECT_TRUE(out.endsWith("1 record(s) masked (email): past the retention period of 5 days\n"))
        << out.constData();
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Data WHERE FormID = 3 AND Field_Value = ''"), 1);
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Forms"), 2);
}

TEST(PersonVerb, ListsExportsAndErasesAPersonsRecords)
{
    TempDir dir;
    const QString db = DatedDatabase(dir);
    QByteArray out, err;
    EXPECT_EQ(RunCli({"person", db, "nobody@example.org"}, &out, &err), 1);
    EXPECT_EQ(err, "No record holds 'nobody@example.org'\n");
    EXPECT_EQ(RunCli({"person", db, "ann"}, &out, &err), 1);
    EXPECT_EQ(err, "'ann' is not an e-mail address; --text finds any text\n");
    EXPECT_EQ(RunCli({"person", db, "PISA", "--text"}, &out, &err), 0);
    EXPECT_TRUE(out.startsWith("4\t")) << out.constData();

    const QString json = dir.File("ann.json");
    EXPECT_EQ(RunCli({"person", db, "Ann@Example.org", "--export", json}, &out, &err), 0)
        << err.constData();
    EXPECT_TRUE(out.contains("2 record(s) hold 'Ann@Example.org'\n")) << out.constData();
    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray records = QJsonDocument::fromJson(file.readAll())["records"].toArray();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[1].toObject()["FormID"].toInt(), 3);
    EXPECT_EQ(records[1].toObject()["fields"].toArray()[1].toObject()["Field_Value"].toString(),
              QStringLiteral("Lima"));
    EXPECT_EQ(RunCli({"person", db, "ann@example.org", "--export", json}, &out, &err), 1);
    EXPECT_EQ(RunCli({"person", db, "ann@example.org", "--export", dir.File("a.txt")}, &out, &err),
              2);

    const QString pdf = dir.File("ann.pdf");
    EXPECT_EQ(RunCli({"person", db, "ann@example.org", "--export", pdf}, &out, &err), 0)
        << err.constData();
    QFile pages(pdf);
    ASSERT_TRUE(pages.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pages.read(5) == "%PDF-");

    EXPECT_EQ(RunCli({"person", db, "ann@example.org", "--erase"}, &out, &err), 1);
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Forms"), 4);
    EXPECT_EQ(RunCli({"person", db, "ann@example.org", "--erase", "--yes"}, &out, &err), 0);
    EXPECT_TRUE(out.endsWith("2 record(s) erased\n")) << out.constData();
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Forms"), 2);
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Data WHERE Field_Value LIKE 'ann%'"), 0);
    for (const QString& name : {db, db + "-wal", db + "-journal"}) {
        QFile bytes(name);
        if (bytes.open(QIODevice::ReadOnly)) {
            EXPECT_FALSE(bytes.readAll().toLower().contains("ann@example.org")) << qPrintable(name);
        }
    }
}

TEST(ExportVerb, OmitsFieldsAndWritesStablePseudonymsPerDatabase)
{
    TempDir dir;
    const QString db = DatedDatabase(dir);
    QByteArray out, err;
    const QString csv = dir.File("out.csv");
    const auto run = [&](const QString& database) {
        EXPECT_EQ(RunCli({"export", database, "--type", "delimited", "-o", csv, "--fields",
                          "email,city", "--pseudonymise", "email", "--omit", "city", "--yes"},
                         &out, &err),
                  0)
            << err.constData();
        QFile file(csv);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray lines = file.readAll();
        file.close();
        QFile::remove(csv);
        return lines.split('\n');
    };
    const QList<QByteArray> first = run(db);
    ASSERT_GE(first.size(), 4);
    EXPECT_TRUE(first[0].startsWith("p-")) << first[0].constData();
    EXPECT_EQ(first[0].trimmed().size(), 14);
    EXPECT_EQ(first[0], first[2]); // the same address, the same pseudonym
    EXPECT_NE(first[0], first[1]);
    EXPECT_FALSE(first.join().contains("Oslo"));
    EXPECT_FALSE(first.join().contains("example.org"));
    EXPECT_EQ(run(db), first);

    const QString other = dir.File("other.fdb");
    ASSERT_TRUE(QFile::copy(db, other));
    SQLite::Database(other.toStdString(), SQLite::OPEN_READWRITE)
        .exec("DELETE FROM Info WHERE Key = 'PseudonymKey'");
    const QList<QByteArray> second = run(other);
    EXPECT_NE(second[0], first[0]);
    EXPECT_EQ(second[0], second[2]);
    EXPECT_EQ(RunCli({"export", db, "--type", "screen", "--omit", "nosuch"}, &out, &err), 2);
}
