#pragma once

#include "responses/FormField.h"
#include "responses/MailFormat.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QString>
#include <memory>

// One message of a mail file, as the plain-text rules read it.
struct MailMessage {
    // The Date header, in the zone it was written in; invalid when the
    // message has none that can be read.
    QDateTime date;
    // The message's text, open for reading: its text/plain parts (or, when
    // it has none, its text/html parts as the text they show), attachments
    // left out, transfer encodings undone, declared charsets turned into
    // UTF-8 (bytes in no declared charset pass as they are), format=flowed
    // joined and mbox quoting undone. Parts are separated by an empty line.
    // The reader owns it; it holds the next message after the next call.
    QIODevice* body = nullptr;
    // What names the message in the import ledger: its Message-ID (without
    // the angle brackets; empty when it has none) and the hash of its raw
    // bytes (see MessageHash).
    QByteArray messageId;
    QByteArray sha256;
    // The Subject header, decoded; what tells a form service's
    // notification.
    QString subject;
    // The label and value rows of the tables of an HTML part read as its
    // text (a message without a plain-text part).
    FormFields htmlTable;
};

// Reads the messages of a saved mail file (one message, several saved one
// after another, an .emlx or an mbox file) one after another, streaming:
// an mbox file is never held in memory whole. Lines may end with CR LF, LF
// or (old Mac files) CR alone.
class MailReader {
public:
    MailReader();
    ~MailReader();
    MailReader(const MailReader&) = delete;
    MailReader& operator=(const MailReader&) = delete;

    // kind: Message, Mbox or AppleMail. False with error when the file
    // cannot be opened.
    bool OpenFile(const QString& path, MailFileKind kind, QString* error);
    // A message pasted as text. Its characters are text already, so only
    // the parts in quoted-printable or base64 are read in their charsets.
    void OpenText(const QByteArray& utf8, MailFileKind kind);
    // A message as it came from a mail server: bytes, read as a file is.
    void OpenBytes(const QByteArray& raw);

    // The next message; false when there are no more.
    bool Next(MailMessage& message);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
