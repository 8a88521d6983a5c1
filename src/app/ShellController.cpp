#include "app/ShellController.h"

#include "duplicates/DuplicateKeysSetting.h"
#include "privacy/PersonData.h"
#include "privacy/RetentionSetting.h"
#include "search/DuplicateReview.h"

#include "session/RecordChooser.h"
#include "database/RecordTransfer.h"

#include "app/RecentFiles.h"
#include "session/Session.h"
#include "app/ShellProcedures.h"
#include "database/ChangeLogBrowser.h"
#include "database/DatabaseClosing.h"
#include "database/DatabaseCompaction.h"
#include "app/StartupOptions.h"
#include "config/ConfigReader.h"
#include "config/ConfigWriter.h"
#include "database/DatabaseOpening.h"
#include "output/TextRenderer.h"
#include "platform/ErrorText.h"
#include "responses/DroppedResponses.h"
#include "responses/ImportFolder.h"
#include "responses/ResponseImport.h"
#include "database/SummaryNavigation.h"
#include "search/SummarySearch.h"

#include <exception>

namespace {

// The desktop program ends every import with its tally.
ImportOptions DesktopImport()
{
    ImportOptions options;
    options.showTally = true;
    return options;
}

} // namespace

ShellController::ShellController(Session& session, QObject* parent)
    : QObject(parent), m_session(session), m_viewer(session), m_runStatus(session.ui)
{
    SessionEvents& events = m_session.Events;
    connect(&events, &SessionEvents::DatabaseOpened, this, [this] {
        SetNoDBMenus(false);
        if (m_view)
            m_view->BringToFront(ChildKind::Summary);
        // Once the opening has ended and the windows show the database:
        // the records past the retention period go (when the user agrees)
        // before the import folder brings new ones.
        QMetaObject::invokeMethod(
            this,
            [this] {
                CheckRetention();
                ScanImportFolderFiles(false);
            },
            Qt::QueuedConnection);
    });
    m_rescan.setSingleShot(true);
    m_rescan.setInterval(500);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_rescan,
            qOverload<>(&QTimer::start));
    connect(&m_rescan, &QTimer::timeout, this, [this] { ScanImportFolderFiles(false); });
    // The one place a database joins the recent-files list.
    connect(&events, &SessionEvents::RecentFileUsed, this, [this](const QString& path) {
        if (path.trimmed().isEmpty())
            return;
        RecentFiles::AddRecentFile(path);
        RefreshRecentFiles();
    });
    // The number of records decides which record commands are on.
    connect(&events, &SessionEvents::SummaryReloaded, this, [this] { RefreshCommandStates(); });
    // A header stored while the summary shows a search result: the result's copy follows.
    connect(&events, &SessionEvents::FilteredSummaryRowWritten, this,
            [this](qint64 formId) { RefreshResultRow(m_session, formId); });
    m_viewer.SetLockEditButtons([this](bool lock) {
        if (!m_view)
            return;
        CommandContext context = Context();
        context.editing = !lock;
        m_view->ApplyCommandStates(CommandStates(context));
    });
}

void ShellController::Bind(ShellView* view)
{
    m_view = view;
    m_viewer.SetShell(view);
}

CommandContext ShellController::Context() const
{
    CommandContext context;
    context.databaseOpen = m_databaseOpen;
    context.editing = m_viewer.Editing();
    context.noRecords = (m_session.Database.RecordState & DatabaseState::NoRecords) != 0;
    return context;
}

void ShellController::SetNoDBMenus(bool noDatabase)
{
    m_databaseOpen = !noDatabase;
    RefreshCommandStates();
}

void ShellController::RefreshCommandStates()
{
    if (m_view)
        m_view->ApplyCommandStates(CommandStates(Context()));
}

void ShellController::RefreshRecentFiles()
{
    const QStringList items = RecentFiles::RecentFilesMenuItems();
    if (m_view && !items.isEmpty())
        m_view->ShowRecentFiles(items);
}

