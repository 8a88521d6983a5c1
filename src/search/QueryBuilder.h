#pragma once

#include "platform/Regional.h"
#include "platform/Ui.h"
#include "session/QueryRow.h"
#include "search/SearchTypes.h"

// What the Query Builder's OK makes of the grid.
struct BuiltQuery {
    enum class Outcome {
        Empty,    // one row with nothing in it: show the whole database again
        Rejected, // a message has been shown; nothing runs
        Ready,    // condition holds the statement to run
    };
    Outcome outcome = Outcome::Rejected;
    QString tableList; // "Forms" or "Forms, Data"
    QString criteria;  // the condition as the statement text shows it
    SearchCondition condition;
    // Rejected by a check on one cell: the first such cell (rows and
    // columns from 0), so the grid can put its current cell there; -1 when
    // the fault is not in one cell (unbalanced brackets).
    int faultRow = -1;
    int faultColumn = -1;
};

// Checks the rows in order and turns them into one condition: each row is a
// comparison, with optional NOT, wrapped in the user's brackets and joined
// to the next row by AND, OR or XOR (NOT binds tightest, then AND, then OR,
// then XOR). Rows on a field by name become a sub-query on Data restricted
// to that field name. Every value is a bound parameter.
//
// columns is the number of shown columns processed (a query file may lower
// it); resultPath only appears in the statement text shown.
BuiltQuery BuildQuery(const QueryGrid& grid, int columns, Ui& ui, const Regional& regional,
                      const ColumnKindLookup& formsColumns, const QString& resultPath);

// Messages of the Query Builder's checks.
namespace QueryMessages {
inline const QString kField = QStringLiteral("Please select a valid field");
inline const QString kOperator = QStringLiteral("Please specify a valid operator");
inline const QString kValue = QStringLiteral("Please enter a valid field value");
inline const QString kDate = QStringLiteral("Please enter a valid date");
inline const QString kNumber = QStringLiteral("Please enter a valid Numeric Value ");
inline const QString kConnector = QStringLiteral("Please specify a logical connector");
inline const QString kLastConnector = QStringLiteral(
    "The last row cannot have a logical connector: please choose END or leave it empty");
inline const QString kBracketCell =
    QStringLiteral("Bracket columns may only hold \"(\" or \")\" characters");
inline const QString kNotCell = QStringLiteral("The Not column may only hold NOT");
inline const QString kUnbalanced =
    QStringLiteral("The brackets do not match: every \"(\" needs a \")\" after it");
inline const QString kCheckQuery = QStringLiteral("Please check your query and try again");
// A check's message naming the grid row (from 0) it is about: the row is
// shown counted from 1 on a second line.
inline QString AtRow(const QString& message, qsizetype row)
{
    return message + QStringLiteral("\r\nRow %1").arg(row + 1);
}
} // namespace QueryMessages
