#include "cli/CliDatabase.h"

#include "cli/CliContext.h"
#include "database/DatabaseOpening.h"

bool OpenCliDatabase(CliContext& context, const QString& path, bool listRecords,
                     DatabaseAccess access)
{
    context.session.Database.OpenAccess = access;
    context.session.Database.RememberLastUsedDB = false;
    context.session.Database.ListRecordsOnOpen = listRecords;
    return OpenResumeDatabase(context.session, path);
}
