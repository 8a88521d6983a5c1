#pragma once

#include "database/RawRecord.h"
#include "duplicates/DuplicateFinder.h"

#include <QtGlobal>
#include <memory>
#include <optional>

class RecordTables;
class Session;

// The highest record number of the open database (0 when it has none):
// an import's records are numbered above it. Throws the engine's errors.
qint64 LastRecordNumber(Session& session);

// An import's marking of possible duplicates, by the keys saved with the
// database: each record's key is taken from the record tables as it is
// stored, so that only the records stored before the import are read
// again afterwards (none in a new database). Each record of the import that
// repeats an earlier one (see FindDuplicateGroups) is marked as a possible
// duplicate of its group's first record; other marks are left as they are.
class ImportedDuplicates {
public:
    ImportedDuplicates(Session& session, qint64 lastBefore);

    // Reads the saved keys before the import; when they cannot be read
    // here, Mark tries again.
    void Start();
    // The record just stored from the session's record tables.
    void Stored(const RecordTables& tables);
    // Marks them. Returns how many were marked; nothing when no keys are
    // saved. On a failure a message is shown and *failed set.
    std::optional<int> Mark(bool* failed);

private:
    Session& m_session;
    qint64 m_lastBefore;
    DuplicateKeys m_keys;
    std::unique_ptr<DuplicateCollector> m_collector;
    RawRecord m_record; // its room kept from one record to the next
    bool m_keysUnread = false;
};
