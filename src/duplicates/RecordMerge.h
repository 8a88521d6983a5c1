#pragma once

#include <QString>
#include <QtGlobal>
#include <map>
#include <optional>
#include <vector>

class Clock;
class DatabaseConnection;

struct MergeOutcome {
    bool merged = false;
    qint64 kept = 0;
    int deleted = 0;
    QString error; // why nothing was merged, for a message
};

// For a field name in case-folded form, the record whose entries of that
// name the merged record takes instead of the latest non-empty ones. A
// record without the field leaves it out of the merged record.
using MergeChoices = std::map<QString, qint64>;

// One field of records about to be merged, for choosing its value.
struct MergeField {
    QString name;                // as the first record holding it spells it
    QString folded;              // the key of MergeChoices
    std::vector<QString> values; // per record; several entries a line each
    std::vector<bool> held;      // per record: whether it has the field at all
    qint64 latest = 0;           // the record a merge takes it from unless chosen
    bool differs = false;        // the records hold different values
};

struct MergePreview {
    std::vector<qint64> ids; // ascending: the first is the one kept
    std::vector<QString> dates;
    std::vector<QString> names;
    std::vector<MergeField> fields;
};

// The records' fields side by side, in the order a merge keeping the
// lowest number writes them; records no longer stored are left out.
// Throws the engine's errors.
MergePreview PreviewMerge(DatabaseConnection& connection, const std::vector<qint64>& ids);

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
// outcome says why (the engine's text). choices overrides the latest
// value field by field. Records that other records were marked as
// repeating are, when merged away, replaced in those marks by the kept one.
// The change log's entry, logged at clock's now, goes in the same
// transaction.
MergeOutcome MergeRecords(DatabaseConnection& connection, const Clock& clock,
                          const std::vector<qint64>& ids, std::optional<qint64> keep = std::nullopt,
                          const MergeChoices& choices = {});
