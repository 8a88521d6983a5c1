#include "app/CommandTable.h"
#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"
#include "search/SummaryModel.h"
#include "gui/search/SummaryWindow.h"
#include "gui/viewer/BrowserWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

// The record viewer driven as the user drives it: new, edit, save, cancel,
// the editing panel and what becomes of changes when the record is left.
namespace {

class EditingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentFiles::ClearRecentFiles();
        PrepareProgramFolder(dir, Templates::None);
        database = MakeSampleDatabase(dir, QStringLiteral("forms.fdb"));
    }
    void TearDown() override { RecentFiles::ClearRecentFiles(); }

    void Open(MainWindow& frame, const QString& path)
    {
        frame.MDIForm_Load(path);
        ASSERT_TRUE(frame.Shell().DatabaseOpen());
        ASSERT_NE(frame.Browser(), nullptr);
    }
    qint64 Scalar(const QString& sql)
    {
        SQLite::Database db(database.toStdString(), SQLite::OPEN_READONLY);
        return db.execAndGet(sql.toStdString()).getInt64();
    }
    QStringList Column(const QString& sql)
    {
        SQLite::Database db(database.toStdString(), SQLite::OPEN_READONLY);
        SQLite::Statement q(db, sql.toStdString());
        QStringList values;
        while (q.executeStep())
            values.append(QString::fromStdString(q.getColumn(0).getString()));
        return values;
    }
    void Run(MainWindow& frame, const char* name)
    {
        frame.Command(QString::fromLatin1(name))->trigger();
    }
    QPushButton* Button(MainWindow& frame, const char* name)
    {
        return frame.Browser()->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void Type(QLineEdit* box, const QString& text)
    {
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    QString database;
    // Header items of default.cfg: 1 name, 3 date, 4 notes.
    static constexpr int kName = 1, kDate = 3, kNotes = 4;
};

} // namespace

