#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "gui/search/SelectDialog.h"
#include "search/SummaryModel.h"
#include "gui/search/SummaryWindow.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"
#include "gui/viewer/BrowserWindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <SQLiteCpp/Database.h>
#include <functional>
#include <gtest/gtest.h>

// Choosing records in the Select Records dialog, deleting them and copying
// them to another database, through the main window as the user does it.
namespace {

// What the Select Records dialog showed when it opened.
struct DialogSeen {
    int showings = 0;
    QString title;
    int checked = -1;
    bool selectedOptionEnabled = false;
    bool rangeBoxesEnabled = false;
    QString from;
    QString to;
    bool leftOpen = false; // the answer did not close it (the test closed it)
};

QLineEdit* Box(SelectDialog* dialog, const char* name)
{
    return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
}

void Click(SelectDialog* dialog, const char* button)
{
    QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

// Clicks the option's round button, where a user clicks (the button is as
// wide as the dialog, its caption is not).
void ChooseOption(SelectDialog* dialog, int index)
{
    QRadioButton* option = dialog->Option(index);
    QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, QPoint(8, option->height() / 2));
}

void Type(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// Types a range into the dialog and presses OK.
void EnterRange(SelectDialog* dialog, const QString& from, const QString& to)
{
    Type(Box(dialog, "txtFrom"), from);
    Type(Box(dialog, "txtTo"), to);
    Click(dialog, "cmdOKSelect");
}

class DeleteTransferWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentFiles::ClearRecentFiles();
        PrepareProgramFolder(dir, Templates::Record);
        // Records 1-12 from feedback.txt, 13-24 from guestbook.txt.
        database =
            MakeSampleDatabase(dir, QStringLiteral("forms.fdb"),
                               {QStringLiteral("feedback.txt"), QStringLiteral("guestbook.txt")});
    }
    void TearDown() override { RecentFiles::ClearRecentFiles(); }

    void Open(MainWindow& frame)
    {
        frame.resize(1000, 800);
        frame.show();
        frame.MDIForm_Load(database);
        ASSERT_TRUE(frame.Shell().DatabaseOpen()) << ui.MessageTexts().join('|').toStdString();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        // Tall enough for every row header the tests click.
        frame.SummarySubWindow()->resize(700, 600);
        ASSERT_TRUE(QTest::qWaitFor([&] { return RowHeaderShown(frame, kLastClickedRow); }));
        ui.messages.clear();
        ui.statusTexts.clear();
        ui.log.clear();
    }

