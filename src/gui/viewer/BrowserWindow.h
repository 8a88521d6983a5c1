#pragma once

#include "session/ViewerLayout.h"
#include "viewer/RecordViewerController.h"

#include <QWidget>
#include <array>

class FieldGridModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTableView;
class Session;

// The record viewer (frmBrowser): the header boxes laid out from the form
// configuration, the field grid over the record in memory, the value box
// of the grid's current row and the editing panel. Closing it closes the
// database (the main window hears of it through Closed).
class BrowserWindow : public QWidget, public RecordViewerView, public NavigationTarget {
    Q_OBJECT
public:
    BrowserWindow(Session& session, RecordViewerController& viewer, QWidget* parent = nullptr);
    ~BrowserWindow() override;

    // Lays the header boxes and their labels out from the configuration.
    void ApplyConfiguration();
    void ShowHeaderBox(int box, const QString& text) override;
    void ShowLoadedRecord() override;
    // Locks (true) or unlocks the header boxes (box 0 is always locked),
    // and the value box with the editor boxes.
    void LockText(bool lockHeader, bool lockFields) override;
    // Navigation through the summary's records.
    void Command1_Click(Navigation index) override;
    QString HeaderBoxText(int box) const override;
    void ShowFieldList(const QStringList& lines, int selected) override;
    void ShowEditorBox(int box, const QString& text) override;
    void FocusEditorBox(int box) override;
    void FocusHeaderBox(int box) override;
    void RefreshFieldGrid() override;

    QLineEdit* HeaderBox(int item) const { return m_txtResume[static_cast<size_t>(item)]; }
    QTableView* FieldGrid() const { return m_grid; }
    QPlainTextEdit* ValueBox() const { return m_txtViewer; }
    QLineEdit* EditorBox(int box) const { return m_txtData[static_cast<size_t>(box)]; }
    QListWidget* FieldList() const { return m_lstGrid; }

signals:
    // The window closed, its record stored or given up: the database closes with it.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildHeader(QWidget* parent);
    QWidget* BuildEditingPanel();
    void ClearDisplay();
    void ShowCurrentValue();
    void FitFieldNames();
    void BoxLeft(QLineEdit* box);

    Session& m_session;
    RecordViewerController& m_viewer;
    bool m_closing = false;
    FieldGridModel* m_model;
    std::array<QLineEdit*, ViewerLayout::kHeaderItems> m_txtResume{};
    std::array<QLabel*, ViewerLayout::kHeaderItems> m_lblResume{};
    QLabel* m_panelTitle = nullptr;
    QTableView* m_grid = nullptr;
    QPlainTextEdit* m_txtViewer = nullptr;
    QList<QWidget*> m_editorBoxes;
    std::array<QLineEdit*, RecordViewerController::kEditorBoxes> m_txtData{};
    QListWidget* m_lstGrid = nullptr;
    bool m_showingList = false;
    bool m_fillingValue = false; // the program puts a field's value into the value box
    bool m_checking = false;     // a field rule's message is up
};
