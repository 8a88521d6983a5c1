#include "responses/JsonLayout.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

// The keys of every object of a valid JSON text in the order it writes
// them, one list per object in the order the objects open (QJsonObject
// keeps its keys sorted).
QList<QStringList> KeyOrder(const QByteArray& json)
{
    QList<QStringList> objects;
    QList<qsizetype> open; // the list of each enclosing object, -1 for an array
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '{') {
            open.append(objects.size());
            objects.append(QStringList());
        } else if (c == '[') {
            open.append(-1);
        } else if (c == '}' || c == ']') {
            open.removeLast();
        } else if (c == '"') {
            const qsizetype start = i;
            for (++i; json[i] != '"'; ++i)
                if (json[i] == '\\')
                    ++i;
            qsizetype next = i + 1;
            while (next < json.size() && QChar::isSpace(json[next]))
                ++next;
            // A string followed by ":" is a key of the innermost object.
            if (next < json.size() && json[next] == ':' && !open.isEmpty() && open.last() >= 0) {
                const QJsonDocument key =
                    QJsonDocument::fromJson("[" + json.mid(start, i + 1 - start) + "]");
                QStringList& keys = objects[open.last()];
                const QString name = key.array().at(0).toString();
                if (!keys.contains(name))
                    keys.append(name);
            }
        }
    }
    return objects;
}

int ObjectsWithin(const QJsonValue& value)
{
    int count = 0;
    if (value.isObject()) {
        count = 1;
        for (const QJsonValue& inner : value.toObject())
            count += ObjectsWithin(inner);
    } else if (value.isArray()) {
        for (const QJsonValue& inner : value.toArray())
            count += ObjectsWithin(inner);
    }
    return count;
}

QString Text(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double: {
        const double number = value.toDouble();
        const qint64 whole = value.toInteger();
        return double(whole) == number ? QString::number(whole) : QString::number(number, 'g', 15);
    }
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    default:
        return QString();
    }
}

class Flattener {
public:
    explicit Flattener(QList<QStringList> order) : m_order(std::move(order)) {}

    void Object(const QJsonObject& object, const QString& prefix, FormFields& fields)
    {
        const QStringList keys = m_order.value(m_next++);
        for (const QString& key : keys) {
            const QJsonValue value = object.value(key);
            const QString name = prefix + key;
            if (value.isObject()) {
                Object(value.toObject(), name + QLatin1Char('.'), fields);
                continue;
            }
            QString text;
            if (value.isArray()) {
                QStringList items;
                for (const QJsonValue& item : value.toArray()) {
                    items.append(Text(item));
                    m_next += ObjectsWithin(item);
                }
                text = items.join(QStringLiteral(", "));
            } else {
                text = Text(value);
            }
            fields.append({name, text});
        }
    }

private:
    QList<QStringList> m_order;
    qsizetype m_next = 0;
};

} // namespace

bool LooksLikeJson(const QByteArray& body)
{
    for (const char c : body) {
        if (c == '{')
            return true;
        if (!QChar::isSpace(c))
            return false;
    }
    return false;
}

bool ReadJsonFields(const QByteArray& body, FormFields* fields, QString* error)
{
    QJsonParseError failure;
    const QJsonDocument document = QJsonDocument::fromJson(body, &failure);
    if (failure.error != QJsonParseError::NoError) {
        *error = failure.errorString() + QStringLiteral(" at character ") +
                 QString::number(failure.offset);
        return false;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("not a JSON object");
        return false;
    }
    Flattener(KeyOrder(body)).Object(document.object(), QString(), *fields);
    return true;
}
