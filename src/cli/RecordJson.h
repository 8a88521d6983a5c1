#pragma once

#include "platform/BoundedMemo.h"

#include <QByteArrayView>
#include <QString>
#include <string>
#include <unordered_map>

class QTextStream;
class RawRecord;
class RecordTables;
class Regional;

// IsoDate for many records in a row: records read together share most of
// their dates, so each date text is turned into ISO 8601 once (in bounded
// memory).
class IsoDates {
public:
    explicit IsoDates(const Regional& regional) : m_regional(regional) {}
    QString Of(const QString& text);
    // The same for the date of a record read raw, in UTF-8.
    const std::string& Of(QByteArrayView bytes);

private:
    const Regional& m_regional;
    BoundedMemo<QString> m_known;
    std::unordered_map<std::string, std::string> m_knownBytes;
    std::string m_key;
};

// The record object every verb prints:
// {"FormID": n|null, "Form_Name": "...", "Form_Notes": "...",
//  "Form_Date": "YYYY-MM-DD"|null, "File_Name": "...",
//  "fields": [{"DataID": n|null, "Field_Name": "...", "Field_Value": "..."}]}
// withFields false leaves "fields" out.
// Written to out a piece at a time, so a large value is never copied whole.
void WriteRecordJson(QTextStream& out, const RecordTables& tables, const Regional& regional,
                     bool withFields);
// The record object without "fields" of a record read raw, appended to out
// in UTF-8: the bytes WriteRecordJson writes.
void AppendRecordJson(std::string& out, const RawRecord& record, IsoDates& dates);

// A JSON string literal of UTF-8 text, appended to out.
void AppendJsonString(std::string& out, QByteArrayView text);

// The same record as readable text.
void WriteRecordText(QTextStream& out, const RecordTables& tables, const Regional& regional,
                     bool withFields);

// A JSON string literal.
QString JsonString(const QString& text);
// A date text of the record turned into ISO 8601, or empty when it is none.
QString IsoDate(const QString& text, const Regional& regional);
