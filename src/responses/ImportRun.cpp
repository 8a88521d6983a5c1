#include "responses/ImportRun.h"

#include "database/ChangeLog.h"
#include "platform/DatabaseConnection.h"
#include "platform/ErrorText.h"
#include "session/Session.h"

#include <exception>
#include <sqlite3.h>

namespace {

constexpr int kModeBits =
    DatabaseState::NewRecord | DatabaseState::EditRecord | 4 | DatabaseState::NoRecords;

const QString kWriteError = QStringLiteral("WriteRecord: Error saving Record to the database: ");

} // namespace

ImportRun::ImportRun(Session& session, bool again) : m_session(session), m_again(again)
{
    DatabaseState& d = session.Database;
    if (d.CurrentDatabase)
        m_ledger = std::make_unique<ImportLedger>(*d.CurrentDatabase);
    m_batch = std::make_unique<WriteBatch>(d.CurrentDatabase.get(), session.Now, [this] {
        StoreFieldNamesList(*m_session.Database.CurrentDatabase,
                            m_session.Database.CurrentFieldNames);
        if (m_finishing)
            LogImport();
    });
}

ImportRun::~ImportRun()
{
    Finish();
}

bool ImportRun::StoreRecord()
{
    DatabaseState& d = m_session.Database;
    d.RecordState |= DatabaseState::NewRecord;
    const bool stored = WriteResumes(m_session, 1);
    d.RecordState &= ~kModeBits;
    if (!stored) {
        m_failed = true;
        return false;
    }
    ++m_group.stored;
    const QString id =
        m_session.Tables.GetArrayElement(RecordTables::kHeaderTable, RecordTables::FormIdColumn);
    m_itemRecords.append(id);
    m_groupIds.push_back(id.toLongLong());
    return true;
}

bool ImportRun::Skip(const ScanItem& item)
{
    bool known = false;
    try {
        known = !m_again && m_ledger && m_ledger->IsKnown(item.messageId, item.sha256);
    } catch (const std::exception&) {
        // A ledger that cannot be read keeps nothing out; writing the
        // records then tells what is wrong with the file.
    }
    if (!known)
        return false;
    ++m_group.known;
    AddRow(item, LedgerOutcome::AlreadyImported, QString());
    AfterItem();
    return true;
}

bool ImportRun::Done(const ScanItem& item, int records, int dropped)
{
    (void)records;
    QString reason;
    if (dropped > 0)
        reason = QStringLiteral("%1 response(s) too large to store").arg(dropped);
    else if (m_failed)
        reason = QStringLiteral("a record could not be stored");
    LedgerOutcome outcome = LedgerOutcome::Stored;
    if (m_itemRecords.isEmpty())
        outcome = reason.isEmpty() ? LedgerOutcome::NoResponse : LedgerOutcome::Failed;
    if (!reason.isEmpty())
        ++m_group.failed;
    else if (outcome == LedgerOutcome::Stored)
        ++m_group.imported;
    else
        ++m_group.noResponse;
    AddRow(item, outcome, reason);
    return AfterItem();
}

void ImportRun::Warned(const ScanItem& item, const QString& warning)
{
    (void)item;
    (void)warning;
    ++m_group.warnings;
}

void ImportRun::Fail(const ScanItem& item, const QString& reason)
{
    ++m_group.failed;
    AddRow(item, LedgerOutcome::Failed, reason);
    AfterItem();
}

