#include "platform/ResponseText.h"

#include "platform/TextCodec.h"

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString TrimBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && IsBlank(text[start]))
        ++start;
    while (end > start && IsBlank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

QByteArray TrimBlanks(const QByteArray& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.mid(start, end - start);
}

namespace {

bool HasBlank(const QString& text)
{
    return text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char('\t'));
}

bool HasBlank(QByteArrayView text)
{
    return text.contains(' ') || text.contains('\t');
}

template <typename Text> bool IsPlain(const Text& trimmed)
{
    if (trimmed.isEmpty())
        return false;
    int equals = 0;
    int ampersands = 0;
    if (HasBlank(trimmed))
        return true;
    for (const auto c : trimmed) {
        if (c == '=')
            ++equals;
        else if (c == '&')
            ++ampersands;
        if (equals - ampersands > 1 || ampersands - equals > 1)
            return true;
    }
    return false;
}

} // namespace

bool IsPlainTextLine(const QString& line)
{
    return IsPlain(TrimBlanks(line));
}

bool IsPlainTextBytes(QByteArrayView trimmed)
{
    return IsPlain(trimmed);
}

qsizetype PercentDecodeInPlace(char* data, qsizetype n)
{
    qsizetype out = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c == '+') {
            data[out++] = ' ';
        } else if (c == '%') {
            if (i + 2 >= n)
                throw DecodeError(
                    "a \"%\" at the end of the text is not followed by two characters");
            // Read like a hexadecimal literal: digits up to the first
            // non-digit, none at all giving 0.
            int value = 0;
            const int first = HexDigit(data[i + 1]);
            if (first >= 0) {
                value = first;
                const int second = HexDigit(data[i + 2]);
                if (second >= 0)
                    value = value * 16 + second;
            }
            data[out++] = static_cast<char>(value);
            i += 2;
        } else {
            data[out++] = c;
        }
    }
    return out;
}

QByteArray PercentDecode(const QByteArray& encoded)
{
    QByteArray out = encoded;
    out.truncate(PercentDecodeInPlace(out.data(), out.size()));
    return out;
}

QString DecodeResponseBytes(const QByteArray& encoded)
{
    return TextFromBytes(PercentDecode(encoded));
}

QString DecodeResponseText(const QString& encoded)
{
    return DecodeResponseBytes(encoded.toUtf8());
}

QString RemoveCRLF(bool joinLines, const QString& input)
{
    if (input.size() < 2)
        return input;
    const QString crlf = QStringLiteral("\r\n");
    qsizetype start = 0;
    qsizetype end = input.size();
    for (;;) {
        if (end - start >= 2 && input[start] == QLatin1Char('\r') &&
            input[start + 1] == QLatin1Char('\n'))
            start += 2;
        else if (end - start >= 2 && input[end - 2] == QLatin1Char('\r') &&
                 input[end - 1] == QLatin1Char('\n'))
            end -= 2;
        else
            break;
    }
    QString text = input.mid(start, end - start);
    if (joinLines)
        text.replace(crlf, QStringLiteral(" "));
    return text;
}

void RemoveCRLF(bool joinLines, std::string& text)
{
    size_t start = 0;
    size_t end = text.size();
    for (;;) {
        if (end - start >= 2 && text[start] == '\r' && text[start + 1] == '\n')
            start += 2;
        else if (end - start >= 2 && text[end - 2] == '\r' && text[end - 1] == '\n')
            end -= 2;
        else
            break;
    }
    text.resize(end);
    text.erase(0, start);
    if (!joinLines)
        return;
    size_t out = 0;
    for (size_t in = 0; in < text.size(); ++in) {
        if (text[in] == '\r' && in + 1 < text.size() && text[in + 1] == '\n') {
            text[out++] = ' ';
            ++in;
        } else {
            text[out++] = text[in];
        }
    }
    text.resize(out);
}
