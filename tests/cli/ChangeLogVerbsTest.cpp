#include "support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QJsonArray LogOf(const QString& db)
{
    QByteArray out, err;
    EXPECT_EQ(RunCli({"log", db, "--json"}, &out, &err), 0) << err.constData();
    return QJsonDocument::fromJson(out).array();
}

QStringList Field(const QJsonArray& entries, const char* key)
{
    QStringList values;
    for (const QJsonValue& entry : entries)
        values.append(entry.toObject().value(QLatin1String(key)).toString());
    return values;
}

} // namespace

TEST(LogVerb, EveryChangeAndExportOfTheCommandLineIsLogged)
{
    TempDir dir;
    const QString db = dir.File("log.fdb");
    const QString target = dir.File("target.fdb");
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0);
    const QString file = dir.Write("in.txt", "name=Ann&age=30\r\n\r\nname=Bob&age=41\r\n\r\n"
                                             "name=Cy&age=52\r\n\r\nname=Di&age=63\r\n");
    ASSERT_EQ(RunCli({"import", db, file}, &out, &err), 0) << err.constData();
    ASSERT_EQ(RunCli({"import", db, file}, &out, &err), 0) << err.constData();
    ASSERT_EQ(RunCli({"export", db, "--type", "delimited", "-o", dir.File("out.csv")}, &out, &err),
              0)
        << err.constData();
    ASSERT_EQ(RunCli({"transfer", db, target, "--ids", "1-2", "--yes"}, &out, &err), 0);
    ASSERT_EQ(RunCli({"merge", db, "2", "3", "--yes"}, &out, &err), 0) << err.constData();
    ASSERT_EQ(RunCli({"delete", db, "--ids", "4-4", "--yes"}, &out, &err), 0) << err.constData();

    const QJsonArray entries = LogOf(db);
    EXPECT_EQ(Field(entries, "kind"),
              (QStringList{"import", "import", "export", "transfer", "merge", "delete"}));
    const QStringList what = Field(entries, "what");
    ASSERT_EQ(what.size(), 6);
    EXPECT_TRUE(what[0].endsWith("read 4, imported 4, known 0, no_response 0, failed 0, stored 4"))
        << qPrintable(what[0]);
    EXPECT_TRUE(what[1].endsWith("read 4, imported 0, known 4, no_response 0, failed 0, stored 0"))
        << qPrintable(what[1]);
    EXPECT_EQ(what[2], "4 record(s) to delimited file " + dir.File("out.csv"));
    EXPECT_EQ(what[3], "2 record(s) copied to " + target);
    EXPECT_EQ(what[4], QStringLiteral("2 record(s) merged into record 2, 1 deleted"));
    EXPECT_EQ(what[5], QStringLiteral("1 record(s) deleted"));
    EXPECT_EQ(Field(entries, "records"),
              (QStringList{"1-4", "none", "4 record(s)", "1-2", "2-3", "4"}));
    for (const QJsonValue& entry : entries)
        EXPECT_FALSE(entry.toObject().value("user").toString().isEmpty());

    const QJsonArray arrived = LogOf(target);
    ASSERT_EQ(arrived.size(), 1);
    EXPECT_EQ(Field(arrived, "what").value(0),
              "2 record(s) arrived from " + db + ", records 1-2 there");
    EXPECT_EQ(Field(arrived, "records").value(0), QStringLiteral("1-2"));

    // One line an entry: when, kind, user, records, what.
    ASSERT_EQ(RunCli({"log", db}, &out, &err), 0);
    const QList<QByteArray> lines = out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[5].split('\t').value(1), "delete");
    EXPECT_EQ(lines[5].split('\t').value(4), "1 record(s) deleted");
}

TEST(LogVerb, SinceLeavesOutEarlierEntriesAndABadDateIsAUsageError)
{
    TempDir dir;
    const QString db = dir.File("since.fdb");
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0);
    ASSERT_EQ(RunCli({"import", db, dir.Write("a.txt", "name=Ann\r\n")}, &out, &err), 0);
    EXPECT_EQ(RunCli({"log", db, "--since", "2000-01-01"}, &out, &err), 0);
    EXPECT_EQ(out.count('\n'), 1);
    EXPECT_EQ(RunCli({"log", db, "--since", "2999-01-01", "--json"}, &out, &err), 0);
    EXPECT_EQ(QJsonDocument::fromJson(out).array().size(), 0);
    EXPECT_EQ(RunCli({"log", db, "--since", "yesterday"}, &out, &err), 2);
    EXPECT_TRUE(err.contains("--since takes a date")) << err.constData();
}

TEST(CompactVerb, ShrinksTheFileAndRefusesAForeignOne)
{
    TempDir dir;
    const QString db = dir.File("compact.fdb");
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0);
    QByteArray many;
    for (int i = 0; i < 400; ++i)
        many +=
            "name=Person" + QByteArray::number(i) + "&text=" + QByteArray(500, 'x') + "\r\n\r\n";
    ASSERT_EQ(RunCli({"import", db, dir.Write("many.txt", many)}, &out, &err), 0);
    ASSERT_EQ(RunCli({"delete", db, "--yes"}, &out, &err), 0);
    const qint64 before = QFile(db).size();
    ASSERT_EQ(RunCli({"compact", db}, &out, &err), 0) << err.constData();
    EXPECT_TRUE(out.startsWith("Database compacted: ")) << out.constData();
    EXPECT_LT(QFile(db).size(), before / 2);

    const QString foreign = dir.Write("foreign.fdb", "not a database at all");
    EXPECT_EQ(RunCli({"compact", foreign}, &out, &err), 1);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(QFile(foreign).size(), 21);
}
