#include "database/DatabaseOpening.h"

#include "session/Session.h"
#include "database/ChangeLog.h"
#include "database/DatabaseCreation.h"
#include "database/RecordReader.h"
#include "database/SummaryColumnsTable.h"
#include "platform/ErrorText.h"
#include "platform/Logging.h"
#include "platform/Settings.h"
#include "platform/Numbers.h"

#include <stdexcept>

namespace {

// Whole, a NUL inside included.
QString Text(const SQLite::Column& column)
{
    const auto* bytes = static_cast<const char*>(column.getBlob());
    return QString::fromUtf8(bytes, column.getBytes());
}

const char* const kInfoInOrder = "SELECT \"Key\", \"Value\" FROM \"Info\" ORDER BY \"KeyID\"";

} // namespace

void GetDatabaseName(Session& session, const QString& path)
{
    QString chosen = path;
    if (chosen.isEmpty()) {
        FileDialogRequest request;
        request.title = QStringLiteral("Open Database...");
        request.filters =
            ParseFileFilters(QStringLiteral("All Files (*.*)|*.*|Database Files (*.fdb)|*.fdb|"));
        request.selectedFilter = 1;
        request.proposedName = QStringLiteral("*.fdb");
        const FileDialogResult result = session.ui.OpenFileDialog(request);
        if (result.cancelled || result.paths.isEmpty()) {
            session.ui.SetStatusText(QStringLiteral("Open database cancelled by user"));
            if (session.Database.CurrentDatabasePath.isEmpty())
                emit session.Events.ViewerMustClose();
            return;
        }
        session.ui.Yield();
        chosen = result.paths.first();
    }
    OpenResumeDatabase(session, chosen);
}

bool CheckDatabase(Session& session, DatabaseConnection& connection)
{
    try {
        SQLite::Statement info(connection.Db(), kInfoInOrder);
        if (!info.executeStep())
            throw std::runtime_error("No current record.");
        if (!Text(info.getColumn(1)).contains(QStringLiteral("Tallowmere"), Qt::CaseInsensitive)) {
            session.ui.MessageBox(QStringLiteral("Invalid database"), MessageIcon::Exclamation);
            return false;
        }
        if (!info.executeStep())
            throw std::runtime_error("No current record.");
        const QString version = Text(info.getColumn(1));
        const qsizetype dot = version.indexOf(QLatin1Char('.'));
        if (dot < 0) {
            session.ui.MessageBox(
                QStringLiteral("Invalid database: its version \"%1\" is not a version number")
                    .arg(version),
                MessageIcon::Exclamation);
            return false;
        }
        const double major = RoundHalfEven(LeadingNumber(version.left(dot)));
        if (ProgramMajorVersion() < major) {
            session.ui.MessageBox(
                QStringLiteral("This database was created using a later version of "
                               "this program than the one you are using. Please use "
                               "the latest version of the software to read this database."),
                MessageIcon::Exclamation);
            return false;
        }
        // Every record is a Forms row with its fields in Data.
        if (connection.Db()
                .execAndGet("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                            "name IN ('Forms', 'Data')")
                .getInt() != 2)
            throw std::runtime_error("no record tables");
        QString names;
        SQLite::Statement rows(connection.Db(), kInfoInOrder);
        while (rows.executeStep()) {
            if (Text(rows.getColumn(0)) == QStringLiteral("FieldNamesList")) {
                names = Text(rows.getColumn(1));
                break;
            }
        }
        session.Database.CurrentFieldNames.Reset(names);
        return true;
    } catch (const std::exception&) {
        session.ui.MessageBox(QStringLiteral("Invalid database"), MessageIcon::Exclamation);
        return false;
    }
}

bool ReloadSummary(Session& session, std::optional<qint64> current)
{
    DatabaseState& d = session.Database;
    try {
        if (!d.CurrentDatabase)
            throw std::runtime_error("No database is open.");
        d.SummaryRecords.Load(*d.CurrentDatabase);
        // The rows come back in record-number order: the heading's arrow
        // and the filter row must not claim another.
        d.SummaryView.ClearOrder();
        d.SummaryView.SearchResultIds.clear();
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("Error reading data: ") + ErrorText(e),
                              MessageIcon::Exclamation);
        return false;
    }
    if (!current || !d.SummaryRecords.Seek(*current))
        d.SummaryRecords.MoveLast();
    emit session.Events.SummaryReloaded(d.SummaryRecords.Count());
    if (const auto row = d.SummaryRecords.Bookmark())
        emit session.Events.SummaryCurrentRowChanged(*row);
    return true;
}

