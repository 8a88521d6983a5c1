#include "responses/CsvReader.h"

namespace {
constexpr qint64 kChunk = 64 * 1024;
} // namespace

bool CsvReader::Open(const QString& path)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        return false;
    m_buffer.clear();
    m_pos = m_rowStart = 0;
    m_line = 1;
    m_eof = false;
    Fill();
    if (m_buffer.startsWith("\xEF\xBB\xBF"))
        m_pos = m_rowStart = 3;
    DetectDelimiter();
    return true;
}

bool CsvReader::Fill()
{
    if (m_eof)
        return false;
    if (m_rowStart > 0) {
        m_buffer.remove(0, m_rowStart);
        m_pos -= m_rowStart;
        m_rowStart = 0;
    }
    const qsizetype had = m_buffer.size();
    m_buffer.resize(had + kChunk);
    const qint64 got = m_file.read(m_buffer.data() + had, kChunk);
    m_buffer.resize(had + std::max<qint64>(got, 0));
    if (got <= 0)
        m_eof = true;
    return got > 0;
}

int CsvReader::Peek()
{
    while (m_pos >= m_buffer.size()) {
        if (!Fill())
            return -1;
    }
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

void CsvReader::DetectDelimiter()
{
    // Reads on until the first row is in the buffer (or the file ends).
    // Counted from m_pos, which a refill moves.
    qsizetype scanned = 0;
    bool quoted = false;
    int counts[3] = {0, 0, 0};
    const char candidates[3] = {',', ';', '\t'};
    for (;;) {
        if (m_pos + scanned >= m_buffer.size()) {
            if (!Fill())
                break;
            continue;
        }
        const char c = m_buffer[m_pos + scanned++];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        } else if (!quoted) {
            for (int i = 0; i < 3; ++i)
                counts[i] += c == candidates[i] ? 1 : 0;
        }
    }
    int best = 0;
    for (int i = 1; i < 3; ++i) {
        if (counts[i] > counts[best])
            best = i;
    }
    m_delimiter = candidates[best];
}

bool CsvReader::Next(Row& row)
{
    // Empty lines hold no row.
    for (int c = Peek(); c == '\n' || c == '\r'; c = Peek()) {
        ++m_pos;
        if (c == '\r' && Peek() == '\n')
            ++m_pos;
        ++m_line;
        m_rowStart = m_pos;
    }
    if (Peek() < 0)
        return false;
    row.cells.clear();
    row.line = m_line;
    m_rowStart = m_pos;
    QByteArray cell;
    bool quoted = false;
    qsizetype length = 0; // of the row's bytes, counted from m_rowStart
    for (;;) {
        const int c = Peek();
        if (c < 0) {
            length = m_pos - m_rowStart;
            break;
        }
        ++m_pos;
        if (quoted) {
            if (c == '"') {
                if (Peek() == '"') {
                    ++m_pos;
                    cell += '"';
                } else {
                    quoted = false;
                }
                continue;
            }
            if (c == '\n' || (c == '\r' && Peek() != '\n'))
                ++m_line;
            cell += static_cast<char>(c);
        } else if (c == m_delimiter) {
            row.cells.append(std::move(cell));
            cell = QByteArray();
        } else if (c == '\n' || c == '\r') {
            length = m_pos - 1 - m_rowStart;
            if (c == '\r' && Peek() == '\n')
                ++m_pos;
            ++m_line;
            break;
        } else if (c == '"' && cell.isEmpty()) {
            quoted = true;
        } else {
            cell += static_cast<char>(c);
        }
    }
    row.cells.append(std::move(cell));
    row.raw = m_buffer.mid(m_rowStart, length);
    m_rowStart = m_pos;
    return true;
}