    // Answers the next Select Records dialog: notes what it showed, then
    // answer works it as the user would. A dialog still open afterwards is
    // cancelled, so a wrong answer fails the test instead of hanging it.
    void OnSelectDialog(DialogSeen& seen, std::function<void(SelectDialog*)> answer)
    {
        QTimer::singleShot(0, [&seen, answer] {
            auto* dialog = qobject_cast<SelectDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no Select Records dialog is open";
                return;
            }
            ++seen.showings;
            seen.title = dialog->windowTitle();
            for (int i = 0; i < 4; ++i) {
                if (dialog->Option(i)->isChecked())
                    seen.checked = i;
            }
            seen.selectedOptionEnabled = dialog->Option(0)->isEnabled();
            seen.rangeBoxesEnabled =
                Box(dialog, "txtFrom")->isEnabled() && Box(dialog, "txtTo")->isEnabled();
            seen.from = Box(dialog, "txtFrom")->text();
            seen.to = Box(dialog, "txtTo")->text();
            answer(dialog);
            if (dialog->isVisible()) {
                seen.leftOpen = true;
                Click(dialog, "cmdCancelSelect");
            }
        });
    }

    QTableView* Grid(MainWindow& frame) { return frame.Summary()->Grid(); }

    static constexpr int kLastClickedRow = 8;
    bool RowHeaderShown(MainWindow& frame, int row)
    {
        QHeaderView* header = Grid(frame)->verticalHeader();
        return header->sectionViewportPosition(row) + header->sectionSize(row) <=
               header->viewport()->height();
    }

    // Clicks the row header of row in the summary grid with modifiers.
    void ClickRowHeader(MainWindow& frame, int row,
                        Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QHeaderView* header = Grid(frame)->verticalHeader();
        const int y = header->sectionViewportPosition(row) + header->sectionSize(row) / 2;
        ASSERT_GT(y, 0);
        ASSERT_LT(y, header->viewport()->height()) << "row " << row << " is not on screen";
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers,
                          QPoint(header->width() / 2, y));
    }

    QString ViewerRecordId(MainWindow& frame) { return frame.Browser()->HeaderBox(0)->text(); }
    QString Count(MainWindow& frame)
    {
        return frame.Summary()->findChild<QLineEdit*>(QStringLiteral("txtCount"))->text();
    }
    std::vector<qint64> SummaryIds() { return session.Database.SummaryRecords.Ids(); }
    static int CountIn(const QString& file, const std::string& sql)
    {
        SQLite::Database db(file.toStdString());
        return db.execAndGet(sql).getInt();
    }
    static std::string TextIn(const QString& file, const std::string& sql)
    {
        SQLite::Database db(file.toStdString());
        return db.execAndGet(sql).getString();
    }
    static std::vector<qint64> Range(qint64 from, qint64 to)
    {
        std::vector<qint64> ids;
        for (qint64 id = from; id <= to; ++id)
            ids.push_back(id);
        return ids;
    }
    bool Enabled(MainWindow& frame, const char* name)
    {
        return frame.Command(QString::fromLatin1(name))->isEnabled();
    }
    // Presses the toolbar's button for the command named key.
    void PressToolbarButton(MainWindow& frame, const char* name)
    {
        auto* toolbar = frame.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        ASSERT_NE(toolbar, nullptr);
        QWidget* button = toolbar->widgetForAction(frame.Command(QString::fromLatin1(name)));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    QString database;
};

} // namespace

TEST_F(DeleteTransferWindowsTest, SelectedRowsGoInTheOrderTheUserSelectedThem)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    // Click record 9, control-click record 3, then control-shift-click
    // record 5: 3 to 5 join the selection after 9.
    ClickRowHeader(frame, 8);
    ClickRowHeader(frame, 2, Qt::ControlModifier);
    ClickRowHeader(frame, 4, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(frame.Summary()->SelectedRecords(), (QList<qint64>{3, 4, 5, 9}));
    EXPECT_EQ(frame.Summary()->SelectedRecordsInSelectionOrder(),
              (std::vector<qint64>{9, 3, 4, 5}));

    DialogSeen seen;
    OnSelectDialog(seen, [](SelectDialog* d) { Click(d, "cmdOKSelect"); });
    ui.QueueAnswer(MessageAnswer::Yes);
    PressToolbarButton(frame, "tbrDelete");

    ASSERT_EQ(seen.showings, 1);
    EXPECT_FALSE(seen.leftOpen);
    EXPECT_EQ(seen.title, QStringLiteral("Select records to delete"));
    // Rows are selected: the dialog opens on them.
    EXPECT_EQ(seen.checked, 0);
    EXPECT_TRUE(seen.selectedOptionEnabled);
    EXPECT_FALSE(seen.rangeBoxesEnabled);
    EXPECT_EQ(seen.from, QStringLiteral("1"));
    EXPECT_EQ(seen.to, QStringLiteral("1"));
    EXPECT_EQ(session.Selection, (RecordSelection{RecordSelection::kSelectedRows, 0}));

    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_EQ(ui.messages.first().text,
              QStringLiteral("Are you sure you want to delete the selected Record(s) from the "
                             "Database?"));
    EXPECT_EQ(ui.messages.first().icon, MessageIcon::Question);
    EXPECT_EQ(ui.messages.first().buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.messages.size(), 1) << ui.MessageTexts().join('|').toStdString();
    ASSERT_EQ(ui.progressShown.size(), 1);
    EXPECT_EQ(ui.progressShown.first().caption, QStringLiteral("Deleting records..."));
    EXPECT_EQ(ui.progressUpdates.last(), (QPair<int, QString>{4, QStringLiteral("4/4")}));
    EXPECT_FALSE(ui.ProgressVisible());
    EXPECT_EQ(ui.StatusText(), QStringLiteral("4 record(s) Deleted"));
    EXPECT_EQ(ui.busyDepth, 0);

    std::vector<qint64> left = {1, 2, 6, 7, 8};
    for (qint64 id = 10; id <= 24; ++id)
        left.push_back(id);
    EXPECT_EQ(SummaryIds(), left);
    EXPECT_EQ(frame.Summary()->Model()->rowCount(), 20);
    EXPECT_EQ(Count(frame), QStringLiteral("20"));
    EXPECT_EQ(CountIn(database, "SELECT count(*) FROM Data WHERE FormID IN (3, 4, 5, 9)"), 0);
    // The last one deleted was 5: the row after it is shown.
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("6"));
    EXPECT_EQ(Grid(frame)->currentIndex().row(), 2);
}

