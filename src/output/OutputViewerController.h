#pragma once

#include "session/WindowHost.h"

#include <QString>
#include <QtGlobal>

class Session;

// What the output viewer window does for its controller.
class OutputViewerView {
public:
    virtual ~OutputViewerView() = default;
    // Draws page (0 the last) of the loaded page template; page comes back
    // as the page reached. False on a failure.
    virtual bool DrawPage(qint16& page) = 0;
    virtual void ShowText(const QString& text) = 0;
    virtual void ShowCaption(const QString& caption) = 0;
    // The page view goes back to its top.
    virtual void ScrollToTop() = 0;
    // button: an OutputViewerController::Button.
    virtual void EnableButton(int button, bool enabled) = 0;
    // The window closes (inside the frame, its child window).
    virtual void Close() = 0;
    virtual void OpenOutputOptions() = 0;
    virtual void ShowRecordViewer() = 0;
};

// The output viewer's logic: its buttons page through the loaded page
// template, and the main window's navigation moves through the summary
// showing each record's text. The window paints what it is told.
class OutputViewerController : public NavigationTarget {
public:
    // The buttons, in the order the window shows them.
    enum class Button { Close, NextPage, PreviousPage, Print, FirstPage, LastPage, Edit };
    static constexpr int kButtons = 7;
    static QString Caption(Button button);
    static const QString kTitle; // "Viewing Record"

    explicit OutputViewerController(Session& session) : m_session(session) {}
    // Binds the view and shows which buttons work.
    void SetView(OutputViewerView* view);

    void Click(Button button);
    // Navigation while the viewer is active.
    void Command1_Click(Navigation move) override;
    // Draws the shown page again; false on a failure, which has been shown.
    bool Redraw();
    // The user chose this window: the status line names it, and the buttons
    // follow the page template loaded meanwhile.
    void Activated();

    qint16 ShownPage() const { return m_shownPage; }
    bool IsEnabled(Button button) const;

private:
    void ShowButtonStates();

    Session& m_session;
    OutputViewerView* m_view = nullptr;
    // 0 asks the renderer for the last page; a drawing replaces it with the
    // page number reached.
    qint16 m_shownPage = 1;
};
