#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/CliOutput.h"
#include "cli/CliSearch.h"
#include "cli/Verbs.h"
#include "output/OutputRunner.h"

#include <cstdio>

// export DB --type text|html|delimited|screen ...: every record (or an ID
// range) through the output runner, as the Output Options dialog runs it.
int RunExport(CliContext& context, QStringList args)
{
    QString type, file, ids, fields, title, delimiter = QStringLiteral("Comma");
    QString queryFile;
    bool hasType = false, hasFile = false, hasIds = false, hasFields = false, hasQuery = false;
    QStringList find;
    if (const qsizetype at = OptionAt(args, QStringLiteral("--find")); at >= 0) {
        if (at + 2 >= args.size())
            return UsageError(QStringLiteral("export: --find takes FIELD PATTERN"));
        find = args.mid(at + 1, 2);
        args.remove(at, 3);
    }
    if (!TakeOption(args, QStringLiteral("--type"), &type, &hasType) ||
        !TakeOption(args, QStringLiteral("--query"), &queryFile, &hasQuery) ||
        !TakeOption(args, QStringLiteral("-o"), &file, &hasFile) ||
        !TakeOption(args, QStringLiteral("--ids"), &ids, &hasIds) ||
        !TakeOption(args, QStringLiteral("--fields"), &fields, &hasFields) ||
        !TakeOption(args, QStringLiteral("--title"), &title) ||
        !TakeOption(args, QStringLiteral("--delimiter"), &delimiter))
        return UsageError(QStringLiteral("export: an option lacks its value"));
    OutputRequest request;
    request.useQuotes = TakeFlag(args, QStringLiteral("--quotes"));
    request.replaceQuotes = TakeFlag(args, QStringLiteral("--replace-quotes"));
    request.removeLineBreaks = TakeFlag(args, QStringLiteral("--join-lines"));
    // Off unless given, so scripts relying on the exact output keep it.
    request.protectFormulas = TakeFlag(args, QStringLiteral("--protect-formulas"));
    request.rfc4180Quoting = TakeFlag(args, QStringLiteral("--rfc4180"));
    request.fieldNamesFirstLine = TakeFlag(args, QStringLiteral("--header"));
    context.ui.SetAssumeYes(TakeFlag(args, QStringLiteral("--yes")));
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("export needs one database file"));
    if (!hasType)
        return UsageError(QStringLiteral("export needs --type text|html|delimited|screen"));
    if (type == QStringLiteral("text"))
        request.type = OutputType::TextFile;
    else if (type == QStringLiteral("html"))
        request.type = OutputType::HtmlFile;
    else if (type == QStringLiteral("delimited"))
        request.type = OutputType::DelimitedFile;
    else if (type == QStringLiteral("screen"))
        request.type = OutputType::Screen;
    else
        return UsageError(QStringLiteral("export: unknown type ") + type);
    if (request.type != OutputType::Screen && !hasFile)
        return UsageError(QStringLiteral("export needs -o FILE"));
    if (hasIds) {
        const QStringList bounds = ids.split(QLatin1Char('-'));
        if (bounds.size() != 2)
            return UsageError(QStringLiteral("export: --ids takes FROM-TO"));
        request.idRange = IdRangeText{bounds[0], bounds[1]};
    }

    if (!find.isEmpty() && hasQuery)
        return UsageError(QStringLiteral("export takes --find or --query, not both"));
    if (!OpenForSearch(context, args.first(), false, DatabaseAccess::ReadOnly))
        return kExitFailed;
    // Only the records found are output, as when the summary shows a search.
    if (!find.isEmpty() && !CliQuickFind(context, find[0], find[1]))
        return kExitFailed;
    if (hasQuery && !CliRunQueryFile(context, queryFile))
        return kExitFailed;
    Session& session = context.session;
    if (hasFields) {
        QList<OutputField>& list = session.Output.OutputFieldList;
        for (OutputField& entry : list)
            entry.PrintStat = false;
        for (const QString& name : fields.split(QLatin1Char(','))) {
            bool found = false;
            for (OutputField& entry : list) {
                if (entry.Label.compare(name.trimmed(), Qt::CaseInsensitive) == 0 ||
                    entry.Key.compare(name.trimmed(), Qt::CaseInsensitive) == 0) {
                    entry.PrintStat = true;
                    found = true;
                }
            }
            if (!found)
                return UsageError(QStringLiteral("export: no field called ") + name.trimmed());
        }
    }
    session.Output.ReportTitle = title;
    request.delimiterText = delimiter;
    // The whole database is streamed in FormID order without listing it;
    // a search's records are the ones it found.
    const DatabaseState& d = session.Database;
    if (d.SummaryFiltered) {
        for (const qint64 id : d.SummaryRecords.Ids())
            request.formIds.append(static_cast<qint32>(id));
        request.summaryHasRecords = !request.formIds.isEmpty();
    } else {
        request.wholeDatabase = true;
        request.summaryHasRecords = (d.RecordState & DatabaseState::NoRecords) == 0;
    }
    if (hasFile)
        context.ui.QueueFiles({file});
    // Only what the output itself reports is printed, not the opening's
    // "Database Ready".
    context.ui.SetStatusText(QString());
    const OutputResult result = RunOutput(session, request);
    if (request.type == OutputType::Screen && result.completed) {
        context.out << session.Output.ViewerText;
        context.out.flush();
    }
    if (!session.ui.StatusText().isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(session.ui.StatusText()));
    return result.completed ? kExitOk : kExitFailed;
}
