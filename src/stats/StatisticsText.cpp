#include "stats/StatisticsText.h"

QString StatisticsNumber(double value)
{
    return QString::number(value, 'g', 15);
}

QString StatisticsTable(const std::vector<FieldStatistics>& fields)
{
    QString out;
    for (const FieldStatistics& s : fields) {
        out += s.field + QLatin1Char('\n');
        out += QStringLiteral("  %1 record(s), %2 answered, %3 empty, %4 distinct value(s)\n")
                   .arg(s.records)
                   .arg(s.answered)
                   .arg(s.empty)
                   .arg(s.Distinct());
        if (s.answered == 0) {
            out += QStringLiteral("  no answers\n");
            continue;
        }
        for (const ValueCount& v : s.values)
            out += QStringLiteral("  %1  %2%  %3\n")
                       .arg(v.count, 8)
                       .arg(100.0 * double(v.count) / double(s.answered), 6, 'f', 1)
                       .arg(v.value);
        if (s.numeric)
            out += QStringLiteral("  minimum %1, maximum %2, mean %3, median %4\n")
                       .arg(StatisticsNumber(s.numeric->min), StatisticsNumber(s.numeric->max),
                            StatisticsNumber(s.numeric->mean), StatisticsNumber(s.numeric->median));
    }
    return out;
}
