#include "responses/TextPostLayout.h"

#include "responses/FormEncodedLine.h"

#include <QChar>
#include <type_traits>

namespace {

constexpr qsizetype kMaxNameLength = 64;

bool IsNameStart(char32_t c)
{
    return c == U'_' || c >= 0x80 || QChar::isLetter(c);
}

bool IsNamePart(char32_t c)
{
    return IsNameStart(c) || QChar::isDigit(c) || c == U'.' || c == U'-' || c == U'[' || c == U']';
}

// Where the field name of a line ends (at its "="), or -1 when the line
// does not start a field. Bytes beyond ASCII count as letters.
template <typename Line> qsizetype NameEnd(const Line& line)
{
    const auto code = [&](qsizetype i) {
        if constexpr (std::is_same_v<Line, QString>)
            return char32_t(line[i].unicode());
        else
            return char32_t(static_cast<unsigned char>(line[i]));
    };
    if (line.isEmpty() || !IsNameStart(code(0)))
        return -1;
    for (qsizetype i = 1; i < line.size() && i <= kMaxNameLength; ++i) {
        const char32_t c = code(i);
        if (c == U'=')
            return i;
        if (!IsNamePart(c))
            return -1;
    }
    return -1;
}

QByteArrayView Trimmed(QByteArrayView line)
{
    while (!line.isEmpty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.chop(1);
    while (!line.isEmpty() && (line.front() == ' ' || line.front() == '\t'))
        line = line.sliced(1);
    return line;
}

} // namespace

bool LooksLikeTextPost(QByteArrayView text)
{
    QList<QByteArrayView> lines;
    bool found = false;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype nl = text.indexOf('\n', at);
        if (nl < 0)
            nl = text.size();
        const QByteArrayView line = text.sliced(at, nl - at);
        at = nl + 1;
        if (!found) {
            found = NameEnd(line) > 0;
            if (!found)
                continue;
        }
        if (Trimmed(line).isEmpty())
            break;
        lines.append(Trimmed(line));
    }
    if (lines.size() < 2 || NameEnd(lines[1]) < 0)
        return false;
    // A line joining pairs with "&" the way a form encoding does is a
    // URL-encoded body (or its first line, wrapped), whatever stands near it.
    // Quoted-printable left undone writes every field line "name=3D...".
    bool undone = true;
    for (const QByteArrayView line : lines) {
        if (line.contains('&') && StartsFormEncodedBody(line))
            return false;
        const qsizetype end = NameEnd(line);
        if (end > 0 && !line.sliced(end + 1).startsWith("3D"))
            undone = false;
    }
    return !undone;
}

FormFields ReadTextPost(const QStringList& lines)
{
    FormFields fields;
    for (const QString& line : lines) {
        if (line == QLatin1String("-- ") && !fields.isEmpty())
            break;
        const qsizetype end = NameEnd(line);
        if (end > 0)
            fields.append({line.left(end), line.mid(end + 1)});
        else if (!fields.isEmpty())
            fields.last().value += QLatin1Char('\n') + line;
    }
    if (!fields.isEmpty()) {
        QString& last = fields.last().value;
        while (last.endsWith(QLatin1Char('\n')))
            last.chop(1);
    }
    return fields;
}
