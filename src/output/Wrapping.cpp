#include "output/Wrapping.h"

#include "responses/ResponseText.h"

namespace {

bool IsBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Produces the next line from the cache's position.
QString NextLine(WrapCache& cache, int width)
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
        if (j - start > width) {
            wrapped = true;
            if (first) {
                end = start + width;
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
    width = std::max(width, 1);
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
        line = NextLine(cache, width);
    }
    return {line, HasMore(cache)};
}
