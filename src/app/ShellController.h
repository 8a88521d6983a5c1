#pragma once

#include "app/CommandTable.h"
#include "app/RunStatusKeeper.h"
#include "app/ShellView.h"
#include "viewer/RecordViewerController.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

class Session;
struct DroppedResponses;

// The main window's logic: it runs each command on the session and on the
// windows through ShellView, keeps the enabled state of every command up
// to date, and keeps the recent-files list.
class ShellController : public QObject {
    Q_OBJECT
public:
    explicit ShellController(Session& session, QObject* parent = nullptr);

    // Binds the window that carries out what the commands ask; until then
    // (and after Unbind) commands that need a window do nothing.
    void Bind(ShellView* view);
    void Unbind()
    {
        m_view = nullptr;
        m_viewer.SetShell(nullptr);
    }
    ShellView* View() const { return m_view; }

    // Runs a command given through a menu, the toolbar or a shortcut; a
    // disabled command does nothing.
    void Run(CommandId id);
    // Toolbar1_ButtonClick: the command of a toolbar key.
    void Toolbar1_ButtonClick(const QString& key);
    // A recent-file item, given the path it shows.
    void OpenRecentFile(const QString& path);
    // Files or text dropped on the main window: files are imported as the
    // import command does, text opens the clipboard import window with it.
    void DropOnWindow(const DroppedResponses& dropped);

    // Creates the record viewer and the summary when missing. False when
    // the viewer cannot be laid out: the program then ends.
    bool ShowRecordWindows();
    // The program ended because it could not go on.
    bool Ended() const { return m_ended; }

    // The Open procedure: the file dialog, then opening and checking.
    void FOpenProc();
    void FileNew();
    // Opens path without asking (start-up, the sample database).
    void OpenDatabaseFile(const QString& path);
    void OpenSampleDatabase();

    // SetNoDBMenus: whether a database is open, as the commands see it.
    void SetNoDBMenus(bool noDatabase);
    bool DatabaseOpen() const { return m_databaseOpen; }
    CommandContext Context() const;
    // Applies the enabled state of every command to the window.
    void RefreshCommandStates();
    void RefreshRecentFiles();

    // The record viewer's commands, navigation and closing.
    RecordViewerController& Viewer() { return m_viewer; }
    // The record viewer was closed: the database closes with it.
    void ViewerClosed();
    // The status line after an output run, over the child windows' own.
    RunStatusKeeper& RunStatus() { return m_runStatus; }

    // The open database's import folder: its new and changed files are
    // imported, and it is watched for more. A command ends with the tally;
    // a scan on opening or on a change in the folder with the status text.
    void ScanImportFolderFiles(bool command);
    // The open database's retention rule: asks before deleting or masking
    // the records past its period.
    void CheckRetention();

private:
    void Navigate(Navigation move);
    void ChooseImportFolder();
    // Renders the current record through the view template into the output viewer.
    void ViewRecord();

    Session& m_session;
    ShellView* m_view = nullptr;
    RecordViewerController m_viewer;
    RunStatusKeeper m_runStatus;
    bool m_databaseOpen = false;
    bool m_ended = false;
    QFileSystemWatcher m_watcher;
    QTimer m_rescan; // a burst of changes in the folder gives one scan
};
