#include "session/FormConfig.h"

#include <gtest/gtest.h>

namespace {

FormConfig WithEntry(const QString& text)
{
    FormConfig config;
    config.ConfigEntries = {text};
    return config;
}

} // namespace

TEST(ParseConfig, ReadsTheFifteenFieldsOfAnEntry)
{
    FormConfig config = WithEntry(QStringLiteral(
        "F|0|  Your age |Age|1|2|7|3|9|C| 2.2 |Field_Value|G1.4|spare|\r\nyoung\r\nold\r\n||\r\n"));
    ASSERT_TRUE(ParseConfig(config, 0));
    const ConfigFields& f = config.ParsedEntry;
    EXPECT_EQ(f.EntryKind, "F");
    EXPECT_EQ(f.SectionNumber, 0);
    EXPECT_EQ(f.EntryLabel, "Your age");
    EXPECT_EQ(f.ShortName, "Age");
    EXPECT_EQ(f.LabelStyle, 1);
    EXPECT_EQ(f.RequiredFlag, 2);
    EXPECT_EQ(f.Reserved7, 7);
    EXPECT_EQ(f.MaxLength, 3);
    EXPECT_EQ(f.Reserved9, 9);
    EXPECT_EQ(f.DataType, "C");
    EXPECT_EQ(f.DataLocation, "2.2");
    EXPECT_EQ(f.DataField, "Field_Value");
    EXPECT_EQ(f.Placement, "G1.4");
    EXPECT_EQ(f.Reserved14, "spare");
    EXPECT_EQ(f.ComboItems, "young\r\nold");
}

TEST(ParseConfig, NumbersAreReadByTheirLeadingDigitsAndRoundedHalfToEven)
{
    FormConfig config =
        WithEntry(QStringLiteral("T|\r\n 3\r\n| a | b |2.5|3.5|x|  40 chars|-7|T|||||\r\n||\r\n"));
    ASSERT_TRUE(ParseConfig(config, 0));
    const ConfigFields& f = config.ParsedEntry;
    EXPECT_EQ(f.SectionNumber, 3);
    EXPECT_EQ(f.LabelStyle, 2);
    EXPECT_EQ(f.RequiredFlag, 4);
    EXPECT_EQ(f.Reserved7, 0);
    EXPECT_EQ(f.MaxLength, 40);
    EXPECT_EQ(f.Reserved9, -7);
}

TEST(ParseConfig, ANumberBeyondSixteenBitsRejectsTheEntry)
{
    FormConfig config = WithEntry(QStringLiteral("T|0|a|b|0|0|0|40000|0|T|||||\r\n||\r\n"));
    QString error;
    EXPECT_FALSE(ParseConfig(config, 0, &error));
    EXPECT_EQ(error, "entry 0 has a number out of range in MaxLength");
}

TEST(ParseConfig, LabelLinesAreJoinedOnlyOutsideSectionZero)
{
    const QString label =
        QStringLiteral("|\r\nFirst\r\nSecond\r\n|Short\r\nName|0|0|0|0|0|T|||||\r\n||\r\n");
    FormConfig sectionZero = WithEntry(QStringLiteral("T|0") + label);
    ASSERT_TRUE(ParseConfig(sectionZero, 0));
    EXPECT_EQ(sectionZero.ParsedEntry.EntryLabel, "\r\nFirst\r\nSecond\r\n");
    EXPECT_EQ(sectionZero.ParsedEntry.ShortName, "Short\r\nName");

    FormConfig sectionTwo = WithEntry(QStringLiteral("T|2") + label);
    ASSERT_TRUE(ParseConfig(sectionTwo, 0));
    EXPECT_EQ(sectionTwo.ParsedEntry.EntryLabel, "First Second");
    EXPECT_EQ(sectionTwo.ParsedEntry.ShortName, "Short Name");
}

