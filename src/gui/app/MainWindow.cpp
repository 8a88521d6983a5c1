#include "gui/app/MainWindow.h"

#include "gui/database/ChangeLogDialog.h"
#include "gui/duplicates/DuplicateKeysDialog.h"
#include "gui/privacy/PersonDataDialog.h"
#include "gui/privacy/RetentionDialog.h"
#include "gui/duplicates/DuplicateReviewDialog.h"
#include "gui/stats/StatisticsWindow.h"
#include "gui/mailbox/KeychainPasswordStore.h"
#include "gui/mailbox/MailboxFetchDialog.h"

#include "gui/app/AboutDialog.h"
#include "gui/app/CommandIcons.h"
#include "gui/app/MenuMnemonics.h"
#include "session/Session.h"
#include "app/StartupPlan.h"
#include "gui/app/WindowMenu.h"
#include "gui/output/OutputOptionsDialog.h"
#include "gui/output/OutputViewerWindow.h"
#include "output/PrintTemplate.h"
#include "output/TemplateList.h"
#include "gui/platform/QtUi.h"
#include "gui/platform/ScreenFit.h"
#include "gui/responses/ClipboardImportDialog.h"
#include "platform/ErrorText.h"
#include "responses/DroppedResponses.h"
#include "gui/search/SelectDialog.h"
#include "gui/search/QueryWindow.h"
#include "gui/search/SummaryFieldsDialog.h"
#include "gui/search/SummaryWindow.h"
#include "gui/viewer/BrowserWindow.h"

#include <QAction>
#include <QFileDialog>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <exception>

namespace {

QKeySequence StandardKey(Shortcut shortcut)
{
    switch (shortcut) {
    case Shortcut::None:
        break;
    case Shortcut::New:
        return QKeySequence::New;
    case Shortcut::Open:
        return QKeySequence::Open;
    case Shortcut::Print:
        return QKeySequence::Print;
    case Shortcut::Quit:
        return QKeySequence::Quit;
    case Shortcut::Find:
        return QKeySequence::Find;
    case Shortcut::HelpContents:
        return QKeySequence::HelpContents;
    case Shortcut::ClipboardImport:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V);
    case Shortcut::Cut:
        return QKeySequence::Cut;
    case Shortcut::Copy:
        return QKeySequence::Copy;
    case Shortcut::Paste:
        return QKeySequence::Paste;
    }
    return {};
}

} // namespace

MainWindow::MainWindow(Session& session, ShellController& shell, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_shell(shell), m_mdi(new QMdiArea(this)),
      m_children(m_mdi)
{
    setObjectName(QStringLiteral("frmMDI"));
    setWindowTitle(QStringLiteral("Tallowmere"));
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);

    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusPanel = new QLabel(bar);
    m_statusPanel->setObjectName(QStringLiteral("StatusBar1_Panel1"));
    bar->addWidget(m_statusPanel, 1);
    if (auto* qtUi = dynamic_cast<QtUi*>(&m_session.ui)) {
        qtUi->SetParent(this);
        qtUi->SetStatusSink([this](const QString& text) { m_statusPanel->setText(text); });
    }

    BuildMenus();
    new MenuMnemonics(menuBar(), m_mdi);
    new ScreenFitter(this);
    BuildToolbar();
    m_shell.Bind(this);
    connect(&m_session.Events, &SessionEvents::ViewerMustClose, this,
            [this] { m_children.Close(ChildKind::Viewer); });
    setAcceptDrops(true);
}

MainWindow::~MainWindow()
{
    // The child windows call back into this window: they go first, closed
    // ones waiting for their deferred delete included.
    qDeleteAll(m_mdi->findChildren<QMdiSubWindow*>());
    m_shell.Unbind();
    if (auto* qtUi = dynamic_cast<QtUi*>(&m_session.ui)) {
        qtUi->SetStatusSink({});
        qtUi->SetParent(nullptr);
    }
    delete m_printer;
}

