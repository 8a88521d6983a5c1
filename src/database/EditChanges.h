#pragma once

#include <QString>
#include <vector>

class DatabaseConnection;

// A record's stored values, read before and after a write to tell the
// change log what the write changed. The values stay in memory: the
// description names fields and lengths only, never a value.
struct RecordSnapshot {
    struct Value {
        qint64 key = 0; // the header's columns -1 to -4, a field its DataID
        QString name;   // the column's or the field's name
        QString value;
    };
    std::vector<Value> values; // the header's columns, then the fields by DataID
};

// The record formId as the file holds it now; throws the engine's exception.
RecordSnapshot ReadRecordSnapshot(DatabaseConnection& connection, qint64 formId);

// What changed from before to after, "; " between fields: "Email: 12 -> 15
// characters", "Phone: added, 11 characters", "Fax: removed, 9
// characters", "Tel renamed to Phone". Empty when nothing changed.
QString DescribeEdit(const RecordSnapshot& before, const RecordSnapshot& after);
