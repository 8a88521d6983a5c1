#include "config/ConfigReader.h"
#include "config/FieldRules.h"
#include "ConfigTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Header items 1 to 4 and grid rows 0.0 and 1.3 with rules:
// 1 text of at most 5, required; 2 date; 3 number "C"; 4 number "L";
// 0.0 text of at most 3; 1.3 no rule ("M"), required.
const QByteArray kRules = "F|0|Short answer|Short|1|1|0|5|0|T|1.1|Form_Name|L.1||\n||\n"
                          "F|0|Birthday|Birthday|1|0|0|0|0|D|1.3|Form_Date|L.2||\n||\n"
                          "F|0|Price|Price|1|0|0|0|0|C|1.2|Form_Notes|L.3||\n||\n"
                          "F|0|Count|Count|1|0|0|0|0|L|1.4|File_Name|L.4||\n||\n"
                          "F|0|Code|Code|1|0|0|3|0|T|2.1|Field_Name|G0.0||\n||\n"
                          "F|0|Comment|Comment|1|1|0|0|0|M|2.2|Field_Value|G1.3||\n||\n";

struct RulesFixture : ConfigFixture {
    RulesFixture()
    {
        dir.Write(QStringLiteral("rules.cfg"), kRules);
        loaded = LoadConfigFile(session, QStringLiteral("rules.cfg"));
    }
    bool loaded = false;
};

const QString kNumeric = QStringLiteral("This is a numeric field. Please enter a valid number.");

} // namespace

TEST(CheckField, TextIsLimitedToMaxLengthBlanksIncluded)
{
    RulesFixture f;
    ASSERT_TRUE(f.loaded);
    EXPECT_TRUE(CheckField(f.session, "1", "Hello", false));
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_FALSE(CheckField(f.session, "1", "Hello!", false));
    EXPECT_FALSE(CheckField(f.session, "1", "  abcd", false));
    EXPECT_TRUE(CheckField(f.session, "1", QStringLiteral("\u00e9t\u00e9s!"), false));
    EXPECT_FALSE(CheckField(f.session, "G0.0", "abcd", false));
    ASSERT_EQ(f.ui.messages.size(), 3);
    EXPECT_EQ(f.ui.messages[0].text,
              "Please restrict your response to 5 characters for this field.");
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(f.ui.messages[1].text,
              "Please restrict your response to 5 characters for this field.");
    EXPECT_EQ(f.ui.messages[2].text,
              "Please restrict your response to 3 characters for this field.");
}

TEST(CheckField, DatesFollowTheRegionalSettings)
{
    RulesFixture f;
    ASSERT_TRUE(f.loaded);
    EXPECT_TRUE(CheckField(f.session, "2", "", false));
    EXPECT_TRUE(CheckField(f.session, "2", "   ", false));
    EXPECT_TRUE(CheckField(f.session, "2", "3/14/2024", false));
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_FALSE(CheckField(f.session, "2", "tomorrow", false));
    EXPECT_FALSE(CheckField(f.session, "2", "2/30/2024", false));
    EXPECT_EQ(f.ui.MessageTexts(),
              (QStringList{"Please enter a valid date", "Please enter a valid date"}));
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Exclamation);
}

TEST(CheckField, NumbersOfBothNumericTypes)
{
    RulesFixture f;
    ASSERT_TRUE(f.loaded);
    for (const QString& tag : {QStringLiteral("3"), QStringLiteral("4")}) {
        f.ui.messages.clear();
        EXPECT_TRUE(CheckField(f.session, tag, "12.50", false));
        EXPECT_TRUE(CheckField(f.session, tag, " ", false));
        EXPECT_TRUE(f.ui.messages.isEmpty());
        EXPECT_FALSE(CheckField(f.session, tag, "12 apples", false));
        ASSERT_EQ(f.ui.messages.size(), 1) << tag.toStdString();
        EXPECT_EQ(f.ui.messages[0].text, kNumeric);
        EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Exclamation);
    }
}

