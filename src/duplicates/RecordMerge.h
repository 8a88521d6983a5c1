#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

class DatabaseConnection;

struct MergeOutcome {
    bool merged = false;
    qint64 kept = 0;
    int deleted = 0;
    QString error; // why nothing was merged, for a message
};

// Why these records cannot be merged, or empty: fewer than two, one given
// twice (a record cannot be merged with itself), one not stored, or a kept
// record not among them. Throws the engine's errors.
QString MergeProblem(DatabaseConnection& connection, const std::vector<qint64>& ids,
                     std::optional<qint64> keep);

// Merges the records into one: the kept record (the lowest number unless
// keep names another) takes, field by field, the latest non-empty value
// among them (the latest record by date, then by number; every entry of
// that name in that record), its own fields first in their order and then
// the others' new fields, and the other records' notes after its own, a
// line each; the others are deleted with their fields. All in one
// transaction: on any failure the records are as they were and the
// outcome says why (the engine's text).
MergeOutcome MergeRecords(DatabaseConnection& connection, const std::vector<qint64>& ids,
                          std::optional<qint64> keep = std::nullopt);
