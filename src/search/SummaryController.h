#pragma once

#include <functional>

class Session;

// The record summary's logic (frmQueryResult): when the record viewer
// follows the summary's rows, and what a double-click on a row does.
class SummaryController {
public:
    // viewRecord: the View record command, which a double-click on a row runs.
    SummaryController(Session& session, std::function<void()> viewRecord)
        : m_session(session), m_viewRecord(std::move(viewRecord))
    {}

    // The summary's rows were read again (a search, an import): the viewer
    // opens the current row's record when it shows another one.
    void Reloaded();
    // Whether the viewer shows a record other than the summary's current row
    // and must follow it; never while a database is being opened or when
    // the summary has no records.
    bool ViewerMustFollow() const;
    void RowDoubleClicked();
    // The summary became the active child window.
    void Activated();

private:
    Session& m_session;
    std::function<void()> m_viewRecord;
};