TEST_F(EditingTest, NewRecordWithInsertedAndDeletedFieldsIsStoredOnceInListOrder)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame, database);
    BrowserWindow* viewer = frame.Browser();
    Run(frame, "tbrAdd");
    EXPECT_EQ(session.Database.RecordState & DatabaseState::NewRecord, DatabaseState::NewRecord);
    EXPECT_EQ(ui.statusTexts.last(), QStringLiteral("Entering New Record"));
    EXPECT_TRUE(viewer->HeaderBox(0)->text().isEmpty());
    EXPECT_FALSE(viewer->HeaderBox(kName)->isReadOnly());

    Type(viewer->HeaderBox(kName), QStringLiteral("Walk-in visitor"));
    QListWidget* list = viewer->FieldList();
    ASSERT_EQ(list->count(), 1); // only the blank line
    EXPECT_EQ(viewer->EditorBox(0)->text(), QStringLiteral("Enter New Entry Here"));
    for (const char* name : {"alpha", "gamma", "delta"}) {
        QTest::mouseClick(Button(frame, "cmdAddNew"), Qt::LeftButton);
        Type(viewer->EditorBox(0), QString::fromLatin1(name));
        Type(viewer->EditorBox(1), QStringLiteral("value of ") + QString::fromLatin1(name));
    }
    EXPECT_EQ(list->count(), 4); // three fields and the blank line
    EXPECT_EQ(list->item(3)->text(), QString());

    // Insert "beta" before "gamma".
    list->setCurrentRow(1);
    QTest::mouseClick(Button(frame, "cmdInsertEntry"), Qt::LeftButton);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("New Entry"));
    EXPECT_EQ(viewer->EditorBox(0)->text(), QStringLiteral("Enter New Entry Here"));
    Type(viewer->EditorBox(0), QStringLiteral("beta"));
    Type(viewer->EditorBox(1), QStringLiteral("value of beta"));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("gamma"));

    // Delete "delta"; delete on the blank line and moves past either end do nothing.
    list->setCurrentRow(3);
    QTest::mouseClick(Button(frame, "cmdRemove"), Qt::LeftButton);
    EXPECT_EQ(list->count(), 4);
    QTest::mouseClick(Button(frame, "cmdRemove"), Qt::LeftButton); // now on the blank line
    EXPECT_EQ(list->count(), 4);
    QTest::mouseClick(Button(frame, "cmdMoveDown"), Qt::LeftButton);
    EXPECT_EQ(list->currentRow(), 3);
    list->setCurrentRow(0);
    QTest::mouseClick(Button(frame, "cmdMoveUp"), Qt::LeftButton);
    EXPECT_EQ(list->currentRow(), 0);
    QTest::mouseClick(Button(frame, "cmdMoveDown"), Qt::LeftButton);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(viewer->EditorBox(0)->text(), QStringLiteral("beta"));

    Run(frame, "tbrSave");
    EXPECT_EQ(ui.statusTexts.last(), QStringLiteral("Record Saved"));
    EXPECT_FALSE(frame.Browser() && session.Database.RecordState & DatabaseState::NewRecord);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM Forms")), 13);
    const qint64 formId = Scalar(QStringLiteral("SELECT MAX(FormID) FROM Forms"));
    EXPECT_EQ(viewer->HeaderBox(0)->text(), QString::number(formId));
    EXPECT_EQ(Column(QStringLiteral("SELECT Form_Name FROM Forms WHERE FormID=%1").arg(formId)),
              QStringList{QStringLiteral("Walk-in visitor")});
    EXPECT_EQ(
        Column(QStringLiteral("SELECT Field_Name FROM Data WHERE FormID=%1 ORDER BY DataID")
                   .arg(formId)),
        (QStringList{QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")}));
    EXPECT_EQ(Column(QStringLiteral("SELECT Field_Value FROM Data WHERE FormID=%1 AND "
                                    "Field_Name='beta'")
                         .arg(formId)),
              QStringList{QStringLiteral("value of beta")});

    // Edit it: inserting a field renews every DataID of the record, in list order.
    const qint64 oldMax = Scalar(QStringLiteral("SELECT MAX(DataID) FROM Data"));
    Run(frame, "tbrEdit"); // the viewer is in front: editing starts
    ASSERT_EQ(session.Database.RecordState & DatabaseState::EditRecord, DatabaseState::EditRecord);
    EXPECT_EQ(ui.statusTexts.last(), QStringLiteral("Editing Record"));
    list->setCurrentRow(0);
    QTest::mouseClick(Button(frame, "cmdInsertEntry"), Qt::LeftButton);
    Type(viewer->EditorBox(0), QStringLiteral("first"));
    Run(frame, "tbrSave");
    EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM Forms")), 13);
    EXPECT_EQ(Column(QStringLiteral("SELECT Field_Name FROM Data WHERE FormID=%1 ORDER BY DataID")
                         .arg(formId)),
              (QStringList{QStringLiteral("first"), QStringLiteral("alpha"), QStringLiteral("beta"),
                           QStringLiteral("gamma")}));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT MIN(DataID) FROM Data WHERE FormID=%1").arg(formId)),
              oldMax + 1);
}

TEST_F(EditingTest, EditAndSaveUpdatesTheSameRowAndKeepsDataIds)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame, database);
    BrowserWindow* viewer = frame.Browser();
    const QStringList ids =
        Column(QStringLiteral("SELECT DataID FROM Data WHERE FormID=1 ORDER BY DataID"));
    Run(frame, "tbrEdit"); // from the summary: the viewer comes to the front
    EXPECT_EQ(session.Database.RecordState & DatabaseState::EditRecord, 0);
    Run(frame, "tbrEdit");
    ASSERT_TRUE(session.Database.RecordState & DatabaseState::EditRecord);
    viewer->FieldList()->setCurrentRow(0);
    Type(viewer->EditorBox(1), QStringLiteral("changed value"));
    QTest::mouseClick(Button(frame, "cmdOK"), Qt::LeftButton);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM Forms")), 12);
    EXPECT_EQ(Column(QStringLiteral("SELECT DataID FROM Data WHERE FormID=1 ORDER BY DataID")),
              ids);
    EXPECT_EQ(Column(QStringLiteral("SELECT Field_Value FROM Data WHERE DataID=%1").arg(ids[0])),
              QStringList{QStringLiteral("changed value")});
}

