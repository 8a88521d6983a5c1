#include "output/FieldAnonymiser.h"

#include "session/RecordTables.h"

#include <QMessageAuthenticationCode>

namespace {

constexpr int kPseudonymDigits = 12;

bool Names(const OutputField& entry, const QString& name)
{
    const QString wanted = name.trimmed();
    return entry.Label.trimmed().compare(wanted, Qt::CaseInsensitive) == 0 ||
           entry.Key.trimmed().compare(wanted, Qt::CaseInsensitive) == 0;
}

// The record cell of a record-level entry ("1.1"), or -1.
int HeaderColumnOf(const OutputField& entry)
{
    const qsizetype dot = entry.Key.indexOf(QLatin1Char('.'));
    bool ok = false;
    const int column = dot < 0 ? -1 : entry.Key.mid(dot + 1).trimmed().toInt(&ok);
    return ok ? column : -1;
}

} // namespace

QString Pseudonym(const QByteArray& key, const QString& value)
{
    if (value.trimmed().isEmpty())
        return value;
    const QByteArray mac =
        QMessageAuthenticationCode::hash(value.toUtf8(), key, QCryptographicHash::Sha256);
    return QStringLiteral("p-") + QString::fromLatin1(mac.toHex().left(kPseudonymDigits));
}

FieldAnonymiser::FieldAnonymiser(const QList<OutputField>& list, int headerFieldCount,
                                 const QStringList& names, QByteArray key, QString* unknown)
    : m_key(std::move(key))
{
    for (const QString& name : names) {
        bool found = false;
        for (int i = 0; i < list.size(); ++i) {
            if (!Names(list[i], name))
                continue;
            found = true;
            if (i < headerFieldCount) {
                if (const int column = HeaderColumnOf(list[i]); column >= 0)
                    m_headerColumns.insert(column);
            } else {
                m_fieldNames.insert(list[i].Key.trimmed().toCaseFolded());
            }
        }
        if (!found) {
            *unknown = name.trimmed();
            m_headerColumns.clear();
            m_fieldNames.clear();
            return;
        }
    }
}

void FieldAnonymiser::Apply(RecordTables& tables) const
{
    const auto saved = tables.CurrentRow;
    for (const int column : m_headerColumns) {
        if (tables.IsColumnInRange(RecordTables::kHeaderTable, column))
            tables.PutArrayElement(RecordTables::kHeaderTable, column,
                                   Pseudonym(m_key, tables.Header(column)));
    }
    if (!m_fieldNames.isEmpty()) {
        for (int row = 0; row < tables.FieldCount(); ++row) {
            const QString name =
                tables.Field(row, RecordTables::FieldNameColumn).trimmed().toCaseFolded();
            if (!m_fieldNames.contains(name))
                continue;
            tables.CurrentRow[RecordTables::kFieldTable] = static_cast<qint16>(row);
            tables.PutArrayElement(
                RecordTables::kFieldTable, RecordTables::FieldValueColumn,
                Pseudonym(m_key, tables.Field(row, RecordTables::FieldValueColumn)));
        }
    }
    tables.CurrentRow = saved;
}

QString OmitOutputFields(QList<OutputField>& list, const QStringList& names)
{
    QList<OutputField> changed = list;
    for (const QString& name : names) {
        bool found = false;
        for (OutputField& entry : changed) {
            if (Names(entry, name)) {
                entry.PrintStat = false;
                found = true;
            }
        }
        if (!found)
            return name.trimmed();
    }
    list = changed;
    return {};
}
