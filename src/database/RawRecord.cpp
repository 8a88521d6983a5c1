#include "database/RawRecord.h"

#include "session/RecordTables.h"

#include <QStringDecoder>

QString RawRecord::TextOf(QByteArrayView bytes)
{
    return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)
        .decode(bytes);
}

void RawRecord::Start(qint64 formId)
{
    m_formId = formId;
    m_used = 0; // the room stays for the next record
    m_header.fill(Span{});
    m_rows = 0;
}

void RawRecord::AddEntry()
{
    // The same limit, and the same error, as the record tables'.
    if (m_rows >= RecordTables::kMaxCapacity)
        throw RecordTables::TooManyFieldRows();
    ++m_rows;
    const size_t cells = static_cast<size_t>(m_rows) * kFieldColumns;
    if (m_fields.size() < cells)
        m_fields.resize(cells);
    for (size_t i = cells - kFieldColumns; i < cells; ++i)
        m_fields[i] = Span{};
}
