#include "database/DatabaseFixture.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/DuplicateMarks.h"
#include "duplicates/RecordMerge.h"

#include <gtest/gtest.h>

namespace {

DuplicateGroup Group(std::vector<qint64> ids)
{
    DuplicateGroup group;
    for (const qint64 id : ids)
        group.records.push_back({id, QString(), QString()});
    return group;
}

void FiveRecords(DatabaseFixture& f)
{
    f.CreateAndOpen();
    f.Db().exec("INSERT INTO Forms (FormID, Form_Name) VALUES (1, 'a'), (2, 'b'), (3, 'c'), "
                "(4, 'd'), (5, 'e')");
}

} // namespace

TEST(DuplicateMarks, MarkedAgainstTheFirstClearedPairsStayAndGoWithTheirRecords)
{
    DatabaseFixture f;
    FiveRecords(f);
    DatabaseConnection& c = *f.session.Database.CurrentDatabase;
    EXPECT_TRUE(LoadDuplicateMarks(c).empty());
    EXPECT_EQ(MarkDuplicateGroups(c, {Group({1, 2, 3}), Group({4, 5})}), 3);
    EXPECT_EQ(LoadDuplicateMarks(c),
              (std::vector<DuplicateMark>{{2, 1, false}, {3, 1, false}, {5, 4, false}}));

    ClearDuplicateGroup(c, {3, 1});
    EXPECT_EQ(LoadDuplicateMarks(c),
              (std::vector<DuplicateMark>{{2, 1, false}, {3, 1, true}, {5, 4, false}}));
    // Marked again: a pair found to be no duplicates is not raised again,
    // a mark whose group has gone goes.
    std::vector<DuplicateGroup> groups{Group({1, 2, 3}), Group({1, 3})};
    DropClearedRecords(groups, LoadDuplicateMarks(c));
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].records.size(), 2u);
    EXPECT_EQ(MarkDuplicateGroups(c, groups), 1);
    EXPECT_EQ(LoadDuplicateMarks(c), (std::vector<DuplicateMark>{{2, 1, false}, {3, 1, true}}));

    // A merge leaves no mark on the kept record and none naming the others:
    // a pair found to be no duplicates of a merged-away record stays so
    // against the kept one.
    ASSERT_TRUE(MergeRecords(c, f.clock, {1, 2}, 2).merged);
    EXPECT_EQ(LoadDuplicateMarks(c), (std::vector<DuplicateMark>{{3, 2, true}}));
}
