#include "gui/platform/QtUi.h"
#include "support/TestClock.h"

#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

template <typename T> T* Find(const QWidget& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

} // namespace

TEST(QtUiProgress, ShowsCaptionBarLabelAndCancel)
{
    QWidget frame;
    TestClock clock;
    QtUi ui(clock, &frame);
    ProgressRequest request;
    request.caption = QStringLiteral("Exporting records...");
    request.maximum = 3;
    request.label = QStringLiteral("1/3");
    ui.ShowProgress(request);
    ASSERT_TRUE(ui.ProgressVisible());

    auto* dialog = Find<QProgressDialog>(frame, "frmProgress");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Exporting records..."));
    auto* bar = Find<QProgressBar>(*dialog, "ProgressBar1");
    auto* label = Find<QLabel>(*dialog, "lblProgress");
    auto* cancel = Find<QPushButton>(*dialog, "cmdCancel");
    ASSERT_TRUE(bar && label && cancel);
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(label->text(), QStringLiteral("1/3"));

    ui.UpdateProgress(2, QStringLiteral("2/3"));
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(label->text(), QStringLiteral("2/3"));
    EXPECT_FALSE(ui.CancelRequested());

    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_TRUE(ui.CancelRequested());
    EXPECT_FALSE(ui.ProgressVisible());
    // The flag stays until the caller clears it or the window is shown again.
    ui.ClearCancelRequested();
    EXPECT_FALSE(ui.CancelRequested());
    ui.CloseProgress();
}

TEST(QtUiProgress, ShowingAgainClearsTheCancelFlag)
{
    QWidget frame;
    TestClock clock;
    QtUi ui(clock, &frame);
    ui.ShowProgress({});
    QTest::mouseClick(Find<QPushButton>(frame, "cmdCancel"), Qt::LeftButton);
    ASSERT_TRUE(ui.CancelRequested());
    ui.ShowProgress({});
    EXPECT_FALSE(ui.CancelRequested());
    EXPECT_EQ(Find<QProgressDialog>(frame, "frmProgress")->windowTitle(),
              QStringLiteral("Working..."));
    ui.CloseProgress();
    EXPECT_FALSE(ui.ProgressVisible());
}

TEST(QtUiProgress, AnUnstoppableWaitHasNoBarAndAnUnusableCancel)
{
    QWidget frame;
    TestClock clock;
    QtUi ui(clock, &frame);
    ProgressRequest request;
    request.showBar = false;
    request.cancellable = false;
    request.label = QStringLiteral("Executing query\r\nPress Ctrl-Break to stop processing.");
    ui.ShowProgress(request);
    auto* dialog = Find<QProgressDialog>(frame, "frmProgress");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(Find<QProgressBar>(*dialog, "ProgressBar1")->isVisible());
    auto* cancel = Find<QPushButton>(*dialog, "cmdCancel");
    EXPECT_FALSE(cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(ui.CancelRequested());
    EXPECT_EQ(Find<QLabel>(*dialog, "lblProgress")->text(),
              QStringLiteral("Executing query\nPress Ctrl-Break to stop processing."));
    ui.CloseProgress();
}

TEST(QtUiProgress, UpdatesByTheThousandEndShowingTheLatestAndCancelIsStillSeen)
{
    QWidget frame;
    TestClock clock;
    QtUi ui(clock, &frame);
    ProgressRequest request;
    request.maximum = 5000;
    ui.ShowProgress(request);
    auto* dialog = Find<QProgressDialog>(frame, "frmProgress");
    ASSERT_NE(dialog, nullptr);
    auto* bar = Find<QProgressBar>(*dialog, "ProgressBar1");
    auto* label = Find<QLabel>(*dialog, "lblProgress");
    ASSERT_TRUE(bar && label);
    // The first update shows at once.
    ui.UpdateProgress(1, QStringLiteral("1/5000"));
    EXPECT_EQ(label->text(), QStringLiteral("1/5000"));
    for (int i = 2; i < 4000; ++i) {
        ui.UpdateProgress(i, QString::number(i) + QStringLiteral("/5000"));
        ui.Yield();
    }
    // No time has passed: nothing more is drawn.
    EXPECT_EQ(label->text(), QStringLiteral("1/5000"));
    // A yield once the last drawing is old enough shows the latest update.
    clock.Advance(50);
    ui.Yield();
    EXPECT_EQ(bar->value(), 3999);
    EXPECT_EQ(label->text(), QStringLiteral("3999/5000"));
    // The last update shows at once.
    ui.UpdateProgress(5000, QStringLiteral("5000/5000"));
    EXPECT_EQ(label->text(), QStringLiteral("5000/5000"));

    // Cancel pressed while yields come thick and fast is seen at the first
    // yield that serves the window system, once a few milliseconds passed.
    ui.CloseProgress();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ui.ShowProgress(request);
    auto* cancel = Find<QPushButton>(frame, "cmdCancel");
    ASSERT_NE(cancel, nullptr);
    clock.Advance(10);
    ui.Yield();
    QMetaObject::invokeMethod(cancel, "click", Qt::QueuedConnection);
    for (int i = 0; i < 1000; ++i)
        ui.Yield();
    EXPECT_FALSE(ui.CancelRequested());
    clock.Advance(10);
    ui.Yield();
    EXPECT_TRUE(ui.CancelRequested());
    ui.CloseProgress();
}
