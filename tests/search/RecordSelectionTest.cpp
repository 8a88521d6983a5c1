#include "session/RecordSelection.h"
#include "support/TempDir.h"

#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

namespace {

using namespace SelectionMessages;

class RecordSelectionTest : public ::testing::Test {
protected:
    // OK with the range option and the two texts; the message shown, if any.
    QString RangeOk(const QString& from, const QString& to, bool* closed = nullptr)
    {
        ScriptedUi ui;
        SelectRecordsController dialog;
        dialog.Activate(true, ui);
        dialog.ChooseOption(SelectRecordsController::kIdRange);
        dialog.txtFrom = from;
        dialog.txtTo = to;
        const bool done = dialog.Ok(ui, regional, selection);
        if (closed)
            *closed = done;
        EXPECT_EQ(done, ui.messages.isEmpty());
        for (const auto& m : ui.messages)
            EXPECT_EQ(m.icon, MessageIcon::Exclamation);
        return ui.messages.isEmpty() ? QString() : ui.messages[0].text;
    }

    Regional regional{TestLocale()};
    RecordSelection selection{-2, 0};
};

TEST_F(RecordSelectionTest, RangeRules)
{
    EXPECT_EQ(RangeOk("5", "3"), kFromAfterTo);
    EXPECT_EQ(RangeOk("0", "4"), kNotPositive);
    EXPECT_EQ(RangeOk("-3", "-1"), kNotPositive);
    EXPECT_EQ(RangeOk("abc", "4"), kInvalid);
    EXPECT_EQ(RangeOk("", "4"), kInvalid);
    EXPECT_EQ(RangeOk("1", "99999999999"), kInvalid); // beyond 32 bits
    EXPECT_EQ(selection, (RecordSelection{-2, 0}));   // untouched while open
    bool closed = false;
    EXPECT_EQ(RangeOk("7", "7", &closed), QString());
    EXPECT_TRUE(closed);
    EXPECT_EQ(selection, (RecordSelection{7, 7}));
    EXPECT_EQ(RangeOk(" 2 ", "10"), QString());
    EXPECT_EQ(selection, (RecordSelection{2, 10}));
}

TEST_F(RecordSelectionTest, OptionsAndCancel)
{
    ScriptedUi ui;
    SelectRecordsController dialog;
    dialog.Activate(false, ui);
    EXPECT_EQ(dialog.option, SelectRecordsController::kCurrentOnly);
    EXPECT_FALSE(dialog.selectedOptionEnabled);
    EXPECT_FALSE(dialog.rangeBoxesEnabled);
    EXPECT_EQ(ui.yields, 1);
    EXPECT_TRUE(dialog.Ok(ui, regional, selection));
    EXPECT_EQ(selection, (RecordSelection{-3, 0}));

    dialog.Activate(true, ui);
    EXPECT_EQ(dialog.option, SelectRecordsController::kOnlySelected);
    EXPECT_TRUE(dialog.selectedOptionEnabled);
    EXPECT_TRUE(dialog.Ok(ui, regional, selection));
    EXPECT_EQ(selection, (RecordSelection{-1, 0}));
    dialog.ChooseOption(SelectRecordsController::kIdRange);
    EXPECT_TRUE(dialog.rangeBoxesEnabled);
    dialog.ChooseOption(SelectRecordsController::kAll);
    EXPECT_FALSE(dialog.rangeBoxesEnabled);
    EXPECT_TRUE(dialog.Ok(ui, regional, selection));
    EXPECT_EQ(selection, (RecordSelection{-2, 0}));

    SelectRecordsController::Cancel(selection);
    EXPECT_EQ(selection, (RecordSelection{0, 0}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(SelectedRecords, EachKindInSummaryOrder)
{
    const std::vector<qint64> summary{2, 5, 6, 9, 14};
    EXPECT_EQ(SelectedRecords({-2, 0}, summary, {}, 5), summary);
    EXPECT_EQ(SelectedRecords({-1, 0}, summary, {14, 2, 6, 77}, 5),
              (std::vector<qint64>{2, 6, 14}));
    EXPECT_EQ(SelectedRecords({-3, 0}, summary, {}, 9), std::vector<qint64>{9});
    EXPECT_TRUE(SelectedRecords({-3, 0}, summary, {}, std::nullopt).empty());
    // A range takes the summary's records inside it, skipping absent numbers.
    EXPECT_EQ(SelectedRecords({3, 10}, summary, {}, 2), (std::vector<qint64>{5, 6, 9}));
    EXPECT_EQ(SelectedRecords({14, 14}, summary, {}, 2), std::vector<qint64>{14});
    EXPECT_TRUE(SelectedRecords({10, 13}, summary, {}, 2).empty());
    EXPECT_TRUE(SelectedRecords({0, 0}, summary, {2}, 2).empty());
}

} // namespace

TEST(IdRangeCheckTest, OneCheckForEveryPlaceARangeIsTyped)
{
    const Regional regional(TestLocale());
    const IdRangeCheck ok = CheckIdRange(regional, QStringLiteral("2"), QStringLiteral("5.5"));
    EXPECT_EQ(ok.result, IdRangeCheck::Ok);
    EXPECT_EQ(ok.from, 2);
    EXPECT_EQ(ok.to, 6); // 5.5 rounds half to even
    const IdRangeCheck backwards = CheckIdRange(regional, QStringLiteral("5"), QStringLiteral("2"));
    EXPECT_EQ(backwards.result, IdRangeCheck::FromAfterTo);
    EXPECT_EQ(backwards.Message(), SelectionMessages::kFromAfterTo);
    const IdRangeCheck zero = CheckIdRange(regional, QStringLiteral("0"), QStringLiteral("3"));
    EXPECT_EQ(zero.result, IdRangeCheck::NotPositive);
    EXPECT_EQ(zero.Message(), SelectionMessages::kNotPositive);
    const IdRangeCheck word = CheckIdRange(regional, QStringLiteral("1"), QStringLiteral("ten"));
    EXPECT_EQ(word.result, IdRangeCheck::NotANumber);
    EXPECT_EQ(word.notANumber, QStringLiteral("ten"));
}
