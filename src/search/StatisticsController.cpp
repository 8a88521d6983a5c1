#include "search/StatisticsController.h"

#include "platform/Regional.h"
#include "search/SearchFunctions.h"
#include "search/SummarySearch.h"
#include "session/Session.h"
#include "stats/StatisticsText.h"

QStringList StatisticsController::FieldNames() const
{
    return m_session.Database.CurrentFieldNames.Names();
}

bool StatisticsController::Refresh()
{
    m_result =
        SummaryStatistics(m_session, m_field.isEmpty() ? QStringList() : QStringList{m_field});
    return m_result.ok;
}

ChartData StatisticsController::Values(int field) const
{
    return ValuesChart(m_result.fields[static_cast<size_t>(field)]);
}

ChartData StatisticsController::Numbers(int field) const
{
    return NumbersChart(m_result.fields[static_cast<size_t>(field)], m_session.RegionalSettings);
}

ChartData StatisticsController::Dates(int field) const
{
    return DatesChart(m_result.fields[static_cast<size_t>(field)], m_session.RegionalSettings);
}

ChartData StatisticsController::Submissions() const
{
    return SubmissionsChart(m_result.submissions, m_session.RegionalSettings);
}

QString StatisticsController::Text() const
{
    return StatisticsTable(m_result.fields);
}

bool StatisticsController::NarrowTo(const ChartData& chart, const ChartBar& bar)
{
    SearchCondition condition;
    if (bar.from.isValid()) {
        // Record dates are stored as ISO text, which orders as the dates do.
        condition.where = QStringLiteral("Forms.\"Form_Date\" >= ?1 AND Forms.\"Form_Date\" < ?2");
        condition.values = {IsoDateText(bar.from), IsoDateText(bar.to)};
        condition.shownStatement = QStringLiteral("Submitted: ") + bar.label;
    } else if (!bar.values.isEmpty() && !chart.field.isEmpty()) {
        // One bound value each, well within the engine's limit.
        constexpr qsizetype kMostValues = 30000;
        if (bar.values.size() > kMostValues) {
            m_session.ui.MessageBox(
                QStringLiteral("This bar stands for %1 different answers, too many to find at "
                               "once: narrow the records first")
                    .arg(bar.values.size()),
                MessageIcon::Exclamation);
            return false;
        }
        QString list;
        condition.values.append(chart.field);
        for (const QString& value : bar.values) {
            condition.values.append(value);
            list += (list.isEmpty() ? QStringLiteral("?") : QStringLiteral(", ?")) +
                    QString::number(condition.values.size());
        }
        // Trimmed of the blanks the counting trims, compared exactly as counted.
        condition.where = QStringLiteral("Forms.FormID IN (SELECT FormID FROM Data WHERE "
                                         "Field_Name = ?1 COLLATE %1 AND trim(Field_Value, ' ' "
                                         "|| char(9, 10, 13)) IN (%2))")
                              .arg(QLatin1String(kFoldCollation), list);
        condition.shownStatement = bar.values.size() == 1
                                       ? QStringLiteral("%1 = \"%2\"").arg(chart.field, bar.label)
                                       : QStringLiteral("%1: %2").arg(chart.field, bar.label);
    } else {
        return false;
    }
    return ShowRecordsWhere(m_session, condition);
}
