#include "responses/ResponseFile.h"

namespace {
constexpr qint64 kChunk = 64 * 1024;
}

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
    // Read straight into the buffer: no chunk allocated per read.
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + kChunk);
    const qint64 n = m_device->read(m_buffer.data() + kept, kChunk);
    if (n <= 0) {
        m_buffer.resize(kept);
        m_eof = true;
        return false;
    }
    m_buffer.resize(kept + n);
    // Positions into the buffer stay valid when nothing more was read.
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    return true;
}

bool ResponseFile::AtEnd()
{
    while (m_pos >= m_buffer.size()) {
        if (!Fill())
            return true;
    }
    return false;
}

bool ResponseFile::ReadLine(QByteArray& line)
{
    if (AtEnd())
        return false;
    for (;;) {
        qsizetype i = m_pos;
        const qsizetype n = m_buffer.size();
        const char* data = m_buffer.constData();
        while (i < n && data[i] != '\n' && data[i] != '\r')
            ++i;
        if (i < n) {
            // A CR at the very end of the buffer may be the first half of
            // CR LF; read on before deciding.
            if (m_buffer[i] == '\r' && i + 1 == n && Fill())
                continue;
            line = m_buffer.mid(m_pos, i - m_pos);
            qsizetype next = i + 1;
            if (m_buffer[i] == '\r' && next < m_buffer.size() && m_buffer[next] == '\n')
                ++next;
            m_pos = next;
            return true;
        }
        if (!Fill()) {
            line = m_buffer.mid(m_pos);
            m_pos = m_buffer.size();
            return true;
        }
    }
}
