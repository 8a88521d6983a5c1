#include "output/OutputFieldList.h"
#include "session/OutputState.h"

#include <gtest/gtest.h>

namespace {

QList<bool> Ticks(const OutputState& state)
{
    QList<bool> ticks;
    for (const OutputField& f : state.OutputFieldList)
        ticks.append(f.PrintStat);
    return ticks;
}

const QList<RecordLevelField> kHeader = {
    {QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"), QStringLiteral("Record Name")},
    {QStringLiteral("Forms.Form_Date"), QStringLiteral("1.3"), QStringLiteral("Date")}};

} // namespace

TEST(OutputFieldListTest, NewEntriesStartTickedAndChoicesSurviveARebuild)
{
    OutputState state;
    FillOutputFieldList(state, kHeader, QStringLiteral("\r\nname\r\nemail\r\n"));
    EXPECT_EQ(Ticks(state), (QList<bool>{true, true, true, true}));
    EXPECT_EQ(state.HeaderFieldCount, 2);

    // The user leaves out the date and the e-mail address.
    state.OutputFieldList[1].PrintStat = false;
    state.OutputFieldList[3].PrintStat = false;

    // A saved record brings a new field name: it comes in ticked, the
    // choices made stay.
    FillOutputFieldList(state, kHeader, QStringLiteral("\r\nname\r\nemail\r\nphone\r\n"));
    ASSERT_EQ(state.OutputFieldList.size(), 5);
    EXPECT_EQ(state.OutputFieldList[4].Key, QStringLiteral("phone"));
    EXPECT_EQ(Ticks(state), (QList<bool>{true, false, true, false, true}));
}

TEST(OutputFieldListTest, AFieldNamedLikeAHeaderCellKeepsItsOwnChoice)
{
    OutputState state;
    FillOutputFieldList(state, kHeader, QStringLiteral("\r\n1.1\r\n"));
    state.OutputFieldList[0].PrintStat = false; // the record name, not the field "1.1"
    FillOutputFieldList(state, kHeader, QStringLiteral("\r\n1.1\r\n"));
    EXPECT_EQ(Ticks(state), (QList<bool>{false, true, true}));
}