TEST_F(DeleteTransferWindowsTest, WithNothingSelectedTheDialogOffersTheCurrentRecord)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    Grid(frame)->clearSelection();
    frame.Command(QStringLiteral("mnuRMoveLast"))->trigger();
    Grid(frame)->clearSelection();
    ASSERT_TRUE(frame.Summary()->SelectedRecordsInSelectionOrder().empty());

    // The last row goes: the one before it is shown.
    DialogSeen seen;
    OnSelectDialog(seen, [](SelectDialog* d) { Click(d, "cmdOKSelect"); });
    ui.QueueAnswer(MessageAnswer::Yes);
    frame.Command(QStringLiteral("mnuRDeleteResume"))->trigger();
    EXPECT_EQ(seen.checked, 3);
    EXPECT_FALSE(seen.selectedOptionEnabled);
    EXPECT_FALSE(seen.rangeBoxesEnabled);
    EXPECT_EQ(session.Selection, (RecordSelection{RecordSelection::kCurrentRecord, 0}));
    EXPECT_EQ(SummaryIds(), Range(1, 23));
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("23"));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("1 record(s) Deleted"));

    // Any other row: the one after it is shown.
    Grid(frame)->setCurrentIndex(Grid(frame)->model()->index(10, 1));
    Grid(frame)->clearSelection();
    ASSERT_EQ(ViewerRecordId(frame), QStringLiteral("11"));
    DialogSeen again;
    OnSelectDialog(again, [](SelectDialog* d) { Click(d, "cmdOKSelect"); });
    ui.QueueAnswer(MessageAnswer::Yes);
    frame.Command(QStringLiteral("mnuRDeleteResume"))->trigger();
    EXPECT_EQ(again.checked, 3);
    std::vector<qint64> left = Range(1, 10);
    for (qint64 id = 12; id <= 23; ++id)
        left.push_back(id);
    EXPECT_EQ(SummaryIds(), left);
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("12"));
    EXPECT_EQ(Count(frame), QStringLiteral("22"));
}

TEST_F(DeleteTransferWindowsTest, BadRangesKeepTheDialogOpenWithTheirMessages)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    DialogSeen seen;
    QStringList afterEach;
    QList<bool> openAfterEach;
    OnSelectDialog(seen, [&](SelectDialog* d) {
        ChooseOption(d, 2);
        EXPECT_TRUE(Box(d, "txtFrom")->isEnabled());
        EXPECT_TRUE(Box(d, "txtTo")->isEnabled());
        const QList<QPair<QString, QString>> ranges = {
            {"5", "3"}, {"0", "4"}, {"x", "4"}, {"", "4"}, {"-2", "-1"}};
        for (const auto& [from, to] : ranges) {
            EnterRange(d, from, to);
            afterEach.append(ui.messages.isEmpty() ? QString() : ui.messages.last().text);
            openAfterEach.append(d->isVisible());
            EXPECT_EQ(ui.messages.last().icon, MessageIcon::Exclamation);
        }
        // Any other option disables the boxes again.
        ChooseOption(d, 1);
        EXPECT_FALSE(Box(d, "txtFrom")->isEnabled());
        ChooseOption(d, 2);
        EnterRange(d, "7", "7");
    });
    // Declining the question deletes nothing.
    ui.QueueAnswer(MessageAnswer::No);
    frame.Command(QStringLiteral("mnuRDeleteResume"))->trigger();

    EXPECT_FALSE(seen.leftOpen);
    EXPECT_EQ(afterEach, (QStringList{"'From' value should be less than 'To' value",
                                      "Please enter valid 'From' and 'To' values for Form ID",
                                      "Invalid selection", "Invalid selection",
                                      "Please enter valid 'From' and 'To' values for Form ID"}));
    EXPECT_EQ(openAfterEach, (QList<bool>{true, true, true, true, true}));
    EXPECT_EQ(session.Selection, (RecordSelection{7, 7}));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Delete Cancelled"));
    EXPECT_EQ(SummaryIds(), Range(1, 24));
    EXPECT_EQ(CountIn(database, "SELECT count(*) FROM Forms"), 24);
}

