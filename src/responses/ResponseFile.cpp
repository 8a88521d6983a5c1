#include "responses/ResponseFile.h"

#include <cstring>

namespace {
constexpr qint64 kChunk = 64 * 1024;
// A line longer than this is handed over by moving the buffer instead of
// copying it, so a line of many megabytes is held once.
constexpr qsizetype kMoveAbove = 4 * kChunk;
} // namespace

bool ResponseFile::Open(const QString& path)
{
    if (m_file.isOpen())
        m_file.close();
    m_file.setFileName(path);
    m_device = &m_file;
    m_buffer.clear();
    m_pos = 0;
    m_eof = false;
    return m_file.open(QIODevice::ReadOnly);
}

void ResponseFile::Open(QIODevice* device)
{
    if (m_file.isOpen())
        m_file.close();
    m_device = device;
    // Keeps its room: one reader serves many messages in a row.
    m_buffer.resize(0);
    m_pos = 0;
    m_eof = false;
}

bool ResponseFile::Fill()
{
    if (m_eof)
        return false;
    // Consumed bytes go first, so the buffer holds at most the current
    // line and one chunk.
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    const qsizetype had = m_buffer.size();
    m_buffer.resize(had + kChunk);
    const qint64 got = m_device->read(m_buffer.data() + had, kChunk);
    m_buffer.resize(had + std::max<qint64>(got, 0));
    if (got <= 0) {
        m_eof = true;
        return false;
    }
    return true;
}

void ResponseFile::Discard(qsizetype scanned)
{
    m_buffer.remove(0, scanned);
    m_pos = 0;
}

bool ResponseFile::AtEnd()
{
    while (m_pos >= m_buffer.size()) {
        if (!Fill())
            return true;
    }
    return false;
}

bool ResponseFile::ReadLine(QByteArray& line, LineKind* kind)
{
    if (AtEnd())
        return false;
    LineKind found = LineKind::Text;
    // Bytes of the line looked at so far, counted from m_pos: every byte is
    // scanned once, however many chunks the line spans.
    qsizetype scanned = 0;
    qsizetype dropped = 0;
    for (;;) {
        const char* data = m_buffer.constData() + m_pos;
        const qsizetype n = m_buffer.size() - m_pos;
        qsizetype i = scanned;
        while (i < n && data[i] != '\n' && data[i] != '\r') {
            if (data[i] == '\0' && found == LineKind::Text)
                found = LineKind::Binary;
            ++i;
        }
        if (found == LineKind::Text && dropped + i > m_lineLimit)
            found = LineKind::TooLong;
        if (i < n) {
            // A CR at the very end of the buffer may be the first half of
            // CR LF; read on before deciding.
            if (data[i] == '\r' && i + 1 == n && !m_eof) {
                scanned = i;
                if (found != LineKind::Text) {
                    Discard(m_pos + i);
                    dropped += i;
                    scanned = 0;
                }
                if (Fill())
                    continue;
                data = m_buffer.constData() + m_pos;
                i = scanned;
            }
            qsizetype next = i + 1;
            if (data[i] == '\r' && next < m_buffer.size() - m_pos && data[next] == '\n')
                ++next;
            if (found != LineKind::Text) {
                line.clear();
            } else if (i > kMoveAbove) {
                // Hand the buffer itself over and keep only what follows.
                QByteArray rest = m_buffer.mid(m_pos + next);
                line = std::move(m_buffer);
                line.remove(0, m_pos);
                line.truncate(i);
                m_buffer = std::move(rest);
                m_pos = 0;
                if (kind)
                    *kind = found;
                return true;
            } else {
                line = QByteArray(data, i);
            }
            m_pos += next;
            if (kind)
                *kind = found;
            return true;
        }
        scanned = n;
        if (found != LineKind::Text) {
            dropped += n;
            Discard(m_pos + n);
            scanned = 0;
        }
        if (!Fill()) {
            // The last line, without an ending.
            if (found != LineKind::Text)
                line.clear();
            else
                line = m_buffer.mid(m_pos);
            m_pos = m_buffer.size();
            if (kind)
                *kind = found;
            return true;
        }
    }
}