TEST_F(EditingTest, CancelAnsweredNoKeepsTheTextAndYesShowsTheStoredRecord)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame, database);
    BrowserWindow* viewer = frame.Browser();
    const QString stored = viewer->HeaderBox(kName)->text();
    frame.BringToFront(ChildKind::Viewer);
    Run(frame, "tbrEdit");
    Type(viewer->HeaderBox(kName), QStringLiteral("Someone else"));
    ui.QueueAnswer(MessageAnswer::No);
    Run(frame, "tbrCancel");
    EXPECT_TRUE(ui.MessageTexts().contains(
        QStringLiteral("Are you sure you want to cancel the changes made to this Record?")));
    EXPECT_TRUE(session.Database.RecordState & DatabaseState::EditRecord);
    EXPECT_EQ(viewer->HeaderBox(kName)->text(), QStringLiteral("Someone else"));
    EXPECT_TRUE(frame.Command(QStringLiteral("tbrSave"))->isEnabled());

    ui.QueueAnswer(MessageAnswer::Yes);
    Run(frame, "tbrCancel");
    EXPECT_EQ(session.Database.RecordState & DatabaseState::EditRecord, 0);
    EXPECT_EQ(viewer->HeaderBox(kName)->text(), stored);
    EXPECT_TRUE(viewer->HeaderBox(kName)->isReadOnly());
    EXPECT_EQ(ui.statusTexts.last(), QStringLiteral("Changes Cancelled"));
    EXPECT_FALSE(frame.Command(QStringLiteral("tbrSave"))->isEnabled());
}

TEST_F(EditingTest, CancelOfANewRecordInAnEmptyDatabaseKeepsTheTextLocked)
{
    database = dir.File(QStringLiteral("empty.fdb"));
    ASSERT_EQ(RunCli({QStringLiteral("create"), database}), 0);
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame, database);
    ASSERT_TRUE(session.Database.RecordState & DatabaseState::NoRecords);
    BrowserWindow* viewer = frame.Browser();
    Run(frame, "tbrAdd");
    Type(viewer->HeaderBox(kName), QStringLiteral("Draft"));
    ui.QueueAnswer(MessageAnswer::Yes);
    Run(frame, "tbrCancel");
    EXPECT_EQ(viewer->HeaderBox(kName)->text(), QStringLiteral("Draft"));
    EXPECT_TRUE(viewer->HeaderBox(kName)->isReadOnly());
    EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM Forms")), 0);
}

TEST_F(EditingTest, NotesTypedInTheViewStateAreStoredOnNavigationAndOnClose)
{
    {
        ShellController shell(session);
        MainWindow frame(session, shell);
        Open(frame, database);
        BrowserWindow* viewer = frame.Browser();
        Type(viewer->HeaderBox(kNotes), QStringLiteral("call back"));
        Run(frame, "tbrNext");
        EXPECT_EQ(viewer->HeaderBox(0)->text(), QStringLiteral("2"));
        EXPECT_EQ(Column(QStringLiteral("SELECT Form_Notes FROM Forms WHERE FormID=1")),
                  QStringList{QStringLiteral("call back")});
        // Only the header was written.
        EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM Data WHERE FormID=1")), 7);
        Type(viewer->HeaderBox(kNotes), QStringLiteral("second note"));
        Run(frame, "mnuFCloseDB");
        EXPECT_FALSE(frame.Shell().DatabaseOpen());
    }
    EXPECT_EQ(Column(QStringLiteral("SELECT Form_Notes FROM Forms WHERE FormID=2")),
              QStringList{QStringLiteral("second note")});
}

