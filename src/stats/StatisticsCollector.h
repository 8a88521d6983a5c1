#pragma once

#include "stats/FieldStatistics.h"

#include <QByteArray>
#include <string>
#include <unordered_map>
#include <vector>

class Regional;

// Gathers the answers to some fields, or to every field, entry by entry;
// memory grows with the distinct values alone.
class StatisticsCollector {
public:
    // fields: the names wanted (letter case ignored), in their order;
    // empty: every field met, in the order first met.
    explicit StatisticsCollector(const QStringList& fields);

    // One record looked at, with its record date as stored.
    void Record(QByteArrayView storedDate);
    // One entry of a record; a record's entries of one field come one
    // after another.
    void Entry(qint64 formId, QByteArrayView name, QByteArrayView value);
    qint64 Records() const { return m_records; }

    // Each field's statistics; numbers and dates read by regional's rules,
    // and a field counts as numeric (else as dates) when nine answers in ten
    // or more read as numbers (as dates).
    std::vector<FieldStatistics> Finish(const Regional& regional) const;
    // How many records were submitted on each day, by their record dates.
    std::vector<std::pair<QDate, qint64>> RecordDays() const;

private:
    struct Field {
        QString name;
        qint64 answered = 0;
        qint64 empty = 0;
        std::unordered_map<std::string, qint64> counts;
        // The record last holding it, and how it held it then.
        qint64 lastRecord = -1;
        bool lastAnswered = false;
        std::vector<std::string> lastValues;
    };
    int FieldIndex(QByteArrayView name);

    QStringList m_wanted;
    bool m_every;
    std::vector<Field> m_fields;
    std::unordered_map<std::string, int> m_indexByName; // -1: not wanted
    std::unordered_map<std::string, qint64> m_dates;
    qint64 m_records = 0;
    std::string m_value;
};
