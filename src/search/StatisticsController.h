#pragma once

#include "stats/ChartData.h"
#include "stats/SummaryStatistics.h"

#include <QStringList>

class Session;

// Options > "Statistics...": the answers to one field, or to every field,
// among the summary's records, worked out again whenever the summary's
// records change; a value's bar narrows the summary to the records giving
// it, as a Quick Find for that value does.
class StatisticsController {
public:
    explicit StatisticsController(Session& session) : m_session(session) {}

    // The database's field names, in the field-names list's order.
    QStringList FieldNames() const;
    // The field to count, or an empty name for every field; Refresh after.
    void ChooseField(const QString& field) { m_field = field; }
    const QString& Field() const { return m_field; }

    // Works the statistics out; false after a message.
    bool Refresh();
    const SummaryStatisticsResult& Result() const { return m_result; }

    // The charts of one field: its values, and its histogram when numeric.
    ChartData Values(int field) const;
    ChartData Numbers(int field) const;
    ChartData Submissions() const;
    // The figures as text, for the clipboard.
    QString Text() const;

    // The summary narrowed to the records whose field holds value (letter
    // case ignored); false after a message.
    bool NarrowTo(const QString& field, const QString& value);

private:
    Session& m_session;
    QString m_field;
    SummaryStatisticsResult m_result;
};
