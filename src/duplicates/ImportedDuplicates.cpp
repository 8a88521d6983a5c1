#include "duplicates/ImportedDuplicates.h"

#include "database/RawRecord.h"
#include "duplicates/DuplicateKeys.h"
#include "duplicates/DuplicateMarks.h"
#include "platform/DatabaseConnection.h"
#include "session/RecordTables.h"
#include "session/Session.h"

#include <limits>

namespace {

const QString kMarkError = QStringLiteral("Error marking possible duplicates: ");

} // namespace

qint64 LastRecordNumber(Session& session)
{
    return session.Database.CurrentDatabase->Db()
        .execAndGet("SELECT ifnull(max(\"FormID\"), 0) FROM \"Forms\"")
        .getInt64();
}

ImportedDuplicates::ImportedDuplicates(Session& session, qint64 lastBefore)
    : m_session(session), m_lastBefore(lastBefore)
{}

void ImportedDuplicates::Start()
{
    DatabaseConnection* connection = m_session.Database.CurrentDatabase.get();
    if (!connection)
        return;
    try {
        m_keys = LoadDuplicateKeys(*connection);
        if (m_keys.IsSet())
            m_collector = std::make_unique<DuplicateCollector>(m_keys, m_session.RegionalSettings);
    } catch (const std::exception&) {
        // The import's own writes report what is wrong with the file;
        // Mark reads the keys again.
        m_keysUnread = true;
    }
}

void ImportedDuplicates::Stored(const RecordTables& tables)
{
    if (!m_collector)
        return;
    using R = RecordTables;
    RawRecord& record = m_record;
    const QString formId = tables.Header(R::FormIdColumn);
    record.Start(formId.toLongLong());
    for (const int column : {R::NameColumn, R::DateColumn})
        record.SetHeader(column, tables.Header(column).toUtf8());
    // Only the key fields' entries count, unless the whole response does.
    for (int row = 0; row < tables.FieldCount(); ++row) {
        const QString name = tables.Field(row, R::FieldNameColumn);
        if (!m_keys.wholeResponse && !m_keys.fields.contains(name, Qt::CaseInsensitive))
            continue;
        record.AddEntry();
        record.SetField(R::FieldNameColumn, name.toUtf8());
        record.SetField(R::FieldValueColumn, tables.Field(row, R::FieldValueColumn).toUtf8());
    }
    m_collector->Add(record);
}

std::optional<int> ImportedDuplicates::Mark(bool* failed)
{
    DatabaseConnection* connection = m_session.Database.CurrentDatabase.get();
    if (!connection)
        return std::nullopt;
    std::vector<DuplicateGroup> groups;
    try {
        if (m_keysUnread) {
            // Every record is read, the import's as well.
            const DuplicateKeys keys = LoadDuplicateKeys(*connection);
            if (!keys.IsSet())
                return std::nullopt;
            DuplicateSearch search = FindDuplicateGroups(m_session, keys);
            if (!search.ok) {
                *failed = true;
                return std::nullopt;
            }
            groups = std::move(search.groups);
        } else {
            if (!m_collector)
                return std::nullopt;
            // The records stored before the import, read once.
            if (m_lastBefore > 0 && !m_collector->AddStored(m_session, 1, m_lastBefore)) {
                *failed = true;
                return std::nullopt;
            }
            groups = m_collector->Groups();
        }
        DropClearedRecords(groups, LoadDuplicateMarks(*connection));
        return MarkNewDuplicates(*connection, groups, m_lastBefore);
    } catch (const std::exception& e) {
        m_session.ui.MessageBox(kMarkError + EngineErrorText(connection, e),
                                MessageIcon::Exclamation);
        *failed = true;
        return std::nullopt;
    }
}
