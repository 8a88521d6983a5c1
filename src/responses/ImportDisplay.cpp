#include "responses/ImportDisplay.h"

#include "session/Session.h"
#include "database/DatabaseOpening.h"
#include "database/SummaryNavigation.h"

void ShowRecordAfterImport(Session& session)
{
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase)
        return;
    // What the user had changed was stored before the import began; the
    // tables now hold an imported response, which is no change of theirs.
    d.RecordUnchanged = true;
    if (!d.SummaryFiltered)
        ReloadSummary(session, d.RecordCursor.Bookmark());
    if (d.ListRecordsOnOpen)
        OpenResume(session);
}
