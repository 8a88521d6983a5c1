// GLib's headers use names that Qt defines as macros: GMime comes first.
#include <gmime/gmime.h>

#include "responses/FormCharset.h"

#include "platform/TextCodec.h"
#include "responses/GMimeInit.h"
#include "session/RecordTables.h"

#include <QStringDecoder>
#include <array>
#include <optional>

namespace {

constexpr int F = RecordTables::kFieldTable;
constexpr int H = RecordTables::kHeaderTable;

// Charsets browsers name but encode wider, as the web's encoding rules
// have them: the superset is tried first.
struct Superset {
    const char* name;
    const char* wider;
};
constexpr std::array<Superset, 7> kSupersets = {{
    {"shift_jis", "windows-31j"},
    {"euc-kr", "windows-949"},
    {"gb2312", "gb18030"},
    {"gbk", "gb18030"},
    {"iso-8859-9", "windows-1254"},
    {"iso-8859-11", "windows-874"},
    {"tis-620", "windows-874"},
}};

// Labels whose text the program's rule reads already: Latin-1 and ASCII
// are Windows-1252 to browsers, and a page in UTF-16 posts UTF-8.
constexpr std::array<const char*, 10> kProgramRule = {
    "utf-8",      "utf8",     "utf-16", "utf-16le", "utf-16be",
    "iso-8859-1", "us-ascii", "latin1", "ascii",    "windows-1252",
};

bool Is(const QByteArray& label, const char* name)
{
    return label.compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

// Turns bytes into text in one charset, through Qt where it knows the
// charset and through iconv (by GMime's names) for the rest. Text that is
// not valid in the charset gives nothing.
class FormCharset::Decoder {
public:
    static std::unique_ptr<Decoder> For(const QByteArray& label)
    {
        std::vector<QByteArray> names;
        for (const Superset& s : kSupersets) {
            if (Is(label, s.name))
                names.emplace_back(s.wider);
        }
        names.push_back(label);
        for (const QByteArray& name : names) {
            QStringDecoder qt(name.constData(), QStringConverter::Flag::Stateless);
            if (qt.isValid())
                return std::unique_ptr<Decoder>(new Decoder(std::move(qt), nullptr));
        }
        InitGMime();
        for (const QByteArray& name : names) {
            iconv_t cd = g_mime_iconv_open("UTF-8", name.constData());
            if (cd != reinterpret_cast<iconv_t>(-1))
                return std::unique_ptr<Decoder>(new Decoder(QStringDecoder(), cd));
        }
        return nullptr;
    }

    ~Decoder()
    {
        if (m_iconv)
            g_mime_iconv_close(m_iconv);
    }

    std::optional<QString> Text(QByteArrayView bytes)
    {
        if (!m_iconv) {
            // Nothing carries over from the last text, an error included.
            m_qt.resetState();
            QString text = m_qt.decode(bytes);
            if (m_qt.hasError())
                return std::nullopt;
            return text;
        }
        g_mime_iconv(m_iconv, nullptr, nullptr, nullptr, nullptr);
        // UTF-8 takes at most four bytes for a byte of any charset iconv
        // reads, plus room for the shift back at the end.
        QByteArray out(bytes.size() * 4 + 16, Qt::Uninitialized);
        char* in = const_cast<char*>(bytes.data());
        size_t inLeft = static_cast<size_t>(bytes.size());
        char* put = out.data();
        size_t outLeft = static_cast<size_t>(out.size());
        if (g_mime_iconv(m_iconv, &in, &inLeft, &put, &outLeft) == static_cast<size_t>(-1) ||
            g_mime_iconv(m_iconv, nullptr, nullptr, &put, &outLeft) == static_cast<size_t>(-1))
            return std::nullopt;
        out.truncate(put - out.data());
        return QString::fromUtf8(out);
    }

private:
    Decoder(QStringDecoder qt, iconv_t cd) : m_qt(std::move(qt)), m_iconv(cd) {}

    QStringDecoder m_qt;
    iconv_t m_iconv = nullptr;
};

FormCharset::FormCharset()
{
    // Room for a usual form's fields at once, not grown a field at a time.
    m_earlier.reserve(32);
}
FormCharset::~FormCharset() = default;

QString FormCharset::Text(QByteArrayView bytes, Way& way)
{
    way = Way::Ascii;
    // Even ASCII goes through the charset: the 7-bit ones (ISO-2022-JP,
    // UTF-7) shift in and out of other letters with escapes.
    if (m_decoder) {
        if (std::optional<QString> text = m_decoder->Text(bytes))
            return *text;
    }
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    if (IsValidUtf8(bytes)) {
        way = Way::Utf8;
        return QString::fromUtf8(bytes);
    }
    way = Way::Windows1252;
    return TextFromWindows1252(bytes);
}

void FormCharset::Stored(RecordTables& tables, const QString& name, const QString& value)
{
    if (m_named)
        return;
    if (name.compare(QLatin1String("_charset_"), Qt::CaseInsensitive) != 0) {
        m_earlier.push_back({tables.CurrentRow[F], m_nameWay, m_valueWay});
        return;
    }
    // Only the first such field counts.
    m_named = true;
    const QByteArray label = value.trimmed().toLatin1();
    bool programRule = false;
    for (const char* known : kProgramRule)
        programRule = programRule || Is(label, known);
    if (!programRule)
        m_decoder = Decoder::For(label);
    if (m_decoder)
        ReadAgain(tables);
    m_earlier.clear();
    m_earlier.shrink_to_fit();
}

void FormCharset::ReadAgain(RecordTables& tables)
{
    const auto bytes = [](const QString& text, Way way) {
        if (way == Way::Ascii)
            return text.toLatin1();
        return way == Way::Utf8 ? text.toUtf8() : BytesFromWindows1252(text);
    };
    const qint16 current = tables.CurrentRow[F];
    for (const Earlier& pair : m_earlier) {
        tables.CurrentRow[F] = static_cast<qint16>(pair.row);
        const struct {
            int column;
            Way way;
        } cells[] = {{RecordTables::FieldNameColumn, pair.name},
                     {RecordTables::FieldValueColumn, pair.value}};
        for (const auto& cell : cells) {
            const std::optional<QString> text =
                m_decoder->Text(bytes(tables.Field(pair.row, cell.column), cell.way));
            if (!text)
                continue;
            tables.PutArrayElement(F, cell.column, *text);
            if (pair.row == 0 && cell.column == RecordTables::FieldValueColumn)
                tables.PutArrayElement(H, RecordTables::NameColumn, *text);
        }
    }
    tables.CurrentRow[F] = current;
}
