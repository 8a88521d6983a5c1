#include "platform/Settings.h"
#include "platform/ProgramFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(Settings, UnsetKeysGiveTheirDefaults)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    EXPECT_EQ(ReadSetting(folders, Settings::LastUsedDB), QString());
    EXPECT_EQ(ReadSetting(folders, Settings::AutoLoadDB), QStringLiteral("0"));
    EXPECT_EQ(ReadSettingNumber(folders, Settings::NoWizard), 0);
    // A key written with no characters also counts as not set.
    ASSERT_TRUE(WriteSetting(folders, Settings::AutoLoadDB, QString()));
    EXPECT_EQ(ReadSetting(folders, Settings::AutoLoadDB), QStringLiteral("0"));
}

TEST(Settings, WritesSectionTallowmereOfTheSettingsFile)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    ASSERT_TRUE(WriteSetting(folders, Settings::LastUsedDB, QStringLiteral("/data/My Forms.fdb")));
    ASSERT_TRUE(WriteSettingFlag(folders, Settings::AutoLoadDB, true));
    ASSERT_TRUE(WriteSettingFlag(folders, Settings::NoWizard, false));
    EXPECT_EQ(dir.Read(QStringLiteral("Tallowmere.ini")),
              QByteArray("[Tallowmere]\r\nLastUsedDB=/data/My Forms.fdb\r\nAutoLoadDB=1\r\n"
                         "NoWizard=0\r\n"));
    EXPECT_EQ(ReadSetting(folders, Settings::LastUsedDB), QStringLiteral("/data/My Forms.fdb"));
    EXPECT_EQ(ReadSettingNumber(folders, Settings::AutoLoadDB), 1);
}

TEST(Settings, NumbersAreTheLeadingNumberOfTheText)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    const auto number = [&](const char* text) {
        WriteSetting(folders, Settings::AutoLoadDB, QString::fromLatin1(text));
        return ReadSettingNumber(folders, Settings::AutoLoadDB);
    };
    EXPECT_EQ(number("yes"), 0);
    EXPECT_EQ(number("1 please"), 1);
    EXPECT_EQ(number(" 2"), 2);
    EXPECT_EQ(number("1.5"), 2);
    EXPECT_EQ(number("2.5"), 2);
    EXPECT_EQ(number("-1"), -1);
    EXPECT_EQ(number("99999999999"), 0); // does not fit: not a usable number
}

TEST(Settings, UnwritableFileReportsTheSystemsReason)
{
    TempDir dir;
    // The settings file's place is taken by a folder.
    const ProgramFolders folders(dir.Path(), dir.File(QStringLiteral("missing/deeper")));
    QString error;
    EXPECT_FALSE(WriteSetting(folders, Settings::NoWizard, QStringLiteral("1"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadSettingNumber(folders, Settings::NoWizard), 0);
}
