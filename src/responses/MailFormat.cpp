#include "responses/MailFormat.h"

#include <QByteArrayView>
#include <array>

namespace {

// Headers that mail programs write into every saved message; one of them
// tells a message from a text that merely starts with "Word: text".
constexpr std::array<QByteArrayView, 18> kMessageHeaders = {
    "from",         "to",          "cc",
    "date",         "subject",     "received",
    "return-path",  "message-id",  "mime-version",
    "content-type", "reply-to",    "sender",
    "delivered-to", "in-reply-to", "references",
    "x-mailer",     "user-agent",  "content-transfer-encoding",
};

// The compound-file signature of Outlook's .msg (and other Office files).
constexpr QByteArrayView kCompoundFileSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

bool IsMessageHeaderName(QByteArrayView name)
{
    for (const QByteArrayView known : kMessageHeaders) {
        if (name.compare(known, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The line from pos to its ending (CR LF, LF or CR); pos moves past it.
// False when pos is at the end; *complete says whether an ending was seen.
bool NextLine(const QByteArray& text, qsizetype& pos, QByteArrayView& line, bool* complete)
{
    if (pos >= text.size())
        return false;
    qsizetype end = pos;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r')
        ++end;
    line = QByteArrayView(text).sliced(pos, end - pos);
    *complete = end < text.size();
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
        ++end;
    pos = end + 1;
    return true;
}

} // namespace

bool HeaderName(QByteArrayView line, QByteArrayView* name)
{
    qsizetype i = 0;
    while (i < line.size() && line[i] > 32 && line[i] < 127 && line[i] != ':')
        ++i;
    if (i == 0)
        return false;
    qsizetype colon = i;
    while (colon < line.size() && (line[colon] == ' ' || line[colon] == '\t'))
        ++colon;
    if (colon >= line.size() || line[colon] != ':')
        return false;
    *name = line.first(i);
    return true;
}

namespace {

bool IsBinary(const QByteArray& head)
{
    qsizetype controls = 0;
    for (const char c : head) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0)
            return true;
        // Tab, line ends, form feed, Ctrl-Z and the escape of ISO-2022
        // texts turn up in real text files; other controls hardly do.
        if ((b < 32 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != '\v' && b != 0x1A &&
             b != 0x1B) ||
            b == 0x7F)
            ++controls;
    }
    return controls > head.size() / 20;
}

// An .emlx starts with the message's length in bytes on a line of its own.
bool StartsWithByteCount(const QByteArray& head, qsizetype* next)
{
    qsizetype pos = 0;
    QByteArrayView line;
    bool complete = false;
    if (!NextLine(head, pos, line, &complete) || !complete)
        return false;
    const QByteArrayView digits = line.trimmed();
    if (digits.isEmpty() || digits.size() > 18)
        return false;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
    }
    *next = pos;
    return true;
}

} // namespace

bool StartsWithHeaderBlock(const QByteArray& head, qsizetype offset, bool wholeFile)
{
    qsizetype pos = offset;
    QByteArrayView line;
    bool complete = false;
    bool usual = false;
    bool first = true;
    while (NextLine(head, pos, line, &complete)) {
        if (line.isEmpty())
            return !first && usual;
        if (line[0] == ' ' || line[0] == '\t') {
            if (first)
                return false;
        } else {
            QByteArrayView name;
            if (!HeaderName(line, &name))
                return false;
            usual = usual || IsMessageHeaderName(name);
        }
        first = false;
        if (!complete)
            break;
    }
    // A message of headers only, which ends with the file.
    return wholeFile && !first && usual;
}

MailFileKind DetectMailFileKind(const QByteArray& head, bool wholeFile)
{
    if (head.startsWith(kCompoundFileSignature))
        return MailFileKind::OutlookMessage;
    if (IsBinary(head))
        return MailFileKind::Binary;
    qsizetype afterCount = 0;
    if (StartsWithByteCount(head, &afterCount) &&
        StartsWithHeaderBlock(head, afterCount, wholeFile))
        return MailFileKind::AppleMail;
    if (head.startsWith("From ")) {
        qsizetype pos = 0;
        QByteArrayView line;
        bool complete = false;
        NextLine(head, pos, line, &complete);
        if (complete && StartsWithHeaderBlock(head, pos, wholeFile))
            return MailFileKind::Mbox;
    }
    if (StartsWithHeaderBlock(head, 0, wholeFile))
        return MailFileKind::Message;
    return MailFileKind::PlainText;
}
