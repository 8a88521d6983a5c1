#include "responses/MailBodyLines.h"

void MailBodyLines::Add(QByteArrayView text, QByteArray& out)
{
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

void MailBodyLines::Finish(QByteArray& out)
{
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