void ShellController::Toolbar1_ButtonClick(const QString& key)
{
    if (const CommandInfo* command = CommandByKey(key))
        Run(command->id);
}

void ShellController::Run(CommandId id)
{
    if (!m_view || !CommandAvailable(CommandOf(id), Context()))
        return;
    m_session.ui.StartCommand();
    switch (id) {
    case CommandId::NewDatabase:
        FileNew();
        break;
    case CommandId::OpenDatabase:
        if (ShowRecordWindows())
            FOpenProc();
        break;
    case CommandId::CloseDatabase:
        m_view->CloseChild(ChildKind::Viewer);
        break;
    case CommandId::CompactDatabase:
        CompactOpenDatabase(m_session);
        break;
    case CommandId::ImportFiles:
        ImportResume(m_session, DesktopImport());
        break;
    case CommandId::ImportClipboard:
        m_view->ShowClipboardImport(m_session.ui.ClipboardText());
        break;
    case CommandId::FetchMailbox:
        m_view->ShowMailboxFetch();
        break;
    case CommandId::SetImportFolder:
        ChooseImportFolder();
        break;
    case CommandId::ScanImportFolder:
        if (ImportFolderOf(m_session).isEmpty())
            ChooseImportFolder();
        else
            ScanImportFolderFiles(true);
        break;
    case CommandId::TransferRecords: {
        HostRecordChooser chooser(*m_view);
        WriteRecordsToDB(m_session, chooser);
        break;
    }
    case CommandId::PrinterSetup:
        m_view->ShowPrinterSetup();
        break;
    case CommandId::LoadConfig: {
        bool loaded = false;
        LoadConfigFile(m_session, QString(), &loaded);
        if (loaded)
            m_view->ConfigurationLoaded();
        break;
    }
    case CommandId::SaveConfig:
        SaveConfigFile(m_session);
        break;
    case CommandId::Exit:
        m_view->Exit();
        break;
    case CommandId::Undo:
        m_view->DoEdit(EditAction::Undo);
        break;
    case CommandId::Cut:
        m_view->DoEdit(EditAction::Cut);
        break;
    case CommandId::Copy:
        m_view->DoEdit(EditAction::Copy);
        break;
    case CommandId::Paste:
        m_view->DoEdit(EditAction::Paste);
        break;
    case CommandId::EditDelete:
        m_view->DoEdit(EditAction::Delete);
        break;
    case CommandId::MoveFirst:
        Navigate(Navigation::First);
        break;
    case CommandId::MovePrevious:
        Navigate(Navigation::Previous);
        break;
    case CommandId::MoveNext:
        Navigate(Navigation::Next);
        break;
    case CommandId::MoveLast:
        Navigate(Navigation::Last);
        break;
    case CommandId::NewRecord:
        m_viewer.Command1_Click(RecordViewerController::New);
        break;
    case CommandId::DeleteRecord:
        m_viewer.Command1_Click(RecordViewerController::Delete);
        break;
    case CommandId::SaveRecord:
        m_viewer.Command1_Click(RecordViewerController::Save);
        break;
    case CommandId::CancelChanges:
        m_viewer.Command1_Click(RecordViewerController::Cancel);
        break;
    case CommandId::QueryBuilder:
        m_viewer.Command1_Click(RecordViewerController::QueryBuilder);
        break;
    case CommandId::EditRecord:
        // Pressed on the record viewer itself, Edit starts editing the record
        // it shows; from any other window it first brings the viewer there.
        if (m_view->IsActive(ChildKind::Viewer)) {
            m_viewer.Command1_Click(RecordViewerController::Edit);
        } else {
            OpenResume(m_session);
            m_view->BringToFront(ChildKind::Viewer);
        }
        break;
    case CommandId::ViewSummary:
        OpenResume(m_session);
        m_view->BringToFront(ChildKind::Summary);
        break;
    case CommandId::ViewRecord:
        OpenResume(m_session);
        ViewRecord();
        break;
    case CommandId::ToggleToolbar:
        m_view->SetToolbarVisible(!m_view->ToolbarVisible());
        break;
    case CommandId::Preferences:
        m_view->ShowStartupOptions(StartupOptions::SaveOptionsOnly);
        break;
    case CommandId::ReviewDuplicates: {
        DuplicateReview review(m_session);
        if (review.Start())
            m_view->ShowDuplicateReview(review);
        break;
    }
    case CommandId::Statistics:
        m_view->ShowStatistics();
        break;
    case CommandId::ChangeLog: {
        ChangeLogBrowser browser(m_session);
        if (browser.Refresh())
            m_view->ShowChangeLog(browser);
        break;
    }
    case CommandId::DuplicateKeys: {
        DuplicateKeysSetting setting(m_session);
        if (setting.Load())
            m_view->ShowDuplicateKeys(setting);
        break;
    }
    case CommandId::Retention: {
        RetentionSetting setting(m_session);
        if (setting.Load())
            m_view->ShowRetention(setting);
        break;
    }
    case CommandId::FindPersonData: {
        PersonData data(m_session);
        m_view->ShowPersonData(data);
        break;
    }
    case CommandId::Cascade:
        m_view->CascadeChildren();
        break;
    case CommandId::Tile:
        m_view->TileChildren();
        break;
    case CommandId::HelpContents:
        m_view->ShowHelpContents();
        break;
    case CommandId::About:
        m_view->ShowAbout();
        break;
    case CommandId::ExportDelimited:
        m_view->ShowOutputOptions(OutputType::DelimitedFile);
        break;
    case CommandId::ExportText:
        m_view->ShowOutputOptions(OutputType::TextFile);
        break;
    case CommandId::ExportHtml:
        m_view->ShowOutputOptions(OutputType::HtmlFile);
        break;
    case CommandId::CopyRecordsToClipboard:
        m_view->ShowOutputOptions(OutputType::Clipboard);
        break;
    case CommandId::Print:
        OpenResume(m_session);
        m_view->ShowOutputOptions(std::nullopt);
        break;
    case CommandId::SelectSummaryFields:
        m_view->ShowSummaryFields();
        break;
    case CommandId::SpellCheck:
    case CommandId::FormDesigner:
    case CommandId::ArrangeSections:
        break; // not in the program yet: never available
    }
    RefreshCommandStates();
}

