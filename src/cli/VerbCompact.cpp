#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/Verbs.h"
#include "database/DatabaseCompaction.h"
#include "platform/DatabaseConnection.h"

// compact DB: rebuilds the file without its free pages and prints its size
// before and after. A file that may not be written is refused on opening.
int RunCompact(CliContext& context, QStringList args)
{
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("compact needs exactly one database file"));
    if (!OpenCliDatabase(context, args.first(), false))
        return kExitFailed;
    DatabaseState& d = context.session.Database;
    try {
        const CompactionSizes sizes = CompactDatabase(*d.CurrentDatabase);
        context.out << CompactionText(d.CurrentDatabasePath, sizes) << '\n';
    } catch (const std::exception& e) {
        context.session.ui.MessageBox(QStringLiteral("Error compacting the database: ") +
                                          EngineErrorText(d.CurrentDatabase.get(), e),
                                      MessageIcon::Exclamation);
        return kExitFailed;
    }
    context.out.flush();
    return kExitOk;
}
