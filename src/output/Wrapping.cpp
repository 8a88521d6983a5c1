#include "output/Wrapping.h"

#include "responses/ResponseText.h"

#include <algorithm>

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
        // Past the column's width the word's end does not matter, so a
        // long word is not read to its end for every line cut from it.
        const qsizetype limit = start + width + 1;
        qsizetype j = i;
        while (j < n && j < limit && IsBlank(v[j]))
            ++j;
        while (j < n && j < limit && !IsBlank(v[j]) && !IsBreak(v[j]))
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
    const auto matches = [&](const WrapCache& c) {
        return c.table == table && c.column == column && c.width == width && c.value == value;
    };
    if (!matches(cache)) {
        // Bring back the state of this value if it was wrapped lately.
        constexpr size_t kKept = 32;
        auto found = std::find_if(cache.others.begin(), cache.others.end(), matches);
        WrapCache current = std::move(cache);
        std::vector<WrapCache> others = std::move(current.others);
        current.others.clear();
        if (found != others.end()) {
            const auto index = found - others.begin();
            cache = std::move(others[static_cast<size_t>(index)]);
            others.erase(others.begin() + index);
        } else {
            cache = WrapCache();
            cache.table = -1; // never matches: set up below
        }
        others.push_back(std::move(current));
        if (others.size() > kKept)
            others.erase(others.begin());
        cache.others = std::move(others);
    }
    if (k >= 1 && k == cache.linesProduced && matches(cache))
        return {cache.lastLine, cache.lastMore};
    if (k <= 1 || k <= cache.linesProduced || !matches(cache)) {
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
    cache.lastLine = line;
    cache.lastMore = HasMore(cache);
    return {line, cache.lastMore};
}
