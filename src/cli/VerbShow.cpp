#include "session/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/RecordJson.h"
#include "cli/Verbs.h"
#include "database/RecordReader.h"

#include <cstdio>

// show [--json] DB ID: one record with its fields in DataID order.
int RunShow(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (!EndOfOptions(args) || args.size() != 2)
        return UsageError(QStringLiteral("show needs a database file and a record number"));
    bool ok = false;
    const qint64 id = args[1].toLongLong(&ok);
    if (!ok)
        return UsageError(QStringLiteral("show: not a record number: ") + args[1]);
    if (!OpenCliDatabase(context, args.first(), true, DatabaseAccess::ReadOnly))
        return kExitFailed;
    Session& session = context.session;
    if (!session.Database.RecordCursor.Seek(id)) {
        session.ui.MessageBox(
            QStringLiteral("No record with FormID %1 in %2").arg(id).arg(args.first()),
            MessageIcon::Exclamation);
        return kExitFailed;
    }
    if (!ReadResumes(session))
        return kExitFailed;
    if (json) {
        WriteRecordJson(context.out, session.Tables, session.RegionalSettings, true);
        context.out << "\n";
    } else {
        WriteRecordText(context.out, session.Tables, session.RegionalSettings, true);
    }
    context.out.flush();
    return kExitOk;
}