void MainWindow::BuildMenus()
{
    for (const Menu& menuData : MainMenus()) {
        QMenu* menu = menuBar()->addMenu(menuData.caption);
        menu->setObjectName(menuData.name);
        menu->menuAction()->setObjectName(menuData.name);
        m_commands.insert(menuData.name, menu->menuAction());
        for (const MenuItem& item : menuData.items) {
            QAction* action =
                item.IsSeparator() ? menu->addSeparator() : menu->addAction(item.caption);
            action->setObjectName(item.name);
            action->setCheckable(item.checkable);
            action->setVisible(item.initiallyVisible);
            m_commands.insert(item.name, action);
            if (const CommandInfo* command = CommandByMenuItem(item.name)) {
                if (command->shortcut != Shortcut::None)
                    action->setShortcut(StandardKey(command->shortcut));
                action->setIcon(CommandIcon(command->id));
                const CommandId id = command->id;
                connect(action, &QAction::triggered, this, [this, id] { m_shell.Run(id); });
            }
        }
        if (menuData.name == QLatin1String("mnuWindow"))
            new WindowMenu(menu, m_mdi);
        if (menuData.name == QLatin1String("mnuOptions"))
            connect(menu, &QMenu::aboutToShow, this, [this] {
                Command(QStringLiteral("mnuOToolbar"))->setChecked(m_toolbar->isVisible());
            });
    }
    for (int k = 1; k <= 4; ++k) {
        QAction* item = Command(RecentFileItemName(k));
        connect(item, &QAction::triggered, this,
                [this, item] { m_shell.OpenRecentFile(item->text()); });
    }
    Command(QStringLiteral("mnuOToolbar"))->setChecked(true);
}

void MainWindow::BuildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    for (const ToolbarButton& button : ToolbarButtons()) {
        if (button.IsSeparator()) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction* action =
            m_toolbar->addAction(CommandIcon(CommandByKey(button.key)->id), button.tooltip);
        action->setObjectName(ToolbarButtonName(button.key));
        action->setToolTip(button.tooltip);
        m_commands.insert(action->objectName(), action);
        const QString key = button.key;
        connect(action, &QAction::triggered, this,
                [this, key] { m_shell.Toolbar1_ButtonClick(key); });
    }
    // The button a narrow window shows for the buttons that do not fit.
    if (auto* more = m_toolbar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More toolbar buttons"));
}

QAction* MainWindow::Command(const QString& name) const
{
    return m_commands.value(name);
}

QPrinter& MainWindow::Printer()
{
    if (!m_printer)
        m_printer = new QPrinter(QPrinter::HighResolution);
    return *m_printer;
}

void MainWindow::PlaceOnScreen()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The size the frame has when the window system does not maximize it.
    resize(available.size() * 0.9);
    QPoint topLeft = pos();
    if (width() * 1.1 > available.width())
        topLeft.setX(0);
    if (height() * 1.1 > available.height())
        topLeft.setY(0);
    move(topLeft);
}

void MainWindow::MDIForm_Load(const QString& commandLine)
{
    Ui& ui = m_session.ui;
    bool busy = false;
    try {
        PlaceOnScreen();
        showMaximized();
        ui.SetStatusText(QStringLiteral("Initializing. Please wait..."));
        m_shell.SetNoDBMenus(true);
        ui.SetBusy(true);
        busy = true;
        ui.Yield();
        m_shell.RefreshRecentFiles();
        QDir::setCurrent(m_session.Folders.Program());
        LoadTemplates();
        if (!m_shell.ShowRecordWindows()) {
            ui.SetBusy(false);
            return; // the program ends
        }
        m_children.BringToFront(ChildKind::Summary);

        const StartupPlan plan = PlanStartup(m_session.Folders, commandLine);
        if (plan.openDatabase) {
            ui.SetStatusText(QStringLiteral("Opening Database..."));
            m_shell.OpenDatabaseFile(plan.databasePath);
            m_shell.RefreshRecentFiles();
        }
        if (!plan.queryFile.isEmpty()) {
            if (m_shell.DatabaseOpen()) {
                ShowQueryBuilder();
                QueryBuilder()->LoadQueryFile(plan.queryFile);
            } else {
                ui.MessageBox(QStringLiteral("A query runs on a database: open one, then load ") +
                                  plan.queryFile +
                                  QStringLiteral(" with Load Query in the Query Builder"),
                              MessageIcon::Information);
            }
        }
        if (plan.showWizard) {
            WizardDialog* wizard = ShowWizard();
            wizard->raise();
        }
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error loading form: ") + ErrorText(e),
                      MessageIcon::Exclamation);
    }
    if (busy)
        ui.SetBusy(false);
}

