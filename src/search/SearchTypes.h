#pragma once

#include <QString>
#include <QVariantList>
#include <functional>
#include <optional>

// How a column of Forms compares: as text (ignoring case), as a date
// (stored as ISO text), or as a number.
enum class SearchValueKind { Text, Date, Number };

// The kind of a Forms column by its bare name ("Form_Date"); empty when the
// table has no such column.
using ColumnKindLookup = std::function<std::optional<SearchValueKind>(const QString& column)>;

// A condition over Forms in SQLite with its bound values (?1, ?2, ... in
// order), and the statement text shown to the user for it.
struct SearchCondition {
    QString where;       // SQLite expression over the columns of Forms
    QVariantList values; // bound in order to ?1, ?2, ...
    QString shownStatement;
};
