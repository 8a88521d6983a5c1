#include "responses/ResponseParser.h"

#include "platform/Sha256.h"

#include "platform/ErrorText.h"
#include "platform/Regional.h"
#include "platform/Ui.h"
#include "responses/FormCharset.h"
#include "responses/FormEncodedLine.h"
#include "session/RecordTables.h"
#include "responses/ResponseFile.h"
#include "platform/ResponseText.h"

namespace {

constexpr int F = RecordTables::kFieldTable;
constexpr int H = RecordTables::kHeaderTable;

// The largest field (name=value pair, still encoded) one response may hold.
constexpr qsizetype kMaxPairBytes = ResponseFile::kDefaultLineLimit;

// Raised when a response holds more than a record can take; the response
// is dropped and reading goes on after it.
struct ResponseTooLarge {
    QString message;
};

QString Megabytes(qsizetype bytes)
{
    constexpr qsizetype kMb = 1024 * 1024;
    if (bytes < kMb)
        return QString::number(bytes) + QStringLiteral(" bytes");
    return QString::number(bytes / kMb) + QStringLiteral(" MB");
}

void TrimBlanksInPlace(QByteArray& bytes)
{
    qsizetype end = bytes.size();
    while (end > 0 && (bytes[end - 1] == ' ' || bytes[end - 1] == '\t'))
        --end;
    bytes.truncate(end);
    qsizetype start = 0;
    while (start < end && (bytes[start] == ' ' || bytes[start] == '\t'))
        ++start;
    if (start > 0)
        bytes.remove(0, start);
}

bool StartsBody(QByteArrayView trimmed, BodyRule rule)
{
    return trimmed.indexOf('=') >= 1 && !IsPlainTextBytes(trimmed) &&
           (rule == BodyRule::PlainText || StartsFormEncodedBody(trimmed));
}

bool EndsBody(QByteArrayView trimmed, BodyRule rule)
{
    return trimmed.isEmpty() || IsPlainTextBytes(trimmed) ||
           (rule == BodyRule::Mail && !CouldBeFormEncoded(trimmed));
}

// Splits a body into name=value pairs as its lines arrive and stores each
// pair in the record tables at once. Only the pair not yet complete is
// held, and each byte is looked at a fixed number of times, so reading
// grows with the body; a pair is decoded where it lies, so a large value
// is held as its bytes and its text and nothing more.
class PairStore {
public:
    PairStore(RecordTables& tables, const Regional& regional, const QDate& date,
              const QString& source)
        : m_tables(tables), m_regional(regional), m_date(date), m_source(source)
    {}

    // Appends the next piece of the body; throws DecodeError,
    // RecordTablesError or ResponseTooLarge.
    void Add(QByteArray&& piece)
    {
        if (m_start == m_pending.size()) {
            m_pending = std::move(piece);
            m_start = 0;
            m_scanned = 0;
        } else {
            // What is consumed goes when it is most of the buffer, so the
            // copying stays in proportion to the bytes read.
            if (m_start > m_pending.size() / 2) {
                m_pending.remove(0, m_start);
                m_scanned -= m_start;
                m_start = 0;
            }
            m_pending.append(piece);
        }
        for (;;) {
            const qsizetype amp = m_pending.indexOf('&', m_scanned);
            if (amp < 0)
                break;
            Store(m_start, amp);
            m_start = amp + 1;
            m_scanned = m_start;
        }
        m_scanned = m_pending.size();
        if (m_pending.size() - m_start > kMaxPairBytes)
            throw ResponseTooLarge{FieldTooLarge()};
    }

    // The body has ended: stores the last pair.
    void Finish()
    {
        Store(m_start, m_pending.size());
        m_pending.clear();
        m_start = 0;
        m_scanned = 0;
    }

    bool Stored() const { return m_stored; }

