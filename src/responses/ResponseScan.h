#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <functional>
#include <optional>

class Session;

// Walks every response of one response file the way import does: for each
// response the record tables are emptied and filled (with its full path as
// source, blank rows removed), then onRecord runs; returning false from it
// stops the walk. A file that gives no record shows "No valid Record in
// file".
//
// What the file holds is told from its content. Plain text is read line by
// line and dated with the file's modification date. A saved mail message
// (.eml, or several saved one after another in one file), an Apple Mail
// .emlx or an mbox file is read message by message:
// the text of each message's body is read in the layout it holds (see
// ReadMessageRecords: URL-encoded bodies by the stricter mail rule, numeric
// character references in values decoded; a text/plain post; label lines;
// a JSON object), and each record is dated
// with its message's Date header (in that date's own zone), else with the
// file's modification date; the source of a record from an mbox file is
// the path, "#" and the message's number from 1. A file whose name ends in
// ".csv" is read as a form service's export (see ScanCsvFile). An Outlook .msg or any
// other binary file is refused with a message and gives no record.
struct ScanOutcome {
    bool opened = false;  // false: the file could not be opened (see error)
    bool refused = false; // not a text or mail file; the user was told
    bool stopped = false; // onRecord asked to stop
    int records = 0;      // records handed to onRecord
    int dropped = 0;      // responses too large to store (each was reported)
    int known = 0;        // messages left out as imported before
    QDate fileDate;       // dates a message that has no Date header
    QString error;
};

// One item of a response file as the import ledger names it: a message of
// saved mail, or one response of a plain text file.
struct ScanItem {
    QString source;    // the file as records name it, or the mailbox and folder
    qint64 number = 0; // the message's number from 1, or the response's
    std::optional<qint64> uidValidity;
    std::optional<qint64> uid;
    QByteArray messageId;
    QByteArray sha256; // hex; a plain response's counts its ordinal among
                       // identical bodies of its file
};

// The ledger's hash of an item that may repeat within its file (a plain
// response's body, a row of a comma-separated file): the item's own hash
// with its ordinal among the identical ones so far, so that each
// repetition is an item of its own. Hex, as ScanItem::sha256.
class RepeatedItemHashes {
public:
    QByteArray Of(const QByteArray& itemHash);

private:
    QHash<QByteArray, int> m_seen;
};

// "No valid Record in file" with the file's path.
void TellNoRecord(Session& session, const QString& fullPath);

// What an import that keeps a ledger is asked while a file is walked.
class ScanItems {
public:
    virtual ~ScanItems() = default;
    // Before an item's records are handed on: true leaves them out (its
    // message was imported before).
    virtual bool Skip(const ScanItem& item) = 0;
    // After an item: the records handed to onRecord and the responses
    // dropped. False stops the walk.
    virtual bool Done(const ScanItem& item, int records, int dropped) = 0;
    // An item read with a fault it was read past (a row of a comma-separated
    // file whose cells do not match its header); the user was told.
    virtual void Warned(const ScanItem& item, const QString& warning)
    {
        (void)item;
        (void)warning;
    }
    // How an item was read: for a message its layout and records or why it
    // gave none, for a plain text or CSV file (number 0) the file's.
    virtual void Explained(const ScanItem& item, const QString& how)
    {
        (void)item;
        (void)how;
    }
};

// With a sourceBase folder, each record's source is the file's path
// relative to it instead (a shipped sample names its own file the same on
// every machine). With items, each item is offered to it.
ScanOutcome ScanResponseFile(Session& session, const QString& path,
                             const std::function<bool()>& onRecord,
                             const QString& sourceBase = QString(), ScanItems* items = nullptr);

class MailReader;
// Every response of every message reader gives, as from a mail file; item
// names the messages (number, messageId and sha256 are filled in) and
// recordSource is each record's source.
void ScanMailMessages(Session& session, MailReader& reader, const QString& recordSource,
                      bool numbered, ScanItem item, ScanOutcome& outcome,
                      const std::function<bool()>& onRecord, ScanItems* items);
