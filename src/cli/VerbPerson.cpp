#include "cli/CliContext.h"
#include "cli/CliOutput.h"
#include "cli/CliSearch.h"
#include "cli/RendererHandOver.h"
#include "cli/Verbs.h"
#include "output/OutputRunner.h"
#include "platform/DatabaseConnection.h"
#include "privacy/PersonJson.h"
#include "privacy/PersonSearch.h"
#include "privacy/RecordErasure.h"

#include <QFileInfo>
#include <QSaveFile>
#include <SQLiteCpp/Statement.h>
#include <cstdio>

namespace {

void PrintError(const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

bool EndsWith(const QString& file, const char* ending)
{
    return file.endsWith(QLatin1String(ending), Qt::CaseInsensitive);
}

// FormID, date, name and where the person was found, a line a record.
void ListRecords(CliContext& context, DatabaseConnection& connection,
                 const std::vector<PersonRecord>& records)
{
    SQLite::Statement& row = connection.Cached(
        "SELECT substr(\"Form_Date\", 1, 10), \"Form_Name\" FROM \"Forms\" WHERE \"FormID\" = ?");
    for (const PersonRecord& record : records) {
        row.reset();
        row.bind(1, static_cast<int64_t>(record.formId));
        if (!row.executeStep())
            continue;
        context.out << record.formId << '\t' << QString::fromUtf8(row.getColumn(0).getText())
                    << '\t' << QString::fromUtf8(row.getColumn(1).getText()).simplified() << '\t'
                    << record.where.join(QStringLiteral(", ")) << '\n';
    }
}

std::vector<qint64> Ids(const std::vector<PersonRecord>& records)
{
    std::vector<qint64> ids;
    for (const PersonRecord& record : records)
        ids.push_back(record.formId);
    return ids;
}

bool SaveJson(const QString& file, const QByteArray& json)
{
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(json) == json.size() && out.commit())
        return true;
    PrintError(QStringLiteral("Cannot write %1: %2").arg(file, out.errorString()));
    return false;
}

// The records through the first printing template, as export --type pdf
// writes them.
bool SavePdf(CliContext& context, const QString& file, const std::vector<PersonRecord>& records)
{
    Session& session = context.session;
    OutputRequest request;
    request.type = OutputType::Printer;
    for (const PersonRecord& record : records)
        request.formIds.append(static_cast<qint32>(record.formId));
    request.templateFileName = CliPrintTemplate(session, QString());
    if (request.templateFileName.isEmpty()) {
        PrintError(QStringLiteral("No printing template found"));
        return false;
    }
    request.keepRecordsWhole = session.Output.KeepRecordsWhole;
    const std::unique_ptr<PageOutput> pages = context.pdfPages(session, file);
    request.printer = pages.get();
    context.ui.SetStatusText(QString());
    const OutputResult result = RunOutput(session, request);
    if (!result.completed || result.cancelled) {
        if (!session.ui.StatusText().isEmpty())
            PrintError(session.ui.StatusText());
        return false;
    }
    return true;
}

} // namespace

// person DB ADDRESS [--text] [--export FILE.json|FILE.pdf] [--erase] [--yes]:
// the records holding a person's data, a copy of them, or their erasure.
int RunPerson(CliContext& context, QStringList args)
{
    const QStringList given = args;
    QString file;
    bool exports = false;
    if (!TakeOption(args, QStringLiteral("--export"), &file, &exports))
        return UsageError(QStringLiteral("person: --export takes FILE.json or FILE.pdf"));
    const bool text = TakeFlag(args, QStringLiteral("--text"));
    const bool erase = TakeFlag(args, QStringLiteral("--erase"));
    const bool yes = TakeFlag(args, QStringLiteral("--yes"));
    if (!EndOfOptions(args) || args.size() != 2)
        return UsageError(QStringLiteral("person needs a database file and an address"));
    const bool pdf = exports && EndsWith(file, ".pdf");
    if (exports && !pdf && !EndsWith(file, ".json"))
        return UsageError(QStringLiteral("person: --export writes FILE.json or FILE.pdf"));
    // The page renderer is not linked here: another program writes PDF.
    if (pdf && !context.pdfPages)
        return HandOverToRenderer(context, QStringLiteral("person"), given, "a PDF export");
    const PersonQuery query{args[1], !text};
    if (const QString problem = PersonQueryProblem(query); !problem.isEmpty()) {
        PrintError(problem + (text ? QString() : QStringLiteral("; --text finds any text")));
        return kExitFailed;
    }
    if (exports && QFileInfo::exists(file) && !yes) {
        PrintError(QStringLiteral("%1 already exists; --yes replaces it")
                       .arg(QFileInfo(file).absoluteFilePath()));
        return kExitFailed;
    }
    // An export and an erase are logged in the database.
    const bool writes = exports || (erase && yes);
    if (!OpenForSearch(context, args[0], false,
                       writes ? DatabaseAccess::ReadWrite : DatabaseAccess::ReadOnly))
        return kExitFailed;
    DatabaseConnection& connection = *context.session.Database.CurrentDatabase;
    QString failure = QStringLiteral("Error reading data: ");
    try {
        const std::vector<PersonRecord> records = FindPersonRecords(connection, query);
        if (records.empty()) {
            PrintError(QStringLiteral("No record holds '%1'").arg(query.text.trimmed()));
            return kExitFailed;
        }
        ListRecords(context, connection, records);
        context.out << records.size() << " record(s) hold '" << query.text.trimmed() << "'\n";
        context.out.flush();
        if (exports) {
            if (pdf ? !SavePdf(context, file, records)
                    : !SaveJson(file, PersonJson(connection, query, records)))
                return kExitFailed;
            failure = QStringLiteral("The records were saved to %1, but the change log could "
                                     "not be written: ")
                          .arg(QFileInfo(file).absoluteFilePath());
            LogPersonExport(connection, context.session.Now, Ids(records),
                            pdf ? QStringLiteral("PDF") : QStringLiteral("JSON"));
            context.out << records.size() << " record(s) saved to "
                        << QFileInfo(file).absoluteFilePath() << '\n';
            context.out.flush();
        }
        if (!erase)
            return kExitOk;
        if (!yes) {
            PrintError(QStringLiteral("Erase cancelled: only --yes answers the question Yes"));
            return kExitFailed;
        }
        failure = QStringLiteral("Error erasing records: ");
        const int erased = EraseRecords(connection, context.session.Now, Ids(records),
                                        ChangeKind::Erase, ErasedPersonText(query.address));
        context.out << erased << " record(s) erased\n";
    } catch (const std::exception& e) {
        context.out.flush();
        PrintError(failure + EngineErrorText(&connection, e));
        return kExitFailed;
    }
    context.out.flush();
    return kExitOk;
}
