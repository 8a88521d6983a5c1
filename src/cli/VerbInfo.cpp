#include "session/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/Verbs.h"
#include "platform/ErrorText.h"

namespace {

// Keeps one row on one line: backslash, CR, LF and tab as \\, \r, \n, \t.
QString Escaped(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return text;
}

} // namespace

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
            context.out << Escaped(QString::fromStdString(rows.getColumn(0).getString())) << '\t'
                        << Escaped(QString::fromStdString(rows.getColumn(1).getString())) << '\n';
    } catch (const std::exception& e) {
        context.session.ui.MessageBox(QStringLiteral("Error reading data: ") + ErrorText(e),
                                      MessageIcon::Exclamation);
        return kExitFailed;
    }
    context.out.flush();
    return kExitOk;
}
