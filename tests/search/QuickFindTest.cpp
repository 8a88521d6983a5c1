#include "SearchTestDatabase.h"
#include "search/QuickFind.h"
#include "search/SearchRun.h"
#include "support/TempDir.h"

#include "platform/ScriptedUi.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

namespace {

std::optional<SearchValueKind> FormsColumns(const QString& column)
{
    if (column == QLatin1String("FormID"))
        return SearchValueKind::Number;
    if (column == QLatin1String("Form_Date"))
        return SearchValueKind::Date;
    if (column == QLatin1String("Form_Name") || column == QLatin1String("File_Name"))
        return SearchValueKind::Text;
    return std::nullopt;
}

class QuickFindTest : public ::testing::Test {
protected:
    QuickFindCriteria Criteria(const QuickFindEntry& entry, const QString& qualified,
                               const QString& pattern)
    {
        return BuildQuickFindCriteria(entry, qualified, pattern, FormsColumns, regional,
                                      QStringLiteral("P"));
    }

    QStringList Found(const QuickFindEntry& entry, const QString& qualified, const QString& pattern)
    {
        const QuickFindCriteria criteria = Criteria(entry, qualified, pattern);
        EXPECT_TRUE(criteria.fieldFound && criteria.error.isEmpty())
            << criteria.error.toStdString();
        const SearchRunResult run = RunSearch(database, result, criteria.condition, ui, clock);
        EXPECT_TRUE(run.ok) << run.error.toStdString();
        EXPECT_EQ(run.count, ResultNames(result).size());
        return ResultNames(result);
    }

    void SetUp() override
    {
        CreateSearchDatabase(database,
                             {{"abc", "2024-02-29", {{"Email", "x@y"}, {"Email", "second@x"}}},
                              {"xxABCxx", "2024-03-01", {{"Q#1", "yes"}}},
                              {"Abc", "", {{"Phone", "123"}}},
                              {"ab", "", {{"Q11", "no"}}}});
    }

    TempDir dir;
    QString database = dir.File(QStringLiteral("test.fdb"));
    QString result = dir.File(QStringLiteral("TempDB.tdb"));
    ScriptedUi ui;
    TestClock clock;
    Regional regional{TestLocale()};
};

TEST_F(QuickFindTest, StatementTextsMatchTheCompleteStatements)
{
    const QuickFindEntry name{QStringLiteral("Record Name"), 1};
    QuickFindCriteria c = Criteria(name, QStringLiteral("Forms.Form_Name"), QStringLiteral("V"));
    EXPECT_EQ(c.lblFind, QStringLiteral("(Forms.Form_Name Like \"V\")"));
    EXPECT_EQ(c.condition.shownStatement,
              QStringLiteral(
                  "SELECT * INTO [Forms] IN \"P\" FROM Forms WHERE ((Forms.Form_Name Like \"V\")) "
                  "ORDER BY Forms.FormID"));

    c = Criteria({QStringLiteral("Record Date"), 3}, QStringLiteral("Forms.Form_Date"),
                 QStringLiteral("V"));
    EXPECT_EQ(c.condition.shownStatement,
              QStringLiteral(
                  "SELECT * INTO [Forms] IN \"P\" FROM Forms WHERE ((Forms.Form_Date Like #V#)) "
                  "ORDER BY Forms.FormID"));
    c = Criteria({QStringLiteral("Record ID"), 0}, QStringLiteral("Forms.FormID"),
                 QStringLiteral("V"));
    EXPECT_EQ(
        c.condition.shownStatement,
        QStringLiteral("SELECT * INTO [Forms] IN \"P\" FROM Forms WHERE ((Forms.FormID Like V)) "
                       "ORDER BY Forms.FormID"));

    c = Criteria({QStringLiteral("N"), -1}, QString(), QStringLiteral("V"));
    EXPECT_EQ(c.lblFind,
              QStringLiteral("Forms.FormID = ANY (SELECT FormID FROM Data WHERE Field_Name LIKE "
                             "\"N\" AND Data.Field_Value Like \"V\")"));
    EXPECT_EQ(c.condition.shownStatement,
              QStringLiteral(
                  "SELECT DISTINCTROW Forms.* INTO [Forms] IN \"P\" FROM Forms, Data WHERE "
                  "(Forms.FormID = ANY (SELECT FormID FROM Data WHERE Field_Name LIKE \"N\" AND "
                  "Data.Field_Value Like \"V\")) ORDER BY Forms.FormID"));
}

TEST_F(QuickFindTest, AFieldTheSummaryDoesNotHaveIsNotFound)
{
    const QuickFindCriteria c = Criteria({QStringLiteral("Record Town"), 5},
                                         QStringLiteral("Forms.Town"), QStringLiteral("x"));
    EXPECT_FALSE(c.fieldFound);
    // The qualified name is compared exactly.
    EXPECT_FALSE(
        Criteria({QStringLiteral("Record Name"), 1}, QStringLiteral("forms.Form_Name"), "x")
            .fieldFound);
}

TEST_F(QuickFindTest, RecordNamePatterns)
{
    const QuickFindEntry name{QStringLiteral("Record Name"), 1};
    const QString q = QStringLiteral("Forms.Form_Name");
    EXPECT_EQ(Found(name, q, QStringLiteral("abc")), (QStringList{"abc", "Abc"}));
    EXPECT_EQ(Found(name, q, QStringLiteral("*abc*")), (QStringList{"abc", "xxABCxx", "Abc"}));
    EXPECT_EQ(Found(name, q, QStringLiteral("a?")), QStringList{"ab"});
    EXPECT_TRUE(Found(name, q, QStringLiteral("zzz")).isEmpty());
}

TEST_F(QuickFindTest, FieldByNameListsEachRecordOnce)
{
    EXPECT_EQ(Found({QStringLiteral("Email"), -1}, QString(), QStringLiteral("*")),
              QStringList{"abc"});
    EXPECT_EQ(Found({QStringLiteral("EMAIL"), -1}, QString(), QStringLiteral("*X*")),
              QStringList{"abc"});
    // A field name is a name, not a pattern: Q#1 does not find Q11.
    EXPECT_EQ(Found({QStringLiteral("Q#1"), -1}, QString(), QStringLiteral("*")),
              QStringList{"xxABCxx"});
}

TEST_F(QuickFindTest, DatesAndNumbersAreWholeValues)
{
    EXPECT_EQ(Found({QStringLiteral("Record Date"), 3}, QStringLiteral("Forms.Form_Date"),
                    QStringLiteral("2/29/2024")),
              QStringList{"abc"});
    EXPECT_EQ(Found({QStringLiteral("Record ID"), 0}, QStringLiteral("Forms.FormID"),
                    QStringLiteral("3")),
              QStringList{"Abc"});
    // What the engine would refuse is an error before anything runs.
    EXPECT_FALSE(Criteria({QStringLiteral("Record ID"), 0}, QStringLiteral("Forms.FormID"), "3*")
                     .error.isEmpty());
    EXPECT_FALSE(
        Criteria({QStringLiteral("Record Date"), 3}, QStringLiteral("Forms.Form_Date"), "*2024")
            .error.isEmpty());
}

TEST_F(QuickFindTest, ASecondSearchReplacesTheResultFile)
{
    const QuickFindEntry name{QStringLiteral("Record Name"), 1};
    EXPECT_EQ(Found(name, QStringLiteral("Forms.Form_Name"), QStringLiteral("ab")),
              QStringList{"ab"});
    EXPECT_EQ(Found(name, QStringLiteral("Forms.Form_Name"), QStringLiteral("x*")),
              QStringList{"xxABCxx"});
    EXPECT_EQ(ResultFormIds(result), std::vector<qint64>{2});
}

TEST_F(QuickFindTest, EngineErrorsComeBackAsText)
{
    const QuickFindCriteria c = Criteria({QStringLiteral("Record Name"), 1},
                                         QStringLiteral("Forms.Form_Name"), QStringLiteral("[ab"));
    const SearchRunResult run = RunSearch(database, result, c.condition, ui, clock);
    EXPECT_FALSE(run.ok);
    EXPECT_FALSE(run.cancelled);
    EXPECT_EQ(run.error, QStringLiteral("Invalid pattern string"));
    const SearchRunResult missing =
        RunSearch(dir.File(QStringLiteral("none.fdb")), result, c.condition, ui, clock);
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.isEmpty());
}