void MainWindow::ApplyCommandStates(const QList<CommandState>& states)
{
    for (const CommandState& state : states) {
        if (QAction* action = Command(state.name)) {
            action->setEnabled(state.enabled);
            continue;
        }
        for (QWidget* control : m_panelButtons.value(state.name))
            if (control)
                control->setEnabled(state.enabled);
    }
}

void MainWindow::ShowRecentFiles(const QStringList& paths)
{
    Command(QStringLiteral("mnuFRecentSeparator"))->setVisible(true);
    for (int k = 1; k <= 4 && k <= paths.size(); ++k) {
        QAction* item = Command(RecentFileItemName(k));
        item->setText(paths[k - 1]);
        item->setVisible(true);
    }
}

bool MainWindow::ToolbarVisible() const
{
    return m_toolbar->isVisible();
}

void MainWindow::SetToolbarVisible(bool visible)
{
    m_toolbar->setVisible(visible);
    Command(QStringLiteral("mnuOToolbar"))->setChecked(visible);
}

void MainWindow::EndProgram()
{
    close();
    // Asking a loop that is not running yet to end would only make every
    // later dialog return at once, and the program would then run on
    // without a window; main sees Ended() instead.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(1);
}

void MainWindow::ShowRecordWindows()
{
    if (!m_children.Window(ChildKind::Viewer)) {
        auto* browser = new BrowserWindow(m_session, m_shell.Viewer());
        connect(browser, &BrowserWindow::Closed, this, [this] { m_shell.ViewerClosed(); });
        // Only the viewer's own: other windows' buttons of the same name
        // (the Query Builder's "cmdSave") do not follow the record commands.
        m_panelButtons.clear();
        for (const QString& name : EditingPanelButtons())
            for (QWidget* control : browser->findChildren<QWidget*>(name))
                m_panelButtons[name].append(control);
        m_children.Add(ChildKind::Viewer, browser, QSize(760, 560));
    }
    if (!m_children.Window(ChildKind::Summary))
        m_children.Add(ChildKind::Summary,
                       new SummaryWindow(m_session, [this] { m_shell.Run(CommandId::ViewRecord); }),
                       QSize(760, 420));
}

BrowserWindow* MainWindow::Browser() const
{
    return m_children.As<BrowserWindow>(ChildKind::Viewer);
}

SummaryWindow* MainWindow::Summary() const
{
    return m_children.As<SummaryWindow>(ChildKind::Summary);
}

OutputViewerWindow* MainWindow::OutputViewer() const
{
    return m_children.As<OutputViewerWindow>(ChildKind::OutputViewer);
}

QueryWindow* MainWindow::QueryBuilder() const
{
    return m_children.As<QueryWindow>(ChildKind::QueryBuilder);
}

void MainWindow::ShowQueryBuilder()
{
    if (!m_children.Window(ChildKind::QueryBuilder))
        m_children.Add(
            ChildKind::QueryBuilder,
            new QueryWindow(
                m_session, *this,
                [this] { m_shell.Viewer().Command1_Click(RecordViewerController::Save); }),
            QSize(760, 320));
    m_children.BringToFront(ChildKind::QueryBuilder);
}

NavigationTarget* MainWindow::ActiveNavigationTarget()
{
    const std::optional<ChildKind> active = m_children.Active();
    return active ? dynamic_cast<NavigationTarget*>(m_children.Widget(*active)) : nullptr;
}

void MainWindow::ShowSelectRecords(const QString& caption)
{
    SelectDialog dialog(m_session, !SummarySelectedRows().empty(), this);
    dialog.setWindowTitle(caption);
    dialog.exec();
}

