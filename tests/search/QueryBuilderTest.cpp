#include "SearchTestDatabase.h"
#include "search/QueryBuilder.h"
#include "search/SearchRun.h"
#include "support/TempDir.h"

#include "platform/ScriptedUi.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

namespace {

using namespace QueryMessages;

std::optional<SearchValueKind> FormsColumns(const QString& column)
{
    if (column == QLatin1String("FormID"))
        return SearchValueKind::Number;
    if (column == QLatin1String("Form_Date"))
        return SearchValueKind::Date;
    if (column == QLatin1String("Form_Name") || column == QLatin1String("Form_Notes") ||
        column == QLatin1String("File_Name"))
        return SearchValueKind::Text;
    return std::nullopt;
}

QueryRow RecordRow(const QString& column, const QString& type, const QString& op,
                   const QString& value, const QString& connector = QString())
{
    QueryRow row;
    row[kFieldNameColumn] = QStringLiteral("Record ") + column;
    row[kOperatorColumn] = op;
    row[kValueColumn] = value;
    row[kConnectorColumn] = connector;
    row[kDatabaseFieldColumn] = QStringLiteral("Forms.") + column;
    row[kDataTypeColumn] = type;
    row[kTableColumn] = QStringLiteral("Forms");
    return row;
}

QueryRow FieldRow(const QString& name, const QString& op, const QString& value,
                  const QString& connector = QString())
{
    QueryRow row;
    row[kFieldNameColumn] = name;
    row[kOperatorColumn] = op;
    row[kValueColumn] = value;
    row[kConnectorColumn] = connector;
    row[kDatabaseFieldColumn] = QStringLiteral("Field_Value");
    row[kDataTypeColumn] = QStringLiteral("M");
    row[kTableColumn] = QStringLiteral("Data");
    return row;
}

class QueryBuilderTest : public ::testing::Test {
protected:
    BuiltQuery Build(const QueryGrid& grid, int columns = kShownQueryColumns)
    {
        return BuildQuery(grid, columns, ui, regional, FormsColumns, QStringLiteral("P"));
    }

    // Runs the query on the sample database; the names found in order.
    QStringList Found(const QueryGrid& grid)
    {
        const BuiltQuery built = Build(grid);
        EXPECT_EQ(built.outcome, BuiltQuery::Outcome::Ready) << MessagesText();
        if (built.outcome != BuiltQuery::Outcome::Ready)
            return {};
        const SearchRunResult run = RunSearch(database, result, built.condition, ui, clock);
        EXPECT_TRUE(run.ok) << run.error.toStdString();
        return ResultNames(result);
    }

    std::string MessagesText() const { return ui.MessageTexts().join(" | ").toStdString(); }

    void SetUp() override
    {
        CreateSearchDatabase(database,
                             {{"alpha", "2024-01-15", {{"Email", "a@x.org"}, {"City", "Oslo"}}},
                              {"Beta", "2024-03-01", {{"Email", "b@y.org"}, {"City", "Bergen"}}},
                              {"gamma", "2023-12-31", {{"email", "g@x.org"}}},
                              {"delta", "", {{"City", "Oslo"}}}});
    }

