#include "platform/IniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(IniFile, WritesCreateFileSectionAndKey)
{
    TempDir dir;
    const QString path = dir.File(QStringLiteral("Tallowmere.ini"));
    EXPECT_EQ(IniFile::Read(path, QStringLiteral("Tallowmere"), QStringLiteral("LastUsedDB")),
              QString());

    ASSERT_TRUE(IniFile::Write(path, QStringLiteral("Tallowmere"), QStringLiteral("AutoLoadDB"),
                               QStringLiteral("1")));
    ASSERT_TRUE(IniFile::Write(path, QStringLiteral("Row 0"), QStringLiteral("VB"),
                               QStringLiteral("Record Name")));
    ASSERT_TRUE(IniFile::Write(path, QStringLiteral("Tallowmere"), QStringLiteral("NoWizard"),
                               QStringLiteral("0")));
    ASSERT_TRUE(IniFile::Write(path, QStringLiteral("Tallowmere"), QStringLiteral("AutoLoadDB"),
                               QStringLiteral("0")));

    EXPECT_EQ(
        dir.Read(QStringLiteral("Tallowmere.ini")),
        QByteArray(
            "[Tallowmere]\r\nAutoLoadDB=0\r\nNoWizard=0\r\n\r\n[Row 0]\r\nVB=Record Name\r\n"));
    EXPECT_EQ(IniFile::Read(path, QStringLiteral("tallowmere"), QStringLiteral("autoloaddb")),
              QStringLiteral("0"));
    EXPECT_EQ(IniFile::Read(path, QStringLiteral("Row 0"), QStringLiteral("VB")),
              QStringLiteral("Record Name"));
    // The blank is part of the section name.
    EXPECT_EQ(IniFile::Read(path, QStringLiteral("Row0"), QStringLiteral("VB")), QString());
}

TEST(IniFile, ReadsTrimmedValuesCutTo254Characters)
{
    TempDir dir;
    const QString path = dir.Write(
        QStringLiteral("q.qry"),
        "; comment\n[Tallowmere]\nRows= 2\nColumns = 7 \r\n[Row 0]\nValue=" + QByteArray(300, 'x') +
            "\nEmpty=\n");
    EXPECT_EQ(IniFile::Read(path, QStringLiteral("Tallowmere"), QStringLiteral("Rows")),
              QStringLiteral("2"));
    EXPECT_EQ(IniFile::Read(path, QStringLiteral("Tallowmere"), QStringLiteral("Columns")),
              QStringLiteral("7"));
    EXPECT_EQ(IniFile::Read(path, QStringLiteral("Row 0"), QStringLiteral("Value")),
              QString(254, QLatin1Char('x')));
    EXPECT_EQ(IniFile::Read(path, QStringLiteral("Row 0"), QStringLiteral("Empty")), QString());
    EXPECT_EQ(IniFile::Read(path, QStringLiteral("Row 1"), QStringLiteral("Value")), QString());
}

TEST(IniFile, KeepsOtherLinesAndValuesWithEqualsSigns)
{
    TempDir dir;
    const QString path =
        dir.Write(QStringLiteral("a.ini"), "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(
        IniFile::Write(path, QStringLiteral("A"), QStringLiteral("z"), QStringLiteral("a=b")));
    EXPECT_EQ(dir.Read(QStringLiteral("a.ini")),
              QByteArray("[A]\r\nx=1\r\n; note\r\nz=a=b\r\n\r\n[B]\r\ny=2\r\n"));
    EXPECT_EQ(IniFile::Read(path, QStringLiteral("A"), QStringLiteral("z")), QStringLiteral("a=b"));
}

TEST(IniFile, ReportsAnUnwritableFile)
{
    TempDir dir;
    QString error;
    EXPECT_FALSE(IniFile::Write(dir.File(QStringLiteral("missing/folder/x.ini")),
                                QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v"),
                                &error));
    EXPECT_FALSE(error.isEmpty());
}
