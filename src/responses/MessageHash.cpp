#include "responses/MessageHash.h"

namespace {
// Enough of a line's start to tell a quoted "From ".
constexpr qsizetype kHeld = 64;

bool IsQuotedFrom(QByteArrayView line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i] == '>')
        ++i;
    return i > 0 && line.sliced(i).startsWith("From ");
}
} // namespace

void MessageHash::EndLine()
{
    if (m_line.size() > 0) {
        for (; m_pendingBreaks > 0; --m_pendingBreaks)
            m_hash.Add(QByteArrayView("\n", 1));
        const QByteArrayView line(m_line);
        m_hash.Add(m_unquoteFrom && IsQuotedFrom(line) ? line.sliced(1) : line);
        m_line.resize(0);
    }
    m_lineOpen = false;
}

void MessageHash::Add(QByteArrayView bytes)
{
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        const char c = bytes[i];
        if (c == '\n' || c == '\r') {
            const bool secondOfCrLf = c == '\n' && m_afterCr;
            m_afterCr = c == '\r';
            ++i;
            if (secondOfCrLf)
                continue;
            EndLine();
            ++m_pendingBreaks;
            continue;
        }
        m_afterCr = false;
        // A run of line content: held while it may still be a quoted
        // "From ", hashed straight through after that.
        qsizetype end = i;
        while (end < n && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArrayView run = bytes.sliced(i, end - i);
        if (!m_lineOpen && m_line.size() + run.size() < kHeld) {
            m_line.append(run);
        } else {
            if (!m_lineOpen) {
                m_line.append(run);
                EndLine();
                m_lineOpen = true;
            } else {
                m_hash.Add(run);
            }
        }
        i = end;
    }
}

QByteArray MessageHash::Hex()
{
    // The last line may be short and unended.
    EndLine();
    return m_hash.Result().toHex();
}

QByteArray MessageHash::Of(QByteArrayView message, bool unquoteFrom)
{
    MessageHash hash(unquoteFrom);
    hash.Add(message);
    return hash.Hex();
}