    TempDir dir;
    QString database = dir.File(QStringLiteral("test.fdb"));
    QString result = dir.File(QStringLiteral("TempDB.tdb"));
    ScriptedUi ui;
    TestClock clock;
    Regional regional{TestLocale()};
};

TEST_F(QueryBuilderTest, WorkedExampleStatementTextCharacterForCharacter)
{
    QueryRow second =
        FieldRow(QStringLiteral("Email"), QStringLiteral("LIKE"), QStringLiteral("*x*"));
    second[kNotColumn] = QStringLiteral("NOT");
    const BuiltQuery built =
        Build({RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"), QStringLiteral("LIKE"),
                         QStringLiteral("a*"), QStringLiteral("OR")),
               second});
    ASSERT_EQ(built.outcome, BuiltQuery::Outcome::Ready);
    EXPECT_EQ(built.tableList, QStringLiteral("Forms, Data"));
    EXPECT_EQ(built.condition.shownStatement,
              QStringLiteral(
                  "SELECT DISTINCTROW Forms.* INTO [Forms] IN \"P\" FROM Forms, Data WHERE( ( "
                  "Forms.Form_Name LIKE \"a*\" )  OR  (Forms.FormID = ANY (SELECT FormID FROM "
                  "Data WHERE Field_Name LIKE \"Email\" AND (NOT Field_Value LIKE \"*x*\" )))  "
                  ") ORDER BY Forms.FormID"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(QueryBuilderTest, WorkedExampleFindsTheRightRecords)
{
    QueryRow second =
        FieldRow(QStringLiteral("Email"), QStringLiteral("LIKE"), QStringLiteral("*x*"));
    second[kNotColumn] = QStringLiteral("NOT");
    // Name starting with a, or an Email field not containing x (case of the
    // field name ignored: gamma's "email" counts and contains x).
    EXPECT_EQ(Found({RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"),
                               QStringLiteral("LIKE"), QStringLiteral("a*"), QStringLiteral("OR")),
                     second}),
              (QStringList{"alpha", "Beta"}));
}

TEST_F(QueryBuilderTest, RecordLevelRowsOnlyUseTheFormsTable)
{
    const BuiltQuery built =
        Build({RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"), QStringLiteral("="),
                         QStringLiteral("BETA"), QStringLiteral("END"))});
    ASSERT_EQ(built.outcome, BuiltQuery::Outcome::Ready);
    EXPECT_EQ(built.tableList, QStringLiteral("Forms"));
    EXPECT_EQ(built.condition.shownStatement,
              QStringLiteral("SELECT DISTINCTROW Forms.* INTO [Forms] IN \"P\" FROM Forms WHERE( ( "
                             "Forms.Form_Name = \"BETA\" )  ) ORDER BY Forms.FormID"));
    EXPECT_EQ(
        Found({RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"), QStringLiteral("="),
                         QStringLiteral("BETA"), QStringLiteral("END"))}),
        QStringList{"Beta"});
}

TEST_F(QueryBuilderTest, TwoFieldRowsAreIndependentSubQueries)
{
    const QueryGrid grid{
        FieldRow(QStringLiteral("Email"), QStringLiteral("LIKE"), QStringLiteral("*x.org"),
                 QStringLiteral("AND")),
        FieldRow(QStringLiteral("City"), QStringLiteral("="), QStringLiteral("oslo"))};
    const BuiltQuery built = Build(grid);
    ASSERT_EQ(built.outcome, BuiltQuery::Outcome::Ready);
    EXPECT_EQ(built.tableList, QStringLiteral("Forms, Data"));
    EXPECT_TRUE(built.condition.shownStatement.contains(
        QStringLiteral("Field_Name LIKE \"Email\" AND ( Field_Value LIKE \"*x.org\" )))")));
    EXPECT_TRUE(built.condition.shownStatement.contains(
        QStringLiteral("Field_Name LIKE \"City\" AND ( Field_Value = \"oslo\" )))")));
    EXPECT_EQ(Found(grid), QStringList{"alpha"});
}

TEST_F(QueryBuilderTest, DatesAndNumbersCompareAsDatesAndNumbers)
{
    const BuiltQuery built = Build({RecordRow(QStringLiteral("Form_Date"), QStringLiteral("D"),
                                              QStringLiteral(">="), QStringLiteral("1/15/2024"))});
    ASSERT_EQ(built.outcome, BuiltQuery::Outcome::Ready);
    EXPECT_TRUE(built.condition.shownStatement.contains(
        QStringLiteral("Forms.Form_Date >= #1/15/2024# )")));
    EXPECT_EQ(Found({RecordRow(QStringLiteral("Form_Date"), QStringLiteral("D"),
                               QStringLiteral(">="), QStringLiteral("1/15/2024"))}),
              (QStringList{"alpha", "Beta"}));
    // 10 > 9 as numbers, although "10" < "9" as text.
    EXPECT_EQ(Found({RecordRow(QStringLiteral("FormID"), QStringLiteral("L"), QStringLiteral(">"),
                               QStringLiteral("2"))}),
              (QStringList{"gamma", "delta"}));
    EXPECT_EQ(Found({RecordRow(QStringLiteral("FormID"), QStringLiteral("L"),
                               QStringLiteral("LIKE"), QStringLiteral("3"))}),
              QStringList{"gamma"});
}