void ShellController::DropOnWindow(const DroppedResponses& dropped)
{
    if (!m_view || dropped.Empty())
        return;
    Ui& ui = m_session.ui;
    if (!m_databaseOpen) {
        ui.MessageBox(QStringLiteral("No database is open. Open or create a database, then drop "
                                     "the records on the window again."),
                      MessageIcon::Exclamation);
        return;
    }
    const CommandId id =
        dropped.files.isEmpty() ? CommandId::ImportClipboard : CommandId::ImportFiles;
    if (!CommandAvailable(CommandOf(id), Context())) {
        // Importing would leave the record being entered or edited.
        ui.MessageBox(QStringLiteral("Save or cancel the changes to the record before importing."),
                      MessageIcon::Exclamation);
        return;
    }
    if (dropped.files.isEmpty())
        m_view->ShowClipboardImport(dropped.text);
    else
        ImportResponseFiles(m_session, dropped.files, DesktopImport());
    RefreshCommandStates();
}

void ShellController::ChooseImportFolder()
{
    const QString folder = m_view->ChooseFolder(QStringLiteral("Import folder of this database"),
                                                ImportFolderOf(m_session));
    if (folder.isEmpty()) {
        m_session.ui.SetStatusText(QStringLiteral("Set import folder cancelled"));
        return;
    }
    if (SetImportFolder(m_session, folder))
        ScanImportFolderFiles(true);
}

