#include "database/DatabaseClosing.h"

#include "session/Session.h"

#include <QFile>

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
    d.SummaryView = SummaryViewState();
    d.OpeningDatabase = false;
    session.Tables.ClearRecordTables();
    const QString resultFile = session.Folders.SearchResultFile();
    if (QFile::exists(resultFile))
        QFile::remove(resultFile);
    if (!path.trimmed().isEmpty())
        emit session.Events.RecentFileUsed(path);
    return path;
}
