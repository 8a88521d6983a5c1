#include "session/ActivationStatus.h"

#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

TEST(ActivationStatusTest, EachChildWindowNamesItselfUnlessACommandsResultShows)
{
    const QString summary = QStringLiteral("Summary of Records");
    const struct {
        ChildKind child;
        QString status; // empty: the window before it keeps the status bar
    } cases[] = {
        {ChildKind::Viewer, QStringLiteral("Editing record")},
        {ChildKind::OutputViewer, QStringLiteral("Viewing Record")},
        {ChildKind::QueryBuilder, QString()},
        {ChildKind::Summary, summary},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.child));
        ScriptedUi ui;
        ShowActivationStatus(ui, ChildKind::Summary);
        ASSERT_EQ(ui.StatusText(), summary);
        ShowActivationStatus(ui, c.child);
        EXPECT_EQ(ui.StatusText(), c.status.isEmpty() ? summary : c.status);
        EXPECT_EQ(ActivationStatus(c.child).value_or(QString()), c.status);

        const QString result = QStringLiteral("3 record(s) Deleted");
        ui.SetStatusText(result);
        ShowActivationStatus(ui, c.child);
        EXPECT_EQ(ui.StatusText(), result);
    }
}