TEST_F(DeleteTransferWindowsTest, ARangeDeletesOnlyTheSummaryRecordsInItAndCancelAsksNothing)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    DialogSeen first;
    OnSelectDialog(first, [](SelectDialog* d) {
        ChooseOption(d, 2);
        EnterRange(d, "3", "5");
    });
    ui.QueueAnswer(MessageAnswer::Yes);
    frame.Command(QStringLiteral("tbrDelete"))->trigger();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) Deleted"));

    // 3 to 5 are gone now: 2 to 7 means 2, 6 and 7. Each showing starts
    // with both boxes at 1.
    DialogSeen second;
    OnSelectDialog(second, [](SelectDialog* d) {
        ChooseOption(d, 2);
        EnterRange(d, "2", "7");
    });
    ui.QueueAnswer(MessageAnswer::Yes);
    frame.Command(QStringLiteral("tbrDelete"))->trigger();
    EXPECT_EQ(second.from, QStringLiteral("1"));
    EXPECT_EQ(second.to, QStringLiteral("1"));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) Deleted"));
    std::vector<qint64> left = {1};
    for (qint64 id = 8; id <= 24; ++id)
        left.push_back(id);
    EXPECT_EQ(SummaryIds(), left);
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("8"));

    // Cancel: nothing is asked and nothing deleted.
    ui.messages.clear();
    DialogSeen cancelled;
    OnSelectDialog(cancelled, [](SelectDialog* d) { Click(d, "cmdCancelSelect"); });
    frame.Command(QStringLiteral("tbrDelete"))->trigger();
    EXPECT_EQ(cancelled.showings, 1);
    EXPECT_FALSE(cancelled.leftOpen);
    EXPECT_EQ(session.Selection, (RecordSelection{0, 0}));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    EXPECT_EQ(SummaryIds(), left);
    EXPECT_EQ(ui.unansweredQuestions, 0);
}

TEST_F(DeleteTransferWindowsTest, CancelAfterThreeRecordsLeavesExactlyThreeDeleted)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    // The first yield comes before the first record; Cancel is pressed in
    // the yield after the third.
    int yields = 0;
    ui.onYield = [&] {
        if (!ui.progressShown.isEmpty() && ui.ProgressVisible() && ++yields == 4)
            ui.PressCancel();
    };
    DialogSeen seen;
    OnSelectDialog(seen, [](SelectDialog* d) {
        ChooseOption(d, 1);
        Click(d, "cmdOKSelect");
    });
    ui.QueueAnswer(MessageAnswer::Yes);
    frame.Command(QStringLiteral("mnuRDeleteResume"))->trigger();
    ui.onYield = nullptr;

    EXPECT_EQ(session.Selection, (RecordSelection{RecordSelection::kAllRecords, 0}));
    EXPECT_EQ(ui.progressShown.first().caption, QStringLiteral("Deleting records..."));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) Deleted"));
    EXPECT_EQ(SummaryIds(), Range(4, 24));
    EXPECT_EQ(CountIn(database, "SELECT count(*) FROM Forms"), 21);
    EXPECT_EQ(CountIn(database, "SELECT count(*) FROM Data WHERE FormID <= 3"), 0);
    EXPECT_EQ(Count(frame), QStringLiteral("21"));
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("4"));
    // The flag was cleared for the next walk.
    EXPECT_FALSE(ui.CancelRequested());
}

