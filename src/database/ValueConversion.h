#pragma once

#include <QString>
#include <string>

class Regional;
struct ColumnInfo;
namespace SQLite {
class Statement;
}

// What a record's text becomes when it is stored in a column of a given
// kind: the value to store, Null, or "keep" (the column is left as it was:
// Null in a new row, its stored value in an existing one).
struct ColumnValue {
    enum Kind { Keep, Null, Text, Integer, Real };
    Kind kind = Keep;
    QString text;
    qint64 integer = 0;
    double real = 0.0;
};

// The conversion on writing:
//   Currency  numeric -> its value to four decimal places; blank -> Null; else keep
//   Date/time a date -> ISO 8601 "YYYY-MM-DD" (time of day dropped); blank -> Null; else keep
//   Long      numeric -> rounded to a 32-bit integer; blank -> Null; else keep
//   Text      cut to the column's maximum length in characters (code points)
//   others    the text unchanged
// Throws std::runtime_error("Overflow") for a number the column cannot hold.
ColumnValue ConvertForColumn(const ColumnInfo& column, const QString& text,
                             const Regional& regional);

// Binds value at index; Keep binds Null (callers say separately whether to keep).
void BindColumnValue(SQLite::Statement& statement, int index, const ColumnValue& value);
// The same without the engine's own copy of a text: its UTF-8 is kept in
// keep, which must stay as it is until the statement has run.
void BindColumnValue(SQLite::Statement& statement, int index, const ColumnValue& value,
                     std::string& keep);
