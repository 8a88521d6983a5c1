#include "gui/app/CommandIcons.h"
#include "gui/app/MainWindow.h"
#include "app/StartupOptions.h"
#include "gui/app/WizardDialog.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "platform/Settings.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QImage>
#include <QPushButton>
#include <QStyleFactory>
#include <QPixmapCache>
#include <QProxyStyle>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseFallbackIconTheme(); // as the program's main does
        RecentFiles::ClearRecentFiles();
        PrepareProgramFolder(dir, Templates::None);
    }
    void TearDown() override { RecentFiles::ClearRecentFiles(); }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
};

QStringList ActionTexts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (QAction* a : actions)
        texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

} // namespace

TEST_F(MainWindowTest, FrameMenusAndToolbar)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    EXPECT_EQ(frame.objectName(), QStringLiteral("frmMDI"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Tallowmere"));

    EXPECT_EQ(ActionTexts(frame.menuBar()->actions()),
              (QStringList{"&File", "&Edit", "&Record", "&Options", "&Window", "&Help"}));
    auto* file = frame.findChild<QMenu*>(QStringLiteral("mnuFile"));
    ASSERT_NE(file, nullptr);
    const QStringList fileItems = ActionTexts(file->actions());
    ASSERT_EQ(fileItems.size(), 23);
    EXPECT_EQ(fileItems.first(), QStringLiteral("&New Database..."));
    EXPECT_EQ(fileItems[3], QStringLiteral("Co&mpact database"));
    EXPECT_EQ(fileItems[6], QStringLiteral("&Fetch responses from mailbox..."));
    EXPECT_EQ(fileItems[7], QStringLiteral("&Set import folder..."));
    EXPECT_EQ(fileItems[8], QStringLiteral("Sc&an import folder"));
    EXPECT_EQ(fileItems[9],
              QStringLiteral("&Export record(s) to different Tallowmere Database..."));
    EXPECT_EQ(fileItems[17], QStringLiteral("E&xit"));
    EXPECT_EQ(fileItems[18], QStringLiteral("-"));
    EXPECT_EQ(fileItems.last(), QStringLiteral("RecentFile4"));
    for (int i = 18; i < 23; ++i)
        EXPECT_FALSE(file->actions()[i]->isVisible()) << i;

    auto* record = frame.findChild<QMenu*>(QStringLiteral("mnuResume"));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(ActionTexts(record->actions()),
              (QStringList{"Move &First", "Move &Previous", "Move &Next", "Move &Last",
                           "En&ter new record", "&Edit record", "&Delete record", "Save &record",
                           "&Cancel changes", "&View record", "View &summary",
                           "Review d&uplicates...", "Find a pers&on's data..."}));
    auto* options = frame.findChild<QMenu*>(QStringLiteral("mnuOptions"));
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(ActionTexts(options->actions()).contains(QStringLiteral("&Retention...")));

    auto* toolbar = frame.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    ASSERT_NE(toolbar, nullptr);
    const QList<QAction*> buttons = toolbar->actions();
    ASSERT_EQ(buttons.size(), 25);
    for (int pos : {4, 8, 14, 17, 21})
        EXPECT_TRUE(buttons[pos - 1]->isSeparator()) << pos;
    EXPECT_EQ(buttons[4]->objectName(), QStringLiteral("tbrOpenDB"));
    EXPECT_EQ(buttons[4]->toolTip(), QStringLiteral("Open Database"));
    EXPECT_EQ(buttons[12]->objectName(), QStringLiteral("tbrStatistics"));
    EXPECT_EQ(buttons[24]->toolTip(), QStringLiteral("Move to the last record"));
    for (QAction* b : buttons) {
        if (!b->isSeparator()) {
            EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
        }
    }

    EXPECT_EQ(frame.Command(QStringLiteral("mnuFOpenDB"))->shortcut(),
              QKeySequence(QKeySequence::Open));
    EXPECT_EQ(frame.Command(QStringLiteral("mnuFExit"))->shortcut(),
              QKeySequence(QKeySequence::Quit));
    EXPECT_EQ(frame.Command(QStringLiteral("mnuHContents"))->shortcut(),
              QKeySequence(QKeySequence::HelpContents));
}

TEST_F(MainWindowTest, StartupWithNothingSetShowsTheStartupOptionsAndNoDatabaseCommands)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(QString());
    ASSERT_FALSE(ui.statusTexts.isEmpty());
    EXPECT_EQ(ui.statusTexts.first(), QStringLiteral("Initializing. Please wait..."));
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_GT(ui.yields, 0);
    EXPECT_TRUE(frame.isVisible());

    ASSERT_NE(frame.Wizard(), nullptr);
    EXPECT_TRUE(frame.Wizard()->isVisible());
    EXPECT_EQ(frame.Wizard()->windowTitle(), QStringLiteral("Quick Tips"));
    EXPECT_FALSE(frame.Shell().DatabaseOpen());

    for (const char* off : {"mnuEdit", "mnuResume", "mnuOQueryBuilder", "mnuFCloseDB",
                            "mnuFImportResume", "mnuFPrintResume", "mnuRMoveNext", "tbrNext",
                            "tbrFileImport", "tbrView", "mnuFCompactDB", "mnuOChangeLog"})
        EXPECT_FALSE(frame.Command(QString::fromLatin1(off))->isEnabled()) << off;
    for (const char* on :
         {"tbrOpenDB", "mnuFOpenDB", "mnuFNewDB", "mnuFExit", "mnuWTile", "mnuHContents",
          "mnuHAbout", "mnuFLoadConfig", "mnuOptions", "mnuOToolbar", "mnuOPreferences"})
        EXPECT_TRUE(frame.Command(QString::fromLatin1(on))->isEnabled()) << on;

    // Shortcuts of a disabled menu reach nothing.
    frame.activateWindow();
    QTest::keyClick(&frame, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(MainWindowTest, NoWizardSuppressesTheStartupOptions)
{
    WriteSetting(session.Folders, Settings::NoWizard, QStringLiteral("1"));
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(QString());
    EXPECT_EQ(frame.Wizard(), nullptr);
}

TEST_F(MainWindowTest, DatabaseCommandsFollowTheOpenState)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    shell.SetNoDBMenus(false);
    EXPECT_TRUE(shell.DatabaseOpen());
    for (const char* on : {"mnuEdit", "mnuResume", "mnuRMoveNext", "mnuFCloseDB", "tbrLast",
                           "tbrFileImport", "mnuOToolbar"})
        EXPECT_TRUE(frame.Command(QString::fromLatin1(on))->isEnabled()) << on;
    frame.Shell().SetNoDBMenus(true);
    EXPECT_FALSE(frame.Shell().DatabaseOpen());
    EXPECT_FALSE(frame.Command(QStringLiteral("mnuRMoveNext"))->isEnabled());
    EXPECT_TRUE(frame.Command(QStringLiteral("tbrOpenDB"))->isEnabled());
}

TEST_F(MainWindowTest, RecentFilesAppearUnderTheSeparator)
{
    RecentFiles::AddRecentFile(QStringLiteral("/db/first.fdb"));
    RecentFiles::AddRecentFile(QStringLiteral("/db/second.fdb"));
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(QString());
    EXPECT_TRUE(frame.Command(QStringLiteral("mnuFRecentSeparator"))->isVisible());
    QAction* first = frame.Command(QStringLiteral("mnuFRecentFile1"));
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->text(), QStringLiteral("/db/second.fdb"));
    EXPECT_EQ(frame.Command(QStringLiteral("mnuFRecentFile2"))->text(),
              QStringLiteral("/db/first.fdb"));
    EXPECT_FALSE(frame.Command(QStringLiteral("mnuFRecentFile3"))->isVisible());
}

