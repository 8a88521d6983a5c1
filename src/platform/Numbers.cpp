#include "platform/Numbers.h"

#include <cmath>
#include <limits>

double LeadingNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    qsizetype end = i;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        if (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            while (j < n && text[j].isDigit() && text[j].unicode() < 128)
                ++j;
            end = j;
        }
    }
    bool ok = false;
    const double value = text.mid(start, end - start).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

double RoundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode rounds half to even
}

std::optional<qint16> ToInt16(double value)
{
    const double r = RoundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<qint16>::min() ||
        r > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(r);
}

std::optional<qint32> ToInt32(double value)
{
    const double r = RoundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<qint32>::min() ||
        r > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(r);
}

QString NumberWithSignSpace(qint64 value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}
