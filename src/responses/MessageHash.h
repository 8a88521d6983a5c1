#pragma once

#include "platform/Sha256.h"

#include <QByteArray>
#include <QByteArrayView>

// The SHA-256 that names a raw message in the import ledger, the same for
// every copy of it: line ends (CR LF, LF, CR) count as one LF, line ends at
// its end are left out, and in a message taken from an mbox file the ">"
// that quotes a "From " line is undone. So a message fetched from a
// mailbox, saved as .eml or exported into an mbox file hashes alike.
class MessageHash {
public:
    explicit MessageHash(bool unquoteFrom = false) : m_unquoteFrom(unquoteFrom) {}

    void Add(QByteArrayView bytes);
    // Lower-case hex of the hash; the object is spent.
    QByteArray Hex();

    static QByteArray Of(QByteArrayView message, bool unquoteFrom = false);

private:
    void EndLine();

    Sha256 m_hash;
    bool m_unquoteFrom;
    bool m_afterCr = false;
    QByteArray m_line; // the line being read, held only for its start
    bool m_lineOpen = false;
    int m_pendingBreaks = 0; // line ends not yet known to be inside the message
};
