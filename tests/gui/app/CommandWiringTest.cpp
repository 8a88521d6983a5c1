#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "gui/search/SummaryWindow.h"
#include "session/RecordTables.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

// Every menu entry and toolbar button either does something a user can see
// or is disabled: none is a silent no-op.
namespace {

class CommandWiringTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentFiles::ClearRecentFiles();
        PrepareProgramFolder(dir, Templates::Record);
        database = MakeSampleDatabase(dir, QStringLiteral("forms.fdb"));
    }
    void TearDown() override { RecentFiles::ClearRecentFiles(); }

    TempDir dir;
    QString database;
};

// What a user could notice of the program at one moment.
struct Snapshot {
    int logged = 0;
    int dialogs = 0;
    QMdiSubWindow* active = nullptr;
    int children = 0;
    bool toolbar = false;
    bool wizard = false;
    bool help = false;
    bool frame = false;
    bool database = false;
    QString clipboard;
    QString box;
    QString record;
    int summaryRow = -1;
    QList<QRect> geometries;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(MainWindow& frame, const ScriptedUi& ui, QLineEdit* box, Session& current)
{
    Snapshot s;
    s.logged = int(ui.log.size());
    s.dialogs = int(ui.openRequests.size() + ui.saveRequests.size());
    s.active = frame.MdiArea()->activeSubWindow();
    for (QMdiSubWindow* child : frame.MdiArea()->subWindowList())
        s.children += child->isVisible() ? 1 : 0;
    s.toolbar = frame.findChild<QToolBar*>(QStringLiteral("Toolbar1"))->isVisible();
    s.wizard = frame.Wizard() && frame.Wizard()->isVisible();
    s.help = frame.Help() && frame.Help()->isVisible();
    s.frame = frame.isVisible();
    s.database = frame.Shell().DatabaseOpen();
    s.clipboard = QApplication::clipboard()->text();
    s.box = box ? box->text() : QString();
    s.record = current.Tables.GetArrayElement(RecordTables::kHeaderTable, 0);
    s.summaryRow = frame.Summary() ? frame.Summary()->Grid()->currentIndex().row() : -1;
    for (QMdiSubWindow* child : frame.MdiArea()->subWindowList())
        s.geometries.append(child->geometry());
    return s;
}

QStringList ControlNames(MainWindow& frame)
{
    QStringList names;
    for (QAction* a : frame.findChildren<QAction*>()) {
        const QString name = a->objectName();
        if (name.startsWith(QLatin1String("mnuFRecent")) || a->isSeparator() || a->menu() ||
            name.isEmpty() || !(name.startsWith("mnu") || name.startsWith("tbr")))
            continue;
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

} // namespace

TEST_F(CommandWiringTest, EveryEnabledCommandDoesSomethingVisible)
{
    QStringList enabled;
    {
        ScriptedUi ui;
        Session session{ui, dir.Folders(), Regional(TestLocale())};
        ShellController shell(session);
        MainWindow frame(session, shell);
        frame.MDIForm_Load(database);
        for (const QString& name : ControlNames(frame))
            if (frame.Command(name)->isEnabled())
                enabled.append(name);
    }
    ASSERT_GT(enabled.size(), 20);

    QStringList silent;
    for (const QString& name : enabled) {
        ScriptedUi ui;
        Session session{ui, dir.Folders(), Regional(TestLocale())};
        ShellController shell(session);
        MainWindow frame(session, shell);
        frame.MDIForm_Load(database);
        if (frame.Wizard())
            frame.Wizard()->close();
        // A record in the middle, so that every move shows another one.
        frame.Summary()->Command1_Click(Navigation::Next);
        frame.Summary()->Command1_Click(Navigation::Next);
        // A box with text and an edit history in the active child window,
        // for the edit commands; the summary is brought to the front by
        // its own command only from another window.
        frame.Children().BringToFront(ChildKind::Summary);
        auto* box = frame.Summary()->findChild<QLineEdit*>(QStringLiteral("Text1"));
        box->setFocus();
        box->insert(QStringLiteral("abc"));
        box->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("before"));
        if (name == QLatin1String("tbrBrowse") || name == QLatin1String("mnuRViewSummary"))
            frame.Children().BringToFront(ChildKind::Viewer);

        bool modalShown = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modalShown = true;
                modal->close();
            }
        });
        closer.start(20);
        const Snapshot before = Take(frame, ui, box, session);
        frame.Command(name)->trigger();
        closer.stop();
        const Snapshot after = frame.isVisible() ? Take(frame, ui, box, session) : Snapshot{};
        if (!modalShown && after == before)
            silent.append(name);
    }
    EXPECT_TRUE(silent.isEmpty()) << silent.join(QLatin1Char(' ')).toStdString();
}

TEST_F(CommandWiringTest, CommandsNotInTheProgramAreShownDisabled)
{
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    for (const char* name : {"mnuOSpellCheck", "mnuOFormDesigner", "mnuOArrangeSections"}) {
        QAction* action = frame.Command(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isVisible()) << name;
        EXPECT_FALSE(action->isEnabled()) << name;
    }
    // Shortcuts of commands that are off reach nothing.
    for (const CommandInfo& c : Commands()) {
        if (!c.built && !c.menuItem.isEmpty()) {
            EXPECT_FALSE(frame.Command(c.menuItem)->isEnabled()) << c.menuItem.toStdString();
        }
    }
}
