#include "viewer/RecordViewerController.h"

#include "app/Session.h"
#include "search/SummaryNavigation.h"

bool RecordViewerController::IsBuilt(int code)
{
    return code >= First && code <= Last;
}

void RecordViewerController::Command1_Click(int code)
{
    if (code >= First && code <= Last)
        ::Command1_Click(m_session, code);
}

void RecordViewerController::Done()
{
    OpenResume(m_session);
    if (m_shell)
        m_shell->BringToFront(ChildKind::Summary);
}

bool RecordViewerController::Editing() const
{
    return (m_session.Database.RecordState &
            (DatabaseState::NewRecord | DatabaseState::EditRecord)) != 0;
}
