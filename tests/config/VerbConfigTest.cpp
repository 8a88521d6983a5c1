#include "support/TempDir.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QString DefaultCfg()
{
    return QStringLiteral(TALLOWMERE_RESOURCES "/default.cfg");
}

} // namespace

TEST(ConfigVerb, PrintsTheShippedConfiguration)
{
    QByteArray out;
    QByteArray err;
    ASSERT_EQ(RunCli({"config", DefaultCfg()}, &out, &err), 0) << err.constData();
    const QString text = QString::fromUtf8(out);
    EXPECT_TRUE(
        text.startsWith("Entry 0\n  EntryKind: F\n  SectionNumber: 0\n  EntryLabel: Record ID\n"))
        << out.constData();
    EXPECT_TRUE(text.contains("RecordFieldList\n"
                              "  0  Forms.FormID  Record ID\n"
                              "  1  Forms.Form_Name  Record Name\n"
                              "  2  Forms.Form_Notes  Record Notes\n"
                              "  3  Forms.Form_Date  Record Date\n"
                              "  4  Forms.File_Name  Record Filename\n"))
        << out.constData();
    EXPECT_TRUE(text.contains("  header item 2: entry 4, header column 4\n"));
    EXPECT_TRUE(text.contains("  grid row 0.1: entry 7, cell 2.2\n"));
    EXPECT_EQ(QString::fromUtf8(err).trimmed(),
              "Configuration read from " + QFileInfo(DefaultCfg()).absoluteFilePath());
}

TEST(ConfigVerb, JsonHasEveryFieldOfEveryEntry)
{
    TempDir dir;
    dir.Write(QStringLiteral("form.cfg"),
              "# colours\nF|1|Colour|Colour|0|1|0|10|0|T|1.1|Form_Name|L.1||\nRed\nBlue\n||\n");
    QByteArray out;
    QByteArray err;
    // A relative path is taken from the current folder, not the program folder.
    const QString relative = QDir::current().relativeFilePath(dir.File(QStringLiteral("form.cfg")));
    ASSERT_EQ(RunCli({"config", "--json", relative}, &out, &err), 0) << err.constData();
    const QJsonObject root = QJsonDocument::fromJson(out).object();
    const QJsonArray entries = root.value("entries").toArray();
    ASSERT_EQ(entries.size(), 1);
    const QJsonObject fields = entries[0].toObject().value("fields").toObject();
    EXPECT_EQ(fields.size(), 15);
    EXPECT_EQ(fields.value("SectionNumber").toInt(), 1);
    EXPECT_EQ(fields.value("RequiredFlag").toInt(), 1);
    EXPECT_EQ(fields.value("MaxLength").toInt(), 10);
    EXPECT_EQ(fields.value("Placement").toString(), "L.1");
    EXPECT_EQ(fields.value("ComboItems").toString(), "Red\r\nBlue");
    const QJsonArray recordFields = root.value("recordFieldList").toArray();
    ASSERT_EQ(recordFields.size(), 1);
    EXPECT_EQ(recordFields[0].toObject().value("qualifiedName").toString(), "Forms.Form_Name");
    EXPECT_EQ(recordFields[0].toObject().value("displayName").toString(), "Record Colour");
    const QJsonArray headerItems =
        root.value("placements").toObject().value("headerItems").toArray();
    ASSERT_EQ(headerItems.size(), 1);
    EXPECT_EQ(headerItems[0].toObject().value("item").toInt(), 1);
    EXPECT_EQ(headerItems[0].toObject().value("column").toInt(), 1);
}

TEST(ConfigVerb, AFileThatCannotBeLoadedFails)
{
    TempDir dir;
    const QString bad = dir.Write(QStringLiteral("bad.cfg"), "T|0|too|few\n||\n");
    QByteArray out;
    QByteArray err;
    EXPECT_EQ(RunCli({"config", bad}, &out, &err), 1);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(err).trimmed(),
              "Error reading configuration file: entry 0 has 4 of the 15 fields");

    EXPECT_EQ(RunCli({"config", dir.File("absent.cfg")}, &out, &err), 1);
    EXPECT_EQ(QString::fromUtf8(err).trimmed(),
              "Error reading configuration file: No such file or directory");
    EXPECT_EQ(RunCli({"config"}, &out, &err), 2);
}
