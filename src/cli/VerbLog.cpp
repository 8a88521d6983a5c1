#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/CliOutput.h"
#include "cli/Verbs.h"
#include "database/ChangeLog.h"
#include "platform/DatabaseConnection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString When(const ChangeLogEntry& entry)
{
    return entry.loggedAt.toUTC().toString(Qt::ISODate);
}

} // namespace

// log DB [--since DATE] [--json]: the change log, oldest first, one entry
// a line (when, kind, user, records, what, tab-separated), or a JSON array.
int RunLog(CliContext& context, QStringList args)
{
    QString sinceText;
    bool hasSince = false;
    if (!TakeOption(args, QStringLiteral("--since"), &sinceText, &hasSince))
        return UsageError(QStringLiteral("log: --since takes a date, YYYY-MM-DD"));
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    QString unknown;
    if (!EndOfOptions(args, &unknown))
        return UsageError(QStringLiteral("log: unknown option ") + unknown);
    if (args.size() != 1)
        return UsageError(QStringLiteral("log needs exactly one database file"));
    ChangeLogFilter filter;
    if (hasSince) {
        const std::optional<QDateTime> since = ParseChangeLogSince(sinceText);
        if (!since)
            return UsageError(QStringLiteral("log: --since takes a date, YYYY-MM-DD: ") +
                              sinceText);
        filter.since = *since;
    }
    if (!OpenCliDatabase(context, args.first(), false, DatabaseAccess::ReadOnly))
        return kExitFailed;
    std::vector<ChangeLogEntry> entries;
    try {
        entries = ReadChangeLog(*context.session.Database.CurrentDatabase, filter);
    } catch (const std::exception& e) {
        context.session.ui.MessageBox(
            QStringLiteral("Error reading the change log: ") +
                EngineErrorText(context.session.Database.CurrentDatabase.get(), e),
            MessageIcon::Exclamation);
        return kExitFailed;
    }
    if (json) {
        QJsonArray array;
        for (const ChangeLogEntry& entry : entries)
            array.append(QJsonObject{{QStringLiteral("id"), entry.id},
                                     {QStringLiteral("when"), When(entry)},
                                     {QStringLiteral("kind"), ChangeKindName(entry.kind)},
                                     {QStringLiteral("what"), entry.what},
                                     {QStringLiteral("records"), entry.records},
                                     {QStringLiteral("user"), entry.user}});
        context.out << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    } else {
        for (const ChangeLogEntry& entry : entries)
            context.out << When(entry) << '\t' << ChangeKindName(entry.kind) << '\t'
                        << OneLineEscaped(entry.user) << '\t' << OneLineEscaped(entry.records)
                        << '\t' << OneLineEscaped(entry.what) << '\n';
    }
    context.out.flush();
    return kExitOk;
}
