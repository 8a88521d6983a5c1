#include "platform/TextCodec.h"

#include <cstring>

namespace {

// Code points of bytes 0x80..0x9F in Windows-1252; the five unassigned bytes
// keep their C1 control code, as Windows itself maps them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

bool IsValidUtf8(QByteArrayView bytes)
{
    return bytes.isValidUtf8();
}

QString TextFromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = b >= 0x80 && b <= 0x9F ? QChar(kWindows1252High[b - 0x80])
                                        : QChar(static_cast<char16_t>(b));
    }
    return text;
}

QByteArray BytesFromWindows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        char b = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            b = static_cast<char>(u);
        } else {
            for (int i = 0; i < 32; ++i) {
                if (kWindows1252High[i] == u)
                    b = static_cast<char>(0x80 + i);
            }
        }
        *out++ = b;
    }
    return bytes;
}

bool IsAscii(QByteArrayView bytes)
{
    const char* c = bytes.data();
    const char* const end = c + bytes.size();
    // Eight bytes at a time, then the rest.
    for (; end - c >= 8; c += 8) {
        quint64 word;
        std::memcpy(&word, c, sizeof word);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; c != end; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80)
            return false;
    }
    return true;
}

QString TextFromBytes(QByteArrayView bytes)
{
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return TextFromWindows1252(bytes);
}