// Another program's write is waited for on the session's clock.
TEST_F(QuickFindTest, AFileBeingWrittenIsWaitedFor)
{
    SQLite::Database other(database.toStdString(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN EXCLUSIVE");
    clock.onSleep = [&] {
        if (clock.ElapsedMs() == 5)
            other.exec("ROLLBACK");
    };
    const QuickFindCriteria c = Criteria({QStringLiteral("Record Name"), 1},
                                         QStringLiteral("Forms.Form_Name"), QStringLiteral("ab"));
    const SearchRunResult run = RunSearch(database, result, c.condition, ui, clock);
    EXPECT_TRUE(run.ok) << run.error.toStdString();
    EXPECT_EQ(ResultNames(result), QStringList{"ab"});
    EXPECT_GE(clock.ElapsedMs(), 5);
}

// A Ui whose progress dialog's Cancel is pressed after some yields.
class CancellingUi : public ScriptedUi {
public:
    int cancelAfterYields = 3;
    bool CancelRequested() const override { return yields >= cancelAfterYields; }
};

TEST_F(QuickFindTest, CancelInterruptsTheRunningStatement)
{
    std::vector<TestRecord> many;
    for (int i = 0; i < 20000; ++i)
        many.push_back(
            {QStringLiteral("name %1").arg(i), "", {{"Field", QStringLiteral("v%1").arg(i)}}});
    const QString big = dir.File(QStringLiteral("big.fdb"));
    CreateSearchDatabase(big, many);
    const QuickFindCriteria c =
        Criteria({QStringLiteral("Field"), -1}, QString(), QStringLiteral("*9*"));
    CancellingUi cancelling;
    const SearchRunResult run = RunSearch(big, result, c.condition, cancelling, clock);
    EXPECT_FALSE(run.ok);
    EXPECT_TRUE(run.cancelled);
    EXPECT_GE(cancelling.yields, 3);
    // Without Cancel the same search runs to its end.
    ScriptedUi patient;
    const SearchRunResult full = RunSearch(big, result, c.condition, patient, clock);
    EXPECT_TRUE(full.ok);
    EXPECT_GT(patient.yields, 0);
    EXPECT_EQ(full.count, ResultNames(result).size());
}

} // namespace
