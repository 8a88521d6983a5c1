#include "search/SummaryView.h"

#include "database/DatabaseClosing.h"
#include "database/DatabaseFixture.h"
#include "database/RecordDeletion.h"
#include "database/SummaryColumnsTable.h"
#include "database/SummaryNavigation.h"
#include "search/SummaryFieldsChoice.h"
#include "search/SummaryModel.h"
#include "search/SummarySearch.h"
#include "session/RecordChooser.h"

#include <gtest/gtest.h>

namespace {

using Ids = std::vector<qint64>;
constexpr int kId = 0, kName = 1, kDate = 3, kScore = 5, kCountry = 6, kWhen = 7;

struct AllRecords : RecordChooser {
    explicit AllRecords(Session& s) : session(s) {}
    void ShowSelectDialog(const QString&) override
    {
        session.Selection = {RecordSelection::kAllRecords, 0};
    }
    std::vector<qint64> SelectedSummaryRows() const override { return {}; }
    Session& session;
};

class SummaryViewTest : public ::testing::Test, public DatabaseFixture {
protected:
    void SetUp() override
    {
        path = CreateAndOpen();
        Db().exec("INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, File_Name) VALUES "
                  "('bob', '', '2024-03-01', 'a'), ('Ann', '', '2024-01-15', 'b'), "
                  "('carl', '', NULL, 'c'), ('dave', '', '2023-12-31', 'd'), "
                  "('Eve', '', '2024-03-01', 'e')");
        // Record 2 gives its score twice: the first one counts. Record 4
        // names its field in other letters, as field names compare.
        Db().exec("INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES "
                  "('score', '10', 1), ('country', 'France', 1), ('when', '2024-02-01', 1), "
                  "('score', '9', 2), ('country', 'germany', 2), ('when', '2024-01-05', 2), "
                  "('score', '100', 2), ('score', 'abc', 3), ('country', 'Finland', 3), "
                  "('Country', 'Spain', 4), ('score', '-1.5', 5), ('when', '12/25/2023', 5)");
        CloseResumeDatabase(session);
        ASSERT_TRUE(OpenResumeDatabase(session, path));
        session.Database.CurrentFieldNames.Reset(
            QStringLiteral("\r\nscore\r\ncountry\r\nwhen\r\n"));
        ASSERT_TRUE(SetSummaryFieldColumns(session, {"score", "country", "when"}, {40, 0, 0}));
    }
    const Ids& Shown() const { return session.Database.SummaryRecords.Ids(); }
    QString path;
};

TEST_F(SummaryViewTest, EachKindOfColumnSortsAsWhatItHolds)
{
    const struct {
        int column;
        bool descending;
        Ids expected;
    } cases[] = {
        {kScore, false, {5, 2, 1, 3, 4}}, // numbers by value, then texts, missing last
        {kScore, true, {3, 1, 2, 5, 4}},
        {kName, false, {2, 1, 3, 4, 5}}, // letter case ignored
        {kName, true, {5, 4, 3, 1, 2}},
        {kDate, false, {4, 2, 1, 5, 3}}, // ties in record order, no date last
        {kDate, true, {1, 5, 2, 4, 3}},
        {kWhen, false, {5, 2, 1, 3, 4}}, // dates written either way
        {kId, true, {5, 4, 3, 2, 1}},
        {-1, false, {1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SortSummary(session, c.column, c.descending));
        EXPECT_EQ(Shown(), c.expected) << c.column << " " << c.descending;
    }
}

TEST_F(SummaryViewTest, FieldSortsFoldAllOfUnicodeAndCombineWithEveryFilter)
{
    Db().exec("INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, File_Name) VALUES "
              "('fay', '', '2024-05-01', 'f'), ('gil', '', '2024-05-02', 'g')");
    Db().exec("INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES "
              "('country', '\xC3\x89LAN', 6), ('country', '\xC3\xA9lan', 7), ('score', '', 7)");
    const struct {
        int sortColumn;
        bool descending;
        std::vector<std::pair<int, const char*>> filters;
        Ids expected;
    } cases[] = {
        {kCountry, false, {}, {3, 1, 2, 4, 6, 7, 5}}, // accented after ASCII, case ignored
        {kCountry, true, {}, {6, 7, 4, 2, 1, 3, 5}},  // ties stay in record order
        {kScore, false, {}, {5, 2, 1, 7, 3, 4, 6}},   // an empty answer is the first text
        {kCountry, false, {{kName, "<c"}}, {1, 2}},
        {kName, false, {{kScore, ">=9"}}, {2, 1}},
        {kCountry, true, {{kScore, ">=9"}, {kCountry, "*an*"}}, {2, 1}},
        {kDate, true, {{kCountry, "\xC3\xA9*"}}, {7, 6}},
    };
    for (const auto& c : cases) {
        session.Database.SummaryView.Filters.clear();
        for (const auto& [column, text] : c.filters)
            ASSERT_TRUE(FilterSummary(session, column, QString::fromUtf8(text)));
        ASSERT_TRUE(SortSummary(session, c.sortColumn, c.descending));
        EXPECT_EQ(Shown(), c.expected) << c.sortColumn << " " << c.descending;
    }
}

TEST_F(SummaryViewTest, HeadingClicksGoUpDownAndBackToRecordOrder)
{
    SortSummaryByHeading(session, kScore);
    EXPECT_EQ(Shown(), (Ids{5, 2, 1, 3, 4}));
    SortSummaryByHeading(session, kScore);
    EXPECT_EQ(Shown(), (Ids{3, 1, 2, 5, 4}));
    SortSummaryByHeading(session, kScore);
    EXPECT_EQ(Shown(), (Ids{1, 2, 3, 4, 5}));
    EXPECT_EQ(session.Database.SummaryView.SortColumn, -1);
}

TEST_F(SummaryViewTest, TheFilterLanguage)
{
    const struct {
        int column;
        const char* text;
        Ids expected;
    } cases[] = {
        {kScore, ">=9", {1, 2}},
        {kScore, "<9", {5}},
        {kScore, "9~10", {1, 2}},
        {kScore, "<>9", {1, 5}},
        {kScore, "= ABC", {3}},
        {kScore, "1#", {1}},
        {kCountry, "Fr*", {1}},
        {kCountry, "f*", {1, 3}},
        {kCountry, "[!fg]*", {4}},
        {kCountry, "?rance", {1}},
        {kCountry, "*an*", {1, 2, 3}},
        {kCountry, "e~g", {1, 3}},
        {kCountry, "<G", {1, 3}},
        {kId, "2~4", {2, 3, 4}},
        {kId, ">3", {4, 5}},
        {kId, "3", {3}},
        {kDate, ">= 2/1/2024", {1, 5}},
        {kDate, "1/15/2024", {2}},
        {kDate, "1/1/2024~2/29/2024", {2}},
        {kWhen, ">1/1/2024", {1, 2}},
        {kName, "<c", {1, 2}},
        {kName, "zz*", {}},
    };
    for (const auto& c : cases) {
        session.Database.SummaryView.Filters.clear();
        QList<SummaryFilterFault> faults;
        ASSERT_TRUE(FilterSummary(session, c.column, QString::fromLatin1(c.text), &faults));
        EXPECT_TRUE(faults.isEmpty()) << c.text;
        EXPECT_EQ(Shown(), c.expected) << c.text;
    }
    EXPECT_EQ(ui.statusTexts.last(), QStringLiteral("No record found"));
}

TEST_F(SummaryViewTest, InvalidFilterTextIsNamedAndFiltersNothing)
{
    const struct {
        int column;
        const char* text;
        const char* message;
    } cases[] = {
        {kScore, ">", "Filter of score: '>' needs a value after it"},
        {kScore, "10~9", "Filter of score: the range '10~9' ends before it starts"},
        {kScore, "~9", "Filter of score: a range needs a value on each side of '~'"},
        {kId, "<x", "Filter of Record ID: 'x' is not a number"},
        {kDate, "soon", "Filter of Date: 'soon' is not a date"},
    };
    FilterSummary(session, kCountry, QStringLiteral("f*"));
    for (const auto& c : cases) {
        QList<SummaryFilterFault> faults;
        ASSERT_TRUE(FilterSummary(session, c.column, QString::fromLatin1(c.text), &faults));
        ASSERT_EQ(faults.size(), 1) << c.text;
        EXPECT_EQ(faults.first(), (SummaryFilterFault{c.column, QString::fromLatin1(c.message)}));
        EXPECT_EQ(ui.statusTexts.last(), QString::fromLatin1(c.message));
        EXPECT_EQ(Shown(), (Ids{1, 3})) << c.text; // the other box still filters
        FilterSummary(session, c.column, QString());
    }
    QList<SummaryFilterFault> faults;
    FilterSummary(session, kCountry, QStringLiteral("[a"), &faults);
    ASSERT_EQ(faults.size(), 1);
    EXPECT_EQ(Shown(), (Ids{1, 2, 3, 4, 5}));
}

TEST_F(SummaryViewTest, FiltersAndSortApplyToQuickFindResultsUntilClearSearch)
{
    FilterSummary(session, kScore, QStringLiteral(">0"));
    SortSummary(session, kScore, true);
    EXPECT_EQ(Shown(), (Ids{1, 2}));
    ASSERT_TRUE(FillQuickFindCombo(session));
    const auto& entries = session.Search.QuickFindEntries;
    const auto country = std::find_if(entries.begin(), entries.end(),
                                      [](const QuickFindEntry& e) { return e.text == "country"; });
    ASSERT_NE(country, entries.end());
    const int entry = int(country - entries.begin());
    ASSERT_TRUE(QuickFindSearch(session, entry, QStringLiteral("[fg]*")));
    EXPECT_EQ(Shown(), (Ids{1, 2})); // record 3's score is no number
    FilterSummary(session, kScore, QString());
    EXPECT_EQ(Shown(), (Ids{3, 1, 2}));
    ClearSearch(session, entry, QStringLiteral("[fg]*"));
    EXPECT_FALSE(session.Database.SummaryView.Ordered());
    EXPECT_EQ(Shown(), (Ids{1, 2, 3, 4, 5}));
}

TEST_F(SummaryViewTest, NavigationDeletionAndTheCurrentRecordFollowTheOrderShown)
{
    ASSERT_TRUE(SummaryRowChosen(session, 2));
    SortSummary(session, kScore, false);
    EXPECT_EQ(session.Database.SummaryRecords.Bookmark(), 2); // still current
    ASSERT_TRUE(Command1_Click(session, Navigation::Next));
    EXPECT_EQ(session.Tables.Header(0), "1");
    ASSERT_TRUE(Command1_Click(session, Navigation::Last));
    EXPECT_EQ(session.Tables.Header(0), "4");
    ASSERT_TRUE(Command1_Click(session, Navigation::First));
    EXPECT_EQ(session.Tables.Header(0), "5");

    FilterSummary(session, kCountry, QStringLiteral("f*"));
    ui.QueueAnswer(MessageAnswer::Yes);
    AllRecords all(session);
    EXPECT_EQ(DeleteResumes(session, all).deleted, 2);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM Forms"), 3);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM Forms WHERE FormID IN (1, 3)"), 0);
}