bool OpenResumeDatabase(Session& session, const QString& path)
{
    Ui& ui = session.ui;
    DatabaseState& d = session.Database;
    ui.SetStatusText(QStringLiteral("Opening ") + path);
    BusyPointer busy(ui);
    const qint64 started = session.Now.ElapsedMs();
    qCInfo(lcDatabase, "opening %s %s", qPrintable(path),
           d.OpenAccess == DatabaseAccess::ReadOnly ? "for reading" : "for reading and writing");

    const auto failed = [&](const QString& error) {
        qCInfo(lcDatabase, "not opened: %s",
               qPrintable(error.isEmpty() ? QStringLiteral("refused") : error));
        if (!error.isEmpty())
            ui.MessageBox(QStringLiteral("Error opening database: ") + error,
                          MessageIcon::Exclamation);
        ui.SetStatusText(QStringLiteral("Open database cancelled"));
        if (d.OpeningDatabase)
            emit session.Events.ViewerMustClose();
        d.OpeningDatabase = false;
        return false;
    };

    std::unique_ptr<DatabaseConnection> connection;
    RecordSet rows;
    if (const QString dangling = DanglingLinkProblem(path); !dangling.isEmpty())
        return failed(dangling);
    try {
        connection =
            std::make_unique<DatabaseConnection>(path, session.Now, d.OpenAccess, d.BusyTimeoutMs);
    } catch (const std::exception& e) {
        return failed(ErrorText(e));
    }
    // The check leaves the current database's state alone when it fails.
    const FieldNameCatalog namesBefore = d.CurrentFieldNames;
    if (!CheckDatabase(session, *connection))
        return failed(QString());
    bool anyRecord = false;
    SummaryFieldColumns fieldColumns;
    try {
        // Only a writer sets the journal mode, and only on a file that
        // passed the check.
        connection->UseWriteAheadLog();
        // An older file gets the change log's table from the first writer
        // that opens it; its other tables stay as they are.
        if (!connection->IsReadOnly() && !connection->Db().tableExists("ChangeLog"))
            CreateChangeLogTable(connection->Db());
        if (d.ListRecordsOnOpen)
            rows.Load(*connection);
        else
            anyRecord =
                connection->Db().execAndGet("SELECT EXISTS (SELECT 1 FROM \"Forms\")").getInt() !=
                0;
        fieldColumns = ReadSummaryFieldColumns(connection->Db());
    } catch (const std::exception& e) {
        d.CurrentFieldNames = namesBefore;
        return failed(ErrorText(e));
    }

    try {
        d.OpeningDatabase = true;
        d.CurrentDatabase = std::move(connection);
        d.CurrentDatabasePath = path;
        d.SummaryRecords = std::move(rows);
        d.SummaryRecords.MoveFirst();
        d.SummaryView = SummaryViewState();
        d.SummaryView.FieldColumns = fieldColumns.names;
        d.SummaryView.FieldWidths = fieldColumns.widths;
        emit session.Events.SummaryReloaded(d.SummaryRecords.Count());
        d.RecordCursor = d.SummaryRecords;
        d.SummaryFiltered = false;
        if (!d.ListRecordsOnOpen) {
            ui.SetStatusText(QStringLiteral("Database Ready"));
            if (anyRecord)
                d.RecordState &= ~DatabaseState::NoRecords;
            else
                d.RecordState |= DatabaseState::NoRecords;
        } else if (d.SummaryRecords.Count() < 1) {
            ui.SetStatusText(QStringLiteral("Database Ready"));
            d.RecordState |= DatabaseState::NoRecords;
            QString error;
            if (!NewResume(session, &error))
                ui.MessageBox(QStringLiteral("Error clearing Record: ") + error,
                              MessageIcon::Exclamation);
        } else {
            d.RecordCursor.MoveFirst();
            emit session.Events.SummaryCurrentRowChanged(*d.RecordCursor.Bookmark());
            ui.SetStatusText(QStringLiteral("Database Ready"));
            ReadResumes(session);
            d.RecordState &= ~DatabaseState::NoRecords;
        }
        emit session.Events.DatabaseOpened(path);
        emit session.Events.FieldNamesChanged();
        emit session.Events.RecentFileUsed(path);
        // A settings file that cannot be written costs only the preference.
        if (d.RememberLastUsedDB && !path.trimmed().isEmpty())
            WriteSetting(session.Folders, Settings::LastUsedDB, path);
        d.OpeningDatabase = false;
        if (d.ListRecordsOnOpen)
            qCInfo(lcDatabase, "opened in %lld ms, %lld record(s) listed",
                   static_cast<long long>(session.Now.ElapsedMs() - started),
                   static_cast<long long>(d.SummaryRecords.Count()));
        else
            qCInfo(lcDatabase, "opened in %lld ms",
                   static_cast<long long>(session.Now.ElapsedMs() - started));
        return true;
    } catch (const std::exception& e) {
        return failed(ErrorText(e));
    }
}
