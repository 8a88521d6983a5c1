#include "output/Wrapping.h"

#include "responses/ResponseText.h"

namespace {

bool IsBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Produces the next line from the cache's position.
// The longest beginning of v[start..end) that fits width, at least one character.
qsizetype FittingLength(const QString& v, qsizetype start, qsizetype end, double width,
                        const TextMeasure& measure)
{
    qsizetype low = 1;
    qsizetype high = end - start;
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (measure(QStringView(v).mid(start, mid)) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

QString NextLine(WrapCache& cache, double width, const TextMeasure& measure)
{
    const QString& v = cache.value;
    const qsizetype n = v.size();
    qsizetype i = cache.position;
    const bool trimmed = cache.afterWrap;
    if (trimmed) {
        while (i < n && IsBlank(v[i]))
            ++i;
    }
    const qsizetype start = i;
    qsizetype end = i;
    bool wrapped = false;
    bool first = true;
    while (i < n && !IsBreak(v[i])) {
        qsizetype j = i;
        while (j < n && IsBlank(v[j]))
            ++j;
        while (j < n && !IsBlank(v[j]) && !IsBreak(v[j]))
            ++j;
        if (measure(QStringView(v).mid(start, j - start)) > width) {
            wrapped = true;
            if (first) {
                end = start + FittingLength(v, start, j, width, measure);
                i = end;
            }
            break;
        }
        end = j;
        i = j;
        first = false;
    }
    QString line = v.mid(start, end - start);
    cache.pendingLine = false;
    cache.afterWrap = false;
    if (i < n && IsBreak(v[i])) {
        // A CR LF (or a lone CR or LF) ends the line; the next one starts
        // fresh, even when nothing follows it.
        if (v[i] == QLatin1Char('\r') && i + 1 < n && v[i + 1] == QLatin1Char('\n'))
            i += 2;
        else
            ++i;
        cache.pendingLine = true;
    } else if (wrapped) {
        cache.afterWrap = true;
        // Blanks alone after a wrap make no further line.
        qsizetype k = i;
        while (k < n && IsBlank(v[k]))
            ++k;
        if (k >= n)
            i = n;
    }
    cache.position = i;
    ++cache.linesProduced;
    return trimmed ? TrimBlanks(line) : line;
}

bool HasMore(const WrapCache& cache)
{
    return cache.pendingLine || cache.position < cache.value.size();
}

} // namespace

WrappedLine WrapLine(WrapCache& cache, const QString& value, int table, int column, int width,
                     int k)
{
    static const TextMeasure characters = [](QStringView text) {
        return static_cast<double>(text.size());
    };
    return WrapLine(cache, value, table, column, static_cast<double>(std::max(width, 1)),
                    characters, k);
}

WrappedLine WrapLine(WrapCache& cache, const QString& value, int table, int column, double width,
                     const TextMeasure& measure, int k)
{
    if (k <= 1 || k <= cache.linesProduced || cache.table != table || cache.column != column ||
        cache.width != width || cache.value != value) {
        cache.table = table;
        cache.column = column;
        cache.width = width;
        cache.value = value;
        cache.position = 0;
        cache.linesProduced = 0;
        cache.afterWrap = false;
        cache.pendingLine = false;
    }
    QString line;
    while (cache.linesProduced < k) {
        if (!HasMore(cache) && cache.linesProduced > 0)
            return {QString(), false};
        line = NextLine(cache, width, measure);
    }
    return {line, HasMore(cache)};
}