std::vector<qint64> MainWindow::SummarySelectedRows() const
{
    const SummaryWindow* summary = Summary();
    return summary ? summary->SelectedRecordsInSelectionOrder() : std::vector<qint64>();
}

void MainWindow::ConfigurationLoaded()
{
    // The viewer, the summary's captions and Quick Find follow the new form.
    if (BrowserWindow* browser = Browser()) {
        browser->ApplyConfiguration();
        m_children.BringToFront(ChildKind::Viewer);
    }
    if (SummaryWindow* summary = Summary())
        summary->ApplyConfiguration();
}

void MainWindow::LoadTemplates()
{
    ListTemplates(m_session);
    // The page view's template until a run chooses another; an installation
    // without it leaves the page view empty rather than stop the start-up.
    const QString page = m_session.Folders.FindFile(QStringLiteral("Default_Dat.rpt"));
    if (!page.isEmpty())
        LoadPrintTemplate(m_session, page);
}

void MainWindow::ShowOutputText(const std::optional<QString>& text)
{
    OutputViewerWindow* viewer = OutputViewer();
    if (!viewer) {
        viewer = new OutputViewerWindow(m_session);
        viewer->SetHooks({[this] { ShowOutputOptions(std::nullopt); },
                          [this] { m_children.BringToFront(ChildKind::Viewer); }});
        m_children.Add(ChildKind::OutputViewer, viewer, QSize(1000, 560));
        // A new viewer shows the first page rather than a blank sheet.
        if (!m_session.Output.TemplateLines.isEmpty())
            viewer->Redraw();
    }
    if (text)
        viewer->SetText(*text);
    m_children.BringToFront(ChildKind::OutputViewer);
}

void MainWindow::DoEdit(EditAction action)
{
    // Qt's own edit actions of the focused box of the active child window.
    QMdiSubWindow* child = m_mdi->activeSubWindow();
    QWidget* target = child ? child->focusWidget() : nullptr;
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        switch (action) {
        case EditAction::Undo:
            line->undo();
            break;
        case EditAction::Cut:
            line->cut();
            break;
        case EditAction::Copy:
            line->copy();
            break;
        case EditAction::Paste:
            line->paste();
            break;
        case EditAction::Delete:
            line->del();
            break;
        }
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(target)) {
        switch (action) {
        case EditAction::Undo:
            text->undo();
            break;
        case EditAction::Cut:
            text->cut();
            break;
        case EditAction::Copy:
            text->copy();
            break;
        case EditAction::Paste:
            text->paste();
            break;
        case EditAction::Delete:
            text->textCursor().deleteChar();
            break;
        }
    }
}

WizardDialog* MainWindow::ShowWizard(std::optional<StartupOptions::Task> task)
{
    if (!m_wizard) {
        WizardDialog::Tasks tasks;
        tasks.openDatabase = [this] { m_shell.FOpenProc(); };
        tasks.newDatabase = [this] { m_shell.FileNew(); };
        tasks.openSampleDatabase = [this] { m_shell.OpenSampleDatabase(); };
        tasks.openDatabasePath = [this] { return m_session.Database.CurrentDatabasePath; };
        m_wizard = new WizardDialog(m_session, std::move(tasks), this);
    }
    if (task)
        m_wizard->SelectTask(*task);
    m_wizard->show();
    m_wizard->raise();
    m_wizard->activateWindow();
    return m_wizard;
}

void MainWindow::CloseStartupOptions()
{
    if (m_wizard)
        m_wizard->close();
}

void MainWindow::ShowHelpContents()
{
    if (!m_help)
        m_help = new HelpWindow(m_session.Folders.ProgramFile(QStringLiteral("help")), this);
    m_help->setWindowFlag(Qt::Window, true);
    if (!m_help->ShowContents()) {
        m_session.ui.MessageBox(
            QStringLiteral("The help pages were not found in ") +
                QDir::toNativeSeparators(m_session.Folders.ProgramFile(QStringLiteral("help"))),
            MessageIcon::Exclamation);
        m_help->close();
        return;
    }
    m_help->show();
    m_help->raise();
}