TEST(CheckField, ARequiredEmptyFieldWarnsAndStillPasses)
{
    RulesFixture f;
    ASSERT_TRUE(f.loaded);
    EXPECT_TRUE(CheckField(f.session, "1", "  ", true));
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text, "Please note that 'Short answer'\r\n"
                                     "is a required field and should not be left blank.\r\n"
                                     "Please remember to enter an appropriate response \r\n"
                                     "before submitting your Record. Your Record is \r\n"
                                     "being saved without this field");
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Exclamation);

    f.ui.messages.clear();
    EXPECT_TRUE(CheckField(f.session, "G1.3", "", true));
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages[0].text.startsWith("Please note that 'Comment'\r\n"));
}

TEST(CheckField, TheRequiredWarningComesBeforeTheTypeMessage)
{
    RulesFixture f;
    ASSERT_TRUE(f.loaded);
    // A blank answer longer than the limit: warned as empty, refused as too long.
    EXPECT_FALSE(CheckField(f.session, "1", "       ", true));
    ASSERT_EQ(f.ui.messages.size(), 2);
    EXPECT_TRUE(f.ui.messages[0].text.startsWith("Please note that 'Short answer'"));
    EXPECT_EQ(f.ui.messages[1].text,
              "Please restrict your response to 5 characters for this field.");
}

TEST(CheckField, WithoutTheRequiredRuleAnEmptyFieldPassesSilently)
{
    RulesFixture f;
    ASSERT_TRUE(f.loaded);
    EXPECT_TRUE(CheckField(f.session, "1", "", false));
    EXPECT_TRUE(CheckField(f.session, "G1.3", "", false));
    EXPECT_FALSE(CheckField(f.session, "1", "filled", true)); // too long, but not empty
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text,
              "Please restrict your response to 5 characters for this field.");
}

TEST(CheckField, ControlsWithoutRulesAlwaysPass)
{
    ConfigFixture empty;
    EXPECT_TRUE(CheckField(empty.session, "", "anything", true));
    // Places no entry configures have no rules either.
    EXPECT_TRUE(CheckField(empty.session, "1", "anything", true));
    EXPECT_TRUE(CheckField(empty.session, "G0.2", "anything", true));
    EXPECT_TRUE(empty.ui.messages.isEmpty());

    RulesFixture f;
    ASSERT_TRUE(f.loaded);
    EXPECT_TRUE(CheckField(f.session, "", "not a date", true));
    EXPECT_TRUE(CheckField(f.session, "G1.3", "any text of any length at all", false));
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(CheckField, ATagOutsideTheViewerOrABrokenEntryIsAnError)
{
    RulesFixture f;
    ASSERT_TRUE(f.loaded);
    EXPECT_FALSE(CheckField(f.session, "9", "x", false));
    EXPECT_FALSE(CheckField(f.session, "G7.0", "x", false));
    ASSERT_EQ(f.ui.messages.size(), 2);
    EXPECT_EQ(f.ui.messages[0].text, "CheckField: Error checking Field: there is no header item 9");
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(f.ui.messages[1].text, "CheckField: Error checking Field: there is no grid row G7.0");

    f.ui.messages.clear();
    f.session.Config.ConfigEntries[0] = QStringLiteral("F|0|cut short\r\n||\r\n");
    EXPECT_FALSE(CheckField(f.session, "1", "x", false));
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{"CheckField: Error checking Field: entry 0 has 3 of the 15 fields"});
}

TEST(CheckField, ReadsItsEntryIntoParsedEntry)
{
    RulesFixture f;
    ASSERT_TRUE(f.loaded);
    EXPECT_TRUE(CheckField(f.session, "G0.0", "ab", false));
    EXPECT_EQ(f.session.Config.ParsedEntry.EntryLabel, "Code");
    EXPECT_TRUE(CheckField(f.session, "4", "7", false));
    EXPECT_EQ(f.session.Config.ParsedEntry.EntryLabel, "Count");
}