    static QString FieldTooLarge()
    {
        return QStringLiteral("Error reading data: a field of this response is larger than ") +
               Megabytes(kMaxPairBytes);
    }

private:
    void Store(qsizetype begin, qsizetype end)
    {
        char* data = m_pending.data();
        const QByteArrayView pair(data + begin, end - begin);
        const qsizetype eq = pair.indexOf('=');
        if (eq < 0)
            return;
        char* name = data + begin;
        char* value = name + eq + 1;
        const QString fieldName =
            TrimBlanks(m_charset.Name(QByteArrayView(name, PercentDecodeInPlace(name, eq))));
        const QString fieldValue = m_charset.Value(
            QByteArrayView(value, PercentDecodeInPlace(value, end - begin - eq - 1)));
        m_tables.PutArrayElement(F, RecordTables::FieldNameColumn, fieldName);
        m_tables.PutArrayElement(F, RecordTables::FieldValueColumn, fieldValue);
        if (m_tables.CurrentRow[F] == 0) {
            m_tables.PutArrayElement(H, RecordTables::NameColumn, fieldValue);
            m_tables.PutArrayElement(H, RecordTables::DateColumn, m_regional.DateToText(m_date));
            m_tables.PutArrayElement(H, RecordTables::SourceColumn, m_source);
        }
        m_charset.Stored(m_tables, fieldName, fieldValue);
        m_tables.CurrentRow[F] = static_cast<qint16>(m_tables.CurrentRow[F] + 1);
        m_stored = true;
    }

    RecordTables& m_tables;
    const Regional& m_regional;
    const QDate& m_date;
    const QString& m_source;
    FormCharset m_charset;
    QByteArray m_pending;
    qsizetype m_start = 0;   // the first byte of the pair not yet stored
    qsizetype m_scanned = 0; // bytes before this hold no "&" after m_start
    bool m_stored = false;
};

// Reads one body from the file into store: skips lines until one starts a
// body, then takes following lines until an empty or plain one (which is
// consumed) or the end of the file. Lines that are not text never start or
// continue a body. After an error in the store the rest of the body is
// still read, so the next call starts after it. Returns whether a body was
// found.
bool ReadBody(ResponseFile& file, PairStore& store, Sha256* hash, BodyRule rule)
{
    QByteArray line;
    ResponseFile::LineKind kind = ResponseFile::LineKind::Text;
    bool started = false;
    while (!started && file.ReadLine(line, &kind)) {
        // A line past the limit may well have been a response: it counts
        // as one dropped, and reading goes on after it.
        if (kind == ResponseFile::LineKind::TooLong)
            throw ResponseTooLarge{QStringLiteral("Error reading data: a line longer than ") +
                                   Megabytes(file.LineLimit()) + QStringLiteral(" was skipped")};
        if (kind != ResponseFile::LineKind::Text)
            continue;
        TrimBlanksInPlace(line);
        started = StartsBody(line, rule);
    }
    if (!started)
        return false;
    std::exception_ptr failure;
    const auto add = [&](QByteArray&& piece, bool last) {
        if (hash && !last) {
            hash->Add(piece);
            hash->Add(QByteArrayView("\n", 1));
        }
        if (failure)
            return;
        try {
            store.Add(std::move(piece));
            if (last)
                store.Finish();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    add(std::move(line), false);
    while (file.ReadLine(line, &kind)) {
        if (kind == ResponseFile::LineKind::TooLong) {
            if (!failure)
                failure = std::make_exception_ptr(ResponseTooLarge{
                    QStringLiteral("Error reading data: a line of this response is longer than ") +
                    Megabytes(file.LineLimit())});
            continue;
        }
        if (kind != ResponseFile::LineKind::Text)
            break;
        TrimBlanksInPlace(line);
        if (EndsBody(line, rule))
            break;
        add(std::move(line), false);
    }
    add(QByteArray(), true);
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

} // namespace

bool StartsResponseBody(const QString& trimmedLine)
{
    return trimmedLine.indexOf(QLatin1Char('=')) >= 1 && !IsPlainTextLine(trimmedLine);
}

int ReadRecord(RecordTables& tables, Ui& ui, const Regional& regional, const QString& text,
               const QDate& date, const QString& source, ResponseFile* file, Sha256* bodyHash,
               BodyRule rule)
{
    PairStore store(tables, regional, date, source);
    try {
        if (!text.isEmpty()) {
            store.Add(text.toUtf8());
            store.Finish();
        } else if (!file || !ReadBody(*file, store, bodyHash, rule)) {
            return kNoRecord;
        }
    } catch (const DecodeError& e) {
        ui.MessageBox(QStringLiteral("Error reading data: ") + ErrorText(e),
                      MessageIcon::Exclamation);
        return kNoRecord;
    } catch (const RecordTablesError& e) {
        // Too many fields for one record: the response is dropped, and the
        // caller goes on with the next one.
        ui.MessageBox(e.Message(), MessageIcon::Exclamation);
        return kRecordDropped;
    } catch (const ResponseTooLarge& e) {
        ui.MessageBox(e.message, MessageIcon::Exclamation);
        return kRecordDropped;
    }
    return store.Stored() ? kRecordRead : kNoRecord;
}
