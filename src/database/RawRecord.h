#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

// One stored record as the record tables would hold it, every text in
// UTF-8 exactly as the tables' text would be written out: the header's
// columns 0 to 4 and the entries' columns (DataID, field name, field value,
// FormID). The streaming reader fills it for work that writes many records
// straight out again, so no text object is made for each cell; the texts
// live in one buffer that the next record reuses.
class RawRecord {
public:
    static constexpr int kHeaderColumns = 5;
    static constexpr int kFieldColumns = 4;

    // The text the record tables hold for a raw record's bytes (a leading
    // U+FEFF kept, which QString::fromUtf8 would drop).
    static QString TextOf(QByteArrayView bytes);

    qint64 FormId() const { return m_formId; }
    // Empty for a column the header does not have.
    QByteArrayView Header(int column) const
    {
        if (column < 0 || column >= kHeaderColumns)
            return {};
        return View(m_header[static_cast<size_t>(column)]);
    }
    int FieldCount() const { return m_rows; }
    QByteArrayView Field(int row, int column) const
    {
        if (row < 0 || row >= m_rows || column < 0 || column >= kFieldColumns)
            return {};
        return View(
            m_fields[static_cast<size_t>(row) * kFieldColumns + static_cast<size_t>(column)]);
    }

    // Filling, for the reader: a new record, its header cells, then each
    // entry started and its cells set.
    void Start(qint64 formId);
    void SetHeader(int column, QByteArrayView text)
    {
        if (column >= 0 && column < kHeaderColumns)
            m_header[static_cast<size_t>(column)] = Store(text);
    }
    // Throws RecordTablesError for an entry more than the record tables hold.
    void AddEntry();
    void SetField(int column, QByteArrayView text)
    {
        if (m_rows > 0 && column >= 0 && column < kFieldColumns)
            m_fields[static_cast<size_t>(m_rows - 1) * kFieldColumns +
                     static_cast<size_t>(column)] = Store(text);
    }

private:
    struct Span {
        size_t at = 0;
        size_t size = 0;
    };
    // Called for every cell of millions of records: a copy into room kept
    // from the records before.
    Span Store(QByteArrayView text)
    {
        const size_t size = static_cast<size_t>(text.size());
        if (m_used + size > m_bytes.size())
            m_bytes.resize(std::max(m_bytes.size() * 2, m_used + size));
        const Span span{m_used, size};
        if (size > 0)
            std::memcpy(m_bytes.data() + m_used, text.data(), size);
        m_used += size;
        return span;
    }
    QByteArrayView View(const Span& span) const
    {
        return QByteArrayView(m_bytes.data() + span.at, static_cast<qsizetype>(span.size));
    }

    qint64 m_formId = 0;
    std::vector<char> m_bytes;
    size_t m_used = 0;
    std::array<Span, kHeaderColumns> m_header{};
    std::vector<Span> m_fields; // kFieldColumns a row
    int m_rows = 0;
};
