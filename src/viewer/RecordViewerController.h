#pragma once

#include "app/ShellView.h"

class Session;

// What the record viewer window shows for its controller.
class RecordViewerView {
public:
    virtual ~RecordViewerView() = default;
    // Fills the header boxes from the record in memory; false after an error.
    virtual bool UpdateResumeDisplay() = 0;
    // Locks (true) or unlocks the header boxes, the value box and the editor boxes.
    virtual void LockText(bool lock) = 0;
};

// The record viewer's logic: its record commands by number, its navigation
// entry and the "Done" button. The window binds its controls to it and
// keeps no logic of its own.
class RecordViewerController : public NavigationTarget {
public:
    // The record commands.
    enum Code {
        First = 0,
        Previous = 1,
        Next = 2,
        Last = 3,
        New = 4,
        Edit = 5,
        Delete = 6,
        Save = 7,
        Cancel = 8,
        None = 9,
        QueryBuilder = 10
    };

    explicit RecordViewerController(Session& session) : m_session(session) {}

    void SetShell(ShellView* shell) { m_shell = shell; }
    void SetView(RecordViewerView* view) { m_view = view; }
    RecordViewerView* View() const { return m_view; }

    // Runs record command code; a command the viewer cannot carry out yet
    // does nothing (its menu entry and button are disabled).
    void Command1_Click(int code) override;
    static bool IsBuilt(int code);

    // "&Done [Esc]": the summary opens its current record and comes to the front.
    void Done();
    // Whether a new record is entered or the current one edited.
    bool Editing() const;

private:
    Session& m_session;
    ShellView* m_shell = nullptr;
    RecordViewerView* m_view = nullptr;
};
