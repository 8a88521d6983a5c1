#include "database/RecordWriter.h"

#include "session/Session.h"
#include "database/ChangeLog.h"
#include "database/DatabaseOpening.h"
#include "database/EditChanges.h"
#include "database/ValueConversion.h"
#include "platform/Numbers.h"

#include <cerrno>
#include <sqlite3.h>
#include <stdexcept>

namespace {

using R = RecordTables;
const QString kWriteError = QStringLiteral("WriteRecord: Error saving Record to the database: ");

// INSERT INTO table (columns...) VALUES (?, ...).
std::string InsertSql(const QString& table, const std::vector<QString>& columns)
{
    std::string names;
    std::string marks;
    for (const QString& column : columns) {
        names += (names.empty() ? "" : ", ") + QuotedName(column);
        marks += marks.empty() ? "?" : ", ?";
    }
    return "INSERT INTO " + QuotedName(table) + " (" + names + ") VALUES (" + marks + ")";
}

// UPDATE table SET column = value unless told to keep it, for the row
// whose key equals the last parameter. Column i takes its value from
// parameter 2i-1 and its keep flag from parameter 2i.
std::string UpdateSql(const QString& table, const std::vector<QString>& columns, const QString& key)
{
    std::string sets;
    int parameter = 1;
    for (const QString& column : columns) {
        const std::string name = QuotedName(column);
        sets += (sets.empty() ? "" : ", ") + name + " = CASE WHEN ?" +
                std::to_string(parameter + 1) + " THEN " + name + " ELSE ?" +
                std::to_string(parameter) + " END";
        parameter += 2;
    }
    return "UPDATE " + QuotedName(table) + " SET " + sets + " WHERE " + QuotedName(key) + " = ?" +
           std::to_string(parameter);
}

void BindForUpdate(SQLite::Statement& statement, const std::vector<ColumnValue>& values)
{
    int parameter = 1;
    for (const ColumnValue& value : values) {
        BindColumnValue(statement, parameter, value);
        statement.bind(parameter + 1, value.kind == ColumnValue::Keep ? 1 : 0);
        parameter += 2;
    }
}

// The first entry whose DataID, read as a 32-bit integer, is dataId.
int EntryWithDataId(const RecordTables& tables, qint64 dataId, const Regional& regional)
{
    for (int row = 0; row < tables.FieldCount(); ++row) {
        const QString text = tables.Field(row, R::DataIdColumn).trimmed();
        if (text.isEmpty())
            continue;
        const auto number = regional.ParseNumber(text);
        const auto id = number ? ToInt32(*number) : std::nullopt;
        if (id && *id == dataId)
            return row;
    }
    return -1;
}

} // namespace

// Each record opens and releases one: the statements are prepared once.
// Outside a batch the record is its own write transaction, which takes the
// write lock before it reads anything.
Savepoint::Savepoint(DatabaseConnection& connection, int* systemErrno)
    : m_connection(connection), m_db(connection.Db()), m_systemErrno(systemErrno)
{
    if (sqlite3_get_autocommit(m_db.getHandle()) != 0) {
        m_connection.BeginWrite();
        m_ownTransaction = true;
    }
    try {
        m_connection.Cached("SAVEPOINT WriteRecord").exec();
    } catch (...) {
        EndOwnTransaction();
        throw;
    }
}

Savepoint::~Savepoint()
{
    if (m_done)
        return;
    if (m_systemErrno) {
        // The engine keeps the number only for some failures; the C library's
        // is still that of the failed write then.
        *m_systemErrno = sqlite3_system_errno(m_db.getHandle());
        if (*m_systemErrno == 0)
            *m_systemErrno = errno;
    }
    try {
        m_db.exec("ROLLBACK TO WriteRecord");
        m_db.exec("RELEASE WriteRecord");
    } catch (const std::exception&) {
        // The engine has already rolled the whole transaction back.
    }
    EndOwnTransaction();
}

void Savepoint::EndOwnTransaction()
{
    if (!m_ownTransaction || sqlite3_get_autocommit(m_db.getHandle()) != 0)
        return;
    try {
        m_db.exec("ROLLBACK");
    } catch (const std::exception&) {
        // Nothing left to roll back.
    }
}

void Savepoint::Release()
{
    m_connection.Cached("RELEASE WriteRecord").exec();
    if (m_ownTransaction)
        m_db.exec("COMMIT");
    m_done = true;
}

