#include "platform/Settings.h"
#include "app/StartupPlan.h"
#include "platform/ProgramFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(StartupPlan, NothingSetShowsTheStartupOptions)
{
    TempDir dir;
    const StartupPlan plan = PlanStartup(dir.Folders(), QString());
    EXPECT_EQ(plan.startMode, 0);
    EXPECT_FALSE(plan.openDatabase);
    EXPECT_TRUE(plan.showWizard);
}

TEST(StartupPlan, AutoLoadOpensTheLastUsedDatabaseWithoutTheDialog)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    WriteSetting(folders, Settings::AutoLoadDB, QStringLiteral("1"));
    WriteSetting(folders, Settings::LastUsedDB, QStringLiteral("/db/last.fdb"));
    const StartupPlan plan = PlanStartup(folders, QString());
    EXPECT_EQ(plan.startMode, StartupPlan::OpenLastUsed);
    EXPECT_TRUE(plan.openDatabase);
    EXPECT_EQ(plan.databasePath, QStringLiteral("/db/last.fdb"));
    EXPECT_FALSE(plan.showWizard);
}

TEST(StartupPlan, AutoLoadWithNoLastDatabaseStillTriesAndSkipsTheDialog)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    WriteSetting(folders, Settings::AutoLoadDB, QStringLiteral("1"));
    const StartupPlan plan = PlanStartup(folders, QString());
    EXPECT_TRUE(plan.openDatabase);
    EXPECT_EQ(plan.databasePath, QString());
    EXPECT_FALSE(plan.showWizard);
}

TEST(StartupPlan, CommandLineWinsOverAutoLoad)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    WriteSetting(folders, Settings::AutoLoadDB, QStringLiteral("1"));
    WriteSetting(folders, Settings::LastUsedDB, QStringLiteral("/db/last.fdb"));
    const StartupPlan plan = PlanStartup(folders, QStringLiteral("/db/My Forms.fdb"));
    EXPECT_EQ(plan.startMode, StartupPlan::OpenCommandLine);
    EXPECT_EQ(plan.databasePath, QStringLiteral("/db/My Forms.fdb"));
    EXPECT_FALSE(plan.showWizard);
}

TEST(StartupPlan, NoWizardAndUnknownModes)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    WriteSetting(folders, Settings::NoWizard, QStringLiteral("1"));
    StartupPlan plan = PlanStartup(folders, QString());
    EXPECT_FALSE(plan.openDatabase);
    EXPECT_FALSE(plan.showWizard);

    WriteSetting(folders, Settings::NoWizard, QStringLiteral("0"));
    WriteSetting(folders, Settings::AutoLoadDB, QStringLiteral("3"));
    plan = PlanStartup(folders, QString());
    EXPECT_EQ(plan.startMode, 3);
    EXPECT_FALSE(plan.openDatabase);
    EXPECT_TRUE(plan.showWizard);

    // "yes" is not a number: mode 0.
    WriteSetting(folders, Settings::AutoLoadDB, QStringLiteral("yes"));
    plan = PlanStartup(folders, QString());
    EXPECT_EQ(plan.startMode, 0);
    EXPECT_FALSE(plan.openDatabase);
}

TEST(StartupPlan, TheCommandLinesDatabaseIsTakenFromTheFolderTheProgramStartedIn)
{
    const struct {
        QStringList args;
        const char* path;
    } cases[] = {
        {{}, ""},
        {{"d.fdb"}, "/home/ann/d.fdb"},
        {{"../forms/my", "answers.fdb"}, "/home/forms/my answers.fdb"},
        {{"/srv/forms.fdb"}, "/srv/forms.fdb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandLineDatabase(c.args, QStringLiteral("/home/ann")),
                  QString::fromUtf8(c.path))
            << c.path;
}

TEST(StartupPlan, AQueryFileOnTheCommandLineIsLoadedIntoTheDatabaseTheStartupOpens)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    const QString byName = dir.Write(QStringLiteral("names.QRY"), "");
    const QString byContent = dir.Write(QStringLiteral("saved"), "[Tallowmere]\r\nRows= 1\r\n");
    const QString database = dir.Write(QStringLiteral("forms.fdb"), "SQLite format 3");
    for (const QString& query : {byName, byContent}) {
        StartupPlan plan = PlanStartup(folders, query);
        EXPECT_EQ(plan.queryFile, query);
        EXPECT_FALSE(plan.openDatabase); // a query file is no database
        EXPECT_TRUE(plan.showWizard);
    }
    EXPECT_EQ(PlanStartup(folders, database).queryFile, QString());

    WriteSetting(folders, Settings::AutoLoadDB, QStringLiteral("1"));
    WriteSetting(folders, Settings::LastUsedDB, database);
    const StartupPlan plan = PlanStartup(folders, byName);
    EXPECT_TRUE(plan.openDatabase);
    EXPECT_EQ(plan.databasePath, database);
    EXPECT_EQ(plan.queryFile, byName);
}
