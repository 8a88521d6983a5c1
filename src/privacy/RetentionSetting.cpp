#include "privacy/RetentionSetting.h"

#include "platform/DatabaseConnection.h"
#include "privacy/RecordsGone.h"
#include "privacy/RetentionRun.h"
#include "session/Session.h"

bool RetentionSetting::Load()
{
    DatabaseConnection* connection = m_session.Database.CurrentDatabase.get();
    if (!connection)
        return false;
    try {
        m_saved = LoadRetentionRule(*connection);
    } catch (const std::exception& e) {
        m_session.ui.MessageBox(QStringLiteral("Error reading the retention rule: ") +
                                    EngineErrorText(connection, e),
                                MessageIcon::Exclamation);
        return false;
    }
    m_fieldNames = m_session.Database.CurrentFieldNames.Names();
    return true;
}

bool RetentionSetting::Save(RetentionRule rule)
{
    Ui& ui = m_session.ui;
    DatabaseConnection& connection = *m_session.Database.CurrentDatabase;
    if (rule.IsSet() || rule.days < 0) {
        if (const QString problem =
                RetentionRuleProblem(&rule, m_session.Database.CurrentFieldNames.List());
            !problem.isEmpty()) {
            ui.MessageBox(problem, MessageIcon::Exclamation);
            return false;
        }
    }
    try {
        SaveRetentionRule(connection, rule);
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error saving the retention rule: ") +
                          EngineErrorText(&connection, e),
                      MessageIcon::Exclamation);
        return false;
    }
    m_saved = rule;
    ui.SetStatusText(QStringLiteral("Retention: ") + DescribeRetentionRule(rule));
    return true;
}

int RetentionSetting::CheckAndApply()
{
    Ui& ui = m_session.ui;
    DatabaseState& d = m_session.Database;
    if (!d.CurrentDatabase || !m_saved.IsSet())
        return 0;
    DatabaseConnection& connection = *d.CurrentDatabase;
    if (connection.IsReadOnly())
        return 0;
    RetentionPlan plan;
    int changed = 0;
    try {
        plan = PlanRetention(connection, m_saved, m_session.Now.Now().date());
        if (plan.ids.empty())
            return 0;
        const int count = static_cast<int>(plan.ids.size());
        if (ui.MessageBox(RetentionQuestion(m_saved, count), MessageIcon::Question,
                          MessageButtons::YesNo) != MessageAnswer::Yes) {
            ui.SetStatusText(QStringLiteral("Retention run cancelled"));
            return 0;
        }
        BusyPointer busy(ui);
        changed = ApplyRetention(connection, m_session.Now, m_saved, plan);
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error applying the retention rule: ") +
                          EngineErrorText(&connection, e),
                      MessageIcon::Exclamation);
        return -1;
    }
    if (m_saved.action == RetentionRule::Action::Delete)
        ShowRecordsGone(m_session, plan.ids);
    else
        ShowRecordsChanged(m_session);
    ui.SetStatusText(RetentionOutcome(m_saved, changed));
    return changed;
}