void ShellController::CheckRetention()
{
    // Not while a record is entered or edited: deleting would leave it.
    if (!m_databaseOpen || m_viewer.Editing())
        return;
    RetentionSetting setting(m_session);
    if (setting.Load())
        setting.CheckAndApply();
    RefreshCommandStates();
}

void ShellController::ScanImportFolderFiles(bool command)
{
    // Not while a record is entered or edited: the import would leave it.
    if (!m_databaseOpen || (!command && m_viewer.Editing()))
        return;
    ImportOptions options;
    options.showTally = command;
    const FolderScan scan = ScanImportFolder(m_session, options);
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    if (!scan.changes.folders.isEmpty())
        m_watcher.addPaths(scan.changes.folders);
    if (!command && !scan.changes.changed.empty())
        m_session.ui.SetStatusText(m_session.ui.StatusText() + QStringLiteral("; import folder: ") +
                                   scan.outcome.tally.Line());
    RefreshCommandStates();
}

void ShellController::Navigate(Navigation move)
{
    // Each child window offers its own entry; with none active the summary moves.
    if (NavigationTarget* target = m_view->ActiveNavigationTarget())
        target->Command1_Click(move);
    else
        ::Command1_Click(m_session, move);
}

void ShellController::ViewRecord()
{
    // The output viewer comes to the front whether or not the record could
    // be rendered; it keeps its earlier text when it could not.
    if (RenderRecordView(m_session)) {
        m_view->ShowOutputText(m_session.Output.OutputText);
        m_session.ui.SetStatusText(QStringLiteral("Viewing Record"));
    } else {
        m_view->ShowOutputText(std::nullopt);
    }
}

void ShellController::OpenRecentFile(const QString& path)
{
    m_session.ui.SetStatusText(QStringLiteral("Opening Database... Please wait"));
    OpenDatabaseFile(path);
}

bool ShellController::ShowRecordWindows()
{
    if (!m_view)
        return false;
    // The viewer is laid out from the default configuration, which has
    // said why it could not be read.
    if (!m_view->HasChild(ChildKind::Viewer) && !LoadDefaultConfig(m_session)) {
        m_ended = true;
        m_view->EndProgram();
        return false;
    }
    m_view->ShowRecordWindows();
    return true;
}

void ShellController::FOpenProc()
{
    Ui& ui = m_session.ui;
    BusyPointer busy(ui);
    ui.SetStatusText(QStringLiteral("Opening database... please wait"));
    try {
        GetDatabaseName(m_session, QString());
        RefreshRecentFiles();
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error opening file: ") + ErrorText(e),
                      MessageIcon::Exclamation);
    }
}

void ShellController::FileNew()
{
    if (m_view && ShowRecordWindows())
        ::FileNew(m_session);
}

void ShellController::OpenDatabaseFile(const QString& path)
{
    if (m_view && ShowRecordWindows())
        OpenResumeDatabase(m_session, path);
}

void ShellController::OpenSampleDatabase()
{
    Ui& ui = m_session.ui;
    BusyPointer busy(ui);
    ui.SetStatusText(QStringLiteral("Opening Sample Database..."));
    OpenDatabaseFile(m_session.Folders.ProgramFile(QStringLiteral("SampleDB.fdb")));
    RefreshRecentFiles();
}

void ShellController::ViewerClosed()
{
    // Each step is attempted whatever happened in the one before.
    const bool wasOpen = m_session.Database.CurrentDatabase != nullptr;
    CloseResumeDatabase(m_session);
    m_rescan.stop();
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    if (m_view) {
        m_view->CloseChild(ChildKind::Summary);
        m_view->CloseChild(ChildKind::OutputViewer);
        m_view->CloseChild(ChildKind::QueryBuilder);
        m_view->CloseChild(ChildKind::Statistics);
        m_view->CloseStartupOptions();
    }
    SetNoDBMenus(true);
    // The viewer's "Editing record" no longer holds (a cancelled open
    // keeps its own message).
    if (wasOpen)
        m_session.ui.SetStatusText(QStringLiteral("Database closed"));
}
