#include "cli/RecordJson.h"

#include "database/RawRecord.h"
#include "platform/Regional.h"
#include "session/RecordTables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>
#include <algorithm>

namespace {

void AppendNumberOrNull(QString& out, const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (ok)
        out += QString::number(value);
    else
        out += u"null";
}

// Most texts need no escape at all; the others are written by Qt's own
// JSON writer so that every escape stays as it has always been.
void AppendJsonString(QString& out, const QString& text)
{
    bool plain = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == u'"' || u == u'\\' || c.isSurrogate()) {
            plain = false;
            break;
        }
    }
    if (plain) {
        out += QLatin1Char('"');
        out += text;
        out += QLatin1Char('"');
        return;
    }
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    out += QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString Indented(const QString& value, const QString& indent)
{
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QLatin1Char('\n') + indent);
    return text;
}

} // namespace

QString JsonString(const QString& text)
{
    QString out;
    AppendJsonString(out, text);
    return out;
}

QString IsoDate(const QString& text, const Regional& regional)
{
    const auto date = regional.ParseDate(text);
    return date ? IsoDateText(*date) : QString();
}

QString IsoDates::Of(const QString& text)
{
    return m_known.Of(text, [&] { return IsoDate(text, m_regional); });
}

const std::string& IsoDates::Of(QByteArrayView bytes)
{
    // Bounded like the memo of texts, whose hash of texts cannot take bytes
    // without making a text of them for every record.
    constexpr size_t kLimit = 4096;
    m_key.assign(bytes.data(), static_cast<size_t>(bytes.size()));
    auto known = m_knownBytes.find(m_key);
    if (known == m_knownBytes.end()) {
        if (m_knownBytes.size() >= kLimit)
            m_knownBytes.clear();
        known = m_knownBytes.emplace(m_key, Of(RawRecord::TextOf(bytes)).toStdString()).first;
    }
    return known->second;
}

namespace {

// AppendNumberOrNull on UTF-8: a stored record number is written as it
// is; anything else as the text gives it.
void AppendNumberOrNull(std::string& out, QByteArrayView text)
{
    const qsizetype digits = text.startsWith('-') ? 1 : 0;
    bool plain = text.size() > digits && text.size() - digits <= 18 &&
                 (text[digits] != '0' || text.size() == digits + 1) && text != "-0";
    for (qsizetype i = digits; plain && i < text.size(); ++i)
        plain = text[i] >= '0' && text[i] <= '9';
    if (plain) {
        out.append(text.data(), static_cast<size_t>(text.size()));
        return;
    }
    QString number;
    AppendNumberOrNull(number, RawRecord::TextOf(text));
    out += number.toStdString();
}

} // namespace

// AppendJsonString on UTF-8: a text that needs no escape is written as it
// is, any other through the text (characters beyond the 16-bit range too,
// which the text holds as surrogate pairs).
void AppendJsonString(std::string& out, QByteArrayView text)
{
    const bool plain = std::none_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u >= 0xF0 || c == '"' || c == '\\';
    });
    if (!plain) {
        out += JsonString(RawRecord::TextOf(text)).toStdString();
        return;
    }
    out.push_back('"');
    out.append(text.data(), static_cast<size_t>(text.size()));
    out.push_back('"');
}

void AppendRecordJson(std::string& out, const RawRecord& record, IsoDates& dates)
{
    using R = RecordTables;
    out += "{\"FormID\": ";
    AppendNumberOrNull(out, record.Header(R::FormIdColumn));
    out += ", \"Form_Name\": ";
    AppendJsonString(out, record.Header(R::NameColumn));
    out += ", \"Form_Notes\": ";
    AppendJsonString(out, record.Header(R::NotesColumn));
    out += ", \"Form_Date\": ";
    const std::string& date = dates.Of(record.Header(R::DateColumn));
    if (date.empty())
        out += "null";
    else
        AppendJsonString(out, date);
    out += ", \"File_Name\": ";
    AppendJsonString(out, record.Header(R::SourceColumn));
    out.push_back('}');
}

