#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/Verbs.h"
#include "mailbox/MailboxFetch.h"
#include "platform/StopSignals.h"

#include <QFile>
#include <QTextStream>

namespace {

// The first line of the file, or of standard input without one: a password
// is never taken from the command line, where other users could see it.
bool ReadPassword(const QString& path, QString* password, QString* error)
{
    QFile file;
    if (path.isEmpty()) {
        if (!file.open(stdin, QIODevice::ReadOnly)) {
            *error = file.errorString();
            return false;
        }
    } else {
        file.setFileName(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = path + QStringLiteral(": ") + file.errorString();
            return false;
        }
    }
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    *password = QString::fromUtf8(line);
    return true;
}

} // namespace

// fetch DB imap[s]://USER@HOST[:PORT]/FOLDER [--password-file FILE]
// [--ca-file FILE] [--since YYYY-MM-DD] [--again] [--json]: the responses of
// the folder's messages not fetched before, stored as new records; prints
// the status text, then the tally.
int RunFetch(CliContext& context, QStringList args)
{
    QString passwordFile;
    QString since;
    FetchRequest request;
    if (!TakeOption(args, QStringLiteral("--password-file"), &passwordFile) ||
        !TakeOption(args, QStringLiteral("--ca-file"), &request.caFile) ||
        !TakeOption(args, QStringLiteral("--since"), &since))
        return UsageError(QStringLiteral("fetch: --password-file, --ca-file and --since take a "
                                         "value"));
    request.again = TakeFlag(args, QStringLiteral("--again"));
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    QString unknown;
    if (!EndOfOptions(args, &unknown))
        return UsageError(QStringLiteral("fetch: unknown option ") + unknown);
    if (args.size() != 2)
        return UsageError(QStringLiteral("fetch needs a database file and a mailbox address"));
    if (!since.isEmpty()) {
        request.filter.since = QDate::fromString(since, Qt::ISODate);
        if (!request.filter.since.isValid())
            return UsageError(QStringLiteral("fetch: --since takes a date, YYYY-MM-DD: ") + since);
    }
    QString error;
    const auto account = ImapAccount::Parse(args[1], &error);
    if (!account)
        return UsageError(QStringLiteral("fetch: ") + error);
    request.account = *account;
    if (!ReadPassword(passwordFile, &request.password, &error)) {
        context.session.ui.MessageBox(QStringLiteral("fetch: cannot read the password: ") + error,
                                      MessageIcon::Exclamation);
        return kExitFailed;
    }
    if (!OpenCliDatabase(context, args[0]))
        return kExitFailed;
    context.ui.WatchStopSignals();
    const FetchOutcome outcome = FetchResponses(context.session, request);
    context.out << context.ui.StatusText() << "\n";
    context.out << (json ? outcome.tally.Json() : outcome.tally.Line()) << "\n";
    context.out.flush();
    if (outcome.stopped && context.ui.StopSignal() != 0) {
        const int signal = context.ui.StopSignal();
        context.session.ui.MessageBox(QStringLiteral("fetch: stopped by %1; the %2 record(s) read "
                                                     "before it are stored")
                                          .arg(QLatin1String(StopSignalName(signal)))
                                          .arg(outcome.tally.stored),
                                      MessageIcon::Exclamation);
        return 128 + signal;
    }
    return outcome.failed || outcome.tally.failed > 0 ? kExitFailed : kExitOk;
}
