#include "cli/RecordJson.h"

#include "platform/Regional.h"
#include "responses/RecordTables.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QString JsonNumberOrNull(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok ? QString::number(value) : QStringLiteral("null");
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
    // Most texts need no escape at all; the others are written by Qt's own
    // JSON writer so that every escape stays as it has always been.
    bool plain = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == u'"' || u == u'\\' || c.isSurrogate()) {
            plain = false;
            break;
        }
    }
    if (plain)
        return QLatin1Char('"') + text + QLatin1Char('"');
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString IsoDate(const QString& text, const Regional& regional)
{
    const auto date = regional.ParseDate(text);
    return date ? date->toString(Qt::ISODate) : QString();
}

QString IsoDates::Of(const QString& text)
{
    const auto found = m_known.constFind(text);
    if (found != m_known.constEnd())
        return *found;
    if (m_known.size() >= 4096)
        m_known.clear();
    return *m_known.insert(text, IsoDate(text, m_regional));
}

QString RecordJson(const RecordTables& t, const Regional& regional, bool withFields)
{
    IsoDates dates(regional);
    return RecordJson(t, dates, withFields);
}

QString RecordJson(const RecordTables& t, IsoDates& dates, bool withFields)
{
    using R = RecordTables;
    const QString date = dates.Of(t.Header(R::DateColumn));
    QString json = QStringLiteral("{\"FormID\": ") + JsonNumberOrNull(t.Header(R::FormIdColumn)) +
                   QStringLiteral(", \"Form_Name\": ") + JsonString(t.Header(R::NameColumn)) +
                   QStringLiteral(", \"Form_Notes\": ") + JsonString(t.Header(R::NotesColumn)) +
                   QStringLiteral(", \"Form_Date\": ") +
                   (date.isEmpty() ? QStringLiteral("null") : JsonString(date)) +
                   QStringLiteral(", \"File_Name\": ") + JsonString(t.Header(R::SourceColumn));
    if (withFields) {
        json += QStringLiteral(", \"fields\": [");
        for (int row = 0; row < t.FieldCount(); ++row) {
            if (row > 0)
                json += QStringLiteral(", ");
            json += QStringLiteral("{\"DataID\": ") +
                    JsonNumberOrNull(t.Field(row, R::DataIdColumn)) +
                    QStringLiteral(", \"Field_Name\": ") +
                    JsonString(t.Field(row, R::FieldNameColumn)) +
                    QStringLiteral(", \"Field_Value\": ") +
                    JsonString(t.Field(row, R::FieldValueColumn)) + QLatin1Char('}');
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
