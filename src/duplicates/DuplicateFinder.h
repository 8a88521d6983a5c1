#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

class Session;
struct DuplicateKeys;

struct DuplicateMember {
    qint64 formId = 0;
    QString date; // as stored: "YYYY-MM-DD", or empty
    QString name;
};

// Records that share a key: in record-number order, the first the one the
// others repeat.
struct DuplicateGroup {
    QString key; // the values as compared, " / " between fields
    std::vector<DuplicateMember> records;
};

struct DuplicateSearch {
    bool ok = false; // false after a message
    std::vector<DuplicateGroup> groups;
};

// Every group of records of the open database that share a key, in the
// order of their first records. The fields are read in one streaming pass.
// A record with a blank key field has no key. With a window of days a
// record joins a group when its date lies within that many days of the
// group's record before it; a record without a date then joins none.
// The whole response compares every field name and value, in any order.
DuplicateSearch FindDuplicateGroups(Session& session, const DuplicateKeys& keys);
