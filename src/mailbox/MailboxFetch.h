#pragma once

#include "ledger/ImportTally.h"
#include "mailbox/ImapAccount.h"
#include "mailbox/ImapClient.h"

#include <QDate>
#include <QString>

class Session;

struct FetchRequest {
    ImapAccount account;
    QString password;
    QString caFile;    // the certificate (or its issuer's) a self-signed server is trusted by
    ImapFilter filter; // which messages are read
    bool again = false;
    // Who the messages name besides the address ("Fetch from Office (imaps://...)").
    QString label;
    // How a certificate of the server's own is trusted, for the message
    // that refuses it.
    QString certificateHint = QStringLiteral("give that certificate with --ca-file");
};

struct FetchOutcome {
    bool failed = false;               // the server or the database failed (reported)
    bool stopped = false;              // the Ui asked to stop; what was read is stored
    ImapFault fault = ImapFault::None; // what the server refused, when it did
    ImportTally tally;
};

// Fetches the folder's messages the ledger has not seen under its
// UIDVALIDITY (after a change, all of them; the ledger's hashes still keep
// known ones out) and stores their responses as new records, each message
// with its ledger row, so that a stop or a dropped connection keeps what was
// stored whole and the next fetch goes on from there. Shows progress with
// Cancel; every fault is told naming the account; the status text is the
// import's.
FetchOutcome FetchResponses(Session& session, const FetchRequest& request);
