#include "app/MainWindow.h"

#include "output/OutputState.h"
#include "output/TextRenderer.h"

#include "app/AboutDialog.h"
#include "app/HelpWindow.h"
#include "app/RecentFiles.h"
#include "app/Session.h"
#include "app/StartupOptions.h"
#include "app/StartupPlan.h"
#include "app/ShellProcedures.h"
#include "app/WizardDialog.h"
#include "config/ConfigReader.h"
#include "config/ConfigWriter.h"
#include "database/DatabaseOpening.h"
#include "output/OutputState.h"
#include "output/TextRenderer.h"
#include "platform/QtUi.h"
#include "responses/ResponseImport.h"
#include "search/SummaryNavigation.h"
#include "search/SummaryWindow.h"
#include "viewer/BrowserWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
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
#include <QToolBar>
#include <exception>

namespace {

// The icon of a toolbar button: the desktop theme's, else the style's.
QIcon ButtonIcon(const QStyle* style, const QString& key)
{
    struct Icon {
        const char* key;
        const char* theme;
        QStyle::StandardPixmap fallback;
    };
    static const Icon icons[] = {
        {"Cut", "edit-cut", QStyle::SP_DialogDiscardButton},
        {"Copy", "edit-copy", QStyle::SP_FileDialogContentsView},
        {"Paste", "edit-paste", QStyle::SP_DialogApplyButton},
        {"OpenDB", "document-open", QStyle::SP_DialogOpenButton},
        {"FileImport", "document-import", QStyle::SP_FileIcon},
        {"ClipboardImport", "edit-paste", QStyle::SP_FileDialogDetailedView},
        {"Add", "document-new", QStyle::SP_FileDialogNewFolder},
        {"Print", "document-print", QStyle::SP_DriveHDIcon},
        {"Delete", "edit-delete", QStyle::SP_TrashIcon},
        {"Query", "edit-find", QStyle::SP_FileDialogContentsView},
        {"Save", "document-save", QStyle::SP_DialogSaveButton},
        {"Cancel", "edit-undo", QStyle::SP_DialogCancelButton},
        {"Edit", "document-edit", QStyle::SP_FileDialogInfoView},
        {"Browse", "view-list-details", QStyle::SP_FileDialogListView},
        {"View", "document-preview", QStyle::SP_FileDialogDetailedView},
        {"First", "go-first", QStyle::SP_MediaSkipBackward},
        {"Prev", "go-previous", QStyle::SP_ArrowBack},
        {"Next", "go-next", QStyle::SP_ArrowForward},
        {"Last", "go-last", QStyle::SP_MediaSkipForward},
    };
    for (const Icon& icon : icons) {
        if (key == QLatin1String(icon.key))
            return QIcon::fromTheme(QString::fromLatin1(icon.theme),
                                    style->standardIcon(icon.fallback));
    }
    return {};
}

} // namespace

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_mdi(new QMdiArea(this))
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
    BuildToolbar();
    ConnectCommands();

    SessionEvents& events = m_session.Events;
    connect(&events, &SessionEvents::DatabaseOpened, this, [this] {
        SetNoDBMenus(false);
        if (m_summarySub) {
            m_summarySub->showMaximized();
            m_mdi->setActiveSubWindow(m_summarySub);
        }
    });
    connect(&events, &SessionEvents::RecentFileUsed, this, [this](const QString& path) {
        RecentFiles::AddRecentFile(path);
        RefreshRecentFilesMenu();
    });
}

MainWindow::~MainWindow()
{
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
        }
    }
    // Shortcuts desktop users expect.
    Command(QStringLiteral("mnuFOpenDB"))->setShortcut(QKeySequence::Open);
    Command(QStringLiteral("mnuFNewDB"))->setShortcut(QKeySequence::New);
    Command(QStringLiteral("mnuFPrintResume"))->setShortcut(QKeySequence::Print);
    Command(QStringLiteral("mnuFExit"))->setShortcut(QKeySequence::Quit);
    Command(QStringLiteral("mnuOQueryBuilder"))->setShortcut(QKeySequence::Find);
    Command(QStringLiteral("mnuHContents"))->setShortcut(QKeySequence::HelpContents);
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
        QAction* action = m_toolbar->addAction(ButtonIcon(style(), button.key), button.tooltip);
        action->setObjectName(ToolbarButtonName(button.key));
        action->setToolTip(button.tooltip);
        const QString key = button.key;
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        m_commands.insert(action->objectName(), action);
    }
}

