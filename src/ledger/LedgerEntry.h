#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// What became of one source item (a message, or a response of a plain text
// file) when an import read it.
enum class LedgerOutcome {
    Stored,          // gave the records listed
    NoResponse,      // held no response
    AlreadyImported, // its message was known: nothing stored
    Failed,          // could not be read or stored (see the reason)
};

// One row of the import ledger. A mailbox item is named by its account and
// folder (source), UIDVALIDITY and UID; a file item by its full path and its
// number in the file.
struct LedgerEntry {
    QString source;
    std::optional<qint64> uidValidity;
    std::optional<qint64> uid;
    qint64 number = 0;
    QByteArray messageId; // without angle brackets; empty when it has none
    QByteArray sha256;    // hex
    QDateTime readAt;
    LedgerOutcome outcome = LedgerOutcome::Stored;
    QString records; // the FormIDs it gave, blank-separated
    QString reason;  // why it failed, or what of it was left out
};

const char* LedgerOutcomeName(LedgerOutcome outcome);