TEST_F(MainWindowTest, ToolbarCommandShowsAndHidesTheToolbar)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.show();
    frame.Shell().SetNoDBMenus(false);
    auto* toolbar = frame.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    QAction* toggle = frame.Command(QStringLiteral("mnuOToolbar"));
    ASSERT_TRUE(toggle->isChecked());
    toggle->trigger();
    EXPECT_FALSE(toolbar->isVisible());
    toggle->trigger();
    EXPECT_TRUE(toolbar->isVisible());
}

TEST_F(MainWindowTest, PreferencesOpenTheStartupOptionsOnSaveOnly)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    shell.SetNoDBMenus(false);
    frame.Command(QStringLiteral("mnuOPreferences"))->trigger();
    WizardDialog* wizard = frame.Wizard();
    ASSERT_NE(wizard, nullptr);
    EXPECT_TRUE(wizard->isVisible());
    auto* saveOnly = wizard->findChild<QRadioButton*>(QStringLiteral("optTask_4"));
    ASSERT_NE(saveOnly, nullptr);
    EXPECT_TRUE(saveOnly->isChecked());
    EXPECT_EQ(saveOnly->text(), QStringLiteral("Onl&y save startup options"));

    auto* autoOpen = wizard->findChild<QCheckBox*>(QStringLiteral("chkAutoOpen"));
    auto* noWizard = wizard->findChild<QCheckBox*>(QStringLiteral("chkNoWizard"));
    ASSERT_TRUE(autoOpen && noWizard);
    EXPECT_FALSE(autoOpen->isChecked());
    autoOpen->click();
    noWizard->click();
    EXPECT_EQ(ReadSetting(session.Folders, Settings::AutoLoadDB), QStringLiteral("1"));
    EXPECT_EQ(ReadSetting(session.Folders, Settings::NoWizard), QStringLiteral("1"));

    // "Go !" with "Only save startup options" closes the dialog and does nothing else.
    QTest::mouseClick(wizard->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    EXPECT_TRUE(frame.Wizard() == nullptr || !frame.Wizard()->isVisible());
    EXPECT_TRUE(ui.messages.isEmpty());

    // Opened again, the boxes show what was saved.
    frame.ShowWizard();
    EXPECT_TRUE(frame.Wizard()->findChild<QCheckBox*>(QStringLiteral("chkAutoOpen"))->isChecked());
    EXPECT_TRUE(frame.Wizard()->findChild<QCheckBox*>(QStringLiteral("chkNoWizard"))->isChecked());
}

