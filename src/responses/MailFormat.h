#pragma once

#include <QByteArray>
#include <QByteArrayView>

// What a response file holds, told from its first bytes, never from its
// name.
enum class MailFileKind {
    PlainText,      // lines read by the plain-text rules
    Message,        // one mail message (.eml and the like)
    Mbox,           // messages one after another, each after a "From " line
    AppleMail,      // .emlx: a byte count, the message, a property list
    OutlookMessage, // Outlook's own compound file (.msg): not readable
    Binary,         // anything else that is not text
};

// How many leading bytes DetectMailFileKind wants to see.
constexpr qsizetype kMailHeadBytes = 64 * 1024;

// head: the first bytes of the file (kMailHeadBytes, or all of it);
// wholeFile: head is all there is.
MailFileKind DetectMailFileKind(const QByteArray& head, bool wholeFile);

// Whether the text from offset on starts with a message header block:
// "Name: value" lines (folded lines continuing them) that include at least
// one of the usual message headers, up to an empty line (or the end of a
// whole file).
bool StartsWithHeaderBlock(const QByteArray& head, qsizetype offset, bool wholeFile);

// Whether line starts a header field: printable ASCII without blanks or
// ":", then ":" (blanks before the colon are old but allowed); name is
// what comes before.
bool HeaderName(QByteArrayView line, QByteArrayView* name);