TEST_F(EditingTest, NotesStoredWhileASearchIsShownReachTheSearchResult)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame, database);
    BrowserWindow* viewer = frame.Browser();
    const QString name = viewer->HeaderBox(kName)->text();
    SummaryWindow* summary = frame.Summary();
    auto* combo = summary->findChild<QComboBox*>(QStringLiteral("Combo1"));
    auto* text = summary->findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* find = summary->findChild<QPushButton*>(QStringLiteral("cmdFind_0"));
    ASSERT_TRUE(combo && text && find);
    combo->setCurrentIndex(combo->findText(QStringLiteral("Record Name")));
    text->setText(name);
    QTest::mouseClick(find, Qt::LeftButton);
    ASSERT_TRUE(session.Database.SummaryFiltered);
    ASSERT_EQ(viewer->HeaderBox(0)->text(), QStringLiteral("1"));

    Type(viewer->HeaderBox(kNotes), QStringLiteral("found and noted"));
    Run(frame, "tbrLast");
    EXPECT_EQ(Column(QStringLiteral("SELECT Form_Notes FROM Forms WHERE FormID=1")),
              QStringList{QStringLiteral("found and noted")});
    SQLite::Database result(session.Folders.SearchResultFile().toStdString(),
                            SQLite::OPEN_READONLY);
    EXPECT_EQ(QString::fromStdString(
                  result.execAndGet("SELECT Form_Notes FROM Forms WHERE FormID=1").getString()),
              QStringLiteral("found and noted"));
    const int row = summary->Model()->RowOf(1);
    EXPECT_EQ(summary->Model()->index(row, SummaryModel::Notes).data().toString(),
              QStringLiteral("found and noted"));
}

TEST_F(EditingTest, LeavingANewRecordAsksWhetherToSaveIt)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame, database);
    BrowserWindow* viewer = frame.Browser();
    Run(frame, "tbrAdd");
    Type(viewer->HeaderBox(kName), QStringLiteral("Unsaved"));
    // Cancel stays on the new record, No drops it, Yes stores it.
    ui.QueueAnswer(MessageAnswer::Cancel);
    frame.Browser()->parentWidget()->close();
    ASSERT_NE(frame.Browser(), nullptr);
    EXPECT_TRUE(session.Database.RecordState & DatabaseState::NewRecord);
    EXPECT_EQ(viewer->HeaderBox(kName)->text(), QStringLiteral("Unsaved"));

    ui.QueueAnswer(MessageAnswer::Yes);
    Run(frame, "mnuFCloseDB");
    EXPECT_FALSE(frame.Shell().DatabaseOpen());
    EXPECT_EQ(Column(QStringLiteral("SELECT Form_Name FROM Forms WHERE FormID=13")),
              QStringList{QStringLiteral("Unsaved")});
}

