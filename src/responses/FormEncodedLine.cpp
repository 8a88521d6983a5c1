#include "responses/FormEncodedLine.h"

#include <array>

namespace {

constexpr std::array<bool, 256> FormEncodedBytes()
{
    std::array<bool, 256> allowed{};
    for (int c = 0; c < 256; ++c)
        allowed[c] =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c >= 0x80;
    for (const char c : {'%', '+', '&', '=', '*', '-', '.', '_', '!', '\'', '(', ')', '~'})
        allowed[static_cast<unsigned char>(c)] = true;
    return allowed;
}

constexpr std::array<bool, 256> kAllowed = FormEncodedBytes();

// Quoted-printable left undone (its message's header was broken) writes
// every "=" as "=3D"; a browser writes an "=" in a value as "%3D".
bool UndoneQuotedPrintable(QByteArrayView line)
{
    for (qsizetype at = line.indexOf('='); at >= 0; at = line.indexOf('=', at + 1))
        if (!line.sliced(at + 1).startsWith("3D"))
            return false;
    return true;
}

} // namespace

bool CouldBeFormEncoded(QByteArrayView trimmedLine)
{
    for (const char c : trimmedLine)
        if (!kAllowed[static_cast<unsigned char>(c)])
            return false;
    return true;
}

bool StartsFormEncodedBody(QByteArrayView trimmedLine)
{
    if (!CouldBeFormEncoded(trimmedLine) || UndoneQuotedPrintable(trimmedLine))
        return false;
    qsizetype pairStart = 0;
    for (qsizetype i = 0; i < trimmedLine.size(); ++i) {
        if (trimmedLine[i] == '&') {
            pairStart = i + 1;
        } else if (trimmedLine[i] == '=') {
            if (i > pairStart)
                return true;
            // The rest of this pair is its value.
            const qsizetype amp = trimmedLine.indexOf('&', i);
            if (amp < 0)
                return false;
            i = amp;
            pairStart = amp + 1;
        }
    }
    return false;
}
