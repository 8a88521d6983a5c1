#include "output/StatisticsReport.h"

#include "platform/Regional.h"
#include "stats/ChartData.h"

#include <algorithm>

namespace {

// Tables longer than this fold their tail, as the charts do.
constexpr int kTableRows = 100;

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

// The drawing inline: the document from its <svg> element on, without the
// XML prologue an HTML page has no room for.
QString InlineChart(const ChartSvgMaker& svg, const ChartData& chart)
{
    if (!svg || chart.bars.empty())
        return {};
    const int height = std::max(160, 64 + 28 * static_cast<int>(chart.bars.size()));
    const QByteArray drawing = svg(chart, 720, height);
    const qsizetype start = drawing.indexOf("<svg");
    if (start < 0)
        return {};
    return QStringLiteral("<figure>") + QString::fromUtf8(drawing.mid(start)) +
           QStringLiteral("</figure>\n");
}

QString FieldSection(const FieldStatistics& s, const Regional& regional, const ChartSvgMaker& svg)
{
    const QLocale& locale = regional.Locale();
    QString html = QStringLiteral("<section>\n<h2>") + Escaped(s.field) + QStringLiteral("</h2>\n");
    html += QStringLiteral("<p>%1 record(s): %2 answered, %3 empty, %4 distinct value(s)")
                .arg(s.records)
                .arg(s.answered)
                .arg(s.empty)
                .arg(s.Distinct());
    if (s.numeric)
        html += QStringLiteral("; minimum %1, maximum %2, mean %3, median %4")
                    .arg(locale.toString(s.numeric->min), locale.toString(s.numeric->max),
                         locale.toString(s.numeric->mean), locale.toString(s.numeric->median));
    html += QStringLiteral("</p>\n");
    if (s.answered == 0)
        return html + QStringLiteral("<p>No answers among these records.</p>\n</section>\n");
    html += QStringLiteral("<table>\n<thead><tr><th>Answer</th><th>Count</th><th>Percent</th>"
                           "</tr></thead>\n<tbody>\n");
    for (const ValueCount& v : FoldTail(s.values, kTableRows))
        html +=
            QStringLiteral("<tr><td>%1</td><td class=\"n\">%2</td><td class=\"n\">%3%</td></tr>\n")
                .arg(Escaped(v.value))
                .arg(v.count)
                .arg(locale.toString(100.0 * double(v.count) / double(s.answered), 'f', 1));
    html += QStringLiteral("</tbody>\n</table>\n");
    html += InlineChart(svg, ValuesChart(s));
    if (s.numeric)
        html += InlineChart(svg, NumbersChart(s, regional));
    else if (s.dates)
        html += InlineChart(svg, DatesChart(s, regional));
    return html + QStringLiteral("</section>\n");
}

} // namespace

QString StatisticsReportHtml(const SummaryStatisticsResult& result, const Regional& regional,
                             const ChartSvgMaker& svg, const QString& title)
{
    const QString heading =
        title.trimmed().isEmpty() ? QStringLiteral("Statistics report") : title.trimmed();
    QString html =
        QStringLiteral(
            "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
            "<style>\nbody { font-family: sans-serif; }\n"
            "section { break-before: page; page-break-before: always; }\n"
            "table { border-collapse: collapse; }\n"
            "th, td { border: 1px solid #999; padding: 2px 8px; text-align: left; }\n"
            "td.n { text-align: right; }\nfigure { margin: 1em 0; }\n</style>\n"
            "</head>\n<body>\n<h1>%1</h1>\n<p>%2 record(s)</p>\n")
            .arg(Escaped(heading))
            .arg(result.records);
    html += InlineChart(svg, SubmissionsChart(result.submissions, regional));
    for (const FieldStatistics& field : result.fields)
        html += FieldSection(field, regional, svg);
    return html + QStringLiteral("</body>\n</html>\n");
}
