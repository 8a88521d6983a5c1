#include "cli/CliContext.h"
#include "cli/CliSelection.h"
#include "cli/RecordJson.h"
#include "cli/Verbs.h"
#include "session/Session.h"
#include "stats/StatisticsText.h"
#include "stats/SummaryStatistics.h"

namespace {

void PrintJson(QTextStream& out, const std::vector<FieldStatistics>& all)
{
    out << '[';
    for (size_t f = 0; f < all.size(); ++f) {
        const FieldStatistics& s = all[f];
        out << (f ? ",\n" : "\n") << "{\"field\": " << JsonString(s.field)
            << ", \"records\": " << s.records << ", \"answered\": " << s.answered
            << ", \"empty\": " << s.empty << ", \"distinct\": " << s.Distinct()
            << ", \"values\": [";
        for (size_t v = 0; v < s.values.size(); ++v)
            out << (v ? ", " : "") << "{\"value\": " << JsonString(s.values[v].value)
                << ", \"count\": " << s.values[v].count << '}';
        out << "], \"numeric\": ";
        if (s.numeric)
            out << "{\"min\": " << StatisticsNumber(s.numeric->min)
                << ", \"max\": " << StatisticsNumber(s.numeric->max)
                << ", \"mean\": " << StatisticsNumber(s.numeric->mean)
                << ", \"median\": " << StatisticsNumber(s.numeric->median) << '}';
        else
            out << "null";
        out << '}';
    }
    out << (all.empty() ? "]\n" : "\n]\n");
}

} // namespace

// stats [--json] DB [FIELD...] [--find FIELD PATTERN | --query FILE.qry]:
// the answers to each field (every field when none is named) among the
// records found, or all of them.
int RunStats(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (OptionAt(args, QStringLiteral("--ids")) >= 0)
        return UsageError(QStringLiteral("stats takes --find or --query, not --ids"));
    CliSelection selection;
    QString usage;
    if (!selection.TakeOptions(args, &usage))
        return UsageError(QStringLiteral("stats: ") + usage);
    if (!EndOfOptions(args) || args.isEmpty())
        return UsageError(QStringLiteral("stats needs a database file"));
    if (!selection.Prepare(context, args.first(), DatabaseAccess::ReadOnly))
        return kExitFailed;
    const SummaryStatisticsResult result = SummaryStatistics(context.session, args.mid(1));
    if (!result.ok)
        return kExitFailed;
    if (json)
        PrintJson(context.out, result.fields);
    else
        context.out << StatisticsTable(result.fields);
    return kExitOk;
}
