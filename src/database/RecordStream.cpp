#include "database/RecordStream.h"

#include "session/Session.h"
#include "database/RawRecord.h"
#include "platform/ErrorText.h"
#include "platform/SchemaLines.h"
#include "platform/TextCodec.h"

#include <SQLiteCpp/Exception.h>
#include <charconv>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace {

using R = RecordTables;

const QString kNotStored = QStringLiteral("No current record.");

// A prepared statement stepped through the engine's own calls: these
// cursors run over millions of rows, where the wrapper's object per column
// read (a shared pointer copied for each) costs as much as the reading.
class Cursor {
public:
    Cursor(sqlite3* db, const char* sql)
    {
        sqlite3_stmt* statement = nullptr;
        const int result = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        m_statement.reset(statement);
        if (result != SQLITE_OK)
            throw SQLite::Exception(db, result);
    }

    // Ready to run again, with no values bound.
    void Restart()
    {
        sqlite3_reset(Get());
        sqlite3_clear_bindings(Get());
    }

    void Bind(int index, qint64 value)
    {
        const int result = sqlite3_bind_int64(Get(), index, value);
        if (result != SQLITE_OK)
            throw SQLite::Exception(sqlite3_db_handle(Get()), result);
    }

    // The next row; false at the end.
    bool Step()
    {
        const int result = sqlite3_step(Get());
        if (result == SQLITE_ROW)
            return true;
        if (result == SQLITE_DONE)
            return false;
        throw SQLite::Exception(sqlite3_db_handle(Get()), result);
    }

    int Columns() const { return sqlite3_column_count(Get()); }
    // The cell's value, read through the value calls: one look-up of the
    // column instead of one for its type, its text and its size each. The
    // connection is only ever used by one thread.
    sqlite3_value* Value(int column) const { return sqlite3_column_value(Get(), column); }
    qint64 Int(int column) const { return sqlite3_column_int64(Get(), column); }
    sqlite3_stmt* Get() const { return m_statement.get(); }

private:
    struct Finalize {
        void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
    };
    std::unique_ptr<sqlite3_stmt, Finalize> m_statement;
};

// The texts the record tables hold for stored values, as ReadResumes
// writes them: Null is empty, numbers in their plain form, dates in the
// user's short date format. Records read in a row share most of their
// dates, field names and many values (a source file, a country), so a text
// equal to the one in the same place of the record before is not converted
// again but shared.
class CellTexts {
public:
    explicit CellTexts(const Regional& regional) : m_regional(regional) {}

    // The places whose last text is remembered: the header's columns, then
    // the columns of the first entries.
    static int HeaderPlace(int column) { return column; }
    static int EntryPlace(int row, int column)
    {
        return row < kRememberedRows ? 8 + row * 3 + column : -1;
    }

    QString Of(const Cursor& cursor, int column, qint16 kind, int place = -1)
    {
        sqlite3_value* const cell = cursor.Value(column);
        const int type = sqlite3_value_type(cell);
        if (type == SQLITE_NULL)
            return QString();
        if (type == SQLITE_INTEGER)
            return Number(sqlite3_value_int64(cell));
        const unsigned char* const stored = sqlite3_value_text(cell);
        const char* utf8 = stored ? reinterpret_cast<const char*>(stored) : "";
        const int bytes = stored ? sqlite3_value_bytes(cell) : 0;
        if (kind == kDateColumn)
            return Date(utf8, bytes);
        if (place < 0 || bytes > kRememberedBytes)
            return QString::fromUtf8(utf8, bytes);
        const std::string_view text(utf8, static_cast<size_t>(bytes));
        if (static_cast<size_t>(place) >= m_recent.size())
            m_recent.resize(static_cast<size_t>(place) + 1);
        Recent& recent = m_recent[static_cast<size_t>(place)];
        if (!recent.valid || recent.bytes != text) {
            recent.bytes.assign(text);
            recent.text = QString::fromUtf8(utf8, bytes);
            recent.valid = true;
        }
        return recent.text;
    }

