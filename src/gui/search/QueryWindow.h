#pragma once

#include "search/QueryBuilderController.h"

#include <QWidget>
#include <functional>

class QPushButton;
class QTableView;
class QueryCellDelegate;
class QueryGridModel;
class Session;
class WindowHost;

// The Query Builder (frmQuery): the grid of conditions and its buttons.
// Its rows are kept in the session, so closing the window loses none.
class QueryWindow : public QWidget {
    Q_OBJECT
public:
    // savePending: the record viewer's save command, run on activation while
    // a record is entered or edited.
    QueryWindow(Session& session, WindowHost& host, std::function<void()> savePending,
                QWidget* parent = nullptr);

    QueryBuilderController& Controller() { return m_controller; }
    QTableView* Grid() const { return m_grid; }
    QueryGridModel* Model() const { return m_model; }

    void Form_Activate();
    void cmdGo_Click();
    void cmdClear_Click();
    void cmdLoad_Click();
    // Loads the query file at path, as Load Query does once it is chosen.
    bool LoadQueryFile(const QString& path);
    void cmdSave_Click();
    void cmdClose_Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CommitPendingEdit();
    void DeleteSelectedRows();
    void RowMarkersSelected();

    Session& m_session;
    QueryBuilderController m_controller;
    QueryGridModel* m_model;
    QueryCellDelegate* m_delegate;
    QTableView* m_grid;
    bool m_watchingActivation = false;
};
