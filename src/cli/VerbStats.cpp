#include "cli/CliContext.h"
#include "cli/CliSelection.h"
#include "cli/RecordJson.h"
#include "cli/RendererHandOver.h"
#include "cli/Verbs.h"
#include "session/Session.h"
#include "stats/ChartData.h"
#include "stats/StatisticsText.h"
#include "stats/SummaryStatistics.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdio>

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

// The chart --chart draws: one field's values (its histogram when it is
// numeric), or with no field named the submissions over time.
int WriteChart(CliContext& context, const SummaryStatisticsResult& result, bool oneField,
               const QString& path)
{
    ChartData chart;
    if (!oneField) {
        chart = SubmissionsChart(result.submissions, context.session.RegionalSettings);
    } else {
        const FieldStatistics& field = result.fields.front();
        if (field.answered == 0) {
            context.session.ui.MessageBox(
                QStringLiteral("The field '%1' has no answers: no chart was written")
                    .arg(field.field),
                MessageIcon::Exclamation);
            return kExitFailed;
        }
        chart = field.numeric ? NumbersChart(field, context.session.RegionalSettings)
                              : ValuesChart(field);
    }
    if (chart.bars.empty()) {
        context.session.ui.MessageBox(QStringLiteral("No records: no chart was written"),
                                      MessageIcon::Exclamation);
        return kExitFailed;
    }
    // A row per bar, wide enough for a page.
    const int height = std::max(240, 64 + 28 * static_cast<int>(chart.bars.size()));
    QString error;
    if (!context.saveChart(chart, path, 800, height, &error)) {
        context.session.ui.MessageBox(QStringLiteral("Could not write %1: %2").arg(path, error),
                                      MessageIcon::Exclamation);
        return kExitFailed;
    }
    std::fprintf(stderr, "Chart saved to %s\n", qPrintable(QFileInfo(path).absoluteFilePath()));
    return kExitOk;
}

} // namespace

// stats [--json] DB [FIELD...] [--find FIELD PATTERN | --query FILE.qry]
// [--chart FILE.svg|FILE.png]: the answers to each field (every field when
// none is named) among the records found, or all of them.
int RunStats(CliContext& context, QStringList args)
{
    // The painter is not linked here: another program draws charts.
    if (OptionAt(args, QStringLiteral("--chart")) >= 0 && !context.saveChart)
        return HandOverToRenderer(context, QStringLiteral("stats"), args, "a chart");
    QString chartFile;
    bool chart = false;
    if (!TakeOption(args, QStringLiteral("--chart"), &chartFile, &chart))
        return UsageError(QStringLiteral("stats: --chart takes a file name ending .svg or .png"));
    const QString suffix = QFileInfo(chartFile).suffix().toLower();
    if (chart && suffix != QStringLiteral("svg") && suffix != QStringLiteral("png"))
        return UsageError(QStringLiteral("stats: --chart takes a file name ending .svg or .png"));
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (OptionAt(args, QStringLiteral("--ids")) >= 0)
        return UsageError(QStringLiteral("stats takes --find or --query, not --ids"));
    CliSelection selection;
    QString usage;
    if (!selection.TakeOptions(args, &usage))
        return UsageError(QStringLiteral("stats: ") + usage);
    if (!EndOfOptions(args) || args.isEmpty())
        return UsageError(QStringLiteral("stats needs a database file"));
    if (chart && args.size() > 2)
        return UsageError(QStringLiteral(
            "stats: --chart draws one field's chart (or, with no field, submissions over time)"));
    if (!selection.Prepare(context, args.first(), DatabaseAccess::ReadOnly))
        return kExitFailed;
    const SummaryStatisticsResult result = SummaryStatistics(context.session, args.mid(1));
    if (!result.ok)
        return kExitFailed;
    if (chart)
        return WriteChart(context, result, args.size() == 2, chartFile);
    if (json)
        PrintJson(context.out, result.fields);
    else
        context.out << StatisticsTable(result.fields);
    return kExitOk;
}
