#include "output/Wrapping.h"

#include "platform/ResponseText.h"

#include <algorithm>
#include <limits>

namespace {

bool IsBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Counts characters: text output, where the column width is in characters.
struct Characters {
    double operator()(QStringView text) const { return static_cast<double>(text.size()); }
};

// The longest beginning of v[start..end) that fits width, at least one character.
template <typename Measure>
qsizetype FittingLength(const QString& v, qsizetype start, qsizetype end, double width,
                        const Measure& measure)
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

// Produces the next line from the cache's position. scanLimit: how many
// characters past the line's start can matter (a character is never
// narrower than one unit of the measure), or none.
template <typename Measure>
QString NextLine(WrapCache& cache, double width, const Measure& measure, qsizetype scanLimit)
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
        const qsizetype limit = scanLimit > 0 ? start + scanLimit : n;
        qsizetype j = i;
        while (j < n && j < limit && IsBlank(v[j]))
            ++j;
        while (j < n && j < limit && !IsBlank(v[j]) && !IsBreak(v[j]))
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

template <typename Measure>
WrappedLine Wrap(WrapCache& cache, const QString& value, int table, int column, double width,
                 const Measure& measure, qsizetype scanLimit, int k)
{
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
        line = NextLine(cache, width, measure, scanLimit);
    }
    cache.lastLine = line;
    cache.lastMore = HasMore(cache);
    return {line, cache.lastMore};
}

} // namespace

WrappedLine WrapLine(WrapCache& cache, const QString& value, int table, int column, int width,
                     int k)
{
    width = std::max(width, 1);
    // Most values are one short line: nothing to cut and nothing to keep.
    if (k >= 1 && value.size() <= width &&
        std::none_of(value.begin(), value.end(), [](QChar c) { return IsBreak(c); }))
        return k == 1 ? WrappedLine{value, false} : WrappedLine{};
    return Wrap(cache, value, table, column, static_cast<double>(width), Characters(), width + 1,
                k);
}

WrappedLine WrapLine(WrapCache& cache, const QString& value, int table, int column, double width,
                     const TextMeasure& measure, int k)
{
    return Wrap(cache, value, table, column, width, measure, 0, k);
}
