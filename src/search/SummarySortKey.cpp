#include "search/SummarySortKey.h"

#include "search/LikePattern.h"

#include <QString>

std::optional<double> PlainInteger(const char* bytes, int length)
{
    const int sign = length > 0 && bytes[0] == '-' ? 1 : 0;
    if (length - sign < 1 || length - sign > 15)
        return std::nullopt;
    double number = 0;
    for (int i = sign; i < length; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9')
            return std::nullopt;
        number = number * 10 + (bytes[i] - '0');
    }
    return sign ? -number : number;
}

SummarySortKey SortKeyOf(const char* utf8, int length, const Regional& regional)
{
    SummarySortKey key;
    if (!utf8)
        return key;
    if (const std::optional<double> plain = PlainInteger(utf8, length)) {
        key.kind = SummarySortKey::Number;
        key.number = *plain;
        return key;
    }
    const QString text = QString::fromUtf8(utf8, length);
    if (const std::optional<double> number = regional.ParseNumber(text)) {
        key.kind = SummarySortKey::Number;
        key.number = *number;
        return key;
    }
    key.kind = SummarySortKey::Text;
    if (const std::optional<QDate> date = regional.ParseDate(text)) {
        key.text = '\1' + IsoDateText(*date).toStdString();
        return key;
    }
    key.text.reserve(size_t(length) + 1);
    key.text += '\2';
    bool ascii = true;
    for (int i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(utf8[i]) < 128;
    if (ascii) {
        for (int i = 0; i < length; ++i) {
            const char c = utf8[i];
            key.text += (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
        }
    } else {
        const std::u32string folded = FoldedCodePoints(text);
        key.text += QString::fromUcs4(folded.data(), qsizetype(folded.size())).toStdString();
    }
    return key;
}
