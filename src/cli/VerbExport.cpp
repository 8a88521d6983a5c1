#include "database/SessionChangeLog.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/CliOutput.h"
#include "cli/CliSearch.h"
#include "cli/CliSummaryOrder.h"
#include "cli/Verbs.h"
#include "cli/RendererHandOver.h"
#include "database/PseudonymKey.h"
#include "output/OutputRunner.h"
#include "platform/DatabaseConnection.h"

#include <QFileInfo>
#include <cstdio>

// export DB --type text|html|delimited|screen|pdf ...: every record (or an
// ID range) through the output runner, as the Output Options dialog runs it.
int RunExport(CliContext& context, QStringList args)
{
    // The page renderer is not linked here: another program writes PDF.
    if (const qsizetype at = OptionAt(args, QStringLiteral("--type"));
        !context.pdfPages && at >= 0 && at + 1 < args.size() &&
        args[at + 1] == QStringLiteral("pdf"))
        return HandOverToRenderer(context, QStringLiteral("export"), args, "a PDF export");
    QString type, file, ids, fields, title, delimiter = QStringLiteral("Comma");
    QString queryFile, templateName, omit, pseudonymise;
    bool hasOmit = false, hasPseudonymise = false;
    bool hasTemplate = false;
    bool hasType = false, hasFile = false, hasIds = false, hasFields = false, hasQuery = false;
    QStringList find;
    if (const qsizetype at = OptionAt(args, QStringLiteral("--find")); at >= 0) {
        if (at + 2 >= args.size())
            return UsageError(QStringLiteral("export: --find takes FIELD PATTERN"));
        find = args.mid(at + 1, 2);
        args.remove(at, 3);
    }
    CliSummaryOrder order;
    if (QString usage; !TakeSummaryOrder(args, QStringLiteral("export"), &order, &usage))
        return UsageError(usage);
    if (!TakeOption(args, QStringLiteral("--type"), &type, &hasType) ||
        !TakeOption(args, QStringLiteral("--query"), &queryFile, &hasQuery) ||
        !TakeOption(args, QStringLiteral("-o"), &file, &hasFile) ||
        !TakeOption(args, QStringLiteral("--ids"), &ids, &hasIds) ||
        !TakeOption(args, QStringLiteral("--fields"), &fields, &hasFields) ||
        !TakeOption(args, QStringLiteral("--title"), &title) ||
        !TakeOption(args, QStringLiteral("--template"), &templateName, &hasTemplate) ||
        !TakeOption(args, QStringLiteral("--delimiter"), &delimiter) ||
        !TakeOption(args, QStringLiteral("--omit"), &omit, &hasOmit) ||
        !TakeOption(args, QStringLiteral("--pseudonymise"), &pseudonymise, &hasPseudonymise))
        return UsageError(QStringLiteral("export: an option lacks its value"));
    OutputRequest request;
    request.useQuotes = TakeFlag(args, QStringLiteral("--quotes"));
    request.replaceQuotes = TakeFlag(args, QStringLiteral("--replace-quotes"));
    request.removeLineBreaks = TakeFlag(args, QStringLiteral("--join-lines"));
    // Off unless given, so scripts relying on the exact output keep it.
    request.protectFormulas = TakeFlag(args, QStringLiteral("--protect-formulas"));
    request.rfc4180Quoting = TakeFlag(args, QStringLiteral("--rfc4180"));
    request.fieldNamesFirstLine = TakeFlag(args, QStringLiteral("--header"));
    const bool yes = TakeFlag(args, QStringLiteral("--yes"));
    context.ui.SetAssumeYes(yes);
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("export needs one database file"));
    if (!hasType)
        return UsageError(QStringLiteral("export needs --type text|html|delimited|screen|pdf"));
    if (type == QStringLiteral("text"))
        request.type = OutputType::TextFile;
    else if (type == QStringLiteral("html"))
        request.type = OutputType::HtmlFile;
    else if (type == QStringLiteral("delimited"))
        request.type = OutputType::DelimitedFile;
    else if (type == QStringLiteral("screen"))
        request.type = OutputType::Screen;
    else if (type == QStringLiteral("pdf") && context.pdfPages)
        request.type = OutputType::Printer;
    else
        return UsageError(QStringLiteral("export: unknown type ") + type);
    if (request.type != OutputType::Screen && !hasFile)
        return UsageError(QStringLiteral("export needs -o FILE"));
    if (hasTemplate && request.type != OutputType::Printer)
        return UsageError(QStringLiteral("export: --template is for --type pdf"));
    if (hasIds) {
        const QStringList bounds = ids.split(QLatin1Char('-'));
        if (bounds.size() != 2)
            return UsageError(QStringLiteral("export: --ids takes FROM-TO"));
        request.idRange = IdRangeText{bounds[0], bounds[1]};
    }

    if (!find.isEmpty() && hasQuery)
        return UsageError(QStringLiteral("export takes --find or --query, not both"));
    // The first pseudonyms of a database make its key, which is kept in it.
    if (!OpenForSearch(context, args.first(), false,
                       hasPseudonymise ? DatabaseAccess::ReadWrite : DatabaseAccess::ReadOnly))
        return kExitFailed;
    // Only the records found are output, as when the summary shows a search.
    if (!find.isEmpty() && !CliQuickFind(context, find[0], find[1]))
        return kExitFailed;
    if (hasQuery && !CliRunQueryFile(context, queryFile))
        return kExitFailed;
    // Sorted or filtered, the records go out in the order the summary
    // would show them.
    if (const int status = ApplySummaryOrder(context, order, {}); status != kExitOk)
        return status;
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
    if (hasOmit) {
        if (const QString unknown =
                OmitOutputFields(session.Output.OutputFieldList, omit.split(QLatin1Char(',')));
            !unknown.isEmpty())
            return UsageError(QStringLiteral("export: no field called ") + unknown);
    }
    if (hasPseudonymise) {
        QByteArray key;
        try {
            key = PseudonymKeyOf(*session.Database.CurrentDatabase);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n",
                         qPrintable(QStringLiteral("Error making the pseudonym key: ") +
                                    EngineErrorText(session.Database.CurrentDatabase.get(), e)));
            return kExitFailed;
        }
        QString unknown;
        request.pseudonyms =
            FieldAnonymiser(session.Output.OutputFieldList, session.Output.HeaderFieldCount,
                            pseudonymise.split(QLatin1Char(',')), key, &unknown);
        if (!unknown.isEmpty())
            return UsageError(QStringLiteral("export: no field called ") + unknown);
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
    std::unique_ptr<PageOutput> pages;
    if (request.type == OutputType::Printer) {
        request.templateFileName = CliPrintTemplate(session, templateName);
        if (request.templateFileName.isEmpty()) {
            std::fprintf(stderr, "%s\n",
                         qPrintable(hasTemplate ? QStringLiteral("No printing template called ") +
                                                      templateName
                                                : QStringLiteral("No printing template found")));
            return kExitFailed;
        }
        // As the file dialog asks before replacing a file.
        if (QFileInfo::exists(file) && !yes) {
            std::fprintf(stderr, "%s already exists; --yes replaces it\n",
                         qPrintable(QFileInfo(file).absoluteFilePath()));
            return kExitFailed;
        }
        request.keepRecordsWhole = session.Output.KeepRecordsWhole;
        pages = context.pdfPages(session, file);
        request.printer = pages.get();
    } else if (hasFile) {
        context.ui.QueueFiles({file});
    }
    // Only what the output itself reports is printed, not the opening's
    // "Database Ready".
    context.ui.SetStatusText(QString());
    const OutputResult result = RunOutput(session, request);
    if (pages && result.completed && !result.cancelled) {
        context.ui.SetStatusText(QString::number(result.count) +
                                 QStringLiteral(" record(s) saved to ") +
                                 QFileInfo(file).absoluteFilePath());
        // The other file types are logged by the run itself.
        if (result.count > 0)
            LogChangeToOpenDatabase(session, ChangeKind::Export,
                                    QStringLiteral("%1 record(s) to PDF file %2")
                                        .arg(result.count)
                                        .arg(QFileInfo(file).absoluteFilePath()),
                                    QStringLiteral("%1 record(s)").arg(result.count));
    }
    if (request.type == OutputType::Screen && result.completed) {
        context.out << session.Output.ViewerText;
        context.out.flush();
    }
    if (!session.ui.StatusText().isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(session.ui.StatusText()));
    return result.completed ? kExitOk : kExitFailed;
}