void MainWindow::OnCommand(const QString& name, void (MainWindow::*slot)())
{
    connect(Command(name), &QAction::triggered, this, slot);
}

void MainWindow::ConnectCommands()
{
    connect(Command(QStringLiteral("mnuFOpenDB")), &QAction::triggered, this,
            [this] { Toolbar1_ButtonClick(QStringLiteral("OpenDB")); });
    OnCommand(QStringLiteral("mnuFNewDB"), &MainWindow::FileNew);
    connect(Command(QStringLiteral("mnuFCloseDB")), &QAction::triggered, this, [this] {
        if (m_browserSub)
            m_browserSub->close();
    });
    connect(Command(QStringLiteral("mnuFImportResume")), &QAction::triggered, this,
            [this] { Toolbar1_ButtonClick(QStringLiteral("FileImport")); });
    OnCommand(QStringLiteral("mnuFLoadConfig"), &MainWindow::LoadConfiguration);
    connect(Command(QStringLiteral("mnuFSaveConfig")), &QAction::triggered, this,
            [this] { SaveConfigFile(m_session); });
    connect(Command(QStringLiteral("mnuFExit")), &QAction::triggered, this, &QWidget::close);
    connect(Command(QStringLiteral("mnuFPrinterSetup")), &QAction::triggered, this, [this] {
        QPrintDialog dialog(&Printer(), this);
        dialog.setWindowTitle(QStringLiteral("Printer Setup"));
        dialog.exec();
    });
    for (int k = 1; k <= RecentFiles::kMaxEntries; ++k)
        connect(Command(RecentFileItemName(k)), &QAction::triggered, this,
                [this, k] { OpenRecentFile(k); });

    for (const char* action : {"Undo", "Cut", "Copy", "Paste", "Delete"}) {
        const QString name = QString::fromLatin1(action);
        connect(Command(QStringLiteral("mnuE") + name), &QAction::triggered, this,
                [this, name] { DoEdit(name); });
    }

    for (const Menu& menu : MainMenus()) {
        for (const MenuItem& item : menu.items) {
            if (item.toolbarKey.isEmpty())
                continue;
            const QString key = item.toolbarKey;
            connect(Command(item.name), &QAction::triggered, this,
                    [this, key] { Toolbar1_ButtonClick(key); });
        }
    }

    QMenu* options = findChild<QMenu*>(QStringLiteral("mnuOptions"));
    connect(options, &QMenu::aboutToShow, this,
            [this] { Command(QStringLiteral("mnuOToolbar"))->setChecked(m_toolbar->isVisible()); });
    connect(Command(QStringLiteral("mnuOToolbar")), &QAction::toggled, this,
            [this](bool checked) { m_toolbar->setVisible(checked); });
    connect(Command(QStringLiteral("mnuOPreferences")), &QAction::triggered, this,
            [this] { ShowWizard(StartupOptions::SaveOptionsOnly); });

    connect(Command(QStringLiteral("mnuWCascade")), &QAction::triggered, m_mdi,
            &QMdiArea::cascadeSubWindows);
    OnCommand(QStringLiteral("mnuWTile"), &MainWindow::TileChildren);
    OnCommand(QStringLiteral("mnuHContents"), &MainWindow::ShowHelpContents);
    connect(Command(QStringLiteral("mnuHAbout")), &QAction::triggered, this, [this] {
        AboutDialog about(this);
        about.exec();
    });
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
        SetNoDBMenus(true);
        ui.SetBusy(true);
        busy = true;
        ui.Yield();
        RefreshRecentFilesMenu();
        QDir::setCurrent(m_session.Folders.Program());
        if (!ShowRecordWindows()) {
            ui.SetBusy(false);
            return; // the program ends
        }
        if (m_summarySub)
            m_mdi->setActiveSubWindow(m_summarySub);

        const StartupPlan plan = PlanStartup(m_session.Folders, commandLine);
        if (plan.openDatabase) {
            ui.SetStatusText(QStringLiteral("Opening Database..."));
            OpenDatabaseFile(plan.databasePath);
            RefreshRecentFilesMenu();
        }
        if (plan.showWizard) {
            WizardDialog* wizard = ShowWizard();
            wizard->raise();
        }
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error loading form: ") + QString::fromLocal8Bit(e.what()),
                      MessageIcon::Exclamation);
    }
    if (busy)
        ui.SetBusy(false);
}