TEST(ParseConfig, PlainTextIsTrimmedAndJoinedListTextKeepsItsLines)
{
    FormConfig config = WithEntry(QStringLiteral(
        "S|0|a|b|0|0|0|0|0| "
        "D\r\n|\r\n1.\r\n3\r\n|Form\r\nDate|L.3||\r\nRed\r\nGreen\r\nBlue\r\n\r\n||\r\n"));
    ASSERT_TRUE(ParseConfig(config, 0));
    const ConfigFields& f = config.ParsedEntry;
    EXPECT_EQ(f.DataType, "D");
    EXPECT_EQ(f.DataLocation, "1. 3");
    EXPECT_EQ(f.DataField, "Form Date");
    EXPECT_EQ(f.ComboItems, "Red\r\nGreen\r\nBlue");
    EXPECT_EQ(ComboChoices(f), (QStringList{"Red", "Green", "Blue"}));
}

TEST(ParseConfig, FourteenSeparatorsBeforeTheEndLineAreCompleteThirteenAreNot)
{
    const QString fourteen = QStringLiteral("T|0|a|b|0|0|0|0|0|T|1.1|Form_Name|L.1||\r\n||\r\n");
    FormConfig complete = WithEntry(fourteen);
    EXPECT_TRUE(ParseConfig(complete, 0));
    EXPECT_EQ(complete.ParsedEntry.Placement, "L.1");

    FormConfig shortEntry =
        WithEntry(QStringLiteral("T|0|a|b|0|0|0|0|0|T|1.1|Form_Name|L.1|\r\n||\r\n"));
    QString error;
    EXPECT_FALSE(ParseConfig(shortEntry, 0, &error));
    EXPECT_EQ(error, "entry 0 has 14 of the 15 fields");
}

TEST(ParseConfig, AnEntryOfNoKnownKindIsAcceptedWithEveryFieldEmpty)
{
    for (const QString& kind : {QStringLiteral(" T"), QStringLiteral("X"), QStringLiteral("t")}) {
        FormConfig config =
            WithEntry(kind + QStringLiteral("|4|a|b|1|1|1|9|1|T|1.1|Form_Name|L.1||\r\n||\r\n"));
        config.ParsedEntry.EntryLabel = QStringLiteral("left over");
        EXPECT_TRUE(ParseConfig(config, 0)) << kind.toStdString();
        EXPECT_EQ(config.ParsedEntry, ConfigFields()) << kind.toStdString();
    }
}

TEST(ParseConfig, MissingOrEmptyEntriesFail)
{
    FormConfig config = WithEntry(QString());
    QString error;
    EXPECT_FALSE(ParseConfig(config, 0, &error));
    EXPECT_EQ(error, "entry 0 is empty");
    EXPECT_FALSE(ParseConfig(config, 1, &error));
    EXPECT_EQ(error, "entry 1 does not exist");
    EXPECT_FALSE(ParseConfig(config, -1, &error));
}

TEST(ParseConfig, AnEntryWithoutEndLineEndsItsLastFieldAtTheLastCharacter)
{
    FormConfig config = WithEntry(QStringLiteral("I|0|a|b|0|0|0|0|0|T|1.1|Form_Name|L.1||Yes"));
    ASSERT_TRUE(ParseConfig(config, 0));
    EXPECT_EQ(config.ParsedEntry.ComboItems, "Yes");
}

TEST(ConfigEndLine, IsTwoBarsAfterOptionalLeadingBlanks)
{
    EXPECT_TRUE(IsConfigEndLine(QStringLiteral("||\r\n")));
    EXPECT_TRUE(IsConfigEndLine(QStringLiteral(" \t||\r\n")));
    EXPECT_FALSE(IsConfigEndLine(QStringLiteral("|| \r\n")));
    EXPECT_FALSE(IsConfigEndLine(QStringLiteral("||")));
    EXPECT_FALSE(IsConfigEndLine(QStringLiteral("|||\r\n")));
}
