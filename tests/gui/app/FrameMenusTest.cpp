#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "gui/search/SummaryWindow.h"
#include "gui/support/SampleFrame.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

// The frame's menu bar with a database open: its mnemonics against those
// of the child window in front, and the Window menu's list of windows.
namespace {

class FrameMenusTest : public SampleFrameTest {
protected:
    void SetUp() override
    {
        SampleFrameTest::SetUp();
        frame->activateWindow();
        QApplication::setActiveWindow(frame.get());
    }
    void CloseMenus()
    {
        if (QAction* open = frame->menuBar()->activeAction())
            if (open->menu())
                open->menu()->hide();
        frame->menuBar()->setActiveAction(nullptr);
    }
    // Presses Alt with every menu's letter that a control of child also
    // uses; the control must answer and the menu bar stay shut.
    void ExpectChildWins(QMdiSubWindow* child, const char* name, int expectedClashes)
    {
        ASSERT_TRUE(child) << name;
        frame->MdiArea()->setActiveSubWindow(child);
        child->widget()->setFocus();
        int clashes = 0;
        for (QAction* menu : frame->menuBar()->actions()) {
            const QKeySequence key = QKeySequence::mnemonic(menu->text());
            QList<QWidget*> claimants;
            for (auto* button : child->findChildren<QAbstractButton*>())
                if (button->isVisible() && button->isEnabled() &&
                    QKeySequence::mnemonic(button->text()) == key)
                    claimants.append(button);
            for (auto* label : child->findChildren<QLabel*>())
                if (label->isVisible() && label->buddy() &&
                    QKeySequence::mnemonic(label->text()) == key)
                    claimants.append(label->buddy());
            if (claimants.isEmpty())
                continue;
            ++clashes;
            QTest::keyClick(QApplication::focusWidget(), key[0].key(), Qt::AltModifier);
            EXPECT_EQ(frame->menuBar()->activeAction(), nullptr)
                << name << " opened " << menu->text().toStdString();
            const bool answered = std::any_of(claimants.cbegin(), claimants.cend(), [](QWidget* w) {
                auto* button = qobject_cast<QAbstractButton*>(w);
                return (button && button->isDown()) || w->hasFocus();
            });
            EXPECT_TRUE(answered) << name << " " << menu->text().toStdString();
            EXPECT_TRUE(frame->menuBar()->isEnabled());
            CloseMenus();
        }
        EXPECT_EQ(clashes, expectedClashes) << name;
    }
};

} // namespace

TEST_F(FrameMenusTest, EachChildWindowsOwnMnemonicsWinOverTheMenuBar)
{
    // Find (F); the Query Builder's OK (O); the output viewer's First Page
    // and Edit (F, E); the viewer's OK (O) while a record is edited.
    ExpectChildWins(frame->SummarySubWindow(), "summary", 1);
    frame->ShowQueryBuilder();
    ExpectChildWins(frame->Children().Window(ChildKind::QueryBuilder), "query", 1);
    frame->ShowOutputText(QStringLiteral("text"));
    ExpectChildWins(frame->Children().Window(ChildKind::OutputViewer), "output", 2);
    ExpectChildWins(frame->BrowserSubWindow(), "viewer", 0);
    frame->Command(QStringLiteral("mnuREditResume"))->trigger();
    ExpectChildWins(frame->BrowserSubWindow(), "editing viewer", 1);
}

TEST_F(FrameMenusTest, MenuLettersWithoutAClashAndF10OpenTheMenuBar)
{
    frame->MdiArea()->setActiveSubWindow(frame->SummarySubWindow());
    frame->Summary()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
    ASSERT_NE(frame->menuBar()->activeAction(), nullptr);
    EXPECT_EQ(frame->menuBar()->activeAction()->text(), QStringLiteral("&Record"));
    CloseMenus();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    ASSERT_NE(frame->menuBar()->activeAction(), nullptr);
    EXPECT_EQ(frame->menuBar()->activeAction()->text(), QStringLiteral("&File"));
    EXPECT_TRUE(frame->menuBar()->activeAction()->menu()->isVisible());
}

TEST_F(FrameMenusTest, WindowMenuListsTheOpenWindowsAndBringsTheChosenOneToFront)
{
    frame->ShowQueryBuilder();
    auto* menu = frame->findChild<QMenu*>(QStringLiteral("mnuWindow"));
    ASSERT_TRUE(menu);
    const auto entries = [&] {
        emit menu->aboutToShow();
        QList<QAction*> found;
        for (QAction* a : menu->actions())
            if (a->isCheckable())
                found.append(a);
        return found;
    };
    const QList<QMdiSubWindow*> open = frame->MdiArea()->subWindowList();
    QList<QAction*> listed = entries();
    ASSERT_EQ(listed.size(), open.size());
    for (int i = 0; i < open.size(); ++i) {
        EXPECT_TRUE(listed[i]->text().endsWith(open[i]->windowTitle()))
            << listed[i]->text().toStdString();
        EXPECT_EQ(listed[i]->isChecked(), open[i] == frame->MdiArea()->activeSubWindow()) << i;
    }
    EXPECT_EQ(frame->MdiArea()->activeSubWindow(),
              frame->Children().Window(ChildKind::QueryBuilder));

    // Choosing the summary brings it to the front; reopened, the menu shows
    // it checked, and a closed window is no longer listed.
    listed[open.indexOf(frame->SummarySubWindow())]->trigger();
    EXPECT_EQ(frame->MdiArea()->activeSubWindow(), frame->SummarySubWindow());
    frame->Children().Close(ChildKind::QueryBuilder);
    listed = entries();
    ASSERT_EQ(listed.size(), 2);
    for (QAction* entry : listed)
        EXPECT_EQ(entry->isChecked(), entry->text().endsWith(frame->Summary()->windowTitle()))
            << entry->text().toStdString();
}
