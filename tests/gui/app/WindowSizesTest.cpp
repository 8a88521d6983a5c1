#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "gui/output/OutputOptionsDialog.h"
#include "platform/ScriptedUi.h"
#include "gui/support/SampleFrame.h"
#include "support/TempDir.h"
#include "gui/viewer/BrowserWindow.h"
#include "support/WindowTestFolder.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Window sizes on the test platform's screen, a small one (800x600).
namespace {

class WindowSizesTest : public SampleFrameTest {
protected:
    // Whether window, as shown, lies on its screen and can be resized.
    static void ExpectFitsAndResizes(QWidget* window, const char* name)
    {
        ASSERT_TRUE(window && window->isVisible()) << name;
        const QRect available = window->screen()->availableGeometry();
        EXPECT_TRUE(available.contains(window->frameGeometry()))
            << name << " at " << window->frameGeometry().width() << "x"
            << window->frameGeometry().height();
        EXPECT_NE(window->minimumSize(), window->maximumSize()) << name;
        EXPECT_LE(window->minimumWidth(), available.width()) << name;
        EXPECT_LE(window->minimumHeight(), available.height()) << name;
    }
    // Runs inside on the modal dialog command opens.
    static void WithDialog(QAction* command, const std::function<void(QDialog*)>& inside)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            inside(dialog);
            dialog->reject();
        });
        command->trigger();
        EXPECT_TRUE(seen) << command->objectName().toStdString();
    }
};

} // namespace

TEST_F(WindowSizesTest, DialogsAndTheHelpWindowFitASmallScreenAndResize)
{
    for (const char* command : {"mnuFPrintResume", "mnuFImportClipboard", "mnuHAbout"})
        WithDialog(frame->Command(QString::fromLatin1(command)),
                   [&](QDialog* dialog) { ExpectFitsAndResizes(dialog, command); });
    frame->Command(QStringLiteral("mnuOPreferences"))->trigger();
    ExpectFitsAndResizes(frame->Wizard(), "startup options");
    frame->Wizard()->close();
    QDir(dir.Path()).mkdir(QStringLiteral("help"));
    dir.Write(QStringLiteral("help/index.htm"), "<html><body>Contents</body></html>");
    frame->Command(QStringLiteral("mnuHContents"))->trigger();
    ExpectFitsAndResizes(frame->Help(), "help");
}

TEST_F(WindowSizesTest, TheViewersValueColumnTakesTheGridsSpareRoom)
{
    auto* grid = frame->Browser()->findChild<QTableView*>(QStringLiteral("grdTable"));
    ASSERT_TRUE(grid);
    frame->Command(QStringLiteral("mnuRMoveNext"))->trigger();
    QHeaderView* header = grid->horizontalHeader();
    EXPECT_EQ(header->sectionResizeMode(2), QHeaderView::Stretch);
    for (int column : {0, 1, 3})
        EXPECT_GT(header->sectionSize(2), header->sectionSize(column)) << column;
    // Its heading is shown whole.
    EXPECT_GE(header->sectionSize(2), header->sectionSizeHint(2));
}