bool WriteResumes(Session& session, int writeFields)
{
    DatabaseState& d = session.Database;
    RecordTables& t = session.Tables;
    const Regional& regional = session.RegionalSettings;
    const bool edit = (d.RecordState & DatabaseState::EditRecord) != 0;
    const QString headerBefore = t.Header(R::FormIdColumn);
    const qint16 rowBefore = t.CurrentRow[R::kFieldTable];
    const FieldNameCatalog::Mark namesBefore = d.CurrentFieldNames.Here();
    qint64 formId = 0;
    int systemErrno = 0;

    try {
        if (!d.CurrentDatabase)
            throw std::runtime_error("No database is open.");
        DatabaseConnection& c = *d.CurrentDatabase;
        Savepoint savepoint(c, &systemErrno);

        // Header: columns 1 to 4; the auto-numbered FormID is never written.
        const TableLayout& forms = c.Layout(QStringLiteral("Forms"));
        std::vector<QString> columns;
        std::vector<ColumnValue> values;
        for (int i = 1; i <= R::SourceColumn && i < static_cast<int>(forms.size()); ++i) {
            columns.push_back(forms[static_cast<size_t>(i)].name);
            values.push_back(ConvertForColumn(forms[static_cast<size_t>(i)],
                                              t.GetArrayElement(R::kHeaderTable, i), regional));
        }
        RecordSnapshot before;
        if (edit) {
            const auto current = d.RecordCursor.Bookmark();
            if (!current)
                throw std::runtime_error("No current record.");
            formId = *current;
            before = ReadRecordSnapshot(c, formId);
            SQLite::Statement& update =
                c.Cached(UpdateSql(QStringLiteral("Forms"), columns, forms[0].name));
            BindForUpdate(update, values);
            update.bind(static_cast<int>(2 * values.size() + 1), static_cast<int64_t>(formId));
            if (update.exec() == 0)
                throw std::runtime_error("No current record.");
        } else {
            // The columns come from the connection's layout, read once.
            SQLite::Statement& insert = c.Cached(
                "insert a record", [&] { return InsertSql(QStringLiteral("Forms"), columns); });
            std::vector<std::string> texts(values.size());
            for (size_t i = 0; i < values.size(); ++i)
                BindColumnValue(insert, static_cast<int>(i + 1), values[i], texts[i]);
            insert.exec();
            formId = c.Db().getLastInsertRowid();
        }
        const QString formIdText = QString::number(formId);
        t.PutArrayElement(R::kHeaderTable, R::FormIdColumn, formIdText);

        if (writeFields > 0) {
            const TableLayout& data = c.Layout(QStringLiteral("Data"));
            if (data.size() < 4)
                throw std::runtime_error("Table Data lacks columns.");
            const std::vector<QString> entryColumns = {data[1].name, data[2].name};
            const ColumnInfo& keyColumn = data.front();
            const ColumnInfo& recordColumn = data.back();

            // One new entry renumbers them all, so that ascending DataID
            // keeps the order of the entries.
            bool anyNew = false;
            for (int row = 0; row < t.FieldCount(); ++row)
                anyNew = anyNew || t.Field(row, R::DataIdColumn).trimmed().isEmpty();
            if (anyNew) {
                for (int row = 0; row < t.FieldCount(); ++row) {
                    t.CurrentRow[R::kFieldTable] = static_cast<qint16>(row);
                    t.PutArrayElement(R::kFieldTable, R::DataIdColumn, QString());
                }
            }

            // A row just inserted has no fields yet: FormIDs are never used
            // twice and the foreign key allows no stray rows.
            if (edit) {
                std::vector<qint64> existing;
                SQLite::Statement& rows = c.Cached(
                    "SELECT " + QuotedName(keyColumn.name) + " FROM \"Data\" WHERE " +
                    QuotedName(recordColumn.name) + " = ? ORDER BY " + QuotedName(keyColumn.name));
                rows.bind(1, static_cast<int64_t>(formId));
                while (rows.executeStep())
                    existing.push_back(rows.getColumn(0).getInt64());
                rows.reset();
                for (qint64 dataId : existing) {
                    const int row = EntryWithDataId(t, dataId, regional);
                    if (row < 0) {
                        SQLite::Statement& remove = c.Cached("DELETE FROM \"Data\" WHERE " +
                                                             QuotedName(keyColumn.name) + " = ?");
                        remove.bind(1, static_cast<int64_t>(dataId));
                        remove.exec();
                        continue;
                    }
                    std::vector<ColumnValue> entry;
                    for (int col = R::FieldNameColumn; col <= R::FieldValueColumn; ++col)
                        entry.push_back(ConvertForColumn(data[static_cast<size_t>(col)],
                                                         t.Field(row, col), regional));
                    SQLite::Statement& update =
                        c.Cached(UpdateSql(QStringLiteral("Data"), entryColumns, keyColumn.name));
                    BindForUpdate(update, entry);
                    update.bind(5, static_cast<int64_t>(dataId));
                    update.exec();
                }
            }

            SQLite::Statement& insert = c.Cached("insert an entry", [&] {
                return InsertSql(QStringLiteral("Data"),
                                 {data[1].name, data[2].name, recordColumn.name});
            });
            // Every parameter is bound for each entry, so none is cleared.
            std::string texts[2];
            for (int row = 0; row < t.FieldCount(); ++row) {
                if (!t.Field(row, R::DataIdColumn).trimmed().isEmpty())
                    continue;
                t.CurrentRow[R::kFieldTable] = static_cast<qint16>(row);
                t.PutArrayElement(R::kFieldTable, R::FieldFormIdColumn, formIdText);
                insert.reset();
                for (int col = R::FieldNameColumn; col <= R::FieldValueColumn; ++col)
                    BindColumnValue(insert, col,
                                    ConvertForColumn(data[static_cast<size_t>(col)],
                                                     t.Field(row, col), regional),
                                    texts[col - R::FieldNameColumn]);
                insert.bind(3, static_cast<int64_t>(formId));
                insert.exec();
            }
            t.CurrentRow[R::kFieldTable] = rowBefore;

            for (int row = 0; row < t.FieldCount(); ++row)
                d.CurrentFieldNames.Add(t.Field(row, R::FieldNameColumn));
            // Within a batch the list is written once, before the batch
            // commits: written with every record it would cost what the
            // whole list costs, record after record.
            if (savepoint.OwnsTransaction())
                StoreFieldNamesList(c, d.CurrentFieldNames);
        }
        // An edit, or a record made by hand, is logged with the record; the
        // records of a batch (an import) are logged by the batch's owner.
        if (edit) {
            const QString changes = DescribeEdit(before, ReadRecordSnapshot(c, formId));
            if (!changes.isEmpty())
                AppendChangeLog(c, session.Now, ChangeKind::Edit, changes, QString::number(formId));
        } else if (savepoint.OwnsTransaction()) {
            AppendChangeLog(c, session.Now, ChangeKind::Edit,
                            QStringLiteral("new record with %1 field(s)").arg(t.FieldCount()),
                            QString::number(formId));
        }
        savepoint.Release();
    } catch (const std::exception& e) {
        d.CurrentFieldNames.BackTo(namesBefore);
        t.PutArrayElement(R::kHeaderTable, R::FormIdColumn, headerBefore);
        t.CurrentRow[R::kFieldTable] = rowBefore;
        session.ui.MessageBox(kWriteError + EngineErrorText(e, systemErrno),
                              MessageIcon::Exclamation);
        return false;
    }

    if (writeFields > 0 && d.CurrentFieldNames.Here().size != namesBefore.size)
        emit session.Events.FieldNamesChanged();
    if (edit) {
        d.RecordCursor.Seek(formId);
        if (d.SummaryFiltered)
            emit session.Events.FilteredSummaryRowWritten(formId);
        else if (!ReloadSummary(session, formId))
            return false;
    } else {
        d.RecordCursor.Add(formId);
    }
    return true;
}

