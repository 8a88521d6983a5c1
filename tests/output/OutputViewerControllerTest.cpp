#include "session/Session.h"
#include "config/ConfigReader.h"
#include "database/DatabaseOpening.h"
#include "output/OutputViewerController.h"
#include "output/TextRenderer.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"

#include <gtest/gtest.h>

// The output viewer's buttons and navigation without a window: a view that
// records what it is told, over a page template of a given number of pages
// drawn as the page renderer draws it (0 the last, beyond the last the last).
namespace {

using Button = OutputViewerController::Button;

class RecordingView : public OutputViewerView {
public:
    QStringList calls;
    QString caption, text;
    bool enabled[OutputViewerController::kButtons] = {};
    qint16 pages = 3;
    bool fails = false;

    bool DrawPage(qint16& page) override
    {
        calls.append("draw " + QString::number(page));
        if (fails)
            return false;
        if (page == 0 || page > pages)
            page = pages;
        return true;
    }
    void ShowText(const QString& shown) override { text = shown; }
    void ShowCaption(const QString& shown) override { caption = shown; }
    void ScrollToTop() override { calls.append("top"); }
    void EnableButton(int button, bool on) override { enabled[button] = on; }
    void Close() override { calls.append("close"); }
    void OpenOutputOptions() override { calls.append("options"); }
    void ShowRecordViewer() override { calls.append("viewer"); }
};

class OutputViewerControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session.Output.TemplateLines = {QStringLiteral("a page template")};
        viewer.SetView(&view);
    }
    QStringList EnabledButtons() const
    {
        QStringList names;
        for (int i = 0; i < OutputViewerController::kButtons; ++i)
            if (view.enabled[i])
                names.append(OutputViewerController::Caption(static_cast<Button>(i)));
        return names;
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    OutputViewerController viewer{session};
    RecordingView view;
};

} // namespace

TEST_F(OutputViewerControllerTest, PagingStopsAtBothEndsOfTheTemplate)
{
    const struct {
        Button button;
        qint16 shown;      // afterwards
        const char* calls; // of the view
    } steps[] = {
        {Button::PreviousPage, 1, "top"}, // on page 1: nothing drawn
        {Button::NextPage, 2, "draw 2,top"},     {Button::NextPage, 3, "draw 3,top"},
        {Button::NextPage, 3, "draw 4,top"}, // beyond the last: the last again
        {Button::FirstPage, 1, "draw 1,top"},    {Button::LastPage, 3, "draw 0,top"},
        {Button::PreviousPage, 2, "draw 2,top"}, {Button::PreviousPage, 1, "draw 1,top"},
        {Button::FirstPage, 1, "draw 1,top"},
    };
    view.caption = QStringLiteral("unchanged");
    for (const auto& s : steps) {
        SCOPED_TRACE(OutputViewerController::Caption(s.button).toStdString());
        const QString before = view.caption;
        view.calls.clear();
        viewer.Click(s.button);
        EXPECT_EQ(viewer.ShownPage(), s.shown);
        EXPECT_EQ(view.calls.join(','), QString::fromLatin1(s.calls));
        EXPECT_EQ(view.caption, view.calls.size() > 1
                                    ? "Viewing Record: Page " + QString::number(s.shown)
                                    : before);
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(OutputViewerControllerTest, AFailedDrawingSaysSoAndKeepsThePageAsked)
{
    view.fails = true;
    viewer.Click(Button::NextPage);
    EXPECT_FALSE(viewer.Redraw());
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Error in Print template, or Program error"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(view.caption, QStringLiteral("Viewing Record: Page 2"));
    view.fails = false;
    EXPECT_TRUE(viewer.Redraw());
    EXPECT_EQ(ui.messages.size(), 2);
}

TEST_F(OutputViewerControllerTest, PagingNeedsAPageTemplateAndTheOtherButtonsAlwaysWork)
{
    const QStringList always{"&Close [Esc]", "&Print", "&Edit"};
    const QStringList all{"&Close [Esc]", "&Next Page", "&Prev Page", "&Print",
                          "&First Page",  "&Last Page", "&Edit"}; // in the window's order
    EXPECT_EQ(EnabledButtons(), all);

    // The template goes away while the viewer is open: a click then only
    // catches the buttons up; the next activation does the same.
    session.Output.TemplateLines.clear();
    viewer.Click(Button::NextPage);
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_EQ(viewer.ShownPage(), 1);
    EXPECT_EQ(EnabledButtons(), always);
    session.Output.TemplateLines = {QStringLiteral("another")};
    viewer.Activated();
    EXPECT_EQ(EnabledButtons(), all);
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Viewing Record"));

    session.Output.TemplateLines.clear();
    viewer.Activated();
    for (const Button b : {Button::Close, Button::Print})
        viewer.Click(b);
    EXPECT_EQ(view.calls, (QStringList{"close", "options"}));
}

TEST_F(OutputViewerControllerTest, NavigationShowsEachRecordsTextAndEditShowsItsRecord)
{
    PrepareProgramFolder(dir, Templates::Record);
    ASSERT_TRUE(LoadDefaultConfig(session));
    ASSERT_TRUE(OpenResumeDatabase(session, MakeSampleDatabase(dir, QStringLiteral("f.fdb"))));
    const auto& ids = session.Database.SummaryRecords.Ids();
    ASSERT_GT(ids.size(), 2u);
    const struct {
        Navigation move;
        qint64 expected;
    } moves[] = {{Navigation::Last, ids.back()},
                 {Navigation::Previous, ids[ids.size() - 2]},
                 {Navigation::First, ids[0]},
                 {Navigation::Next, ids[1]}};
    for (const auto& [move, expected] : moves) {
        view.calls.clear();
        ui.SetStatusText(QString());
        viewer.Command1_Click(move);
        EXPECT_EQ(session.Database.SummaryRecords.Bookmark(), expected) << int(move);
        EXPECT_EQ(session.Tables.Header(RecordTables::FormIdColumn), QString::number(expected));
        ASSERT_TRUE(RenderRecordView(session));
        EXPECT_EQ(view.text, session.Output.OutputText) << int(move);
        EXPECT_EQ(ui.StatusText(), QStringLiteral("Viewing Record"));
        // The page pane follows the text to the new record's first page.
        EXPECT_EQ(view.calls, (QStringList{"draw 1", "top"}));
        EXPECT_EQ(view.caption, QStringLiteral("Viewing Record: Page 1"));
    }
    view.calls.clear();
    viewer.Click(Button::Edit);
    EXPECT_EQ(view.calls, QStringList{"viewer"});
    EXPECT_EQ(session.Database.RecordCursor.Bookmark(), ids[1]);
    // Without a page template only the text moves.
    session.Output.TemplateLines.clear();
    view.calls.clear();
    viewer.Command1_Click(Navigation::First);
    EXPECT_EQ(view.calls, QStringList{"top"});
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('\n').toStdString();
}
