#include "ledger/ImportLedger.h"

#include "platform/DatabaseConnection.h"

#include <SQLiteCpp/Statement.h>

namespace {

const char* const kCreateTable = "CREATE TABLE IF NOT EXISTS \"ImportLedger\" ("
                                 "\"EntryID\" INTEGER PRIMARY KEY, "
                                 "\"Source\" TEXT NOT NULL, "
                                 "\"UIDValidity\" INTEGER, "
                                 "\"UID\" INTEGER, "
                                 "\"Number\" INTEGER NOT NULL, "
                                 "\"MessageID\" TEXT NOT NULL, "
                                 "\"SHA256\" TEXT NOT NULL, "
                                 "\"ReadAt\" TEXT NOT NULL, "
                                 "\"Outcome\" TEXT NOT NULL, "
                                 "\"Records\" TEXT NOT NULL, "
                                 "\"Reason\" TEXT NOT NULL)";
const char* const kCreateMessageIndex = "CREATE INDEX IF NOT EXISTS \"ImportLedgerMessage\" ON "
                                        "\"ImportLedger\" (\"SHA256\", \"MessageID\")";
const char* const kCreateMailboxIndex = "CREATE INDEX IF NOT EXISTS \"ImportLedgerMailbox\" ON "
                                        "\"ImportLedger\" (\"Source\", \"UIDValidity\", \"UID\")";

void BindText(SQLite::Statement& statement, int index, QByteArrayView text)
{
    statement.bind(index,
                   std::string(text.data() ? text.data() : "", static_cast<size_t>(text.size())));
}

void BindText(SQLite::Statement& statement, int index, const QString& text)
{
    statement.bind(index, text.toStdString());
}

} // namespace

const char* LedgerOutcomeName(LedgerOutcome outcome)
{
    switch (outcome) {
    case LedgerOutcome::Stored:
        return "stored";
    case LedgerOutcome::NoResponse:
        return "no response";
    case LedgerOutcome::AlreadyImported:
        return "already imported";
    case LedgerOutcome::Failed:
        return "failed";
    }
    return "failed";
}

void ImportLedger::Create()
{
    SQLite::Database& db = m_connection.Db();
    db.exec(kCreateTable);
    db.exec(kCreateMessageIndex);
    db.exec(kCreateMailboxIndex);
    m_exists = true;
}

bool ImportLedger::Exists() const
{
    if (!m_exists)
        m_exists = m_connection.Db().tableExists("ImportLedger");
    return *m_exists;
}

bool ImportLedger::IsKnown(QByteArrayView messageId, QByteArrayView sha256) const
{
    if (!Exists())
        return false;
    SQLite::Statement& query =
        m_connection.Cached("SELECT 1 FROM \"ImportLedger\" WHERE \"SHA256\" = ? AND "
                            "\"MessageID\" = ? AND \"Outcome\" IN ('stored', 'no response') "
                            "LIMIT 1");
    BindText(query, 1, sha256);
    BindText(query, 2, messageId);
    const bool known = query.executeStep();
    query.reset();
    return known;
}

void ImportLedger::Add(const LedgerEntry& entry)
{
    SQLite::Statement& insert = m_connection.Cached(
        "INSERT INTO \"ImportLedger\" (\"Source\", \"UIDValidity\", \"UID\", \"Number\", "
        "\"MessageID\", \"SHA256\", \"ReadAt\", \"Outcome\", \"Records\", \"Reason\") "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.reset();
    BindText(insert, 1, entry.source);
    if (entry.uidValidity)
        insert.bind(2, static_cast<int64_t>(*entry.uidValidity));
    else
        insert.bind(2);
    if (entry.uid)
        insert.bind(3, static_cast<int64_t>(*entry.uid));
    else
        insert.bind(3);
    insert.bind(4, static_cast<int64_t>(entry.number));
    BindText(insert, 5, QByteArrayView(entry.messageId));
    BindText(insert, 6, QByteArrayView(entry.sha256));
    BindText(insert, 7, entry.readAt.toString(Qt::ISODate));
    insert.bind(8, LedgerOutcomeName(entry.outcome));
    BindText(insert, 9, entry.records);
    BindText(insert, 10, entry.reason);
    insert.exec();
    insert.reset();
}

std::optional<qint64> ImportLedger::HighestUid(const QString& source, qint64 uidValidity) const
{
    if (!Exists())
        return std::nullopt;
    SQLite::Statement& query = m_connection.Cached(
        "SELECT MAX(\"UID\") FROM \"ImportLedger\" WHERE \"Source\" = ? AND \"UIDValidity\" = ? "
        "AND \"Outcome\" <> 'failed'");
    BindText(query, 1, source);
    query.bind(2, static_cast<int64_t>(uidValidity));
    std::optional<qint64> highest;
    if (query.executeStep() && !query.getColumn(0).isNull())
        highest = query.getColumn(0).getInt64();
    query.reset();
    return highest;
}