void ImportRun::AddRow(const ScanItem& item, LedgerOutcome outcome, const QString& reason)
{
    if (m_firstSource.isEmpty())
        m_firstSource = item.source;
    else if (item.source != m_lastSource)
        ++m_otherSources;
    m_lastSource = item.source;
    LedgerEntry entry;
    entry.source = item.source;
    entry.uidValidity = item.uidValidity;
    entry.uid = item.uid;
    entry.number = item.number;
    entry.messageId = item.messageId;
    entry.sha256 = item.sha256;
    // The local time costs a look at the time zone each time: read once a
    // second, it names every item read in that second.
    const qint64 elapsed = m_session.Now.ElapsedMs();
    if (m_readAtMs < 0 || elapsed - m_readAtMs >= 1000) {
        m_readAt = m_session.Now.Now();
        m_readAtMs = elapsed;
    }
    entry.readAt = m_readAt;
    entry.outcome = outcome;
    entry.records = m_itemRecords.join(QLatin1Char(' '));
    entry.reason = reason;
    m_itemRecords.clear();
    if (!m_ledger)
        return;
    try {
        // Inside the group's transaction a row is one insert; outside one (a
        // group that could not begin) it is its own write.
        DatabaseConnection& connection = *m_session.Database.CurrentDatabase;
        if (sqlite3_get_autocommit(connection.Db().getHandle()) == 0) {
            if (!m_ledger->Exists())
                m_ledger->Create();
            m_ledger->Add(entry);
        } else {
            Savepoint savepoint(connection);
            if (!m_ledger->Exists())
                m_ledger->Create();
            m_ledger->Add(entry);
            savepoint.Release();
        }
    } catch (const std::exception& e) {
        m_session.ui.MessageBox(kWriteError + ErrorText(e), MessageIcon::Exclamation);
        m_failed = true;
    }
}

ImportTally ImportRun::Tally() const
{
    ImportTally tally = m_tally;
    tally += m_group;
    return tally;
}

void ImportRun::GroupCommitted()
{
    m_tally += m_group;
    m_group = ImportTally();
    m_keptIds.insert(m_keptIds.end(), m_groupIds.begin(), m_groupIds.end());
    m_groupIds.clear();
}

void ImportRun::GroupLost()
{
    // Its records and rows were rolled back: what gave records or held none
    // failed to be kept.
    ImportTally lost;
    lost.known = m_group.known;
    lost.warnings = m_group.warnings;
    lost.failed = m_group.failed + m_group.imported + m_group.noResponse;
    m_tally += lost;
    m_group = ImportTally();
    m_groupIds.clear();
}

bool ImportRun::AfterItem()
{
    int lost = 0;
    if (!m_batch->AfterRecord(&m_commitError, &lost)) {
        if (lost > 0)
            GroupLost();
        CommitFailed();
        return false;
    }
    if (m_batch->Pending() == 0)
        GroupCommitted();
    if (m_failed)
        return false;
    if (m_session.ui.CancelRequested()) {
        m_stopped = true;
        return false;
    }
    return true;
}

void ImportRun::CommitFailed()
{
    m_session.ui.MessageBox(kWriteError + m_commitError, MessageIcon::Exclamation);
    m_failed = true;
}

bool ImportRun::Finish()
{
    if (m_finished)
        return !m_failed;
    m_finished = true;
    m_finishing = true;
    int lost = 0;
    if (m_batch->Finish(&m_commitError, &lost)) {
        GroupCommitted();
    } else {
        // The entry, if written, went with the group.
        m_logged = false;
        GroupLost();
        CommitFailed();
    }
    m_finishing = false;
    // The entry could not go with the last group (none was open, or its
    // commit failed): it goes on its own, with the tally as it came out.
    if (!m_logged && m_ledger) {
        try {
            Savepoint savepoint(*m_session.Database.CurrentDatabase);
            LogImport();
            savepoint.Release();
        } catch (const std::exception& e) {
            m_session.ui.MessageBox(kWriteError + ErrorText(e), MessageIcon::Exclamation);
            m_failed = true;
        }
    }
    return !m_failed;
}

void ImportRun::LogImport()
{
    // Called inside the transaction that commits the last group: the tally
    // and the records counted are those that commit keeps.
    const ImportTally tally = Tally();
    std::vector<qint64> ids = m_keptIds;
    ids.insert(ids.end(), m_groupIds.begin(), m_groupIds.end());
    QString from = m_firstSource.isEmpty() ? QStringLiteral("nothing") : m_firstSource;
    if (m_otherSources > 0)
        from += QStringLiteral(" and %1 other source(s)").arg(m_otherSources);
    AppendChangeLog(*m_session.Database.CurrentDatabase, m_session.Now, ChangeKind::Import,
                    QStringLiteral("from %1: read %2, imported %3, known %4, no_response %5, "
                                   "failed %6, stored %7")
                        .arg(from)
                        .arg(tally.Read())
                        .arg(tally.imported)
                        .arg(tally.known)
                        .arg(tally.noResponse)
                        .arg(tally.failed)
                        .arg(tally.stored),
                    ChangeLogRecords(std::move(ids)));
    m_logged = true;
}
