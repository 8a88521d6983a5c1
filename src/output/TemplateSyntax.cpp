#include "output/TemplateSyntax.h"

#include "platform/ResponseText.h"

QStringList CutBlocks(const QString& body, BlockStyle style)
{
    QStringList blocks;
    QString block;
    int bars = 0;
    const qsizetype n = body.size();
    auto finish = [&] {
        if (bars % 2 != 0)
            block += QLatin1Char('|');
        blocks.append(block);
        block.clear();
        bars = 0;
    };
    qsizetype i = 0;
    while (i < n) {
        const QChar c = body[i];
        if (c != QLatin1Char('|')) {
            block += c;
            ++i;
            continue;
        }
        if (i + 1 < n && body[i + 1] == QLatin1Char('|')) {
            bars += 2;
            if (style == BlockStyle::Html) {
                finish();
                i += 2;
                if (i + 1 < n && body[i] == QLatin1Char('\r') && body[i + 1] == QLatin1Char('\n'))
                    i += 2;
                continue;
            }
            if (i + 2 < n && body[i + 2] == QLatin1Char('\r')) {
                finish();
                i += 3;
                if (i < n && body[i] == QLatin1Char('\n'))
                    ++i;
                continue;
            }
            block += QStringLiteral("||");
            i += 2;
            continue;
        }
        ++bars;
        block += c;
        ++i;
    }
    return blocks;
}

QStringList BlockLines(const QString& block)
{
    QStringList lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = block.indexOf(QLatin1Char('\r'), start);
        if (cr < 0) {
            lines.append(block.mid(start));
            break;
        }
        lines.append(block.mid(start, cr - start));
        start = cr + 1;
        if (start < block.size() && block[start] == QLatin1Char('\n'))
            ++start;
    }
    return lines;
}

LineSpec SplitLineSpec(const QString& line)
{
    static const QString kDefault = QStringLiteral("00.00.000");
    if (line.endsWith(QLatin1Char('}'))) {
        const qsizetype open = line.lastIndexOf(QLatin1Char('{'));
        if (open < 0)
            return {line, kDefault, false};
        return {line.left(open), line.mid(open + 1, line.size() - open - 2), true};
    }
    if (line.size() >= 9)
        return {line.left(line.size() - 9), line.right(9), true};
    return {line, kDefault, true};
}

namespace {

// A whole number with an optional sign; no digits read as 0.
int ReadNumber(const QString& text, qsizetype& pos)
{
    bool negative = false;
    if (pos < text.size() && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+'))) {
        negative = text[pos] == QLatin1Char('-');
        ++pos;
    }
    qint64 value = 0;
    while (pos < text.size() && text[pos].isDigit() && text[pos].unicode() < 128) {
        value = std::min<qint64>(value * 10 + (text[pos].unicode() - '0'), 32767);
        ++pos;
    }
    return static_cast<int>(negative ? -value : value);
}

bool TakeDot(const QString& text, qsizetype& pos)
{
    if (pos < text.size() && text[pos] == QLatin1Char('.')) {
        ++pos;
        return true;
    }
    return false;
}

// Reads "B.C.D.lead-in" (or from A when withA), each number standing only
// with the dot it needs after it; C and D need none.
void ReadNumbers(const QString& text, qsizetype pos, bool withA, MarkerPart& part)
{
    if (withA) {
        const int a = ReadNumber(text, pos);
        if (!TakeDot(text, pos))
            return;
        part.a = a;
    }
    const int b = ReadNumber(text, pos);
    if (!TakeDot(text, pos))
        return;
    part.b = b;
    part.c = ReadNumber(text, pos);
    if (!TakeDot(text, pos))
        return;
    part.d = ReadNumber(text, pos);
    if (!TakeDot(text, pos))
        return;
    part.hasLeadIn = true;
    const QString rest = text.mid(pos);
    const qsizetype q1 = rest.indexOf(QLatin1Char('"'));
    const qsizetype q2 = q1 < 0 ? -1 : rest.indexOf(QLatin1Char('"'), q1 + 1);
    part.leadIn = q2 < 0 ? rest : rest.mid(q1 + 1, q2 - q1 - 1);
}

} // namespace

MarkerPart ParseMarkerPart(const QString& text)
{
    MarkerPart part;
    if (text == QStringLiteral("-")) {
        part.kind = MarkerPart::Kind::Bullet;
        return part;
    }
    if (text == QStringLiteral("n")) {
        part.kind = MarkerPart::Kind::ItemNumber;
        return part;
    }
    if (text.startsWith(QLatin1Char('"'))) {
        const qsizetype close = text.indexOf(QLatin1Char('"'), 1);
        if (close < 0) {
            part.kind = MarkerPart::Kind::Invalid;
            return part;
        }
        part.kind = MarkerPart::Kind::Named;
        part.name = text.mid(1, close - 1);
        part.a = -1;
        qsizetype pos = close + 1;
        if (TakeDot(text, pos))
            ReadNumbers(text, pos, false, part);
        return part;
    }
    ReadNumbers(text, 0, true, part);
    return part;
}

QList<MarkerPart> ParseMarkerParts(const QString& markerText)
{
    QList<MarkerPart> parts;
    const QString text = TrimBlanks(markerText);
    QString current;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (!quoted && IsBlank(c)) {
            if (!current.isEmpty())
                parts.append(ParseMarkerPart(current));
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.isEmpty())
        parts.append(ParseMarkerPart(current));
    return parts;
}

QStringList CutBlocks(CutBlocksCache& cache, const QString& body, BlockStyle style)
{
    if (!cache.valid || cache.style != style || cache.body != body) {
        cache.blocks = CutBlocks(body, style);
        cache.body = body;
        cache.style = style;
        cache.valid = true;
    }
    return cache.blocks;
}

QList<MarkerPart> ParseMarkerParts(MarkerPartsCache& cache, const QString& markerText)
{
    constexpr qsizetype kKept = 4096;
    const auto found = cache.parsed.constFind(markerText);
    if (found != cache.parsed.constEnd())
        return *found;
    if (cache.parsed.size() >= kKept)
        cache.parsed.clear();
    const QList<MarkerPart> parts = ParseMarkerParts(markerText);
    cache.parsed.insert(markerText, parts);
    return parts;
}
