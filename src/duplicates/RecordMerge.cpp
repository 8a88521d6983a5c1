#include "duplicates/RecordMerge.h"

#include "database/ChangeLog.h"
#include "duplicates/DuplicateMarks.h"
#include "platform/DatabaseConnection.h"

#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <set>

namespace {

struct Entry {
    QString name;
    QString value;
};

struct StoredRecord {
    qint64 formId = 0;
    QString notes;
    QString date; // as stored, ISO 8601 when a date
    std::vector<Entry> entries;
    bool stored = false;
};

StoredRecord ReadStored(DatabaseConnection& connection, qint64 formId)
{
    StoredRecord record;
    record.formId = formId;
    SQLite::Statement& header = connection.Cached(
        "SELECT \"Form_Notes\", \"Form_Date\" FROM \"Forms\" WHERE \"FormID\" = ?");
    header.bind(1, static_cast<int64_t>(formId));
    if (header.executeStep()) {
        record.stored = true;
        record.notes = QString::fromUtf8(header.getColumn(0).getText());
        record.date = QString::fromUtf8(header.getColumn(1).getText());
    }
    header.reset();
    SQLite::Statement& fields =
        connection.Cached("SELECT \"Field_Name\", \"Field_Value\" FROM \"Data\" WHERE "
                          "\"FormID\" = ? ORDER BY \"DataID\"");
    fields.bind(1, static_cast<int64_t>(formId));
    while (fields.executeStep())
        record.entries.push_back({QString::fromUtf8(fields.getColumn(0).getText()),
                                  QString::fromUtf8(fields.getColumn(1).getText())});
    fields.reset();
    return record;
}

QString Folded(const QString& name)
{
    return name.toCaseFolded();
}

bool Holds(const StoredRecord& record, const QString& folded)
{
    return std::any_of(record.entries.begin(), record.entries.end(),
                       [&](const Entry& e) { return Folded(e.name) == folded; });
}

// The field names, folded, in the order a merge writes them: the kept
// record's first, then the others' new ones.
std::vector<QString> MergedNames(const std::vector<StoredRecord>& records, size_t kept)
{
    std::vector<QString> names;
    std::set<QString> seen;
    const auto collect = [&](const StoredRecord& record) {
        for (const Entry& e : record.entries) {
            if (seen.insert(Folded(e.name)).second)
                names.push_back(Folded(e.name));
        }
    };
    collect(records[kept]);
    for (size_t i = 0; i < records.size(); ++i) {
        if (i != kept)
            collect(records[i]);
    }
    return names;
}

// The records latest first: by date, then by number; a record without a
// date is older than any dated one.
std::vector<const StoredRecord*> LatestFirst(const std::vector<StoredRecord>& records)
{
    std::vector<const StoredRecord*> latest;
    for (const StoredRecord& record : records)
        latest.push_back(&record);
    std::sort(latest.begin(), latest.end(), [](const StoredRecord* a, const StoredRecord* b) {
        return a->date != b->date ? a->date > b->date : a->formId > b->formId;
    });
    return latest;
}

// The record a field is taken from by default: the latest holding a
// non-empty value of it; when it is blank everywhere, the kept record, or
// else the first that has it.
const StoredRecord* LatestHolder(const std::vector<StoredRecord>& records, size_t kept,
                                 const std::vector<const StoredRecord*>& latest,
                                 const QString& folded)
{
    for (const StoredRecord* record : latest) {
        const bool filled =
            std::any_of(record->entries.begin(), record->entries.end(), [&](const Entry& e) {
                return Folded(e.name) == folded && !e.value.trimmed().isEmpty();
            });
        if (filled)
            return record;
    }
    if (Holds(records[kept], folded))
        return &records[kept];
    return &*std::find_if(records.begin(), records.end(),
                          [&](const StoredRecord& r) { return Holds(r, folded); });
}

std::vector<Entry> MergedEntries(const std::vector<StoredRecord>& records, size_t kept,
                                 const MergeChoices& choices)
{
    std::vector<Entry> merged;
    const std::vector<const StoredRecord*> latest = LatestFirst(records);
    for (const QString& name : MergedNames(records, kept)) {
        const StoredRecord* chosen = LatestHolder(records, kept, latest, name);
        if (const auto choice = choices.find(name); choice != choices.end()) {
            const auto it =
                std::find_if(records.begin(), records.end(),
                             [&](const StoredRecord& r) { return r.formId == choice->second; });
            if (it != records.end())
                chosen = &*it;
        }
        for (const Entry& e : chosen->entries) {
            if (Folded(e.name) == name)
                merged.push_back(e);
        }
    }
    return merged;
}

std::vector<StoredRecord> ReadAll(DatabaseConnection& connection, std::vector<qint64> ids)
{
    std::sort(ids.begin(), ids.end());
    std::vector<StoredRecord> records;
    for (const qint64 id : ids)
        records.push_back(ReadStored(connection, id));
    return records;
}

QString MergedNotes(const std::vector<StoredRecord>& records, size_t kept)
{
    QString notes = records[kept].notes;
    for (size_t i = 0; i < records.size(); ++i) {
        if (i == kept || records[i].notes.trimmed().isEmpty())
            continue;
        if (!notes.isEmpty())
            notes += QStringLiteral("\r\n");
        notes += records[i].notes;
    }
    return notes;
}

} // namespace

