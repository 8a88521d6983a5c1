#pragma once

#include "gui/app/ChildWindows.h"
#include "gui/app/HelpWindow.h"
#include "app/ShellController.h"
#include "gui/app/WizardDialog.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class BrowserWindow;
class OutputViewerWindow;
class OutputOptionsDialog;
class QueryWindow;
class QLabel;
class SummaryWindow;
class QMdiArea;
class QPrinter;
class QToolBar;
class Session;

// The main window (frmMDI): the frame that holds every other window, its
// menus, toolbar and status bar, the start-up sequence and the shutdown.
// Its menus and toolbar are built from the command table; every command
// goes to the shell controller, which calls back through ShellView. It
// hands each child window only the part of the shell controller it uses.
class MainWindow : public QMainWindow, public ShellView {
    Q_OBJECT
public:
    // shell outlives the window; the window binds itself to it until destroyed.
    MainWindow(Session& session, ShellController& shell, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence, given the command line's text (the arguments
    // after the program name joined by blanks).
    void MDIForm_Load(const QString& commandLine);
    // The program cannot go on (its default configuration is unreadable):
    // main returns 1 when this happens before its event loop has started.
    bool Ended() const { return m_shell.Ended(); }

    ShellController& Shell() { return m_shell; }
    // A command (menu, menu item or toolbar button) by object name.
    QAction* Command(const QString& name) const;
    QMdiArea* MdiArea() const { return m_mdi; }
    ChildWindows& Children() { return m_children; }
    BrowserWindow* Browser() const;
    SummaryWindow* Summary() const;
    OutputViewerWindow* OutputViewer() const;
    QMdiSubWindow* BrowserSubWindow() const { return m_children.Window(ChildKind::Viewer); }
    QMdiSubWindow* SummarySubWindow() const { return m_children.Window(ChildKind::Summary); }
    WizardDialog* Wizard() const { return m_wizard; }
    HelpWindow* Help() const { return m_help; }
    QPrinter& Printer();
    // Shows the start-up options dialog, its option set to task when given.
    WizardDialog* ShowWizard(std::optional<StartupOptions::Task> task = std::nullopt);

    // ShellView
    void ShowRecordWindows() override;
    bool HasChild(ChildKind child) const override { return m_children.Window(child) != nullptr; }
    void EndProgram() override;
    void BringToFront(ChildKind child) override { m_children.BringToFront(child); }
    void CloseChild(ChildKind child) override { m_children.Close(child); }
    bool IsActive(ChildKind child) const override { return m_children.Active() == child; }
    void ShowOutputText(const std::optional<QString>& text) override;
    NavigationTarget* ActiveNavigationTarget() override;
    void DoEdit(EditAction action) override;
    void ApplyCommandStates(const QList<CommandState>& states) override;
    void ShowRecentFiles(const QStringList& paths) override;
    bool ToolbarVisible() const override;
    void SetToolbarVisible(bool visible) override;
    void ShowStartupOptions(StartupOptions::Task task) override { ShowWizard(task); }
    void CloseStartupOptions() override;
    void ShowHelpContents() override;
    void ShowAbout() override;
    void ShowPrinterSetup() override;
    void ShowOutputOptions(std::optional<OutputType> preset) override;
    void TileChildren() override { m_children.Tile(); }
    void CascadeChildren() override { m_children.Cascade(); }
    void Exit() override { close(); }
    void ConfigurationLoaded() override;
    void ShowClipboardImport(const QString& text) override;
    void ShowDuplicateReview(DuplicateReview& review) override;
    void ShowDuplicateKeys(DuplicateKeysSetting& setting) override;
    void ShowRetention(RetentionSetting& setting) override;
    void ShowPersonData(PersonData& data) override;
    void ShowStatistics() override;
    void ShowChangeLog(ChangeLogBrowser& browser) override;
    void ShowMailboxFetch() override;
    QString ChooseFolder(const QString& title, const QString& start) override;
    void ShowSummaryFields() override;
    void ShowSelectRecords(const QString& caption) override;
    std::vector<qint64> SummarySelectedRows() const override;
    void ShowQueryBuilder() override;
    QueryWindow* QueryBuilder() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The report templates and the page template, read once at start-up.
    void LoadTemplates();
    void BuildMenus();
    void BuildToolbar();
    void PlaceOnScreen();

    Session& m_session;
    ShellController& m_shell;
    QMdiArea* m_mdi;
    ChildWindows m_children;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_statusPanel = nullptr;
    QHash<QString, QAction*> m_commands;
    // The record viewer's editing-panel buttons by name, taken when the
    // viewer is created.
    QHash<QString, QList<QPointer<QWidget>>> m_panelButtons;
    QPointer<WizardDialog> m_wizard;
    QPointer<OutputOptionsDialog> m_outputOptions;
    QPointer<HelpWindow> m_help;
    QPrinter* m_printer = nullptr;
};
