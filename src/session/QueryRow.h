#pragma once

#include <QList>
#include <QString>
#include <array>

// One row of the Query Builder grid: eleven text cells, of which the first
// seven are shown.
enum QueryColumn {
    kOpenBrackets = 0,
    kNotColumn = 1,
    kFieldNameColumn = 2,
    kOperatorColumn = 3,
    kValueColumn = 4,
    kCloseBrackets = 5,
    kConnectorColumn = 6,
    kDatabaseFieldColumn = 7,
    kDataTypeColumn = 8,
    kTableColumn = 9,
    kChoicesColumn = 10,
};
constexpr int kQueryColumnCount = 11;
constexpr int kShownQueryColumns = 7;

struct QueryRow {
    std::array<QString, kQueryColumnCount> cells;

    QString& operator[](int column) { return cells[size_t(column)]; }
    const QString& operator[](int column) const { return cells[size_t(column)]; }
    bool operator==(const QueryRow&) const = default;
};

// The grid's cell array, rows from 0.
using QueryGrid = QList<QueryRow>;

// Lists offered in the operator and connector columns, in their order.
inline const QStringList& QueryOperators()
{
    static const QStringList list{"LIKE", "=", "<>", ">", ">=", "<", "<="};
    return list;
}
inline const QStringList& QueryConnectors()
{
    static const QStringList list{"AND", "OR", "XOR", "END"};
    return list;
}

// A row the user adds: operator "=", connector "END", the rest empty.
inline QueryRow NewQueryRow()
{
    QueryRow row;
    row[kOperatorColumn] = QStringLiteral("=");
    row[kConnectorColumn] = QStringLiteral("END");
    return row;
}
