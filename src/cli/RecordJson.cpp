#include "cli/RecordJson.h"

#include "database/RawRecord.h"
#include "platform/Regional.h"
#include "responses/RecordTables.h"

#include <QJsonArray>
#include <QJsonDocument>
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

} // namespace

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

QString RecordJson(const RecordTables& t, const Regional& regional, bool withFields)
{
    IsoDates dates(regional);
    return RecordJson(t, dates, withFields);
}

QString RecordJson(const RecordTables& t, IsoDates& dates, bool withFields)
{
    using R = RecordTables;
    // Written piece by piece into one text: a listing writes a million.
    QString json;
    json.reserve(160);
    json += u"{\"FormID\": ";
    AppendNumberOrNull(json, t.Header(R::FormIdColumn));
    json += u", \"Form_Name\": ";
    AppendJsonString(json, t.Header(R::NameColumn));
    json += u", \"Form_Notes\": ";
    AppendJsonString(json, t.Header(R::NotesColumn));
    json += u", \"Form_Date\": ";
    const QString date = dates.Of(t.Header(R::DateColumn));
    if (date.isEmpty())
        json += u"null";
    else
        AppendJsonString(json, date);
    json += u", \"File_Name\": ";
    AppendJsonString(json, t.Header(R::SourceColumn));
    if (withFields) {
        json += u", \"fields\": [";
        for (int row = 0; row < t.FieldCount(); ++row) {
            if (row > 0)
                json += u", ";
            json += u"{\"DataID\": ";
            AppendNumberOrNull(json, t.Field(row, R::DataIdColumn));
            json += u", \"Field_Name\": ";
            AppendJsonString(json, t.Field(row, R::FieldNameColumn));
            json += u", \"Field_Value\": ";
            AppendJsonString(json, t.Field(row, R::FieldValueColumn));
            json += QLatin1Char('}');
        }
        json += QLatin1Char(']');
    }
    json += QLatin1Char('}');
    return json;
}

QString RecordText(const RecordTables& t, const Regional& regional, bool withFields)
{
    using R = RecordTables;
    QString text;
    const QString id = t.Header(R::FormIdColumn);
    text += QStringLiteral("Record ID:   ") + (id.isEmpty() ? QStringLiteral("(new)") : id) +
            QLatin1Char('\n');
    text += QStringLiteral("Record Name: ") +
            Indented(t.Header(R::NameColumn), QStringLiteral("             ")) + QLatin1Char('\n');
    text += QStringLiteral("Date:        ") + IsoDate(t.Header(R::DateColumn), regional) +
            QLatin1Char('\n');
    text += QStringLiteral("Source:      ") + t.Header(R::SourceColumn) + QLatin1Char('\n');
    if (!t.Header(R::NotesColumn).isEmpty())
        text += QStringLiteral("Notes:       ") +
                Indented(t.Header(R::NotesColumn), QStringLiteral("             ")) +
                QLatin1Char('\n');
    if (withFields) {
        text += QStringLiteral("Fields:\n");
        for (int row = 0; row < t.FieldCount(); ++row) {
            const QString name = t.Field(row, R::FieldNameColumn);
            text += QStringLiteral("  ") + name + QStringLiteral(" = ") +
                    Indented(t.Field(row, R::FieldValueColumn),
                             QString(name.size() + 5, QLatin1Char(' '))) +
                    QLatin1Char('\n');
        }
    }
    return text;
}
