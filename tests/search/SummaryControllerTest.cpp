#include "search/SummaryController.h"

#include "config/ConfigReader.h"
#include "database/DatabaseOpening.h"
#include "database/SummaryNavigation.h"
#include "platform/ScriptedUi.h"
#include "session/Session.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"

#include <gtest/gtest.h>
#include <functional>

TEST(SummaryControllerTest, TheViewerFollowsReloadedRowsOnlyWhenItShowsAnotherRecord)
{
    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    PrepareProgramFolder(dir, Templates::None);
    ASSERT_TRUE(LoadDefaultConfig(session));
    ASSERT_TRUE(OpenResumeDatabase(session, MakeSampleDatabase(dir, QStringLiteral("f.fdb"))));
    DatabaseState& d = session.Database;
    const qint64 shown = session.Tables.Header(RecordTables::FormIdColumn).toLongLong();
    const qint64 other = d.SummaryRecords.Ids().back();
    ASSERT_NE(shown, other);
    const auto moveSummary = [&] { ASSERT_TRUE(d.SummaryRecords.Seek(other)); };
    const struct {
        const char* what;
        std::function<void()> arrange;
        bool follows;
    } cases[] = {
        {"the row on screen", [] {}, false},
        {"another row", moveSummary, true},
        {"while opening", [&] { moveSummary(), d.OpeningDatabase = true; }, false},
        {"no records", [&] { moveSummary(), d.RecordState |= DatabaseState::NoRecords; }, false},
    };
    SummaryController summary(session, {});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        EXPECT_EQ(summary.ViewerMustFollow(), c.follows);
        summary.Reloaded();
        EXPECT_EQ(session.Tables.Header(RecordTables::FormIdColumn),
                  QString::number(c.follows ? other : shown));
        EXPECT_FALSE(summary.ViewerMustFollow());
        d.OpeningDatabase = false;
        d.RecordState &= ~DatabaseState::NoRecords;
        ASSERT_TRUE(d.SummaryRecords.Seek(shown));
        ASSERT_TRUE(OpenResume(session));
    }
}
