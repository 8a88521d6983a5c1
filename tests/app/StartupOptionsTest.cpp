#include "platform/Settings.h"
#include "app/StartupOptions.h"
#include "platform/ProgramFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(StartupOptions, BoxesFollowTheSettings)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    EXPECT_FALSE(StartupOptions::AutoOpenTicked(folders));
    EXPECT_FALSE(StartupOptions::NoWizardTicked(folders));
    WriteSetting(folders, Settings::AutoLoadDB, QStringLiteral("1"));
    WriteSetting(folders, Settings::NoWizard, QStringLiteral("2"));
    EXPECT_TRUE(StartupOptions::AutoOpenTicked(folders));
    EXPECT_FALSE(StartupOptions::NoWizardTicked(folders)); // only 1 ticks the box
}

TEST(StartupOptions, TickingAutoOpenWithoutADatabaseKeepsLastUsed)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    WriteSetting(folders, Settings::LastUsedDB, QStringLiteral("/db/old.fdb"));
    ASSERT_TRUE(StartupOptions::AutoOpenChanged(folders, true, QStringLiteral("   ")));
    EXPECT_EQ(ReadSetting(folders, Settings::AutoLoadDB), QStringLiteral("1"));
    EXPECT_EQ(ReadSetting(folders, Settings::LastUsedDB), QStringLiteral("/db/old.fdb"));
}

TEST(StartupOptions, TickingAutoOpenWithADatabaseRemembersItTrimmed)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    ASSERT_TRUE(StartupOptions::AutoOpenChanged(folders, true, QStringLiteral(" /db/new.fdb ")));
    EXPECT_EQ(ReadSetting(folders, Settings::LastUsedDB), QStringLiteral("/db/new.fdb"));
    // Unticking writes 0 and leaves the path.
    ASSERT_TRUE(StartupOptions::AutoOpenChanged(folders, false, QStringLiteral("/db/other.fdb")));
    EXPECT_EQ(ReadSetting(folders, Settings::AutoLoadDB), QStringLiteral("0"));
    EXPECT_EQ(ReadSetting(folders, Settings::LastUsedDB), QStringLiteral("/db/new.fdb"));

    ASSERT_TRUE(StartupOptions::NoWizardChanged(folders, true));
    EXPECT_EQ(ReadSetting(folders, Settings::NoWizard), QStringLiteral("1"));
}

TEST(StartupOptions, TextsAndTasks)
{
    const QString note = StartupOptions::SampleQueriesNote();
    EXPECT_TRUE(note.startsWith(
        QStringLiteral("Along with the sample database, some sample QUERIES\r\nare also")));
    EXPECT_TRUE(note.contains(QStringLiteral("select \r\n'Search' from the Options menu.")));
    EXPECT_TRUE(note.endsWith(QStringLiteral("please see the help file (or press F1).")));
    EXPECT_EQ(note.count(QStringLiteral("\r\n")), 6);
    // Five paragraphs, each beginning with a dash.
    const QStringList paragraphs =
        StartupOptions::QuickTipsText().split(QStringLiteral("\r\n\r\n"));
    ASSERT_EQ(paragraphs.size(), 5);
    for (const QString& p : paragraphs)
        EXPECT_TRUE(p.startsWith(QStringLiteral("- "))) << p.toStdString();

    EXPECT_TRUE(StartupOptions::StaysOpenAfter(StartupOptions::ViewTutorial));
    for (int task : {0, 1, 2, 4})
        EXPECT_FALSE(StartupOptions::StaysOpenAfter(task));
}
