#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/RecordJson.h"
#include "cli/RecordListing.h"
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

bool PrintSummaryRecords(CliContext& context, bool json)
{
    Session& session = context.session;
    DatabaseState& d = session.Database;
    const std::vector<qint64> ids = d.SummaryRecords.Ids();
    if (json)
        context.out << "[";
    bool first = true;
    for (qint64 id : ids) {
        d.RecordCursor.Seek(id);
        if (!ReadResumes(session))
            return false;
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
    return true;
}
