#include "cli/CliContext.h"
#include "cli/RecordJson.h"
#include "cli/Verbs.h"
#include "responses/ResponseScan.h"

#include <QFileInfo>

// parse [--json] FILE...: every response in each file (plain text or saved
// mail), as import would find them, printed without any database.
int RunParse(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    QString unknown;
    if (!EndOfOptions(args, &unknown))
        return UsageError(QStringLiteral("parse: unknown option ") + unknown);
    if (args.isEmpty())
        return UsageError(QStringLiteral("parse needs at least one response file"));

    Session& session = context.session;
    int status = kExitOk;
    bool first = true;
    if (json)
        context.out << "[";
    for (const QString& path : std::as_const(args)) {
        int number = 0;
        const ScanOutcome outcome = ScanResponseFile(session, path, [&] {
            ++number;
            if (json) {
                context.out << (first ? "\n  " : ",\n  ");
                WriteRecordJson(context.out, session.Tables, session.RegionalSettings, true);
            } else {
                if (!first)
                    context.out << "\n";
                context.out << "Response " << number << " in " << QFileInfo(path).absoluteFilePath()
                            << "\n";
                WriteRecordText(context.out, session.Tables, session.RegionalSettings, true);
            }
            first = false;
            return true;
        });
        if (!outcome.opened) {
            session.ui.MessageBox(QStringLiteral("Error reading Record from ") +
                                      QFileInfo(path).absoluteFilePath() + QStringLiteral(": ") +
                                      outcome.error,
                                  MessageIcon::Exclamation);
            status = kExitFailed;
        }
        if (outcome.refused || outcome.dropped > 0)
            status = kExitFailed;
    }
    if (json)
        context.out << (first ? "]\n" : "\n]\n");
    context.out.flush();
    return status;
}
