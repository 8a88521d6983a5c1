#include "search/StatisticsController.h"

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

ChartData StatisticsController::Submissions() const
{
    return SubmissionsChart(m_result.submissions, m_session.RegionalSettings);
}

QString StatisticsController::Text() const
{
    return StatisticsTable(m_result.fields);
}

bool StatisticsController::NarrowTo(const QString& field, const QString& value)
{
    const QList<QuickFindEntry>& entries = m_session.Search.QuickFindEntries;
    int entry = -1;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].itemNumber < 0 && entries[i].text == field) {
            entry = i;
            break;
        }
    }
    if (entry < 0) {
        m_session.ui.MessageBox(QStringLiteral("Field not found"), MessageIcon::Exclamation);
        return false;
    }
    // The value's own wildcard characters are taken literally.
    QString pattern;
    for (const QChar c : value) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') ||
            c == QLatin1Char('['))
            pattern += QLatin1Char('[') + c + QLatin1Char(']');
        else
            pattern += c;
    }
    return QuickFindSearch(m_session, entry, pattern);
}
