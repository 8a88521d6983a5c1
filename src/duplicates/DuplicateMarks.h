#pragma once

#include <QtGlobal>
#include <unordered_map>
#include <vector>

namespace SQLite {
class Database;
}

class DatabaseConnection;
struct DuplicateGroup;

// A record marked as a possible duplicate of an earlier one, or, cleared,
// found to be no duplicate of it ("Not duplicates"), so that the pair is
// not raised again. Kept in a table of their own, made when first written;
// a mark goes with either of its records.
struct DuplicateMark {
    qint64 formId = 0;
    qint64 repeats = 0;
    bool cleared = false;
    bool operator==(const DuplicateMark&) const = default;
};

// Every mark, in record-number order; none when the table was never made.
// Each of these throws the engine's errors.
std::vector<DuplicateMark> LoadDuplicateMarks(DatabaseConnection& connection);

// The marks made again from the groups: each record after a group's first
// marked as repeating the first; marks of records in no group go, cleared
// pairs stay. Returns the number of records marked. One transaction.
int MarkDuplicateGroups(DatabaseConnection& connection, const std::vector<DuplicateGroup>& groups);

// The same for the records numbered above after alone, adding to the
// marks there are. Returns the number of records marked.
int MarkNewDuplicates(DatabaseConnection& connection, const std::vector<DuplicateGroup>& groups,
                      qint64 after);

// "Not duplicates" for a group: each record after the lowest number is
// cleared against it. One transaction.
void ClearDuplicateGroup(DatabaseConnection& connection, const std::vector<qint64>& ids);

// Takes out of each group the records cleared against its first record;
// a group left with one record goes.
void DropClearedRecords(std::vector<DuplicateGroup>& groups,
                        const std::vector<DuplicateMark>& marks);

// Within the caller's transaction: the record no longer repeats anything
// (it has been merged); nothing when the table was never made.
void ForgetDuplicateMark(DatabaseConnection& connection, qint64 formId);

// Within the caller's transaction, before the records from are deleted:
// marks that name one of them as the record repeated name to instead, so
// that records outside a merge keep their marks.
void RepointDuplicateMarks(DatabaseConnection& connection, const std::vector<qint64>& from,
                           qint64 to);

// For each marked record, the record it may repeat; cleared pairs left out.
// Empty when the table was never made. Throws the engine's errors.
std::unordered_map<qint64, qint64> PossibleDuplicateOf(SQLite::Database& db);
