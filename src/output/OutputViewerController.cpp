#include "output/OutputViewerController.h"

#include "session/ActivationStatus.h"
#include "session/Session.h"
#include "output/TextRenderer.h"
#include "database/SummaryNavigation.h"

// The caption begins with what the status bar says while the viewer is active.
const QString OutputViewerController::kTitle = *ActivationStatus(ChildKind::OutputViewer);

QString OutputViewerController::Caption(Button button)
{
    switch (button) {
    case Button::Close:
        return QStringLiteral("&Close [Esc]");
    case Button::NextPage:
        return QStringLiteral("&Next Page");
    case Button::PreviousPage:
        return QStringLiteral("&Prev Page");
    case Button::Print:
        return QStringLiteral("&Print");
    case Button::FirstPage:
        return QStringLiteral("&First Page");
    case Button::LastPage:
        return QStringLiteral("&Last Page");
    case Button::Edit:
        return QStringLiteral("&Edit");
    }
    return {};
}

void OutputViewerController::SetView(OutputViewerView* view)
{
    m_view = view;
    ShowButtonStates();
}

bool OutputViewerController::IsEnabled(Button button) const
{
    switch (button) {
    case Button::NextPage:
    case Button::PreviousPage:
    case Button::FirstPage:
    case Button::LastPage:
        // Without a page template every page is the same empty sheet.
        return !m_session.Output.TemplateLines.isEmpty();
    case Button::Close:
    case Button::Print:
    case Button::Edit:
        return true;
    }
    return false;
}

void OutputViewerController::ShowButtonStates()
{
    if (!m_view)
        return;
    for (int i = 0; i < kButtons; ++i)
        m_view->EnableButton(i, IsEnabled(static_cast<Button>(i)));
}

void OutputViewerController::Click(Button button)
{
    if (!IsEnabled(button)) {
        // The template went away since the buttons were last shown.
        ShowButtonStates();
        return;
    }
    switch (button) {
    case Button::Close:
        m_view->Close();
        return;
    case Button::NextPage:
        ++m_shownPage;
        break;
    case Button::PreviousPage:
        if (m_shownPage < 2) {
            m_view->ScrollToTop();
            return;
        }
        --m_shownPage;
        break;
    case Button::Print:
        m_view->OpenOutputOptions();
        return;
    case Button::FirstPage:
        m_shownPage = 1;
        break;
    case Button::LastPage:
        m_shownPage = 0;
        break;
    case Button::Edit:
        OpenResume(m_session);
        m_view->ShowRecordViewer();
        return;
    }
    Redraw();
}

void OutputViewerController::Command1_Click(Navigation move)
{
    ::Command1_Click(m_session, move);
    if (RenderRecordView(m_session)) {
        m_view->ShowText(m_session.Output.OutputText);
        m_session.ui.SetStatusText(kTitle);
    }
    // The page pane shows the record the text shows, from its first page.
    if (IsEnabled(Button::FirstPage)) {
        m_shownPage = 1;
        Redraw();
        return;
    }
    m_view->ScrollToTop();
}

bool OutputViewerController::Redraw()
{
    const bool ok = m_view->DrawPage(m_shownPage);
    if (!ok)
        m_session.ui.MessageBox(QStringLiteral("Error in Print template, or Program error"),
                                MessageIcon::Exclamation, MessageButtons::OkCancel);
    m_view->ShowCaption(kTitle + QStringLiteral(": Page ") + QString::number(m_shownPage));
    m_view->ScrollToTop();
    ShowButtonStates();
    return ok;
}

void OutputViewerController::Activated()
{
    ShowActivationStatus(m_session.ui, ChildKind::OutputViewer);
    ShowButtonStates();
}
