#pragma once

#include <QString>
#include <QtGlobal>

// Column types of the record tables, numbered as the program has always
// numbered them (the numbers are what ParseSchemaLine yields). The two
// negative values are table kinds of a schema header line.
enum ColumnKind : qint16 {
    kUnknownColumn = 0,
    kBooleanColumn = 1,
    kByteColumn = 2,
    kIntegerColumn = 3,
    kLongColumn = 4,
    kCurrencyColumn = 5,
    kSingleColumn = 6,
    kDoubleColumn = 7,
    kDateColumn = 8,
    kTextColumn = 10,
    kLongBinaryColumn = 11,
    kMemoColumn = 12,
    kDetailTable = -1, // linked to Forms by FormID
    kMasterTable = -2, // no link
};

// One parsed schema line "name,type letter,size,flag". In a header line
// the type is the table kind and size the number of field lines after it.
struct SchemaLine {
    QString name;
    qint16 type = kUnknownColumn;
    qint16 size = 0;
    bool flag = false;
};

// Parses one schema line. An unknown type letter leaves the type as
// typeBefore (the type of the line parsed before).
SchemaLine ParseSchemaLine(const QString& line, qint16 typeBefore = kUnknownColumn);

// The built-in schema lines by number: lines 1 and 2 give the header line
// of each record table; empty text for a number that has no line.
QString SchemaLineText(int number);
// How many table descriptions lines 1, 2... point at.
constexpr int kSchemaTables = 2;

// The declared SQL type that keeps a column's kind in the file. Text,
// Memo and Date/time columns are declared with "TEXT" in their type so
// SQLite gives them text affinity ("30" stays the text "30"):
//   Text "TEXT(size)", Memo "MEMO_TEXT", Date/time "DATE_TEXT",
//   Long "INTEGER", Currency "CURRENCY", Boolean "BOOLEAN",
//   Integer "SMALLINT", Single "FLOAT", Double "DOUBLE", Byte "TINYINT",
//   Long binary "BLOB".
QString DeclaredType(qint16 kind, int size);

// The kind of a column from its declared type; *size receives a Text
// column's maximum length. A type the program did not write counts as
// Memo (its text is stored unchanged).
qint16 KindOfDeclaredType(const QString& declared, int* size = nullptr);