void MainWindow::SetNoDBMenus(bool noDatabase)
{
    DatabaseOpen = !noDatabase;
    ApplyCommandStates(NoDatabaseCommandStates(noDatabase));
}

void MainWindow::ApplyCommandStates(const QList<CommandState>& states)
{
    for (const CommandState& state : states) {
        if (QAction* action = Command(state.name)) {
            action->setEnabled(state.enabled);
            continue;
        }
        // Controls of child windows that share a name across sections.
        for (QWidget* control : findChildren<QWidget*>(state.name))
            control->setEnabled(state.enabled);
    }
}

void MainWindow::RefreshRecentFilesMenu()
{
    const QStringList items = RecentFiles::RecentFilesMenuItems();
    if (items.isEmpty())
        return;
    Command(QStringLiteral("mnuFRecentSeparator"))->setVisible(true);
    for (int k = 1; k <= RecentFiles::kMaxEntries && k <= items.size(); ++k) {
        QAction* item = Command(RecentFileItemName(k));
        item->setText(items[k - 1]);
        item->setVisible(true);
    }
}

void MainWindow::OpenRecentFile(int k)
{
    m_session.ui.SetStatusText(QStringLiteral("Opening Database... Please wait"));
    OpenDatabaseFile(Command(RecentFileItemName(k))->text());
}

void MainWindow::Toolbar1_ButtonClick(const QString& key)
{
    static const QStringList navigation = {QStringLiteral("First"), QStringLiteral("Prev"),
                                           QStringLiteral("Next"), QStringLiteral("Last")};
    if (key == QLatin1String("Cut") || key == QLatin1String("Copy") ||
        key == QLatin1String("Paste")) {
        DoEdit(key);
    } else if (key == QLatin1String("OpenDB")) {
        if (ShowRecordWindows())
            FOpenProc();
    } else if (key == QLatin1String("FileImport")) {
        ImportResume(m_session);
    } else if (navigation.contains(key)) {
        // Every record window moves through the summary's records.
        Command1_Click(m_session, int(navigation.indexOf(key)));
    } else if (key == QLatin1String("Edit")) {
        OpenResume(m_session);
        if (m_browserSub)
            m_mdi->setActiveSubWindow(m_browserSub);
    } else if (key == QLatin1String("Browse")) {
        OpenResume(m_session);
        if (m_summarySub)
            m_mdi->setActiveSubWindow(m_summarySub);
    } else if (key == QLatin1String("View")) {
        OpenResume(m_session);
        ViewRecord();
    }
    // Printing, deleting, editing and the Query Builder are connected by the
    // windows that carry them out.
}

void MainWindow::FOpenProc()
{
    Ui& ui = m_session.ui;
    BusyPointer busy(ui);
    ui.SetStatusText(QStringLiteral("Opening database... please wait"));
    try {
        GetDatabaseName(m_session, QString());
        if (!m_session.Database.CurrentDatabasePath.trimmed().isEmpty())
            RecentFiles::AddRecentFile(m_session.Database.CurrentDatabasePath);
        RefreshRecentFilesMenu();
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("Error opening file: ") + QString::fromLocal8Bit(e.what()),
                      MessageIcon::Exclamation);
    }
}

void MainWindow::FileNew()
{
    if (ShowRecordWindows())
        ::FileNew(m_session);
}