MergePreview PreviewMerge(DatabaseConnection& connection, const std::vector<qint64>& ids)
{
    MergePreview preview;
    // Another program may have merged or deleted some since they were found.
    std::vector<StoredRecord> records = ReadAll(connection, ids);
    std::erase_if(records, [](const StoredRecord& r) { return !r.stored; });
    if (records.empty())
        return preview;
    SQLite::Statement& name =
        connection.Cached("SELECT \"Form_Name\" FROM \"Forms\" WHERE \"FormID\" = ?");
    for (const StoredRecord& record : records) {
        preview.ids.push_back(record.formId);
        preview.dates.push_back(record.date);
        name.reset();
        name.bind(1, static_cast<int64_t>(record.formId));
        preview.names.push_back(name.executeStep() ? QString::fromUtf8(name.getColumn(0).getText())
                                                   : QString());
    }
    name.reset();
    const std::vector<const StoredRecord*> latest = LatestFirst(records);
    for (const QString& folded : MergedNames(records, 0)) {
        MergeField field;
        field.folded = folded;
        for (const StoredRecord& record : records) {
            QStringList values;
            for (const Entry& e : record.entries) {
                if (Folded(e.name) != folded)
                    continue;
                if (field.name.isEmpty())
                    field.name = e.name;
                values.append(e.value);
            }
            field.values.push_back(values.join(QLatin1Char('\n')));
            field.held.push_back(!values.isEmpty());
        }
        field.latest = LatestHolder(records, 0, latest, folded)->formId;
        field.differs = std::any_of(field.values.begin(), field.values.end(),
                                    [&](const QString& v) { return v != field.values.front(); });
        preview.fields.push_back(std::move(field));
    }
    return preview;
}

QString MergeProblem(DatabaseConnection& connection, const std::vector<qint64>& ids,
                     std::optional<qint64> keep)
{
    if (ids.size() < 2)
        return QStringLiteral("A merge needs at least two records.");
    std::set<qint64> distinct;
    for (const qint64 id : ids) {
        if (!distinct.insert(id).second)
            return QStringLiteral("Record %1 is given more than once: a record cannot be merged "
                                  "with itself.")
                .arg(id);
    }
    if (keep && !distinct.count(*keep))
        return QStringLiteral("Record %1 to keep is not one of the records to merge.").arg(*keep);
    SQLite::Statement& stored =
        connection.Cached("SELECT count(*) FROM \"Forms\" WHERE \"FormID\" = ?");
    for (const qint64 id : ids) {
        stored.reset();
        stored.bind(1, static_cast<int64_t>(id));
        stored.executeStep();
        if (stored.getColumn(0).getInt() == 0)
            return QStringLiteral("Record %1 does not exist.").arg(id);
    }
    stored.reset();
    return {};
}

MergeOutcome MergeRecords(DatabaseConnection& connection, const Clock& clock,
                          const std::vector<qint64>& ids, std::optional<qint64> keep,
                          const MergeChoices& choices)
{
    MergeOutcome outcome;
    SQLite::Database& db = connection.Db();
    try {
        connection.BeginWrite();
    } catch (const std::exception& e) {
        outcome.error = EngineErrorText(&connection, e);
        return outcome;
    }
    try {
        // Checked again inside the transaction: another program may have
        // deleted one since the question was asked.
        outcome.error = MergeProblem(connection, ids, keep);
        if (!outcome.error.isEmpty()) {
            db.exec("ROLLBACK");
            return outcome;
        }
        std::vector<qint64> sorted = ids;
        std::sort(sorted.begin(), sorted.end());
        const qint64 keptId = keep.value_or(sorted.front());
        const std::vector<StoredRecord> records = ReadAll(connection, ids);
        const size_t kept =
            static_cast<size_t>(std::find(sorted.begin(), sorted.end(), keptId) - sorted.begin());
        const std::vector<Entry> merged = MergedEntries(records, kept, choices);
        const QString notes = MergedNotes(records, kept);

        SQLite::Statement& clear = connection.Cached("DELETE FROM \"Data\" WHERE \"FormID\" = ?");
        clear.bind(1, static_cast<int64_t>(keptId));
        clear.exec();
        SQLite::Statement& insert = connection.Cached(
            "INSERT INTO \"Data\" (\"Field_Name\", \"Field_Value\", \"FormID\") VALUES (?, ?, ?)");
        for (const Entry& e : merged) {
            insert.reset();
            insert.bind(1, e.name.toStdString());
            insert.bind(2, e.value.toStdString());
            insert.bind(3, static_cast<int64_t>(keptId));
            insert.exec();
        }
        if (notes != records[kept].notes) {
            SQLite::Statement& note =
                connection.Cached("UPDATE \"Forms\" SET \"Form_Notes\" = ? WHERE \"FormID\" = ?");
            note.bind(1, notes.toStdString());
            note.bind(2, static_cast<int64_t>(keptId));
            note.exec();
        }
        std::vector<qint64> others;
        for (const qint64 id : sorted) {
            if (id != keptId)
                others.push_back(id);
        }
        RepointDuplicateMarks(connection, others, keptId);
        // The same statement as the Delete command's: the fields go by cascade.
        SQLite::Statement& remove = connection.Cached("DELETE FROM \"Forms\" WHERE \"FormID\" = ?");
        for (const qint64 id : others) {
            remove.reset();
            remove.bind(1, static_cast<int64_t>(id));
            remove.exec();
            ++outcome.deleted;
        }
        ForgetDuplicateMark(connection, keptId);
        AppendChangeLog(connection, clock, ChangeKind::Merge,
                        QStringLiteral("%1 record(s) merged into record %2, %3 deleted")
                            .arg(sorted.size())
                            .arg(keptId)
                            .arg(outcome.deleted),
                        ChangeLogRecords(sorted));
        db.exec("COMMIT");
        outcome.merged = true;
        outcome.kept = keptId;
    } catch (const std::exception& e) {
        outcome.error = EngineErrorText(&connection, e);
        outcome.deleted = 0;
        try {
            db.exec("ROLLBACK");
        } catch (const std::exception&) {
            // The engine has already ended it.
        }
    }
    return outcome;
}
