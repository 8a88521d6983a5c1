#pragma once

#include <QString>
#include "duplicates/DuplicateKeys.h"

#include <QtGlobal>
#include <memory>
#include <vector>

class KeyCollector;
class RawRecord;
class Regional;
class Session;

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

// The keys of records gathered one at a time (an import's records as they
// are stored) or read from the database, and the groups they make; the
// order records are added in does not matter.
class DuplicateCollector {
public:
    DuplicateCollector(const DuplicateKeys& keys, const Regional& regional, size_t expected = 0);
    ~DuplicateCollector();

    void Add(const RawRecord& record);
    // The stored records numbered from..to, in one streaming read; false
    // after the read's message.
    bool AddStored(Session& session, qint64 from, qint64 to);
    std::vector<DuplicateGroup> Groups();

private:
    DuplicateKeys m_keys;
    std::unique_ptr<KeyCollector> m_collector;
};