TEST_F(QueryBuilderTest, PrecedenceIsNotThenAndThenOrThenXor)
{
    auto name = [](const QString& op, const QString& value, const QString& connector = QString()) {
        return RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"), op, value, connector);
    };
    // a OR b AND c: AND first, so alpha OR (Beta AND nothing) = alpha.
    EXPECT_EQ(Found({name("=", "alpha", "OR"), name("=", "beta", "AND"), name("=", "zzz")}),
              QStringList{"alpha"});
    // With the user's brackets: (alpha OR beta) AND *a = both.
    QueryGrid bracketed{name("=", "alpha", "OR"), name("=", "beta", "AND"), name("LIKE", "*a")};
    bracketed[0][kOpenBrackets] = QStringLiteral("(");
    bracketed[1][kCloseBrackets] = QStringLiteral(")");
    EXPECT_EQ(Found(bracketed), (QStringList{"alpha", "Beta"}));
    // *a XOR *l*: exactly one of them. alpha, Beta, gamma, delta end in a;
    // alpha and delta hold an l.
    EXPECT_EQ(Found({name("LIKE", "*a", "XOR"), name("LIKE", "*l*")}),
              (QStringList{"Beta", "gamma"}));
    // XOR binds loosest: alpha XOR alpha OR beta = alpha XOR (alpha OR beta) = Beta.
    EXPECT_EQ(Found({name("=", "alpha", "XOR"), name("=", "alpha", "OR"), name("=", "beta")}),
              QStringList{"Beta"});
    // NOT applies to its own row only.
    QueryGrid negated{name("LIKE", "*a", "AND"), name("=", "beta")};
    negated[1][kNotColumn] = QStringLiteral("NOT");
    EXPECT_EQ(Found(negated), (QStringList{"alpha", "gamma", "delta"}));
}

TEST_F(QueryBuilderTest, ValuesAreBoundNeverPartOfTheStatement)
{
    // A double quote, a bracket or a closing parenthesis in a value is just
    // a character; a star still acts as a wildcard under LIKE.
    CreateSearchDatabase(dir.File(QStringLiteral("odd.fdb")),
                         {{"say \"hi\")", "", {}}, {"x') OR 1=1 --", "", {}}, {"plain", "", {}}});
    database = dir.File(QStringLiteral("odd.fdb"));
    EXPECT_EQ(Found({RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"),
                               QStringLiteral("="), QStringLiteral("say \"hi\")"))}),
              QStringList{"say \"hi\")"});
    EXPECT_EQ(Found({RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"),
                               QStringLiteral("="), QStringLiteral("x') OR 1=1 --"))}),
              QStringList{"x') OR 1=1 --"});
    EXPECT_EQ(Found({RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"),
                               QStringLiteral("LIKE"), QStringLiteral("*\"*"))}),
              QStringList{"say \"hi\")"});
}

TEST_F(QueryBuilderTest, EmptyQueryRunsNothing)
{
    EXPECT_EQ(Build({QueryRow()}).outcome, BuiltQuery::Outcome::Empty);
    QueryRow hiddenOnly;
    hiddenOnly[kTableColumn] = QStringLiteral("Data"); // hidden columns do not count
    EXPECT_EQ(Build({hiddenOnly}).outcome, BuiltQuery::Outcome::Empty);
    EXPECT_EQ(Build({NewQueryRow()}).outcome,
              BuiltQuery::Outcome::Rejected); // "=" and "END" are content
    EXPECT_TRUE(ui.messages.size() == 1 && ui.messages[0].text == AtRow(kField, 0));
}

