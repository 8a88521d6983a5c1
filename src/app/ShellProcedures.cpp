#include "app/ShellProcedures.h"

#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"

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
