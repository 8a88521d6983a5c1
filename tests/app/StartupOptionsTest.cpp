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
    const auto all = [](CommandId) { return true; };
    const auto none = [](CommandId) { return false; };
    const QString note = StartupOptions::SampleQueriesNote(all);
    EXPECT_TRUE(note.startsWith(
        QStringLiteral("Along with the sample database, some sample QUERIES\r\nare also")));
    EXPECT_TRUE(note.contains(QStringLiteral("select \r\n'Search' from the Options menu.")));
    EXPECT_TRUE(note.endsWith(QStringLiteral("please see the help file (or press F1).")));
    EXPECT_EQ(note.count(QStringLiteral("\r\n")), 6);
    // Five paragraphs, each beginning with a dash.
    for (const auto& works : {StartupOptions::CommandWorks(all), StartupOptions::CommandWorks(none),
                              StartupOptions::CommandWorks(StartupOptions::IsBuilt)}) {
        const QStringList paragraphs =
            StartupOptions::QuickTipsText(works).split(QStringLiteral("\r\n\r\n"));
        ASSERT_EQ(paragraphs.size(), 5);
        for (const QString& p : paragraphs)
            EXPECT_TRUE(p.startsWith(QStringLiteral("- ")) && p.endsWith(QLatin1Char('.')))
                << p.toStdString();
    }

    EXPECT_TRUE(StartupOptions::StaysOpenAfter(StartupOptions::ViewTutorial));
    for (int task : {0, 1, 2, 4})
        EXPECT_FALSE(StartupOptions::StaysOpenAfter(task));
}

// The tips and the sample note name a command only while it works, so a new
// user is never sent to a command that is off.
TEST(StartupOptions, TextsNameOnlyCommandsThatWork)
{
    const auto all = [](CommandId) { return true; };
    const auto none = [](CommandId) { return false; };
    const QString full = StartupOptions::QuickTipsText(all);
    EXPECT_TRUE(full.contains(QStringLiteral("\"Import record from Clipboard\"")));
    EXPECT_TRUE(full.contains(QStringLiteral("Query Builder")));
    EXPECT_TRUE(full.contains(QStringLiteral(
        "- Print your records through a report template, or export them as a text file, an "
        "HTML page or a delimited text file that a spreadsheet can read.")));

    const QString bare = StartupOptions::QuickTipsText(none);
    EXPECT_FALSE(bare.contains(QStringLiteral("Clipboard")));
    EXPECT_FALSE(bare.contains(QStringLiteral("Query Builder")));
    EXPECT_FALSE(bare.contains(QStringLiteral("Print")));
    EXPECT_FALSE(bare.contains(QStringLiteral("export")));
    EXPECT_TRUE(bare.contains(QStringLiteral("\"View record\"")));
    EXPECT_TRUE(bare.contains(QStringLiteral("Quick Find")));

    // Only the text export works: named alone.
    const QString textOnly =
        StartupOptions::QuickTipsText([](CommandId id) { return id == CommandId::ExportText; });
    EXPECT_TRUE(textOnly.endsWith(QStringLiteral("- Export your records as a text file.")));

    const QString quickFindNote = StartupOptions::SampleQueriesNote(none);
    EXPECT_FALSE(quickFindNote.contains(QStringLiteral("Search")));
    EXPECT_FALSE(quickFindNote.contains(QStringLiteral("Load Query")));
    EXPECT_TRUE(quickFindNote.contains(QStringLiteral("Quick Find")));
    EXPECT_TRUE(quickFindNote.endsWith(QStringLiteral("(or press F1).")));

    // As built: whatever the tips and the note name is on.
    const QString tips = StartupOptions::QuickTipsText();
    const QString note = StartupOptions::SampleQueriesNote();
    for (const CommandInfo& c : Commands()) {
        QString caption = c.caption;
        caption.remove(QLatin1Char('&'));
        if (caption.size() < 6 || c.built)
            continue;
        EXPECT_FALSE(tips.contains(caption, Qt::CaseInsensitive)) << caption.toStdString();
    }
    EXPECT_EQ(note.contains(QStringLiteral("'Load Query'")),
              CommandOf(CommandId::QueryBuilder).built);
    EXPECT_EQ(tips.contains(QStringLiteral("Clipboard")),
              CommandOf(CommandId::ImportClipboard).built);
    EXPECT_EQ(tips.contains(QStringLiteral("Print ")), CommandOf(CommandId::Print).built);
}

TEST(StartupOptions, NoBrowserMessageSaysWhereTheTutorialIs)
{
    const QString text = StartupOptions::NoBrowserMessage(QStringLiteral("/opt/t/tutorial.htm"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("No program to show web pages was found.")));
    EXPECT_TRUE(text.contains(QStringLiteral("/opt/t/tutorial.htm")));
}
