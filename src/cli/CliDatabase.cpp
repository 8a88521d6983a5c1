#include "cli/CliDatabase.h"

#include "cli/CliContext.h"
#include "database/DatabaseOpening.h"

bool OpenCliDatabase(CliContext& context, const QString& path)
{
    context.session.Database.RememberLastUsedDB = false;
    return OpenResumeDatabase(context.session, path);
}
