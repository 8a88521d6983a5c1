#pragma once

#include <QString>

class RecordTables;
class Regional;

// The record object every verb prints:
// {"FormID": n|null, "Form_Name": "...", "Form_Notes": "...",
//  "Form_Date": "YYYY-MM-DD"|null, "File_Name": "...",
//  "fields": [{"DataID": n|null, "Field_Name": "...", "Field_Value": "..."}]}
// withFields false leaves "fields" out.
QString RecordJson(const RecordTables& tables, const Regional& regional, bool withFields);

// The same record as readable text.
QString RecordText(const RecordTables& tables, const Regional& regional, bool withFields);

// A JSON string literal.
QString JsonString(const QString& text);
// A date text of the record turned into ISO 8601, or empty when it is none.
QString IsoDate(const QString& text, const Regional& regional);