void MainWindow::OpenDatabase(const QString& path)
{
    if (ShowRecordWindows())
        GetDatabaseName(m_session, path);
}

void MainWindow::OpenDatabaseFile(const QString& path)
{
    if (ShowRecordWindows())
        OpenResumeDatabase(m_session, path);
}

void MainWindow::ForgetClosedWindows()
{
    // A closed child window is deleted later; until then it only hides.
    for (QPointer<QMdiSubWindow>* child : {&m_browserSub, &m_summarySub, &m_textSub}) {
        if (*child && (*child)->isHidden() &&
            (*child)->testAttribute(Qt::WA_WState_ExplicitShowHide))
            *child = nullptr;
    }
}

bool MainWindow::ShowRecordWindows()
{
    ForgetClosedWindows();
    if (!m_browserSub) {
        if (!LoadDefaultConfig(m_session)) {
            // The viewer cannot be laid out without its configuration.
            close();
            QCoreApplication::exit(1);
            return false;
        }
        BrowserWindow::Hooks hooks;
        hooks.closeOthers = [this] {
            if (m_summarySub)
                m_summarySub->close();
            if (m_textSub)
                m_textSub->close();
            if (m_wizard)
                m_wizard->close();
        };
        hooks.disableCommands = [this] { SetNoDBMenus(true); };
        hooks.showSummary = [this] {
            if (m_summarySub)
                m_mdi->setActiveSubWindow(m_summarySub);
        };
        auto* browser = new BrowserWindow(m_session, std::move(hooks));
        m_browserSub = m_mdi->addSubWindow(browser);
        m_browserSub->setAttribute(Qt::WA_DeleteOnClose);
        m_browserSub->setWindowIcon(windowIcon());
        m_browserSub->resize(760, 560);
        m_browserSub->show();
    }
    if (!m_summarySub) {
        SummaryWindow::Hooks hooks;
        hooks.closeViewer = [this] {
            if (m_browserSub)
                m_browserSub->close();
        };
        hooks.viewRecord = [this] { ViewRecord(); };
        auto* summary = new SummaryWindow(m_session, std::move(hooks));
        m_summarySub = m_mdi->addSubWindow(summary);
        m_summarySub->setAttribute(Qt::WA_DeleteOnClose);
        m_summarySub->setWindowIcon(windowIcon());
        m_summarySub->resize(760, 420);
        m_summarySub->show();
    }
    return true;
}

BrowserWindow* MainWindow::Browser() const
{
    return m_browserSub && !m_browserSub->isHidden()
               ? qobject_cast<BrowserWindow*>(m_browserSub->widget())
               : nullptr;
}

SummaryWindow* MainWindow::Summary() const
{
    return m_summarySub && !m_summarySub->isHidden()
               ? qobject_cast<SummaryWindow*>(m_summarySub->widget())
               : nullptr;
}

void MainWindow::LoadConfiguration()
{
    bool loaded = false;
    LoadConfigFile(m_session, QString(), &loaded);
    if (!loaded)
        return;
    // The viewer, the summary's captions and Quick Find follow the new form.
    if (BrowserWindow* browser = Browser()) {
        browser->ApplyConfiguration();
        m_mdi->setActiveSubWindow(m_browserSub);
    }
    if (SummaryWindow* summary = Summary())
        summary->ApplyConfiguration();
}

void MainWindow::ViewRecord()
{
    // The output viewer comes to the front whether or not the record could
    // be rendered; it keeps its earlier text when it could not.
    if (RenderRecordView(m_session)) {
        ShowRecordText(QStringLiteral("Viewing Record"), m_session.Output.OutputText);
        m_session.ui.SetStatusText(QStringLiteral("Viewing Record"));
    } else {
        ShowRecordText(QStringLiteral("Viewing Record"), std::nullopt);
    }
}