TEST_F(MainWindowTest, HelpContentsShowsTheProgramsHelpPages)
{
    QDir(dir.Path()).mkdir(QStringLiteral("help"));
    dir.Write(QStringLiteral("help/index.htm"),
              "<html><head><title>Contents</title></head><body><h1>Tallowmere Help</h1>"
              "<a href=\"opening.htm\">Opening a database</a></body></html>");
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.Command(QStringLiteral("mnuHContents"))->trigger();
    ASSERT_NE(frame.Help(), nullptr);
    EXPECT_TRUE(frame.Help()->isVisible());
    EXPECT_TRUE(frame.Help()->Browser()->toPlainText().contains(QStringLiteral("Tallowmere Help")));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(MainWindowTest, MissingHelpPagesAreReported)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.ShowHelpContents();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(
        ui.messages.first().text.startsWith(QStringLiteral("The help pages were not found in ")));
}

TEST_F(MainWindowTest, MissingDefaultConfigurationEndsTheProgram)
{
    QFile::remove(dir.File(QStringLiteral("default.cfg")));
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(QString());
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{QStringLiteral(
                  "frmBrowser Load: Error reading Default.cfg: No such file or directory")});
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(frame.Wizard(), nullptr);
    EXPECT_EQ(ui.busyDepth, 0);
    // At start-up the end is left to main: no event loop is told to quit
    // before it runs, so a dialog shown later still waits for its answer.
    EXPECT_TRUE(frame.Ended());
    bool ran = false;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        ran = true;
        loop.quit();
    });
    loop.exec();
    EXPECT_TRUE(ran);
}