void MainWindow::ShowAbout()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::ShowOutputOptions(std::optional<OutputType> preset)
{
    if (!m_outputOptions) {
        OutputOptionsDialog::Hooks hooks;
        hooks.summaryRows = [this] {
            SummaryRows rows;
            const RecordSet& records = m_session.Database.SummaryRecords;
            rows.ids = records.Ids();
            rows.current = records.Bookmark();
            if (SummaryWindow* summary = Summary()) {
                for (const qint64 id : summary->SelectedRecords())
                    rows.selected.push_back(id);
                for (int c = 0; c < SummaryViewState::kHeaderColumns; ++c)
                    rows.headerShown.append(summary->IsColumnVisible(c));
            }
            return rows;
        };
        hooks.printerSetup = [this] { ShowPrinterSetup(); };
        hooks.showText = [this](const QString& text) { ShowOutputText(text); };
        hooks.runEnded = [this](const QString& status) { m_shell.RunStatus().RunEnded(status); };
        m_outputOptions = new OutputOptionsDialog(m_session, Printer(), std::move(hooks), this);
    }
    m_outputOptions->Open(preset);
    m_shell.RunStatus().DialogClosed();
}

bool MainWindow::event(QEvent* e)
{
    const bool handled = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate)
        m_shell.RunStatus().FrameActivated();
    return handled;
}

void MainWindow::ShowPrinterSetup()
{
    QPrintDialog dialog(&Printer(), this);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    dialog.exec();
}

void MainWindow::ShowClipboardImport(const QString& text)
{
    ClipboardImportDialog dialog(m_session, text, this);
    dialog.exec();
}

void MainWindow::ShowDuplicateReview(DuplicateReview& review)
{
    DuplicateReviewDialog dialog(review, this);
    dialog.exec();
}

void MainWindow::ShowDuplicateKeys(DuplicateKeysSetting& setting)
{
    DuplicateKeysDialog dialog(setting, this);
    dialog.exec();
}

void MainWindow::ShowRetention(RetentionSetting& setting)
{
    RetentionDialog dialog(setting, this);
    dialog.exec();
}

void MainWindow::ShowPersonData(PersonData& data)
{
    PersonDataDialog dialog(data, this);
    dialog.exec();
}

void MainWindow::ShowChangeLog(ChangeLogBrowser& browser)
{
    ChangeLogDialog dialog(browser, this);
    dialog.exec();
}

void MainWindow::ShowStatistics()
{
    if (!m_children.Window(ChildKind::Statistics))
        m_children.Add(ChildKind::Statistics, new StatisticsWindow(m_session), QSize(640, 560));
    m_children.BringToFront(ChildKind::Statistics);
}

void MainWindow::ShowMailboxFetch()
{
    KeychainPasswordStore passwords;
    MailboxFetchDialog dialog(m_session, passwords, this);
    dialog.exec();
}

QString MainWindow::ChooseFolder(const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(this, title, start);
}

void MainWindow::ShowSummaryFields()
{
    SummaryFieldsDialog dialog(m_session, this);
    dialog.exec();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    // Taken even with no database open, so that the drop can say why
    // nothing is imported.
    if (event->mimeData() && !ReadDroppedResponses(*event->mimeData()).Empty())
        event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData() && !ReadDroppedResponses(*event->mimeData()).Empty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    if (!event->mimeData())
        return;
    const DroppedResponses dropped = ReadDroppedResponses(*event->mimeData());
    if (dropped.Empty())
        return;
    event->acceptProposedAction();
    // The import (and its dialogs) run after the drop has ended, so the
    // program the data came from is not kept waiting.
    QMetaObject::invokeMethod(
        this, [this, dropped] { m_shell.DropOnWindow(dropped); }, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_wizard)
        m_wizard->close();
    if (m_help)
        m_help->close();
    m_children.Close(ChildKind::Viewer);
    // The user chose to stay on a record not yet saved.
    if (m_children.Window(ChildKind::Viewer)) {
        event->ignore();
        return;
    }
    m_children.CloseAll();
    event->accept();
}
