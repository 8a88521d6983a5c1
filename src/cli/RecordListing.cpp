#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/RecordJson.h"
#include "cli/RecordListing.h"
#include "database/RecordStream.h"

#include <QStringBuilder>

namespace {

QString OneLine(QString text)
{
    // Most texts hold no control character at all.
    const char16_t* c = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = c + text.size();
    while (c != end && *c >= 0x20)
        ++c;
    if (c == end)
        return text;
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
    if (json)
        context.out << "[";
    bool first = true;
    IsoDates dates(session.RegionalSettings);
    // Lines are gathered and handed to the stream in large pieces.
    QString lines;
    const auto print = [&](qint64) {
        using R = RecordTables;
        const RecordTables& t = session.Tables;
        if (json) {
            lines += first ? QStringLiteral("\n  ") : QStringLiteral(",\n  ");
            lines += RecordJson(t, dates, false);
        } else {
            lines += t.Header(R::FormIdColumn) % QLatin1Char('\t') %
                     dates.Of(t.Header(R::DateColumn)) % QLatin1Char('\t') %
                     OneLine(t.Header(R::NameColumn)) % QLatin1Char('\t') %
                     OneLine(t.Header(R::SourceColumn)) % QLatin1Char('\n');
        }
        first = false;
        if (lines.size() >= 32768) {
            context.out << lines;
            lines.clear();
        }
        return true;
    };
    // Only the headers are printed, so the fields are not read. The whole
    // database is read by FormID without listing it first.
    RecordStream stream(session, RecordParts::HeaderOnly);
    const StreamEnd end = d.SummaryFiltered || d.ListRecordsOnOpen
                              ? stream.ReadList(d.SummaryRecords.Ids(), print)
                              : stream.ReadAll(print);
    context.out << lines;
    if (end == StreamEnd::Failed) {
        context.out.flush();
        return false;
    }
    if (json)
        context.out << (first ? "]\n" : "\n]\n");
    context.out.flush();
    return true;
}