    // The same text in UTF-8, as the tables' text would be written out: the
    // stored bytes themselves where they are valid UTF-8 (by far the most),
    // else through the text. The view lasts until the cursor moves or the
    // next call.
    QByteArrayView Bytes(const Cursor& cursor, int column, qint16 kind)
    {
        sqlite3_value* const cell = cursor.Value(column);
        const int type = sqlite3_value_type(cell);
        if (type == SQLITE_NULL)
            return {};
        if (type == SQLITE_INTEGER) {
            const auto end =
                std::to_chars(m_digits, m_digits + sizeof m_digits, sqlite3_value_int64(cell));
            return QByteArrayView(m_digits, end.ptr - m_digits);
        }
        const unsigned char* const stored = sqlite3_value_text(cell);
        const char* utf8 = stored ? reinterpret_cast<const char*>(stored) : "";
        const int bytes = stored ? sqlite3_value_bytes(cell) : 0;
        if (kind == kDateColumn)
            return DateBytes(utf8, bytes);
        const QByteArrayView text(utf8, bytes);
        if (WrittenAsStored(text))
            return text;
        m_converted = QString::fromUtf8(text).toUtf8();
        return m_converted;
    }

    // What QString::number gives, without its general machinery: record and
    // row numbers come by the million.
    static QString Number(qint64 value)
    {
        char16_t digits[24];
        char16_t* const end = digits + 24;
        char16_t* first = end;
        quint64 rest = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
        do {
            *--first = static_cast<char16_t>(u'0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (value < 0)
            *--first = u'-';
        return QString(reinterpret_cast<const QChar*>(first), end - first);
    }

private:
    static constexpr int kRememberedRows = 256;
    static constexpr int kRememberedBytes = 256;
    static constexpr int kDates = 4096;

    // A running day number of a text that begins "YYYY-MM-DD", else -1;
    // only those ten characters decide the date such a text stands for.
    static int IsoKey(const char* utf8, int bytes)
    {
        if (bytes < 10 || utf8[4] != '-' || utf8[7] != '-')
            return -1;
        int number[3] = {0, 0, 0};
        int part = 0;
        for (int i = 0; i < 10; ++i) {
            if (i == 4 || i == 7) {
                ++part;
                continue;
            }
            if (utf8[i] < '0' || utf8[i] > '9')
                return -1;
            number[part] = number[part] * 10 + (utf8[i] - '0');
        }
        return (number[0] * 13 + number[1]) * 32 + number[2];
    }

    // Whether text read into a QString and written out as UTF-8 again gives
    // the same bytes: valid UTF-8 without the byte-order mark the reading drops.
    static bool WrittenAsStored(QByteArrayView text)
    {
        if (IsAscii(text))
            return true;
        return text.isValidUtf8() && !text.startsWith("\xEF\xBB\xBF");
    }

    QByteArrayView DateBytes(const char* utf8, int bytes)
    {
        const int key = IsoKey(utf8, bytes);
        DatedBytes* slot =
            key >= 0 ? &m_dateBytes[static_cast<size_t>(key) % m_dateBytes.size()] : nullptr;
        if (slot && slot->key == key)
            return slot->text;
        QByteArray shown = Date(utf8, bytes).toUtf8();
        if (!slot) {
            m_converted = std::move(shown);
            return m_converted;
        }
        slot->key = key;
        slot->text = std::move(shown);
        return slot->text;
    }

    QString Date(const char* utf8, int bytes)
    {
        // Valid dates are kept in a small table by their day, so memory
        // stays bounded however many dates there are.
        const int key = IsoKey(utf8, bytes);
        Dated* slot = key >= 0 ? &m_dates[static_cast<size_t>(key) % m_dates.size()] : nullptr;
        if (slot && slot->key == key)
            return slot->text;
        const QString text = QString::fromUtf8(utf8, bytes);
        const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
        if (!date.isValid())
            return text;
        const QString shown = m_regional.DateToText(date);
        if (slot) {
            slot->key = key;
            slot->text = shown;
        }
        return shown;
    }

    struct Recent {
        std::string bytes;
        QString text;
        bool valid = false;
    };

    struct Dated {
        int key = -1;
        QString text;
    };
    struct DatedBytes {
        int key = -1;
        QByteArray text;
    };

    const Regional& m_regional;
    std::vector<Dated> m_dates = std::vector<Dated>(kDates);
    std::vector<DatedBytes> m_dateBytes = std::vector<DatedBytes>(kDates);
    char m_digits[24];
    QByteArray m_converted;
    std::vector<Recent> m_recent;
};

qint16 KindAt(const std::vector<qint16>& kinds, int index)
{
    return index < static_cast<int>(kinds.size()) ? kinds[static_cast<size_t>(index)]
                                                  : qint16(kMemoColumn);
}

// One streaming read: its statements, the position of the Data cursor that
// runs alongside the Forms cursor, and the read transaction.
class Reading {
public:
    // With raw set, each record is read into it instead of the tables.
    Reading(Session& session, RecordParts parts, RawRecord* raw = nullptr)
        : m_session(session), m_tables(session.Tables), m_texts(session.RegionalSettings),
          m_fields(parts == RecordParts::HeaderAndFields), m_raw(raw)
    {
        if (!session.Database.CurrentDatabase)
            throw std::runtime_error("No database is open.");
        m_connection = session.Database.CurrentDatabase.get();
        for (const ColumnInfo& column : m_connection->Layout(QStringLiteral("Forms")))
            m_formKinds.push_back(column.kind);
        if (m_fields) {
            for (const ColumnInfo& column : m_connection->Layout(QStringLiteral("Data")))
                m_dataKinds.push_back(column.kind);
        }
        // A connection already inside a transaction (its caller's) raises
        // an error here; the read then runs inside that one.
        try {
            m_connection->Db().exec("BEGIN");
            m_ownTransaction = true;
        } catch (const SQLite::Exception&) {
            m_ownTransaction = false;
        }
    }

    ~Reading()
    {
        // Reads leave nothing to commit; ending the transaction only lets
        // other connections check the file point past this snapshot.
        if (m_ownTransaction) {
            m_headers.reset();
            m_rows.reset();
            m_oneHeader.reset();
            m_oneRecordRows.reset();
            try {
                m_connection->Db().exec("COMMIT");
            } catch (const std::exception&) {
                try {
                    m_connection->Db().exec("ROLLBACK");
                } catch (const std::exception&) {
                    // The engine has already ended it.
                }
            }
        }
    }

    // Ascending FormIDs: when are they dense enough that walking their range
    // beats looking each one up?
    static bool WorthWalking(const qint64* first, const qint64* last)
    {
        const qint64 count = last - first;
        const qint64 span = *(last - 1) - *first + 1;
        return count >= 32 && span / 4 <= count;
    }

    StreamEnd List(const std::vector<qint64>& ids, const RecordVisitor& visit)
    {
        const qint64* const begin = ids.data();
        const qint64* const end = begin + ids.size();
        for (const qint64* run = begin; run != end;) {
            const qint64* runEnd = run + 1;
            while (runEnd != end && *runEnd > *(runEnd - 1))
                ++runEnd;
            if (WorthWalking(run, runEnd)) {
                if (!Walk(*run, *(runEnd - 1), run, runEnd, visit))
                    return StreamEnd::Stopped;
            } else {
                for (const qint64* id = run; id != runEnd; ++id) {
                    if (!One(*id, visit))
                        return StreamEnd::Stopped;
                }
            }
            run = runEnd;
        }
        return StreamEnd::Done;
    }

    StreamEnd Range(qint64 from, qint64 to, const RecordVisitor& visit)
    {
        if (from > to)
            return StreamEnd::Done;
        return Walk(from, to, nullptr, nullptr, visit) ? StreamEnd::Done : StreamEnd::Stopped;
    }

    // After a read: how many more of the records listed were not stored.
    void ReportMoreMissing() const
    {
        if (m_missing > 1)
            m_session.ui.MessageBox(
                QStringLiteral("ReadRecords: %1 more record(s) no longer stored were skipped")
                    .arg(m_missing - 1),
                MessageIcon::Exclamation);
    }

private:
    Cursor& Prepared(std::optional<Cursor>& slot, const char* sql)
    {
        if (!slot)
            slot.emplace(m_connection->Db().getHandle(), sql);
        else
            slot->Restart();
        return *slot;
    }

    void Header(const Cursor& forms, qint64 formId)
    {
        const int columns = forms.Columns();
        if (m_raw) {
            m_raw->Start(formId);
            for (int i = 0; i <= R::SourceColumn && i < columns; ++i)
                m_raw->SetHeader(i, m_texts.Bytes(forms, i, KindAt(m_formKinds, i)));
            return;
        }
        m_tables.ClearRecordTables();
        for (int i = 0; i <= R::SourceColumn && i < columns; ++i)
            m_tables.PutArrayElement(
                R::kHeaderTable, i,
                m_texts.Of(forms, i, KindAt(m_formKinds, i), CellTexts::HeaderPlace(i)));
    }

    // Takes the FormID column of the Data row on which rows stands in its
    // text form, which ReadResumes writes into every entry.
    void TakeFormId(const Cursor& rows)
    {
        const int last = rows.Columns() - 1;
        if (m_raw) {
            const QByteArrayView text = m_texts.Bytes(rows, last, KindAt(m_dataKinds, last));
            m_formIdBytes.assign(text.data(), static_cast<size_t>(text.size()));
        } else {
            m_formIdText = m_texts.Of(rows, last, KindAt(m_dataKinds, last));
        }
    }

    // Appends the entry of the Data row on which rows stands, with the
    // FormID text taken last.
    void Entry(const Cursor& rows, int row)
    {
        const int columns = rows.Columns();
        if (m_raw) {
            m_raw->AddEntry();
            m_raw->SetField(R::FieldFormIdColumn, m_formIdBytes);
            for (int i = 0; i <= R::FieldValueColumn && i < columns - 1; ++i)
                m_raw->SetField(i, m_texts.Bytes(rows, i, KindAt(m_dataKinds, i)));
            return;
        }
        m_tables.CurrentRow[R::kFieldTable] = static_cast<qint16>(row);
        m_tables.PutArrayElement(R::kFieldTable, R::FieldFormIdColumn, m_formIdText);
        for (int i = 0; i <= R::FieldValueColumn && i < columns - 1; ++i)
            m_tables.PutArrayElement(
                R::kFieldTable, i,
                m_texts.Of(rows, i, KindAt(m_dataKinds, i), CellTexts::EntryPlace(row, i)));
    }

    // One record looked up by its FormID.
    bool One(qint64 formId, const RecordVisitor& visit)
    {
        Cursor& forms = Prepared(m_oneHeader, "SELECT * FROM \"Forms\" WHERE \"FormID\" = ?");
        forms.Bind(1, formId);
        if (!forms.Step()) {
            Missing();
            return true;
        }
        Header(forms, formId);
        forms.Restart();
        if (m_fields) {
            Cursor& rows = Prepared(
                m_oneRecordRows, "SELECT * FROM \"Data\" WHERE \"FormID\" = ? ORDER BY \"DataID\"");
            rows.Bind(1, formId);
            int row = 0;
            while (rows.Step()) {
                TakeFormId(rows);
                Entry(rows, row++);
            }
            rows.Restart();
        }
        m_tables.CurrentRow[R::kFieldTable] = 0;
        return visit(formId);
    }

    // The records of from..to by two cursors in step: Forms in FormID order
    // and Data in FormID, DataID order. With wanted set, only the FormIDs of
    // wanted..wantedEnd (ascending) are read and the others stepped over.
    bool Walk(qint64 from, qint64 to, const qint64* wanted, const qint64* wantedEnd,
              const RecordVisitor& visit)
    {
        Cursor& forms = Prepared(
            m_headers,
            "SELECT * FROM \"Forms\" WHERE \"FormID\" BETWEEN ?1 AND ?2 ORDER BY \"FormID\"");
        forms.Bind(1, from);
        forms.Bind(2, to);
        Cursor* rows = nullptr;
        bool rowReady = false;
        qint64 rowFormId = 0;
        int rowFormIdColumn = 0;
        const auto nextRow = [&] {
            rowReady = rows->Step();
            if (rowReady)
                rowFormId = rows->Int(rowFormIdColumn);
        };
        if (m_fields) {
            rows = &Prepared(m_rows, "SELECT * FROM \"Data\" WHERE \"FormID\" BETWEEN ?1 AND ?2 "
                                     "ORDER BY \"FormID\", \"DataID\"");
            rows->Bind(1, from);
            rows->Bind(2, to);
            rowFormIdColumn = rows->Columns() - 1;
            nextRow();
        }
        while (forms.Step()) {
            const qint64 formId = forms.Int(0);
            if (wanted) {
                while (wanted != wantedEnd && *wanted < formId) {
                    Missing();
                    ++wanted;
                }
                if (wanted == wantedEnd)
                    break;
                if (*wanted != formId)
                    continue;
                ++wanted;
            }
            Header(forms, formId);
            if (rows) {
                while (rowReady && rowFormId < formId)
                    nextRow();
                if (rowReady && rowFormId == formId) {
                    TakeFormId(*rows);
                    int row = 0;
                    while (rowReady && rowFormId == formId) {
                        Entry(*rows, row++);
                        nextRow();
                    }
                }
            }
            m_tables.CurrentRow[R::kFieldTable] = 0;
            if (!visit(formId))
                return false;
        }
        for (; wanted && wanted != wantedEnd; ++wanted)
            Missing();
        return true;
    }

    // Another program may have deleted thousands of the records listed:
    // the first is shown, the others counted once at the end of the read.
    void Missing()
    {
        if (m_missing++ == 0)
            m_session.ui.MessageBox(
                QStringLiteral("ReadRecords: Error Reading/Displaying Record: ") + kNotStored,
                MessageIcon::Exclamation);
    }

    Session& m_session;
    RecordTables& m_tables;
    CellTexts m_texts;
    const bool m_fields;
    RawRecord* const m_raw;
    // The record's FormID as its entries hold it.
    QString m_formIdText;
    std::string m_formIdBytes;
    DatabaseConnection* m_connection = nullptr;
    std::vector<qint16> m_formKinds;
    std::vector<qint16> m_dataKinds;
    bool m_ownTransaction = false;
    int m_missing = 0; // records listed but no longer stored
    // Declared last: finished before the transaction ends.
    std::optional<Cursor> m_headers;
    std::optional<Cursor> m_rows;
    std::optional<Cursor> m_oneHeader;
    std::optional<Cursor> m_oneRecordRows;
};

template <typename Body> StreamEnd Guarded(Session& session, Body body)
{
    try {
        return body();
    } catch (const RecordTablesError&) {
        session.ui.MessageBox(QStringLiteral("ReadRecords: Error reading into tables"),
                              MessageIcon::Exclamation);
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("ReadRecords: Error Reading/Displaying Record: ") +
                                  ErrorText(e),
                              MessageIcon::Exclamation);
    }
    session.Tables.CurrentRow[R::kFieldTable] = 0;
    return StreamEnd::Failed;
}

} // namespace

