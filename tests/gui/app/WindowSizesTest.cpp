#include "gui/app/MainWindow.h"
#include "gui/app/CommandIcons.h"
#include "gui/search/SummaryWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "gui/output/OutputOptionsDialog.h"
#include "platform/ScriptedUi.h"
#include "gui/support/SampleFrame.h"
#include "support/TempDir.h"
#include "gui/viewer/BrowserWindow.h"
#include "support/WindowTestFolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPalette>
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

TEST_F(WindowSizesTest, NarrowChildWindowsKeepTheirControlsApartAndHeadingsWhole)
{
    // The room a child has at 200% on a 1280x800 screen: 640x400 less the
    // frame's menus and toolbar.
    for (QWidget* child :
         {static_cast<QWidget*>(frame->Summary()), static_cast<QWidget*>(frame->Browser())}) {
        auto* window = qobject_cast<QMdiSubWindow*>(child->parentWidget());
        ASSERT_TRUE(window);
        window->showNormal();
        window->resize(560, 330);
        QApplication::processEvents();
        // No two controls side by side in one box run into each other.
        for (QWidget* a : child->findChildren<QWidget*>()) {
            if (!a->isVisible() || !(qobject_cast<QComboBox*>(a) || qobject_cast<QLineEdit*>(a) ||
                                     qobject_cast<QAbstractButton*>(a)))
                continue;
            if (qobject_cast<QComboBox*>(a->parentWidget()))
                continue; // the editable box's own line edit
            for (QObject* other : a->parentWidget()->children()) {
                auto* b = qobject_cast<QWidget*>(other);
                if (b && b != a && b->isVisible() && !b->isWindow() &&
                    (qobject_cast<QComboBox*>(b) || qobject_cast<QLineEdit*>(b))) {
                    EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                        << qPrintable(a->objectName()) << " runs into "
                        << qPrintable(b->objectName());
                }
            }
        }
        for (QTableView* grid : child->findChildren<QTableView*>()) {
            QHeaderView* header = grid->horizontalHeader();
            for (int column = 0; column < header->count(); ++column)
                if (!header->isSectionHidden(column) &&
                    header->sectionResizeMode(column) != QHeaderView::Stretch) {
                    EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column))
                        << qPrintable(grid->objectName()) << " column " << column;
                }
        }
    }
}

TEST_F(WindowSizesTest, ADarkPaletteTakesTheDarkIcons)
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(dark);
    UseFallbackIconTheme();
    EXPECT_EQ(QIcon::fallbackThemeName(), QStringLiteral("breeze-dark"));
    QApplication::setPalette(light);
    UseFallbackIconTheme();
    EXPECT_EQ(QIcon::fallbackThemeName(), QStringLiteral("breeze"));
}