void StoreFieldNamesList(DatabaseConnection& connection, FieldNameCatalog& names)
{
    if (!names.Unstored())
        return;
    SQLite::Statement& update = connection.Cached(
        "UPDATE \"Info\" SET \"Value\" = ? WHERE \"KeyID\" = (SELECT \"KeyID\" FROM "
        "\"Info\" WHERE \"Key\" = 'FieldNamesList' ORDER BY \"KeyID\" LIMIT 1)");
    update.reset();
    update.bind(1, names.List().toStdString());
    update.exec();
    names.MarkStored();
}

WriteBatch::WriteBatch(DatabaseConnection* connection, const Clock& clock,
                       std::function<void()> beforeCommit)
    : m_connection(connection), m_beforeCommit(std::move(beforeCommit)), m_timer(clock)
{
    Begin();
}

WriteBatch::~WriteBatch()
{
    QString error;
    int lost = 0;
    Finish(&error, &lost);
}

void WriteBatch::Begin()
{
    m_open = false;
    m_pending = 0;
    m_beginError.clear();
    if (!m_connection)
        return;
    try {
        m_connection->BeginWrite();
        m_open = true;
        m_timer.Start();
    } catch (const std::exception& e) {
        // Whatever is written before the next look at the batch commits by
        // itself; the caller then stops with this error.
        m_beginError = EngineErrorText(m_connection, e);
    }
}

bool WriteBatch::Commit(QString* error, int* lost)
{
    *lost = 0;
    if (!m_open)
        return true;
    m_open = false;
    try {
        QString why;
        if (m_beforeCommit)
            m_beforeCommit();
        if (!m_connection->FileIsStillOurs(&why))
            throw std::runtime_error(why.toStdString());
        m_connection->Db().exec("COMMIT");
        m_pending = 0;
        return true;
    } catch (const std::exception& e) {
        *error = EngineErrorText(m_connection, e);
        *lost = m_pending;
        m_pending = 0;
        try {
            m_connection->Db().exec("ROLLBACK");
        } catch (const std::exception&) {
            // Nothing left to roll back.
        }
        return false;
    }
}

bool WriteBatch::AfterRecord(QString* error, int* lost)
{
    *lost = 0;
    if (!m_open)
        return BeganWell(error);
    ++m_pending;
    if (m_pending < kRecords && m_timer.Elapsed() < kMilliseconds)
        return true;
    if (!Commit(error, lost))
        return false;
    Begin();
    return BeganWell(error);
}

bool WriteBatch::BeganWell(QString* error) const
{
    if (m_beginError.isEmpty())
        return true;
    *error = m_beginError;
    return false;
}

bool WriteBatch::Finish(QString* error, int* lost)
{
    return Commit(error, lost);
}
