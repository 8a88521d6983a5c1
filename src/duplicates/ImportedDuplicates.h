#pragma once

#include <QtGlobal>
#include <optional>

class Session;

// The highest record number of the open database (0 when it has none):
// an import's records are numbered above it. Throws the engine's errors.
qint64 LastRecordNumber(Session& session);

// After an import: by the keys saved with the database, marks each record
// numbered above lastBefore that repeats an earlier record (see
// FindDuplicateGroups) as a possible duplicate of its group's first record.
// The other marks are left as they are. Returns how many were marked;
// nothing when no keys are saved. On a failure a message is shown and
// *failed set.
std::optional<int> MarkImportedDuplicates(Session& session, qint64 lastBefore, bool* failed);
