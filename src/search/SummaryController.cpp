#include "search/SummaryController.h"

#include "database/SummaryNavigation.h"
#include "session/ActivationStatus.h"
#include "session/Session.h"

void SummaryController::Reloaded()
{
    if (ViewerMustFollow())
        OpenResume(m_session);
}

bool SummaryController::ViewerMustFollow() const
{
    const DatabaseState& d = m_session.Database;
    const auto current = d.SummaryRecords.Bookmark();
    return !d.OpeningDatabase && d.CurrentDatabase && !(d.RecordState & DatabaseState::NoRecords) &&
           current && m_session.Tables.Header(0) != QString::number(*current);
}

void SummaryController::RowDoubleClicked()
{
    if (m_viewRecord)
        m_viewRecord();
}

void SummaryController::Activated()
{
    ShowActivationStatus(m_session.ui, ChildKind::Summary);
}