TEST_F(QueryBuilderTest, ChecksStopAtTheFirstFailingCellInOrder)
{
    // Each message names its row; the fault is the cell to correct.
    struct Case {
        QueryGrid grid;
        QString message;
        int row;
        int column;
    };
    QueryRow good = RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"), QStringLiteral("="),
                              QStringLiteral("x"), QStringLiteral("AND"));
    QueryRow noField = good;
    noField[kDatabaseFieldColumn] = QStringLiteral("  ");
    noField[kOperatorColumn].clear(); // also bad, but the field comes first
    QueryRow noOperator = good;
    noOperator[kOperatorColumn].clear();
    noOperator[kValueColumn] = QStringLiteral(" ");
    QueryRow noValue = good;
    noValue[kValueColumn] = QStringLiteral("   ");
    QueryRow noConnector = good;
    noConnector[kConnectorColumn] = QStringLiteral(" ");
    QueryRow endConnector = good;
    endConnector[kConnectorColumn] = QStringLiteral("END");
    QueryRow last = good;
    last[kConnectorColumn] = QStringLiteral("END");
    QueryRow lastWithConnector = good; // AND on the last row
    QueryRow letters = good;
    letters[kOpenBrackets] = QStringLiteral("(x");
    QueryRow closing = good;
    closing[kCloseBrackets] = QStringLiteral("))]");
    QueryRow notWord = good;
    notWord[kNotColumn] = QStringLiteral("NOT NOT");
    QueryRow unknownColumn = good;
    unknownColumn[kDatabaseFieldColumn] = QStringLiteral("Forms.Form_Name); DROP TABLE Forms; --");
    QueryRow strangeOperator = good;
    strangeOperator[kOperatorColumn] = QStringLiteral("==");

    const std::vector<Case> cases{
        {{noField, last}, kField, 0, kFieldNameColumn},
        {{good, noOperator}, kOperator, 1, kOperatorColumn},
        {{noValue, last}, kValue, 0, kValueColumn},
        {{noConnector, last}, kConnector, 0, kConnectorColumn},
        {{endConnector, last}, kConnector, 0, kConnectorColumn},
        {{good, lastWithConnector}, kLastConnector, 1, kConnectorColumn},
        {{letters, last}, kBracketCell, 0, kOpenBrackets},
        {{good, closing}, kBracketCell, 1, kCloseBrackets},
        {{notWord, last}, kNotCell, 0, kNotColumn},
        {{unknownColumn, last}, kField, 0, kFieldNameColumn},
        {{strangeOperator, last}, kOperator, 0, kOperatorColumn},
    };
    for (const Case& c : cases) {
        ScriptedUi fresh;
        const BuiltQuery built = BuildQuery(c.grid, kShownQueryColumns, fresh, regional,
                                            FormsColumns, QStringLiteral("P"));
        EXPECT_EQ(built.outcome, BuiltQuery::Outcome::Rejected);
        ASSERT_EQ(fresh.messages.size(), 1) << c.message.toStdString();
        EXPECT_EQ(fresh.messages[0].text, AtRow(c.message, c.row));
        EXPECT_EQ(fresh.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(built.faultRow, c.row) << c.message.toStdString();
        EXPECT_EQ(built.faultColumn, c.column) << c.message.toStdString();
    }
}

TEST_F(QueryBuilderTest, EveryBadDateAndNumberIsReportedBeforeStopping)
{
    const QueryGrid grid{
        RecordRow(QStringLiteral("Form_Date"), QStringLiteral("D"), QStringLiteral("="),
                  QStringLiteral("31/31/99"), QStringLiteral("AND")),
        RecordRow(QStringLiteral("FormID"), QStringLiteral("L"), QStringLiteral("="),
                  QStringLiteral("ten"), QStringLiteral("OR")),
        RecordRow(QStringLiteral("Form_Date"), QStringLiteral("D"), QStringLiteral("="),
                  QStringLiteral("soon"), QStringLiteral("AND")),
        RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"), QStringLiteral("="),
                  QStringLiteral(" "))};
    const BuiltQuery built = Build(grid);
    EXPECT_EQ(built.outcome, BuiltQuery::Outcome::Rejected);
    // The bad dates and numbers do not stop the checks; the empty value does.
    EXPECT_EQ(ui.MessageTexts(),
              (QStringList{AtRow(kDate, 0), AtRow(kNumber, 1), AtRow(kDate, 2), AtRow(kValue, 3)}));
    // The first bad cell is the one to correct first.
    EXPECT_EQ(built.faultRow, 0);
    EXPECT_EQ(built.faultColumn, kValueColumn);

    ScriptedUi fresh;
    const QueryGrid onlyDates{RecordRow(QStringLiteral("Form_Date"), QStringLiteral("D"),
                                        QStringLiteral("="), QStringLiteral("31/31/99"),
                                        QStringLiteral("OR")),
                              RecordRow(QStringLiteral("FormID"), QStringLiteral("C"),
                                        QStringLiteral("="), QStringLiteral("1x"))};
    EXPECT_EQ(BuildQuery(onlyDates, 7, fresh, regional, FormsColumns, "P").outcome,
              BuiltQuery::Outcome::Rejected);
    EXPECT_EQ(fresh.MessageTexts(), (QStringList{AtRow(kDate, 0), AtRow(kNumber, 1)}));
}

