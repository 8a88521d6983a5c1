#pragma once

#include "platform/Regional.h"

#include <QString>
#include <QVariantList>

// How a summary column's values compare in its filter box.
enum class SummaryValueKind {
    Number, // the record number
    Date,   // the record's date
    Text,   // the other header columns
    Field,  // a field's values: each a number, a date or a text by what it holds
};

// One filter box's text made into SQL over an expression of its column.
// The language: a pattern with the Quick Find wildcards; "=", "<>", "<",
// "<=", ">" or ">=" and a value; or a range "a~b", both ends included.
// Numbers and dates compare by value; texts ignoring letter case. Over a
// field column a typed number compares with the values that are numbers,
// a typed date with those that are dates. A record without a value
// matches no filter.
struct SummaryFilterSql {
    QString where;       // empty for a blank box
    QVariantList values; // bound in order, numbered from firstParameter
    QString error;       // why the text filters nothing, else empty
};

// expression is the column's SQL; parameters are written ?N from
// firstParameter. Over Field the SQL uses tm_number() and tm_date() (see
// SummaryOrder.h) and LIKE and FOLD of the search functions.
SummaryFilterSql SummaryFilterToSql(const QString& text, SummaryValueKind kind,
                                    const QString& expression, int firstParameter,
                                    const Regional& regional);
