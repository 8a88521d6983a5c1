#include "app/RunStatusKeeper.h"
#include "platform/ScriptedUi.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

// The status line after an output run, as the main window's activation,
// the child windows' own announcements and the dialog's return arrive.
TEST(RunStatusKeeperTest, TheRunsStatusOutlastsTheChildWindowsOnceAfterTheRun)
{
    const QString run = QStringLiteral("12 record(s) written to out.txt");
    const QString summary = QStringLiteral("Viewing Summary");
    // "run": the run ends with its status; "child": a child window announces
    // itself; "activate": the main window is active again; "closed": the
    // dialog returned; "later": the events waiting have been handled.
    const struct {
        const char* name;
        QStringList steps;
        QString status;
    } cases[] = {
        {"activated after the dialog returned",
         {"run", "child", "closed", "child", "activate", "child", "later"},
         run},
        {"activated before the dialog returned", {"run", "activate", "child", "closed"}, run},
        {"children heard of the activation last", {"run", "activate", "child", "later"}, run},
        {"no run", {"child", "activate", "later", "closed"}, summary},
        {"a later activation",
         {"run", "activate", "later", "closed", "child", "activate", "later"},
         summary},
        {"the dialog closed again without a run",
         {"run", "activate", "later", "closed", "child", "closed"},
         summary},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedUi ui;
        RunStatusKeeper keeper(ui);
        for (const QString& step : c.steps) {
            if (step == QLatin1String("run")) {
                ui.SetStatusText(run);
                keeper.RunEnded(run);
            } else if (step == QLatin1String("child")) {
                ui.SetStatusText(summary);
            } else if (step == QLatin1String("activate")) {
                keeper.FrameActivated();
            } else if (step == QLatin1String("closed")) {
                keeper.DialogClosed();
            } else {
                QCoreApplication::sendPostedEvents();
            }
        }
        EXPECT_EQ(ui.StatusText(), c.status);
    }
}