TEST_F(MainWindowTest, PreferencesAndToolbarWorkWithNoDatabase)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.show();
    frame.Shell().SetNoDBMenus(true);
    auto* options = frame.findChild<QMenu*>(QStringLiteral("mnuOptions"));
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(options->menuAction()->isEnabled());
    // Only the two entries that need no database are on.
    for (QAction* entry : options->actions()) {
        if (entry->isSeparator())
            continue;
        const bool free = entry->objectName() == QLatin1String("mnuOToolbar") ||
                          entry->objectName() == QLatin1String("mnuOPreferences");
        EXPECT_EQ(entry->isEnabled(), free) << entry->objectName().toStdString();
    }

    auto* toolbar = frame.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    frame.Command(QStringLiteral("mnuOToolbar"))->trigger();
    EXPECT_FALSE(toolbar->isVisible());
    frame.Command(QStringLiteral("mnuOToolbar"))->trigger();
    EXPECT_TRUE(toolbar->isVisible());

    frame.Command(QStringLiteral("mnuOPreferences"))->trigger();
    ASSERT_NE(frame.Wizard(), nullptr);
    EXPECT_TRUE(frame.Wizard()->isVisible());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(MainWindowTest, EditEntriesCarryShortcutsAndEveryCommandItsThemeIcon)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    EXPECT_EQ(frame.Command(QStringLiteral("mnuECut"))->shortcut(),
              QKeySequence(QKeySequence::Cut));
    EXPECT_EQ(frame.Command(QStringLiteral("mnuECopy"))->shortcut(),
              QKeySequence(QKeySequence::Copy));
    EXPECT_EQ(frame.Command(QStringLiteral("mnuEPaste"))->shortcut(),
              QKeySequence(QKeySequence::Paste));
    // The icons are the theme's icons of each meaning, not look-alikes.
    const QList<std::pair<const char*, const char*>> expected = {
        {"tbrCut", "edit-cut"},         {"tbrPaste", "edit-paste"},
        {"tbrPrint", "document-print"}, {"tbrEdit", "document-edit"},
        {"mnuECut", "edit-cut"},        {"mnuFNewDB", "document-new"},
        {"mnuHAbout", "help-about"},    {"tbrBrowse", "view-list-details"}};
    for (const auto& [name, icon] : expected) {
        const QIcon shown = frame.Command(QString::fromLatin1(name))->icon();
        EXPECT_EQ(shown.name(), QString::fromLatin1(icon)) << name;
        EXPECT_FALSE(shown.pixmap(22).isNull()) << name;
    }
    for (const CommandInfo& c : Commands()) {
        if (!CommandIconName(c.id).isEmpty()) {
            EXPECT_FALSE(CommandIcon(c.id).isNull()) << CommandIconName(c.id).toStdString();
        }
    }
}

// A style that draws a disabled icon as it draws an enabled one.
class SameIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QPixmap generatedIconPixmap(QIcon::Mode, const QPixmap& pixmap,
                                const QStyleOption*) const override
    {
        return pixmap;
    }
};

TEST_F(MainWindowTest, DisabledCommandsDrawTheirIconsDisabled)
{
    const QString styleName = QApplication::style()->name();
    for (const bool plainStyle : {false, true}) {
        if (plainStyle) {
            QApplication::setStyle(new SameIconStyle(QStyleFactory::create(styleName)));
            QPixmapCache::clear(); // pictures drawn for the other style
        }
        ShellController shell(session);
        MainWindow frame(session, shell);
        for (const char* name : {"tbrCut", "tbrPrint", "tbrEdit", "mnuFNewDB"}) {
            const QIcon icon = frame.Command(QString::fromLatin1(name))->icon();
            for (const int size : {16, 22, 32}) {
                const QImage normal = icon.pixmap(size, QIcon::Normal).toImage();
                const QImage disabled = icon.pixmap(size, QIcon::Disabled).toImage();
                ASSERT_FALSE(normal.isNull()) << name;
                EXPECT_EQ(disabled.size(), normal.size()) << name;
                EXPECT_NE(disabled, normal) << name << " at " << size << " plain " << plainStyle;
            }
        }
    }
    QApplication::setStyle(QStyleFactory::create(styleName));
}

TEST_F(MainWindowTest, TutorialWithoutABrowserSaysWhereTheFileIs)
{
    QFile::copy(QStringLiteral(TALLOWMERE_RESOURCES "/tutorial.htm"),
                dir.File(QStringLiteral("tutorial.htm")));
    WizardDialog::Tasks tasks;
    QString handed;
    tasks.openDocument = [&handed](const QString& path) {
        handed = path;
        return false;
    };
    WizardDialog wizard(session, tasks);
    wizard.show();
    wizard.RunTask(StartupOptions::ViewTutorial);
    EXPECT_EQ(QFileInfo(handed).fileName(), QStringLiteral("tutorial.htm"));
    ASSERT_EQ(ui.MessageTexts().size(), 1);
    EXPECT_EQ(ui.MessageTexts().first(), StartupOptions::NoBrowserMessage(handed));
    EXPECT_TRUE(ui.MessageTexts().first().contains(handed));
    EXPECT_TRUE(wizard.isVisible()); // the tutorial keeps the dialog open

    // With a browser, nothing is said.
    tasks.openDocument = [](const QString&) { return true; };
    WizardDialog shown(session, tasks);
    shown.RunTask(StartupOptions::ViewTutorial);
    EXPECT_EQ(ui.MessageTexts().size(), 1);
}
