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

    // The charts of one field: its values, and its histogram when numeric
    // or its answers over time when they are dates.
    ChartData Values(int field) const;
    ChartData Numbers(int field) const;
    ChartData Dates(int field) const;
    ChartData Submissions() const;
    // The figures as text, for the clipboard.
    QString Text() const;

    // The summary narrowed to the records a bar counts: those holding one
    // of its answers (trimmed, as counted), or submitted on its days. False
    // after a message, or for a bar that does not narrow.
    bool NarrowTo(const ChartData& chart, const ChartBar& bar);

private:
    Session& m_session;
    QString m_field;
    SummaryStatisticsResult m_result;
};
