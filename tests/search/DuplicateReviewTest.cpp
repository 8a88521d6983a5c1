#include "search/DuplicateReview.h"

#include "database/DatabaseFixture.h"
#include "duplicates/DuplicateKeysSetting.h"
#include "responses/ResponseImport.h"
#include "search/SummaryModel.h"
#include "search/SummarySearch.h"

#include <gtest/gtest.h>

namespace {

const QString kGuestbook = QStringLiteral(TALLOWMERE_RESOURCES "/samples/guestbook.txt");

// The guestbook imported twice: records 1-12 and 13-24, each pair alike
// but for record 13's city.
class DuplicateReviewTest : public ::testing::Test, public DatabaseFixture {
protected:
    void SetUp() override
    {
        CreateAndOpen();
        ImportResponseFiles(session, {kGuestbook});
        // The same messages again, as if sent twice.
        ImportOptions again;
        again.again = true;
        ImportResponseFiles(session, {kGuestbook}, again);
        Db().exec(
            "UPDATE Data SET Field_Value = 'Paris' WHERE FormID = 13 AND Field_Name = 'city'");
        ui.messages.clear();
    }

    int FieldIndex(const DuplicateReview& review, const QString& name)
    {
        const auto& fields = review.Preview().fields;
        for (size_t i = 0; i < fields.size(); ++i)
            if (fields[i].name == name)
                return static_cast<int>(i);
        return -1;
    }
};

} // namespace

TEST_F(DuplicateReviewTest, KeysAreCheckedSavedAndMarkTheRecords)
{
    DuplicateReview unset(session);
    EXPECT_FALSE(unset.Start());
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{"No duplicate keys are set for this database: choose them in Options > "
                          "Duplicate keys..."});

    DuplicateKeysSetting setting(session);
    ASSERT_TRUE(setting.Load());
    EXPECT_TRUE(setting.FieldNames().contains(QStringLiteral("email")));
    ui.messages.clear();
    const struct {
        DuplicateKeys keys;
        const char* message;
    } refused[] = {
        {{{"phone"}, false, std::nullopt},
         "Unknown key field 'phone': the database has no field of that name"},
        {{{"email"}, false, 40000}, "The number of days must be from 0 to 36500."},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(setting.Save(r.keys));
        EXPECT_EQ(ui.MessageTexts().value(0), QString::fromUtf8(r.message));
        ui.messages.clear();
    }
    EXPECT_FALSE(LoadDuplicateKeys(*session.Database.CurrentDatabase).IsSet());

    ASSERT_TRUE(setting.Save({{"EMAIL"}, false, std::nullopt}));
    EXPECT_EQ(ui.statusTexts.last(),
              QStringLiteral("Duplicate keys saved: 12 possible duplicate(s)"));
    EXPECT_EQ(LoadDuplicateKeys(*session.Database.CurrentDatabase).fields, QStringList{"email"});

    // The summary marks the later record of each pair, naming the first.
    SummaryModel model;
    model.SetSource(&Db(), &session.Database.SummaryRecords.Ids());
    EXPECT_EQ(model.data(model.index(13, SummaryModel::RecordId), Qt::ToolTipRole).toString(),
              QStringLiteral("Possible duplicate of record 2"));
    EXPECT_FALSE(model.data(model.index(1, SummaryModel::RecordId), SummaryModel::DuplicateOfRole)
                     .isValid());

    // Quick Find narrows the summary to the marked records and their firsts.
    ASSERT_TRUE(FindPossibleDuplicates(session));
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 24);

    ASSERT_TRUE(setting.Save({}));
    EXPECT_EQ(ui.statusTexts.last(), QStringLiteral("Duplicate keys cleared"));
    model.Reload();
    EXPECT_EQ(model.DuplicateOf(14), 0);
    ASSERT_TRUE(FindPossibleDuplicates(session));
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 0);
    EXPECT_EQ(ui.statusTexts.last(), QStringLiteral("No record found"));
}

TEST_F(DuplicateReviewTest, MergeKeepsTheChosenValuesAndNotDuplicatesIsNotRaisedAgain)
{
    DuplicateKeysSetting setting(session);
    ASSERT_TRUE(setting.Load() && setting.Save({{"email"}, false, std::nullopt}));

    DuplicateReview review(session);
    ASSERT_TRUE(review.Start());
    EXPECT_EQ(review.GroupCount(), 12);
    EXPECT_EQ(review.Preview().ids, (std::vector<qint64>{1, 13}));
    const int city = FieldIndex(review, QStringLiteral("city"));
    ASSERT_GE(city, 0);
    EXPECT_TRUE(review.Preview().fields[city].differs);
    EXPECT_FALSE(review.Preview().fields[FieldIndex(review, QStringLiteral("email"))].differs);
    // Same dates: the higher number is the later.
    EXPECT_EQ(review.ChosenFor(city), 13);

    // Declined: nothing changes.
    ui.QueueAnswer(MessageAnswer::No);
    EXPECT_FALSE(review.Merge());
    EXPECT_EQ(Count("SELECT count(*) FROM Forms"), 24);

    review.Choose(city, 1);
    ui.QueueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(review.Merge());
    EXPECT_EQ(ui.MessageTexts().last(),
              QStringLiteral("Merge the 2 records of this group into record 1? The other "
                             "records are deleted."));
    EXPECT_EQ(ui.statusTexts.last(), QStringLiteral("2 record(s) merged into record 1"));
    EXPECT_EQ(Text("SELECT Field_Value FROM Data WHERE FormID = 1 AND Field_Name = 'city'"),
              QStringLiteral("Toronto"));
    EXPECT_EQ(Count("SELECT count(*) FROM Forms WHERE FormID = 13"), 0);
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 23);
    EXPECT_EQ(session.Database.SummaryRecords.Bookmark(), 1);
    // The next group is shown.
    EXPECT_EQ(review.GroupCount(), 11);
    EXPECT_EQ(review.Preview().ids, (std::vector<qint64>{2, 14}));

    ASSERT_TRUE(review.NotDuplicates());
    EXPECT_EQ(ui.statusTexts.last(),
              QStringLiteral("Records 2, 14 are no longer marked as duplicates"));
    EXPECT_EQ(review.GroupCount(), 10);
    DuplicateReview again(session);
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(again.GroupCount(), 10);
    EXPECT_EQ(again.Preview().ids, (std::vector<qint64>{3, 15}));
}

TEST_F(DuplicateReviewTest, AGroupAnotherProgramMergedMeanwhileIsSaidSoAndDropped)
{
    DuplicateKeysSetting setting(session);
    ASSERT_TRUE(setting.Load() && setting.Save({{"email"}, false, std::nullopt}));
    DuplicateReview review(session);
    ASSERT_TRUE(review.Start());
    Db().exec("DELETE FROM Forms WHERE FormID = 14");
    ASSERT_TRUE(review.ShowGroup(1));
    EXPECT_EQ(review.Preview().ids, std::vector<qint64>{2});
    ui.messages.clear();
    EXPECT_TRUE(review.Merge());
    EXPECT_EQ(ui.MessageTexts(), QStringList{"Only one record of this group is left: another "
                                             "program has merged or deleted the others."});
    EXPECT_EQ(review.GroupCount(), 11);
    EXPECT_EQ(review.Preview().ids, (std::vector<qint64>{3, 15}));
    EXPECT_EQ(Count("SELECT count(*) FROM Forms"), 23);
}
