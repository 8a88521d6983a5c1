#include "platform/ProgramFolders.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(ProgramFolders, ProgramHomeFromEnvironmentWins)
{
    TempDir home;
    TempDir exe;
    exe.Write(QStringLiteral("default.cfg"), "x");
    qputenv("TALLOWMERE_HOME", home.Path().toUtf8());
    const ProgramFolders folders = ProgramFolders::Resolve(exe.Path());
    qunsetenv("TALLOWMERE_HOME");
    EXPECT_EQ(folders.Program(), QDir(home.Path()).canonicalPath());
    EXPECT_EQ(folders.Writable(), folders.Program());
    EXPECT_EQ(folders.SettingsFile(),
              QDir(folders.Program()).filePath(QStringLiteral("Tallowmere.ini")));
    EXPECT_EQ(folders.SearchResultFile(),
              QDir(folders.Program()).filePath(QStringLiteral("TempDB.tdb")));
}

TEST(ProgramFolders, ExecutableFolderWhenItHoldsDefaultConfig)
{
    TempDir exe;
    EXPECT_NE(ProgramFolders::Resolve(exe.Path()).Program(), QDir(exe.Path()).canonicalPath());
    // An installed tree under any prefix: PREFIX/bin and PREFIX/share/tallowmere.
    ASSERT_TRUE(QDir(exe.Path()).mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(QDir(exe.Path()).mkpath(QStringLiteral("share/tallowmere")));
    exe.Write(QStringLiteral("share/tallowmere/default.cfg"), "x");
    EXPECT_EQ(ProgramFolders::Resolve(exe.File(QStringLiteral("bin"))).Program(),
              QDir(exe.File(QStringLiteral("share/tallowmere"))).canonicalPath());
    exe.Write(QStringLiteral("default.cfg"), "x");
    EXPECT_EQ(ProgramFolders::Resolve(exe.Path()).Program(), QDir(exe.Path()).canonicalPath());
}

TEST(ProgramFolders, FindsFilesWithoutRegardToLetterCase)
{
    TempDir program;
    TempDir user;
    program.Write(QStringLiteral("Default_dat.rpt"), "program");
    program.Write(QStringLiteral("htop.rpt"), "program");
    user.Write(QStringLiteral("HTOP.rpt"), "user");
    const ProgramFolders folders(program.Path(), user.Path());
    EXPECT_EQ(folders.FindFile(QStringLiteral("Default_Dat.rpt")),
              program.File(QStringLiteral("Default_dat.rpt")));
    EXPECT_EQ(folders.FindFile(QStringLiteral("htop.rpt")), user.File(QStringLiteral("HTOP.rpt")));
    EXPECT_EQ(folders.FindFile(QStringLiteral("missing.rpt")), QString());
}
