#include "platform/Settings.h"
#include "platform/ProgramFolders.h"
#include "search/SummaryColumns.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace SummaryColumns;

TEST(SummaryColumns, FirstLoadWritesTheInitialColumnsAsDefault)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    QString error;
    const QList<bool> visible = LoadVisibility(folders, InitialVisibility(), &error);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(visible, InitialVisibility());
    EXPECT_EQ(ReadSetting(folders, Settings::DefaultColumnsToShow),
              QStringLiteral("FormID Form_Name Form_Notes Form_Date"));
    EXPECT_EQ(ReadSetting(folders, Settings::ColumnsToShow), QString());
}

TEST(SummaryColumns, UserChoiceWinsAndBlankFallsBackToTheDefault)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    WriteSetting(folders, Settings::DefaultColumnsToShow, QStringLiteral("FormID File_Name"));
    WriteSetting(folders, Settings::ColumnsToShow, QStringLiteral("Form_Date"));
    EXPECT_EQ(LoadVisibility(folders, InitialVisibility(), nullptr),
              (QList<bool>{false, false, false, true, false}));

    WriteSetting(folders, Settings::ColumnsToShow, QStringLiteral("    "));
    EXPECT_EQ(LoadVisibility(folders, InitialVisibility(), nullptr),
              (QList<bool>{true, false, false, false, true}));
    // A default read from the file is written back as it was.
    EXPECT_EQ(ReadSetting(folders, Settings::DefaultColumnsToShow),
              QStringLiteral("FormID File_Name"));
}

TEST(SummaryColumns, VisibilityIsASubstringTest)
{
    EXPECT_EQ(VisibilityFor(QStringLiteral("Form_Names")),
              (QList<bool>{false, true, false, false, false}));
    EXPECT_EQ(VisibilityFor(QStringLiteral("formid")),
              (QList<bool>{false, false, false, false, false}));
    EXPECT_TRUE(VisibilityFor(QStringLiteral("  ")).isEmpty());
    EXPECT_EQ(ColumnsText({false, false, false, false, false}), QString());
    EXPECT_EQ(ColumnsText({false, true, false, false, true}),
              QStringLiteral("Form_Name File_Name"));
}

TEST(SummaryColumns, SavingWritesTheVisibleColumnsOrReportsWhy)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    ASSERT_TRUE(SaveVisibility(folders, {true, false, true, false, true}, nullptr));
    EXPECT_EQ(ReadSetting(folders, Settings::ColumnsToShow),
              QStringLiteral("FormID Form_Notes File_Name"));

    const ProgramFolders unwritable(dir.Path(), dir.File(QStringLiteral("no/such/folder")));
    QString error;
    EXPECT_FALSE(SaveVisibility(unwritable, {true, true, true, true, true}, &error));
    EXPECT_TRUE(
        error.startsWith(QStringLiteral("Configuration could not be saved to Tallowmere.ini: ")))
        << error.toStdString();
    LoadVisibility(unwritable, InitialVisibility(), &error);
    EXPECT_TRUE(error.startsWith(QStringLiteral("Error reading/writing Tallowmere.ini: ")));
}
