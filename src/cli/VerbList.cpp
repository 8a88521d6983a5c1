#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/RecordJson.h"
#include "cli/Verbs.h"
#include "database/RecordReader.h"

namespace {

QString OneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

} // namespace

// list [--json] DB: every record in FormID order, one line each
// (FormID, date, name, source separated by tabs), or a JSON array of
// record objects without their fields.
int RunList(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (args.size() != 1 || args.first().startsWith(QStringLiteral("--")))
        return UsageError(QStringLiteral("list needs exactly one database file"));
    if (!OpenCliDatabase(context, args.first()))
        return kExitFailed;
    Session& session = context.session;
    DatabaseState& d = session.Database;
    const std::vector<qint64> ids = d.SummaryRecords.Ids();
    if (json)
        context.out << "[";
    bool first = true;
    for (qint64 id : ids) {
        d.RecordCursor.Seek(id);
        if (!ReadResumes(session))
            return kExitFailed;
        using R = RecordTables;
        const RecordTables& t = session.Tables;
        if (json) {
            context.out << (first ? "\n  " : ",\n  ")
                        << RecordJson(t, session.RegionalSettings, false);
        } else {
            context.out << t.Header(R::FormIdColumn) << '\t'
                        << IsoDate(t.Header(R::DateColumn), session.RegionalSettings) << '\t'
                        << OneLine(t.Header(R::NameColumn)) << '\t'
                        << OneLine(t.Header(R::SourceColumn)) << '\n';
        }
        first = false;
    }
    if (json)
        context.out << (first ? "]\n" : "\n]\n");
    context.out.flush();
    return kExitOk;
}