void MainWindow::ShowRecordText(const QString& title, const std::optional<QString>& text)
{
    ForgetClosedWindows();
    QPlainTextEdit* view = nullptr;
    if (m_textSub) {
        view = qobject_cast<QPlainTextEdit*>(m_textSub->widget());
    } else {
        view = new QPlainTextEdit;
        view->setObjectName(QStringLiteral("frmPrint"));
        view->setReadOnly(true);
        QFont font(QStringLiteral("Courier New"));
        font.setStyleHint(QFont::TypeWriter);
        view->setFont(font);
        m_textSub = m_mdi->addSubWindow(view);
        m_textSub->setAttribute(Qt::WA_DeleteOnClose);
        m_textSub->resize(600, 420);
    }
    if (text)
        view->setPlainText(*text);
    m_textSub->setWindowTitle(title);
    m_textSub->show();
    m_mdi->setActiveSubWindow(m_textSub);
}

void MainWindow::CloseRecordWindows()
{
    if (m_browserSub)
        m_browserSub->close();
    if (m_summarySub)
        m_summarySub->close();
    if (m_textSub)
        m_textSub->close();
}

void MainWindow::OpenSampleDatabase()
{
    Ui& ui = m_session.ui;
    BusyPointer busy(ui);
    ui.SetStatusText(QStringLiteral("Opening Sample Database..."));
    OpenDatabaseFile(m_session.Folders.ProgramFile(QStringLiteral("SampleDB.fdb")));
    RefreshRecentFilesMenu();
}

void MainWindow::DoEdit(const QString& action)
{
    struct Keystroke {
        const char* action;
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    static const Keystroke keystrokes[] = {
        {"Cut", Qt::Key_X, Qt::ControlModifier},    {"Copy", Qt::Key_C, Qt::ControlModifier},
        {"Paste", Qt::Key_V, Qt::ControlModifier},  {"Undo", Qt::Key_Z, Qt::ControlModifier},
        {"Delete", Qt::Key_Delete, Qt::NoModifier},
    };
    QMdiSubWindow* child = m_mdi->activeSubWindow();
    QWidget* target = child ? child->focusWidget() : nullptr;
    if (!target)
        return;
    for (const Keystroke& k : keystrokes) {
        if (action != QLatin1String(k.action))
            continue;
        QKeyEvent press(QEvent::KeyPress, k.key, k.modifiers);
        QKeyEvent release(QEvent::KeyRelease, k.key, k.modifiers);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
}

WizardDialog* MainWindow::ShowWizard(int task)
{
    if (!m_wizard) {
        WizardDialog::Tasks tasks;
        tasks.openDatabase = [this] { FOpenProc(); };
        tasks.newDatabase = [this] { FileNew(); };
        tasks.openSampleDatabase = [this] { OpenSampleDatabase(); };
        tasks.openDatabasePath = [this] { return m_session.Database.CurrentDatabasePath; };
        m_wizard = new WizardDialog(m_session, std::move(tasks), this);
    }
    if (task >= 0)
        m_wizard->SelectTask(task);
    m_wizard->show();
    m_wizard->raise();
    m_wizard->activateWindow();
    return m_wizard;
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

void MainWindow::TileChildren()
{
    // One above the other, each the full width of the frame.
    QList<QMdiSubWindow*> children;
    for (QMdiSubWindow* child : m_mdi->subWindowList())
        if (child->isVisible() && !child->isMinimized())
            children.append(child);
    if (children.isEmpty())
        return;
    // Each gets at least the height its controls need; the rest is shared.
    const QRect area = m_mdi->viewport()->rect();
    QList<int> heights;
    int needed = 0;
    for (QMdiSubWindow* child : children) {
        heights.append(child->minimumSizeHint().height());
        needed += heights.last();
    }
    const int spare = std::max(0, area.height() - needed) / int(children.size());
    int top = 0;
    for (int i = 0; i < children.size(); ++i) {
        children[i]->showNormal();
        children[i]->setGeometry(0, top, area.width(), heights[i] + spare);
        top += heights[i] + spare;
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_wizard)
        m_wizard->close();
    if (m_help)
        m_help->close();
    CloseRecordWindows();
    m_mdi->closeAllSubWindows();
    event->accept();
}
