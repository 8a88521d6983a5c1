#include "privacy/PersonJson.h"

#include "platform/DatabaseConnection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <SQLiteCpp/Statement.h>

namespace {

QJsonValue TextOrNull(const SQLite::Column& column)
{
    if (column.isNull())
        return QJsonValue::Null;
    return QString::fromUtf8(static_cast<const char*>(column.getBlob()), column.getBytes());
}

} // namespace

QByteArray PersonJson(DatabaseConnection& connection, const PersonQuery& query,
                      const std::vector<PersonRecord>& records)
{
    SQLite::Statement& header = connection.Cached(
        "SELECT \"Form_Name\", \"Form_Notes\", substr(\"Form_Date\", 1, 10), \"File_Name\" FROM "
        "\"Forms\" WHERE \"FormID\" = ?");
    SQLite::Statement& fields = connection.Cached(
        "SELECT \"Field_Name\", \"Field_Value\" FROM \"Data\" WHERE \"FormID\" = ? ORDER BY "
        "\"DataID\"");
    QJsonArray list;
    for (const PersonRecord& record : records) {
        header.reset();
        header.bind(1, static_cast<int64_t>(record.formId));
        if (!header.executeStep())
            continue;
        QJsonObject object;
        object.insert(QStringLiteral("FormID"), record.formId);
        object.insert(QStringLiteral("Form_Name"), TextOrNull(header.getColumn(0)));
        object.insert(QStringLiteral("Form_Notes"), TextOrNull(header.getColumn(1)));
        object.insert(QStringLiteral("Form_Date"), TextOrNull(header.getColumn(2)));
        object.insert(QStringLiteral("File_Name"), TextOrNull(header.getColumn(3)));
        object.insert(QStringLiteral("found_in"), QJsonArray::fromStringList(record.where));
        QJsonArray values;
        fields.reset();
        fields.bind(1, static_cast<int64_t>(record.formId));
        while (fields.executeStep())
            values.append(
                QJsonObject{{QStringLiteral("Field_Name"), TextOrNull(fields.getColumn(0))},
                            {QStringLiteral("Field_Value"), TextOrNull(fields.getColumn(1))}});
        object.insert(QStringLiteral("fields"), values);
        list.append(object);
    }
    const QJsonObject document{{QStringLiteral("query"), query.text.trimmed()},
                               {QStringLiteral("text"), !query.address},
                               {QStringLiteral("records"), list}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}
