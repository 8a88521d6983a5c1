#pragma once

#include "session/QueryRow.h"
#include "search/SummarySearch.h"

#include <QStringList>
#include <functional>

class Session;
class WindowHost;

// The Query Builder window's logic (frmQuery): its rows live in the
// session, so they outlast the window being hidden. The window binds its
// grid and buttons to this and keeps no logic of its own.
class QueryBuilderController {
public:
    explicit QueryBuilderController(Session& session) : m_session(session) {}

    void SetShell(WindowHost* shell) { m_shell = shell; }
    // The record viewer's save command, run on activation while a record
    // is entered or edited.
    void SetSavePending(std::function<void()> save) { m_savePending = std::move(save); }

    QueryGrid& Rows();
    const QueryGrid& Rows() const;
    // The field column's list, as built by the last activation.
    const QStringList& FieldList() const { return m_fieldList; }
    // The configured choices of the row's field, for its value cell.
    QStringList ValueChoices(int row) const;

    // The window comes to the front: its status (it keeps the one before),
    // the pending record saved, then the field list rebuilt.
    void Form_Activate();

    // A choice from a cell's drop-down list; in the field column it fills
    // the hidden columns. False when the field's entry could not be read
    // (the message has been shown).
    bool grdQuery_ComboSelect(int row, int column, const QString& text);
    // Whether text may be typed into column; the field column refuses it.
    static bool grdQuery_BeforeColEdit(int column) { return column != kFieldNameColumn; }
    // Typed text committed to a cell other than the field column.
    void SetCell(int row, int column, const QString& text);
    // Appends the row a user adds (operator "=", connector "END").
    int AddRow();
    // Deletes the rows (any order); with none left the grid keeps one empty row.
    void DeleteRows(QList<int> rows);

    // "&OK": checks the rows and runs the query; the summary comes to the
    // front unless a check stopped it. The check's outcome names the cell
    // to correct.
    QueryCheck cmdGo_Click();
    // "Clear &Query": one empty row.
    void cmdClear_Click();
    // "&Save Query" and "&Load Query".
    bool cmdSave_Click();
    bool cmdLoad_Click();
    // Load Query of a file already chosen (one the program was started with).
    bool LoadFile(const QString& path);

private:
    Session& m_session;
    WindowHost* m_shell = nullptr;
    std::function<void()> m_savePending;
    QStringList m_fieldList;
};
