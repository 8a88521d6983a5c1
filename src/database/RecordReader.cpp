#include "database/RecordReader.h"

#include "session/Session.h"
#include "platform/ErrorText.h"
#include "platform/SchemaLines.h"

#include <stdexcept>

namespace {

using R = RecordTables;

// The text form of a stored value: Null is empty, a date is written in the
// user's short date format so that it reads back as the same date.
QString ColumnText(const SQLite::Column& column, qint16 kind, const Regional& regional)
{
    const int type = column.getType();
    if (type == SQLite::Null)
        return QString();
    // Record and row numbers: no detour through the engine's own text.
    if (type == SQLite::INTEGER)
        return QString::number(column.getInt64());
    const char* utf8 = column.getText();
    const QString text = QString::fromUtf8(utf8, column.getBytes());
    if (kind == kDateColumn) {
        const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
        return date.isValid() ? regional.DateToText(date) : text;
    }
    return text;
}

qint16 KindAt(const TableLayout& layout, int index)
{
    return index < static_cast<int>(layout.size()) ? layout[static_cast<size_t>(index)].kind
                                                   : qint16(kMemoColumn);
}

// The stored header of formId, column by column up to the source; throws
// when the record cannot be read.
QStringList HeaderTexts(DatabaseConnection& c, qint64 formId, const Regional& regional)
{
    const TableLayout& forms = c.Layout(QStringLiteral("Forms"));
    SQLite::Statement& header = c.Cached("SELECT * FROM \"Forms\" WHERE \"FormID\" = ?");
    header.bind(1, static_cast<int64_t>(formId));
    if (!header.executeStep()) {
        header.reset();
        throw std::runtime_error("No current record.");
    }
    QStringList texts;
    for (int i = 0; i <= R::SourceColumn && i < header.getColumnCount(); ++i)
        texts.append(ColumnText(header.getColumn(i), KindAt(forms, i), regional));
    header.reset();
    return texts;
}

} // namespace

std::optional<QStringList> ReadStoredHeader(Session& session, qint64 formId)
{
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase)
        return std::nullopt;
    try {
        return HeaderTexts(*d.CurrentDatabase, formId, session.RegionalSettings);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool ReadResumes(Session& session)
{
    RecordTables& t = session.Tables;
    DatabaseState& d = session.Database;
    const Regional& regional = session.RegionalSettings;
    t.ClearRecordTables();
    try {
        if (!d.CurrentDatabase)
            throw std::runtime_error("No database is open.");
        const auto formId = d.RecordCursor.Bookmark();
        if (!formId)
            throw std::runtime_error("No current record.");
        DatabaseConnection& c = *d.CurrentDatabase;

        const QStringList header = HeaderTexts(c, *formId, regional);
        for (int i = 0; i < header.size(); ++i)
            t.PutArrayElement(R::kHeaderTable, i, header[i]);

        const TableLayout& data = c.Layout(QStringLiteral("Data"));
        SQLite::Statement& rows =
            c.Cached("SELECT * FROM \"Data\" WHERE \"FormID\" = ? ORDER BY \"DataID\"");
        rows.bind(1, static_cast<int64_t>(*formId));
        bool any = false;
        while (rows.executeStep()) {
            any = true;
            const int columns = rows.getColumnCount();
            t.PutArrayElement(
                R::kFieldTable, R::FieldFormIdColumn,
                ColumnText(rows.getColumn(columns - 1), KindAt(data, columns - 1), regional));
            for (int i = 0; i <= R::FieldValueColumn && i < columns - 1; ++i)
                t.PutArrayElement(R::kFieldTable, i,
                                  ColumnText(rows.getColumn(i), KindAt(data, i), regional));
            ++t.CurrentRow[R::kFieldTable];
        }
        rows.reset();
        t.CurrentRow[R::kFieldTable] = 0;
        emit session.Events.ValueBoxEnabled(any);
        emit session.Events.RecordLoaded();
        return true;
    } catch (const RecordTablesError&) {
        session.ui.MessageBox(QStringLiteral("ReadRecords: Error reading into tables"),
                              MessageIcon::Exclamation);
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("ReadRecords: Error Reading/Displaying Record: ") +
                                  ErrorText(e),
                              MessageIcon::Exclamation);
    }
    t.CurrentRow[R::kFieldTable] = 0;
    return false;
}

bool ClearDisplay(Session& session)
{
    // The viewer empties its header boxes, value box, editor boxes and
    // field lists when told; nothing here can fail.
    emit session.Events.DisplayCleared();
    return true;
}

bool NewResume(Session& session, QString* error)
{
    if (!ClearDisplay(session)) {
        if (error)
            *error = session.ui.StatusText();
        return false;
    }
    session.Tables.ClearRecordTables();
    session.Database.RecordUnchanged = true;
    emit session.Events.ValueBoxEnabled(false);
    emit session.Events.RecordLoaded();
    return true;
}
