#include "config/ConfigReader.h"
#include "config/ConfigWriter.h"
#include "config/FieldRules.h"
#include "ConfigTestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

ProgramFolders ShippedFolders(const TempDir& writable)
{
    return ProgramFolders(QStringLiteral(TALLOWMERE_RESOURCES), writable.Path());
}

} // namespace

TEST(ShippedDefaultConfig, LoadsCleanlyAndListsTheRecordLevelFields)
{
    TempDir dir;
    ScriptedUi ui;
    Session session(ui, ShippedFolders(dir), Regional(TestLocale()));
    ASSERT_TRUE(LoadDefaultConfig(session)) << ui.StatusText().toStdString();
    EXPECT_TRUE(ui.messages.isEmpty());
    const FormConfig& c = session.Config;

    QStringList qualified;
    QStringList display;
    for (const RecordField& field : c.RecordFieldList) {
        qualified << field.QualifiedName;
        display << field.DisplayName;
    }
    EXPECT_EQ(qualified, (QStringList{"Forms.FormID", "Forms.Form_Name", "Forms.Form_Notes",
                                      "Forms.Form_Date", "Forms.File_Name"}));
    EXPECT_EQ(display, (QStringList{"Record ID", "Record Name", "Record Notes", "Record Date",
                                    "Record Filename"}));

    // Header items: record ID, name, source file, date, notes.
    const std::array<qint16, 5> columns = {0, 1, 4, 3, 2};
    for (int item = 0; item < 5; ++item) {
        ASSERT_NE(c.HeaderItemEntry[item], FormConfig::kNoEntry) << item;
        EXPECT_EQ(c.HeaderItemColumn[item], columns[item]) << item;
    }
    // The editing panel's field name and value rows.
    EXPECT_EQ(c.GridTable[0][0], 2);
    EXPECT_EQ(c.GridColumn[0][0], 1);
    EXPECT_EQ(c.GridTable[0][1], 2);
    EXPECT_EQ(c.GridColumn[0][1], 2);
}

TEST(ShippedDefaultConfig, DataTypesFitTheRecordColumns)
{
    TempDir dir;
    ScriptedUi ui;
    Session session(ui, ShippedFolders(dir), Regional(TestLocale()));
    ASSERT_TRUE(LoadDefaultConfig(session));
    QMap<QString, QString> types;
    for (const RecordField& field : session.Config.RecordFieldList) {
        ASSERT_TRUE(ParseConfig(session.Config, field.EntryNumber));
        types.insert(field.QualifiedName, session.Config.ParsedEntry.DataType);
    }
    EXPECT_EQ(types.value("Forms.FormID"), "L");
    EXPECT_EQ(types.value("Forms.Form_Date"), "D");
    EXPECT_EQ(types.value("Forms.File_Name"), "T");
    // A header date box refuses what the database could not store as a date.
    EXPECT_FALSE(CheckField(session, "3", "soon", false));
    EXPECT_TRUE(CheckField(session, "3", "1/2/2023", false));
}

TEST(ShippedDefaultConfig, RoundTripsThroughSaving)
{
    TempDir dir;
    ScriptedUi ui;
    Session session(ui, ShippedFolders(dir), Regional(TestLocale()));
    ASSERT_TRUE(LoadDefaultConfig(session));
    const FormConfig before = session.Config;
    const QString saved = dir.File(QStringLiteral("copy.cfg"));
    ui.QueueFiles({saved});
    SaveConfigFile(session);
    ASSERT_EQ(ui.StatusText(), "Configuration saved to file " + saved);
    ASSERT_TRUE(LoadConfigFile(session, saved));
    EXPECT_EQ(session.Config.ConfigEntries, before.ConfigEntries);
    EXPECT_EQ(session.Config.RecordFieldList, before.RecordFieldList);
    EXPECT_EQ(session.Config.HeaderItemColumn, before.HeaderItemColumn);
    EXPECT_EQ(session.Config.FrameEntry, before.FrameEntry);
    EXPECT_EQ(session.Config.GridEntry, before.GridEntry);
}

TEST(ShippedDefaultConfig, IsInTheBuiltProgramFolder)
{
    TempDir dir;
    ScriptedUi ui;
    Session session(ui, ProgramFolders(QStringLiteral(TALLOWMERE_PROGRAM_DIR), dir.Path()),
                    Regional(TestLocale()));
    EXPECT_TRUE(LoadDefaultConfig(session)) << ui.StatusText().toStdString();
    EXPECT_EQ(session.Config.RecordFieldList.size(), 5);
}