RecordStream::RecordStream(Session& session, RecordParts parts) : m_session(session), m_parts(parts)
{}

StreamEnd RecordStream::ReadList(const std::vector<qint64>& formIds, const RecordVisitor& visit)
{
    return Guarded(m_session, [&] {
        if (formIds.empty())
            return StreamEnd::Done;
        Reading reading(m_session, m_parts);
        const StreamEnd end = reading.List(formIds, visit);
        reading.ReportMoreMissing();
        return end;
    });
}

StreamEnd RecordStream::ReadRange(qint64 from, qint64 to, const RecordVisitor& visit)
{
    return Guarded(m_session, [&] {
        Reading reading(m_session, m_parts);
        return reading.Range(from, to, visit);
    });
}

StreamEnd RecordStream::ReadList(const std::vector<qint64>& formIds, const RawRecordVisitor& visit)
{
    return Guarded(m_session, [&] {
        if (formIds.empty())
            return StreamEnd::Done;
        RawRecord record;
        Reading reading(m_session, m_parts, &record);
        const StreamEnd end = reading.List(formIds, [&](qint64) { return visit(record); });
        reading.ReportMoreMissing();
        return end;
    });
}

StreamEnd RecordStream::ReadRange(qint64 from, qint64 to, const RawRecordVisitor& visit)
{
    return Guarded(m_session, [&] {
        RawRecord record;
        Reading reading(m_session, m_parts, &record);
        return reading.Range(from, to, [&](qint64) { return visit(record); });
    });
}
