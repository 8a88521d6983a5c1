#pragma once

#include "ledger/LedgerEntry.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

class DatabaseConnection;

// The import ledger of a database: every item an import read, so that the
// same message is never stored twice, whichever way it arrives (a mailbox,
// an mbox export of it, a saved message). The table is made by the first
// import that writes to it; a file without one reads as an empty ledger, so
// older files open unchanged and older programs never see it.
class ImportLedger {
public:
    explicit ImportLedger(DatabaseConnection& connection) : m_connection(connection) {}

    // Makes the table when the file has none; call inside a write.
    void Create();
    bool Exists() const;

    // Whether a message with this Message-ID and hash was read before with
    // an outcome that keeps it out (stored, or no response in it). A failed
    // read does not: the next import tries again.
    bool IsKnown(QByteArrayView messageId, QByteArrayView sha256) const;
    void Add(const LedgerEntry& entry);

    // The highest UID read from the folder (source) under uidValidity, a
    // failed read left out: the next fetch asks for that message again.
    std::optional<qint64> HighestUid(const QString& source, qint64 uidValidity) const;

private:
    DatabaseConnection& m_connection;
    mutable std::optional<bool> m_exists; // looked up once, set by Create
};
