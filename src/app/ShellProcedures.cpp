#include "app/ShellProcedures.h"

#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"

#include <QFile>

bool FileNew(Session& session)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Save New Database As...");
    request.filters =
        ParseFileFilters(QStringLiteral("All Files (*.*)|*.*|Database Files (*.fdb)|*.fdb|"));
    request.selectedFilter = 1;
    request.proposedName = QStringLiteral("*.fdb");
    request.defaultExtension = QStringLiteral("fdb");
    const FileDialogResult result = session.ui.SaveFileDialog(request);
    if (result.cancelled || result.paths.isEmpty()) {
        session.ui.SetStatusText(QStringLiteral("New database cancelled by user"));
        return false;
    }
    const QString path = result.paths.first();
    if (!CreateNewDatabase(session.ui, path)) {
        session.ui.SetStatusText(QStringLiteral("New database cancelled"));
        return false;
    }
    return OpenResumeDatabase(session, path);
}

QString CloseResumeDatabase(Session& session)
{
    DatabaseState& d = session.Database;
    const QString path = d.CurrentDatabasePath;
    // Statements cached by the connection go with it.
    d.CurrentDatabase.reset();
    d.RecordCursor.Assign({});
    d.SummaryRecords.Assign({});
    d.CurrentDatabasePath.clear();
    d.CurrentFieldNames.Clear();
    d.RecordState = 0;
    d.SummaryFiltered = false;
    d.OpeningDatabase = false;
    session.Tables.ClearRecordTables();
    const QString resultFile = session.Folders.SearchResultFile();
    if (QFile::exists(resultFile))
        QFile::remove(resultFile);
    if (!path.trimmed().isEmpty())
        emit session.Events.RecentFileUsed(path);
    return path;
}
