#pragma once

#include "search/SummaryController.h"
#include "session/WindowHost.h"

#include <QWidget>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class Session;
class SummaryFilterHeader;
class SummaryModel;

// The record summary (frmQueryResult): one row per record of the current
// set, the record count, and the Quick Find panel. Its current row is the
// current record; moving it moves the record viewer.
class SummaryWindow : public QWidget, public NavigationTarget {
    Q_OBJECT
public:
    // viewRecord: the View record command, run by a double-click on a row.
    SummaryWindow(Session& session, std::function<void()> viewRecord, QWidget* parent = nullptr);
    ~SummaryWindow() override;

    // Quick Find: 0 Find, 1 Clear Search, 2 Possible duplicates.
    void cmdFind_Click(int index);
    void FillQuickFindCombo();
    // A new form configuration: column captions and the Quick Find list.
    void ApplyConfiguration();

    // Navigation through the summary's records.
    void Command1_Click(Navigation index) override;

    QTableView* Grid() const { return m_grid; }
    SummaryFilterHeader* Header() const { return m_header; }
    SummaryModel* Model() const { return m_model; }
    // FormIDs of the selected rows, in row order.
    QList<qint64> SelectedRecords() const;
    // FormIDs of the selected rows, in the order they were selected.
    std::vector<qint64> SelectedRecordsInSelectionOrder() const;
    void SetColumnVisible(int column, bool visible);
    bool IsColumnVisible(int column) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Reload(int count);
    void FollowCurrentRecord(qint64 formId);
    void CurrentRowChanged(const QModelIndex& current);
    void RowDoubleClicked();
    void ShowColumnMenu(const QPoint& at);
    void HeadingClicked(int column);
    void FilterEdited(int column, const QString& text);
    // The sort arrow, the filter boxes and the field columns' widths as
    // the session has them.
    void ShowView();
    void SaveFieldWidths();

    Session& m_session;
    SummaryController m_controller;
    SummaryModel* m_model;
    QTableView* m_grid;
    SummaryFilterHeader* m_header;
    QStringList m_shownFields; // the field columns whose widths the grid has
    QLineEdit* m_txtCount;
    QComboBox* m_combo;
    QLineEdit* m_text;
    QLabel* m_lblFind;
    bool m_following = false;
};