TEST_F(DeleteTransferWindowsTest, DeletingEveryRecordLeavesAnEmptyViewerAndNoRecordsCommands)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    ASSERT_TRUE(Enabled(frame, "tbrDelete"));
    DialogSeen seen;
    OnSelectDialog(seen, [](SelectDialog* d) {
        ChooseOption(d, 1);
        Click(d, "cmdOKSelect");
    });
    ui.QueueAnswer(MessageAnswer::Yes);
    PressToolbarButton(frame, "tbrDelete");

    EXPECT_EQ(ui.StatusText(), QStringLiteral("24 record(s) Deleted"));
    EXPECT_TRUE(session.Database.RecordState & DatabaseState::NoRecords);
    EXPECT_EQ(CountIn(database, "SELECT count(*) FROM Forms"), 0);
    EXPECT_EQ(CountIn(database, "SELECT count(*) FROM Data"), 0);
    EXPECT_EQ(Count(frame), QStringLiteral("0"));
    EXPECT_EQ(frame.Summary()->Model()->rowCount(), 0);
    EXPECT_EQ(ViewerRecordId(frame), QString());
    EXPECT_EQ(frame.Browser()->HeaderBox(1)->text(), QString());
    EXPECT_EQ(frame.Browser()->FieldGrid()->model()->rowCount(), 0);
    // Record commands follow the no-records rules: a new record can be
    // entered, nothing can be moved to, edited or deleted.
    EXPECT_TRUE(Enabled(frame, "mnuRNewResume"));
    EXPECT_TRUE(Enabled(frame, "tbrAdd"));
    for (const char* name : {"mnuRDeleteResume", "tbrDelete", "mnuREditResume", "tbrEdit",
                             "mnuRMoveNext", "mnuRMoveFirst", "tbrNext"})
        EXPECT_FALSE(Enabled(frame, name)) << name;
    EXPECT_TRUE(ui.messages.size() == 1) << ui.MessageTexts().join('|').toStdString();
}

TEST_F(DeleteTransferWindowsTest, TransferIntoANewFileCreatedOnRequest)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    ClickRowHeader(frame, 5);
    ClickRowHeader(frame, 1, Qt::ControlModifier);
    ASSERT_EQ(ViewerRecordId(frame), QStringLiteral("2"));
    const QString onScreen = frame.Browser()->HeaderBox(1)->text();
    const QString target = dir.File(QStringLiteral("copies.fdb"));
    QAction* command = frame.Command(QStringLiteral("mnuFSaveResumeToDB"));
    ASSERT_EQ(command->text(),
              QStringLiteral("&Export record(s) to different Tallowmere Database..."));
    ASSERT_TRUE(command->isEnabled());

    DialogSeen seen;
    OnSelectDialog(seen, [](SelectDialog* d) { Click(d, "cmdOKSelect"); });
    ui.QueueFiles({target});
    ui.QueueAnswer(MessageAnswer::Yes);
    command->trigger();

    EXPECT_EQ(seen.title, QStringLiteral("Select records to transfer"));
    EXPECT_EQ(seen.checked, 0);
    ASSERT_EQ(ui.saveRequests.size(), 1);
    EXPECT_EQ(ui.saveRequests.first().title, QStringLiteral("Save Records to Database..."));
    EXPECT_EQ(ui.saveRequests.first().proposedName, QStringLiteral("*.fdb"));
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_EQ(ui.messages.first().text, QStringLiteral("File ") + target +
                                            QStringLiteral(" does not exist.\r\n") +
                                            QStringLiteral("Create new database?"));
    EXPECT_EQ(ui.MessageTexts().mid(1), QStringList{target + QStringLiteral(" Database Created")});
    EXPECT_TRUE(ui.statusTexts.contains(QStringLiteral("Saving records to database...")));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("2 record(s) saved to ") + target);
    EXPECT_EQ(ui.busyDepth, 0);
    // In selection order, with the target's own record numbers.
    EXPECT_EQ(TextIn(target, "SELECT group_concat(FormID || ':' || Form_Name, '|') FROM Forms"),
              "1:" + TextIn(database, "SELECT Form_Name FROM Forms WHERE FormID = 6") +
                  "|2:" + TextIn(database, "SELECT Form_Name FROM Forms WHERE FormID = 2"));
    EXPECT_EQ(CountIn(target, "SELECT count(*) FROM Data WHERE FormID = 2"),
              CountIn(database, "SELECT count(*) FROM Data WHERE FormID = 2"));
    // The open database and the windows are as they were.
    EXPECT_EQ(CountIn(database, "SELECT count(*) FROM Forms"), 24);
    EXPECT_EQ(Count(frame), QStringLiteral("24"));
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("2"));
    EXPECT_EQ(frame.Browser()->HeaderBox(1)->text(), onScreen);
    EXPECT_EQ(session.Tables.Header(0), QStringLiteral("2"));

    // A second transfer into the now existing file asks nothing more.
    ui.messages.clear();
    DialogSeen again;
    OnSelectDialog(again, [](SelectDialog* d) {
        ChooseOption(d, 3);
        Click(d, "cmdOKSelect");
    });
    ui.QueueFiles({target});
    command->trigger();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("1 record(s) saved to ") + target);
    EXPECT_EQ(CountIn(target, "SELECT count(*) FROM Forms"), 3);
}