namespace {

// A value is handed to the stream a piece at a time: the stream copies what
// it is given before it encodes it, so a value given whole would be held
// twice more. Pieces never part a CR from its LF or the halves of a
// surrogate pair.
template <typename Write> void InPieces(QStringView text, Write write)
{
    constexpr qsizetype kPiece = qsizetype(1) << 16;
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = std::min(text.size(), at + kPiece);
        if (end < text.size() && (text[end - 1] == u'\r' || text[end - 1].isHighSurrogate()))
            ++end;
        write(text.sliced(at, end - at));
        at = end;
    }
}

void WriteJsonString(QTextStream& out, const QString& text)
{
    if (text.size() <= (qsizetype(1) << 16)) {
        QString literal;
        AppendJsonString(literal, text);
        out << literal;
        return;
    }
    out << '"';
    InPieces(text, [&](QStringView piece) {
        QString literal;
        AppendJsonString(literal, piece.toString());
        out << QStringView(literal).sliced(1, literal.size() - 2);
    });
    out << '"';
}

void WriteIndented(QTextStream& out, const QString& text, const QString& indent)
{
    InPieces(text, [&](QStringView piece) { out << Indented(piece.toString(), indent); });
}

} // namespace

void WriteRecordJson(QTextStream& out, const RecordTables& t, const Regional& regional,
                     bool withFields)
{
    using R = RecordTables;
    IsoDates dates(regional);
    QString head;
    head += u"{\"FormID\": ";
    AppendNumberOrNull(head, t.Header(R::FormIdColumn));
    out << head << ", \"Form_Name\": ";
    WriteJsonString(out, t.Header(R::NameColumn));
    out << ", \"Form_Notes\": ";
    WriteJsonString(out, t.Header(R::NotesColumn));
    out << ", \"Form_Date\": ";
    const QString date = dates.Of(t.Header(R::DateColumn));
    if (date.isEmpty())
        out << "null";
    else
        WriteJsonString(out, date);
    out << ", \"File_Name\": ";
    WriteJsonString(out, t.Header(R::SourceColumn));
    if (withFields) {
        out << ", \"fields\": [";
        for (int row = 0; row < t.FieldCount(); ++row) {
            QString id;
            AppendNumberOrNull(id, t.Field(row, R::DataIdColumn));
            out << (row > 0 ? ", " : "") << "{\"DataID\": " << id << ", \"Field_Name\": ";
            WriteJsonString(out, t.Field(row, R::FieldNameColumn));
            out << ", \"Field_Value\": ";
            WriteJsonString(out, t.Field(row, R::FieldValueColumn));
            out << '}';
        }
        out << ']';
    }
    out << '}';
}

void WriteRecordText(QTextStream& out, const RecordTables& t, const Regional& regional,
                     bool withFields)
{
    using R = RecordTables;
    const QString id = t.Header(R::FormIdColumn);
    const QString indent(13, QLatin1Char(' '));
    out << "Record ID:   " << (id.isEmpty() ? QStringLiteral("(new)") : id) << '\n';
    out << "Record Name: ";
    WriteIndented(out, t.Header(R::NameColumn), indent);
    out << '\n' << "Date:        " << IsoDate(t.Header(R::DateColumn), regional) << '\n';
    out << "Source:      " << t.Header(R::SourceColumn) << '\n';
    if (!t.Header(R::NotesColumn).isEmpty()) {
        out << "Notes:       ";
        WriteIndented(out, t.Header(R::NotesColumn), indent);
        out << '\n';
    }
    if (withFields) {
        out << "Fields:\n";
        for (int row = 0; row < t.FieldCount(); ++row) {
            const QString name = t.Field(row, R::FieldNameColumn);
            out << "  " << name << " = ";
            WriteIndented(out, t.Field(row, R::FieldValueColumn),
                          QString(name.size() + 5, QLatin1Char(' ')));
            out << '\n';
        }
    }
}
