#include "session/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/CliOutput.h"
#include "cli/Verbs.h"
#include "platform/ErrorText.h"

// info DB: the Info rows in table order, Key<TAB>Value.
int RunInfo(CliContext& context, QStringList args)
{
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("info needs exactly one database file"));
    if (!OpenCliDatabase(context, args.first(), true, DatabaseAccess::ReadOnly))
        return kExitFailed;
    try {
        SQLite::Statement rows(context.session.Database.CurrentDatabase->Db(),
                               "SELECT \"Key\", \"Value\" FROM \"Info\" ORDER BY \"KeyID\"");
        while (rows.executeStep())
            context.out << OneLineEscaped(QString::fromStdString(rows.getColumn(0).getString()))
                        << '\t'
                        << OneLineEscaped(QString::fromStdString(rows.getColumn(1).getString()))
                        << '\n';
    } catch (const std::exception& e) {
        context.session.ui.MessageBox(QStringLiteral("Error reading data: ") + ErrorText(e),
                                      MessageIcon::Exclamation);
        return kExitFailed;
    }
    context.out.flush();
    return kExitOk;
}
