#pragma once

#include <optional>

#include "app/HelpWindow.h"
#include "app/ShellCommands.h"
#include "app/WizardDialog.h"

#include <QHash>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

class BrowserWindow;
class QLabel;
class SummaryWindow;
class QMdiArea;
class QPrinter;
class QToolBar;
class Session;

// The main window (frmMDI): the frame that holds every other window, its
// menus, toolbar and status bar, the start-up sequence and the shutdown.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Session& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence, given the command line's text (the arguments
    // after the program name joined by blanks).
    void MDIForm_Load(const QString& commandLine);

    // Enables the commands that need a database when one is open
    // (noDatabase false) and disables them when none is.
    void SetNoDBMenus(bool noDatabase);
    void ApplyCommandStates(const QList<CommandState>& states);

    void RefreshRecentFilesMenu();
    void Toolbar1_ButtonClick(const QString& key);
    void FOpenProc();
    void FileNew();
    // Sends the keystroke of an edit action ("Cut", "Copy", "Paste",
    // "Undo", "Delete") to the focused control of the active child window.
    void DoEdit(const QString& action);
    // Shows the start-up options dialog, its option set to task when given.
    WizardDialog* ShowWizard(int task = -1);
    void ShowHelpContents();
    void TileChildren();

    // A command (menu, menu item or toolbar button) by object name.
    QAction* Command(const QString& name) const;
    QMdiArea* MdiArea() const { return m_mdi; }
    // The record viewer and the summary, created (with the configuration
    // read from "default.cfg") when missing. False when the configuration
    // cannot be read: the program then ends.
    bool ShowRecordWindows();
    BrowserWindow* Browser() const;
    SummaryWindow* Summary() const;
    QMdiSubWindow* BrowserSubWindow() const { return m_browserSub; }
    QMdiSubWindow* SummarySubWindow() const { return m_summarySub; }
    // Opens path as the shell does at start-up and from the recent files.
    void OpenDatabase(const QString& path);
    // Opens path without asking (start-up, recent files, the sample).
    void OpenDatabaseFile(const QString& path);
    WizardDialog* Wizard() const { return m_wizard; }
    HelpWindow* Help() const { return m_help; }
    QPrinter& Printer();

    bool DatabaseOpen = false;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolbar();
    void ConnectCommands();
    void OnCommand(const QString& name, void (MainWindow::*slot)());
    void OpenRecentFile(int k);
    void OpenSampleDatabase();
    // Loads a form configuration chosen by the user and lays the windows out by it.
    void LoadConfiguration();
    // Renders the current record into the output viewer and shows it.
    void ViewRecord();
    void ShowRecordText(const QString& title, const std::optional<QString>& text);
    void CloseRecordWindows();
    void ForgetClosedWindows();
    void PlaceOnScreen();

    Session& m_session;
    QMdiArea* m_mdi;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_statusPanel = nullptr;
    QHash<QString, QAction*> m_commands;
    QPointer<WizardDialog> m_wizard;
    QPointer<HelpWindow> m_help;
    QPrinter* m_printer = nullptr;
    QPointer<QMdiSubWindow> m_browserSub;
    QPointer<QMdiSubWindow> m_summarySub;
    QPointer<QMdiSubWindow> m_textSub;
};