TEST_F(EditingTest, EveryCommandOfTheEditingTableFollowsTheState)
{
    struct Rule {
        const char* menuItem;
        const char* button;
        CommandId id;
        int noRecords; // 0 no, 1 L, 2 not L
        int otherwise; // 0 no, 1 L, 2 not L, 3 yes
    };
    const Rule rules[] = {
        {"mnuECut", "tbrCut", CommandId::Cut, 0, 2},
        {"mnuECopy", "tbrCopy", CommandId::Copy, 0, 3},
        {"mnuEPaste", "tbrPaste", CommandId::Paste, 0, 2},
        {"mnuRMoveFirst", "tbrFirst", CommandId::MoveFirst, 0, 1},
        {"mnuRMovePrevious", "tbrPrev", CommandId::MovePrevious, 0, 1},
        {"mnuRMoveNext", "tbrNext", CommandId::MoveNext, 0, 1},
        {"mnuRMoveLast", "tbrLast", CommandId::MoveLast, 0, 1},
        {"mnuRNewResume", "tbrAdd", CommandId::NewRecord, 1, 1},
        {"mnuREditResume", "tbrEdit", CommandId::EditRecord, 0, 1},
        {"mnuRDeleteResume", "tbrDelete", CommandId::DeleteRecord, 0, 1},
        {"mnuRSaveResume", "tbrSave", CommandId::SaveRecord, 2, 2},
        {"mnuRCancel", "tbrCancel", CommandId::CancelChanges, 2, 2},
        {"mnuOQueryBuilder", "tbrQuery", CommandId::QueryBuilder, 0, 1},
        {"mnuFPrintResume", "tbrPrint", CommandId::Print, 0, 1},
        {"mnuRViewResume", "tbrView", CommandId::ViewRecord, 1, 1},
        {"mnuRViewSummary", "tbrBrowse", CommandId::ViewSummary, 1, 1},
        {"mnuFOpenDB", "tbrOpenDB", CommandId::OpenDatabase, 1, 1},
        {"mnuFImportResume", "tbrFileImport", CommandId::ImportFiles, 1, 1},
        {"mnuFImportClipboard", "tbrClipboardImport", CommandId::ImportClipboard, 1, 1},
    };
    auto expected = [](int rule, bool lock) {
        return rule == 3 || (rule == 1 && lock) || (rule == 2 && !lock);
    };
    auto check = [&](MainWindow& frame, bool noRecords, bool lock) {
        for (const Rule& r : rules) {
            const bool on =
                CommandOf(r.id).built && expected(noRecords ? r.noRecords : r.otherwise, lock);
            EXPECT_EQ(frame.Command(QString::fromLatin1(r.menuItem))->isEnabled(), on)
                << r.menuItem << " noRecords " << noRecords << " lock " << lock;
            EXPECT_EQ(frame.Command(QString::fromLatin1(r.button))->isEnabled(), on)
                << r.button << " noRecords " << noRecords << " lock " << lock;
        }
        for (const char* name : {"cmdAddNew", "cmdInsertEntry", "cmdRemove"})
            EXPECT_EQ(
                frame.Browser()->findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled(),
                !lock)
                << name;
    };
    for (bool empty : {false, true}) {
        if (empty) {
            database = dir.File(QStringLiteral("empty.fdb"));
            ASSERT_EQ(RunCli({QStringLiteral("create"), database}), 0);
        }
        ShellController shell(session);
        MainWindow frame(session, shell);
        Open(frame, database);
        check(frame, empty, true);
        Run(frame, "tbrAdd");
        check(frame, empty, false);
        ui.QueueAnswer(MessageAnswer::Yes);
        Run(frame, "tbrCancel");
        check(frame, empty, true);
        // The viewer made anew when the database is opened again.
        Run(frame, "mnuFCloseDB");
        frame.Shell().OpenDatabaseFile(database);
        ASSERT_TRUE(frame.Browser());
        Run(frame, "tbrAdd");
        check(frame, empty, false);
        ui.QueueAnswer(MessageAnswer::Yes);
        Run(frame, "tbrCancel");
        frame.close();
    }
}

TEST_F(EditingTest, AnInvalidDateKeepsTheFocusInItsBox)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame, database);
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    BrowserWindow* viewer = frame.Browser();
    frame.BringToFront(ChildKind::Viewer);
    QLineEdit* date = viewer->HeaderBox(kDate);
    date->setFocus();
    Type(date, QStringLiteral("tomorrow"));
    viewer->HeaderBox(kName)->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(ui.MessageTexts().contains(QStringLiteral("Please enter a valid date")));
    EXPECT_TRUE(date->hasFocus());
}

TEST_F(EditingTest, AFailedSaveKeepsTheNewRecordOnScreen)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame, database);
    BrowserWindow* viewer = frame.Browser();
    Run(frame, "tbrAdd");
    Type(viewer->HeaderBox(kName), QStringLiteral("Not stored"));
    // The file can no longer be written (file modes do not stop every user,
    // so the engine is told as well).
    QFile::setPermissions(database, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    session.Database.CurrentDatabase->Db().exec("PRAGMA query_only = 1");
    Run(frame, "tbrSave");
    EXPECT_TRUE(
        ui.MessageTexts()
            .join(QLatin1Char('|'))
            .contains(QStringLiteral("WriteRecord: Error saving Record to the database: ")));
    EXPECT_NE(ui.statusTexts.last(), QStringLiteral("Record Saved"));
    EXPECT_TRUE(session.Database.RecordState & DatabaseState::NewRecord);
    EXPECT_EQ(viewer->HeaderBox(kName)->text(), QStringLiteral("Not stored"));
    EXPECT_FALSE(viewer->HeaderBox(kName)->isReadOnly());
    EXPECT_TRUE(frame.Command(QStringLiteral("tbrSave"))->isEnabled());
    EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM Forms")), 12);
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    session.Database.CurrentDatabase->Db().exec("PRAGMA query_only = 0");
    ui.QueueAnswer(MessageAnswer::No);
}