TEST_F(SummaryViewTest, FieldColumnsAreKeptInTheDatabaseAndShowTheFirstValue)
{
    SummaryModel model(session.RegionalSettings);
    model.SetFieldColumns(session.Database.SummaryView.FieldColumns);
    model.SetSource(&Db(), &session.Database.SummaryRecords.Ids());
    ASSERT_EQ(model.columnCount(), 8);
    EXPECT_EQ(model.headerData(kCountry, Qt::Horizontal).toString(), "country");
    EXPECT_EQ(model.data(model.index(1, kScore)).toString(), "9");
    EXPECT_EQ(model.data(model.index(3, kScore)).toString(), "");
    EXPECT_EQ(model.data(model.index(4, kWhen)).toString(), "12/25/2023");
    EXPECT_EQ(model.data(model.index(3, kCountry)).toString(), "Spain");

    SortSummary(session, kCountry, false);
    ASSERT_TRUE(SetSummaryFieldColumns(session, {"country", "when"}, {55, 0}));
    EXPECT_EQ(session.Database.SummaryView.SortColumn, kScore); // country moved there
    CloseResumeDatabase(session);
    ASSERT_TRUE(OpenResumeDatabase(session, path));
    EXPECT_EQ(session.Database.SummaryView.FieldColumns, QStringList({"country", "when"}));
    EXPECT_EQ(session.Database.SummaryView.FieldWidths, QList<int>({55, 0}));
    EXPECT_FALSE(session.Database.SummaryView.Ordered());
}

} // namespace

namespace {

TEST_F(SummaryViewTest, TheFieldsDialogListsTheChosenFirstAndKeepsTheirWidths)
{
    session.Database.CurrentFieldNames.Reset(
        QStringLiteral("\r\nscore\r\ncountry\r\nwhen\r\nage\r\n"));
    SummaryFieldsChoice choice(session);
    using Item = SummaryFieldsChoice::Item;
    EXPECT_EQ(choice.Items(),
              (QList<Item>{{"score", true}, {"country", true}, {"when", true}, {"age", false}}));
    choice.SetChecked(1, false);
    choice.SetChecked(3, true);
    EXPECT_TRUE(choice.MoveUp(3));
    EXPECT_FALSE(choice.MoveDown(3));
    EXPECT_FALSE(choice.MoveUp(0));
    EXPECT_EQ(choice.Chosen(), QStringList({"score", "age", "when"}));
    ASSERT_TRUE(choice.Ok());
    EXPECT_EQ(ReadSummaryFieldColumns(Db()),
              (SummaryFieldColumns{{"score", "age", "when"}, {40, 0, 0}}));
}

} // namespace