TEST_F(DeleteTransferWindowsTest, TransferIntoTheOpenDatabaseRefreshesTheSummary)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    Grid(frame)->setCurrentIndex(Grid(frame)->model()->index(4, 1));
    Grid(frame)->clearSelection();
    ASSERT_EQ(ViewerRecordId(frame), QStringLiteral("5"));
    DialogSeen seen;
    OnSelectDialog(seen, [](SelectDialog* d) {
        ChooseOption(d, 2);
        EnterRange(d, "20", "30");
    });
    ui.QueueFiles({database});
    frame.Command(QStringLiteral("mnuFSaveResumeToDB"))->trigger();

    EXPECT_EQ(ui.StatusText(), QStringLiteral("5 record(s) saved to ") + database);
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    EXPECT_EQ(SummaryIds(), Range(1, 29));
    EXPECT_EQ(frame.Summary()->Model()->rowCount(), 29);
    EXPECT_EQ(Count(frame), QStringLiteral("29"));
    EXPECT_EQ(TextIn(database, "SELECT Form_Name FROM Forms WHERE FormID = 25"),
              TextIn(database, "SELECT Form_Name FROM Forms WHERE FormID = 20"));
    EXPECT_EQ(frame.Summary()
                  ->Model()
                  ->index(28, SummaryModel::RecordName)
                  .data()
                  .toString()
                  .toStdString(),
              TextIn(database, "SELECT Form_Name FROM Forms WHERE FormID = 24"));
    // The viewer stays on the record it showed.
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("5"));
    EXPECT_EQ(session.Tables.Header(0), QStringLiteral("5"));
}

TEST_F(DeleteTransferWindowsTest, CancellingTheSaveDialogOrTheCreationChangesNothing)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    const QString target = dir.File(QStringLiteral("never.fdb"));
    DialogSeen seen;
    OnSelectDialog(seen, [](SelectDialog* d) {
        ChooseOption(d, 1);
        Click(d, "cmdOKSelect");
    });
    ui.QueueCancel();
    frame.Command(QStringLiteral("mnuFSaveResumeToDB"))->trigger();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Save cancelled"));

    DialogSeen second;
    OnSelectDialog(second, [](SelectDialog* d) { Click(d, "cmdOKSelect"); });
    ui.QueueFiles({target});
    ui.QueueAnswer(MessageAnswer::No);
    frame.Command(QStringLiteral("mnuFSaveResumeToDB"))->trigger();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Save cancelled"));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(second.showings, 1);
    EXPECT_EQ(CountIn(database, "SELECT count(*) FROM Forms"), 24);
}