TEST_F(QueryBuilderTest, UnbalancedBracketsAreReportedBeforeAnythingRuns)
{
    auto name = [](const QString& value, const QString& connector = QString()) {
        return RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"), QStringLiteral("="),
                         value, connector);
    };
    const std::vector<std::pair<QString, QString>> brackets{
        {"((", ")"}, {"(", ""}, {"", ")"}, {"(", "))"}};
    for (const auto& [open, close] : brackets) {
        ScriptedUi fresh;
        QueryGrid grid{name("a", "OR"), name("b")};
        grid[0][kOpenBrackets] = open;
        grid[1][kCloseBrackets] = close;
        EXPECT_EQ(BuildQuery(grid, 7, fresh, regional, FormsColumns, "P").outcome,
                  BuiltQuery::Outcome::Rejected);
        EXPECT_EQ(fresh.MessageTexts(), QStringList{kUnbalanced});
    }
    // A closing bracket before its opening one does not balance either.
    QueryGrid crossed{name("a", "OR"), name("b")};
    crossed[0][kCloseBrackets] = QStringLiteral(")");
    crossed[1][kOpenBrackets] = QStringLiteral("(");
    ScriptedUi fresh;
    EXPECT_EQ(BuildQuery(crossed, 7, fresh, regional, FormsColumns, "P").outcome,
              BuiltQuery::Outcome::Rejected);
    EXPECT_EQ(fresh.MessageTexts(), QStringList{kUnbalanced});
    // Blanks around brackets are fine.
    QueryGrid spaced{name("alpha", "OR"), name("beta")};
    spaced[0][kOpenBrackets] = QStringLiteral(" ( ");
    spaced[1][kCloseBrackets] = QStringLiteral(") ");
    EXPECT_EQ(Found(spaced), (QStringList{"alpha", "Beta"}));
}

TEST_F(QueryBuilderTest, FewerColumnsLeaveTheLaterColumnsUnprocessed)
{
    // Five columns: no closing brackets and no connectors are read, so the
    // first row's bracket is never closed.
    QueryGrid grid{RecordRow(QStringLiteral("Form_Name"), QStringLiteral("T"), QStringLiteral("="),
                             QStringLiteral("alpha"), QStringLiteral("nonsense"))};
    grid[0][kOpenBrackets] = QStringLiteral("(");
    grid[0][kCloseBrackets] = QStringLiteral(")");
    EXPECT_EQ(Build(grid, 5).outcome, BuiltQuery::Outcome::Rejected);
    EXPECT_EQ(ui.MessageTexts(), QStringList{kUnbalanced});
    // With all seven the same row is checked and its connector refused.
    ScriptedUi fresh;
    EXPECT_EQ(BuildQuery(grid, 7, fresh, regional, FormsColumns, "P").outcome,
              BuiltQuery::Outcome::Rejected);
    EXPECT_EQ(fresh.MessageTexts(), QStringList{AtRow(kConnector, 0)});
    // Five columns and a plain row: runs, the connector column ignored.
    grid[0][kOpenBrackets].clear();
    ScriptedUi third;
    const BuiltQuery built = BuildQuery(grid, 5, third, regional, FormsColumns, "P");
    EXPECT_EQ(built.outcome, BuiltQuery::Outcome::Ready);
    EXPECT_EQ(built.criteria, QStringLiteral(" ( Forms.Form_Name = \"alpha\" ) "));
}

} // namespace
