#pragma once

#include "session/OutputField.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class RecordTables;

// A stable stand-in for a value: "p-" and the first 12 hex digits of its
// HMAC-SHA-256 under key. The same value and key always give the same
// pseudonym; without the key it cannot be turned back. A blank value stays
// blank.
QString Pseudonym(const QByteArray& key, const QString& value);

// The fields an output replaces by their pseudonyms.
class FieldAnonymiser {
public:
    FieldAnonymiser() = default;
    // names are output field list entries by label or key (letter case
    // ignored): a record-level entry ("Record Name") or a field name. An
    // unknown name goes to *unknown and leaves the anonymiser empty.
    FieldAnonymiser(const QList<OutputField>& list, int headerFieldCount, const QStringList& names,
                    QByteArray key, QString* unknown);

    bool IsEmpty() const { return m_headerColumns.isEmpty() && m_fieldNames.isEmpty(); }
    // Replaces the chosen values of the record in memory.
    void Apply(RecordTables& tables) const;

private:
    QSet<int> m_headerColumns;
    QSet<QString> m_fieldNames; // case-folded
    QByteArray m_key;
};

// Leaves the named entries (by label or key, letter case ignored) out of
// the output field list; the first unknown name is returned, the list
// then unchanged.
QString OmitOutputFields(QList<OutputField>& list, const QStringList& names);
