#include "responses/MailBodyLines.h"

#include <cstring>

void MailBodyLines::Add(QByteArrayView text, QByteArray& out)
{
    if (!m_options.flowed) {
        Unquote(text, out);
        return;
    }
    qsizetype start = 0;
    for (;;) {
        const qsizetype nl = text.indexOf('\n', start);
        if (nl < 0)
            break;
        QByteArrayView line = text.sliced(start, nl - start);
        if (!m_partial.isEmpty()) {
            m_partial.append(line);
            line = m_partial;
        }
        if (line.endsWith('\r'))
            line.chop(1);
        Line(line, out);
        m_partial.clear();
        start = nl + 1;
    }
    m_partial.append(text.sliced(start));
}

// Without flowed text only lines like ">From " change: the text is copied
// in runs between them instead of line by line.
void MailBodyLines::Unquote(QByteArrayView text, QByteArray& out)
{
    QByteArray joined;
    if (!m_partial.isEmpty()) {
        joined = m_partial + text.toByteArray();
        m_partial.clear();
        text = joined;
    }
    // The last line may go on in the next piece.
    const qsizetype end = text.lastIndexOf('\n') + 1;
    m_partial = text.sliced(end).toByteArray();
    qsizetype copied = 0;
    const char* data = text.data();
    // Only lines that start with ">" can change; memmem finds them fast.
    for (qsizetype at = 0; at < end;) {
        if (data[at] != '>') {
            const void* found = memmem(data + at, static_cast<size_t>(end - at), "\n>", 2);
            if (!found)
                break;
            at = static_cast<const char*>(found) - data + 1;
        }
        qsizetype after = at;
        while (after < end && data[after] == '>')
            ++after;
        if (text.sliced(after, end - after).startsWith("From ")) {
            out.append(text.sliced(copied, at - copied));
            copied = at + 1;
        }
        at = after;
    }
    out.append(text.sliced(copied, end - copied));
}

void MailBodyLines::Finish(QByteArray& out)
{
    if (!m_options.flowed) {
        out.append(m_partial);
        m_partial.clear();
        return;
    }
    if (!m_partial.isEmpty()) {
        const QByteArray last = m_partial;
        m_partial.clear();
        Line(last, out);
    }
    if (m_softPending)
        out.append('\n');
    m_softPending = false;
}

void MailBodyLines::Line(QByteArrayView line, QByteArray& out)
{
    // mbox files quote body lines that would read as a separator with ">",
    // and lines already quoted so with one more.
    if (m_options.unquoteFrom) {
        qsizetype quotes = 0;
        while (quotes < line.size() && line[quotes] == '>')
            ++quotes;
        if (quotes > 0 && line.sliced(quotes).startsWith("From "))
            line = line.sliced(1);
    }
    if (!m_options.flowed) {
        out.append(line);
        out.append('\n');
        return;
    }
    int depth = 0;
    while (depth < line.size() && line[depth] == '>')
        ++depth;
    QByteArrayView content = line.sliced(depth);
    // Space-stuffing: a leading blank was added by the sender.
    if (content.startsWith(' '))
        content = content.sliced(1);
    // The signature separator never flows.
    const bool soft = content.endsWith(' ') && content != "-- ";
    if (m_softPending && depth != m_pendingDepth)
        out.append('\n');
    if (!m_softPending || depth != m_pendingDepth)
        out.append(QByteArray(depth, '>'));
    if (soft && m_options.delSp)
        content.chop(1);
    out.append(content);
    if (!soft)
        out.append('\n');
    m_softPending = soft;
    m_pendingDepth = depth;
}
