#include "database/DatabaseFixture.h"
#include "database/RecordDeletion.h"
#include "database/RecordReader.h"
#include "database/RecordTransfer.h"
#include "session/RecordChooser.h"
#include "session/RecordSelection.h"
#include "database/RecordWriter.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Answers the Select Records dialog with a fixed choice.
struct ScriptedChooser : RecordChooser {
    explicit ScriptedChooser(Session& s, RecordSelection answer, std::vector<qint64> rows = {})
        : session(s), answer(answer), rows(std::move(rows))
    {}
    void ShowSelectDialog(const QString& caption) override
    {
        captions.append(caption);
        session.Selection = answer;
    }
    std::vector<qint64> SelectedSummaryRows() const override { return rows; }
    Session& session;
    RecordSelection answer;
    std::vector<qint64> rows;
    QStringList captions;
};

// Presses Cancel during the yield after the given number of records.
struct CancellingUi : ScriptedUi {
    int cancelAfterRecords = -1;
    int recordYields = -1; // the first yield comes before the first record
    bool cancel = false;
    void ShowProgress(const ProgressRequest& r) override
    {
        ScriptedUi::ShowProgress(r);
        recordYields = -1;
        cancel = false;
    }
    void Yield() override
    {
        ScriptedUi::Yield();
        if (++recordYields == cancelAfterRecords)
            cancel = true;
    }
    bool CancelRequested() const override { return cancel; }
    void ClearCancelRequested() override { cancel = false; }
};

constexpr RecordSelection kAll{RecordSelection::kAllRecords, 0};
constexpr RecordSelection kSelected{RecordSelection::kSelectedRows, 0};
constexpr RecordSelection kCurrent{RecordSelection::kCurrentRecord, 0};

// Fills a database file with records 1..count, each with the fields
// Name=Person i and City=Town i, then opens it.
void Fill(const QString& path, int count, const QStringList& names = {"Name", "City"})
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    db.exec("BEGIN");
    QString list = "\r\n";
    for (const QString& n : names)
        list += n + "\r\n";
    SQLite::Statement info(db, "UPDATE Info SET Value = ? WHERE Key = 'FieldNamesList'");
    info.bind(1, list.toStdString());
    info.exec();
    for (int i = 1; i <= count; ++i) {
        SQLite::Statement f(db, "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, File_Name) "
                                "VALUES (?, 'note', '2024-03-05', 'in.txt')");
        f.bind(1, QString("Person %1").arg(i).toStdString());
        f.exec();
        const auto id = db.getLastInsertRowid();
        for (const QString& n : names) {
            SQLite::Statement d(db, "INSERT INTO Data (Field_Name, Field_Value, FormID) "
                                    "VALUES (?, ?, ?)");
            d.bind(1, n.toStdString());
            d.bind(2, QString("%1 %2").arg(n).arg(i).toStdString());
            d.bind(3, static_cast<int64_t>(id));
            d.exec();
        }
    }
    db.exec("COMMIT");
}

struct DeleteTest : DatabaseFixture, ::testing::Test {
    QString Open(int count)
    {
        const QString path = Create();
        Fill(path, count);
        OpenResumeDatabase(session, path);
        ui.messages.clear();
        ui.statusTexts.clear();
        return path;
    }
    std::vector<qint64> Remaining() { return session.Database.SummaryRecords.Ids(); }
};

} // namespace

TEST_F(DeleteTest, SelectedRowsGoInSelectionOrderAndTheNeighbourAfterTheLastIsShown)
{
    Open(6);
    ui.QueueAnswer(MessageAnswer::Yes);
    ScriptedChooser chooser(session, kSelected, {4, 2});
    const DeleteOutcome outcome = DeleteResumes(session, chooser);
    EXPECT_TRUE(outcome.ran);
    EXPECT_EQ(outcome.deleted, 2);
    EXPECT_EQ(chooser.captions, QStringList{"Select records to delete"});
    EXPECT_EQ(ui.messages.first().text,
              "Are you sure you want to delete the selected Record(s) from the Database?");
    EXPECT_EQ(ui.messages.first().icon, MessageIcon::Question);
    EXPECT_EQ(Remaining(), (std::vector<qint64>{1, 3, 5, 6}));
    // 2 went last: the row after it (3) is shown.
    EXPECT_EQ(session.Database.SummaryRecords.Bookmark(), 3);
    EXPECT_EQ(session.Tables.Header(0), "3");
    EXPECT_EQ(ui.StatusText(), "2 record(s) Deleted");
    EXPECT_EQ(ui.progressShown.last().caption, "Deleting records...");
    EXPECT_EQ(ui.progressUpdates.last(), (QPair<int, QString>{2, "2/2"}));
    EXPECT_FALSE(ui.ProgressVisible());
    EXPECT_EQ(Count("SELECT count(*) FROM Data WHERE FormID IN (2, 4)"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM Data"), 8);
}

TEST_F(DeleteTest, TheLastRowShowsTheOneBeforeItAndTheLastRecordLeavesAnEmptyViewer)
{
    Open(3);
    ui.QueueAnswer(MessageAnswer::Yes);
    session.Database.SummaryRecords.Seek(3);
    ScriptedChooser current(session, kCurrent);
    DeleteResumes(session, current);
    EXPECT_EQ(Remaining(), (std::vector<qint64>{1, 2}));
    EXPECT_EQ(session.Database.SummaryRecords.Bookmark(), 2);
    EXPECT_EQ(session.Tables.Header(0), "2");

    ui.QueueAnswer(MessageAnswer::Yes);
    ScriptedChooser all(session, kAll);
    DeleteResumes(session, all);
    EXPECT_TRUE(Remaining().empty());
    EXPECT_TRUE(session.Database.RecordState & DatabaseState::NoRecords);
    EXPECT_EQ(session.Tables.Header(0), "");
    EXPECT_EQ(ui.StatusText(), "2 record(s) Deleted");
    EXPECT_EQ(Count("SELECT count(*) FROM Data"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM Forms"), 0);
}

TEST_F(DeleteTest, ARangeDeletesOnlySummaryRecordsInsideItSkippingGaps)
{
    Open(8);
    Db().exec("DELETE FROM Forms WHERE FormID = 4");
    session.Database.SummaryRecords.Load(*session.Database.CurrentDatabase);
    session.Database.RecordCursor = session.Database.SummaryRecords;
    ui.QueueAnswer(MessageAnswer::Yes);
    ScriptedChooser chooser(session, {3, 6});
    EXPECT_EQ(DeleteResumes(session, chooser).deleted, 3);
    EXPECT_EQ(Remaining(), (std::vector<qint64>{1, 2, 7, 8}));
    EXPECT_EQ(session.Database.SummaryRecords.Bookmark(), 7);
    EXPECT_EQ(ui.StatusText(), "3 record(s) Deleted");
}

TEST_F(DeleteTest, DecliningOrCancellingDeletesNothing)
{
    Open(3);
    ScriptedChooser cancelled(session, {0, 0});
    EXPECT_FALSE(DeleteResumes(session, cancelled).ran);
    EXPECT_TRUE(ui.messages.isEmpty());
    ui.QueueAnswer(MessageAnswer::No);
    ScriptedChooser all(session, kAll);
    EXPECT_FALSE(DeleteResumes(session, all).ran);
    EXPECT_EQ(ui.StatusText(), "Delete Cancelled");
    EXPECT_EQ(Count("SELECT count(*) FROM Forms"), 3);
}

TEST(DeleteCancel, CancelAfterThreeDeletionsLeavesExactlyThreeDeleted)
{
    TempDir dir;
    CancellingUi ui;
    Session session(ui, dir.Folders(), Regional(TestLocale()));
    const QString path = dir.File("c.fdb");
    ScriptedUi quiet;
    CreateNewDatabase(quiet, path);
    Fill(path, 10);
    OpenResumeDatabase(session, path);
    ui.cancelAfterRecords = 3;
    ui.QueueAnswer(MessageAnswer::Yes);
    ScriptedChooser chooser(session, kAll);
    EXPECT_EQ(DeleteResumes(session, chooser).deleted, 3);
    EXPECT_EQ(ui.StatusText(), "3 record(s) Deleted");
    EXPECT_EQ(session.Database.SummaryRecords.Ids(), (std::vector<qint64>{4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(
        session.Database.CurrentDatabase->Db().execAndGet("SELECT count(*) FROM Forms").getInt(),
        7);
}

TEST_F(DeleteTest, WhileASearchIsShownBothCopiesGo)
{
    const QString path = Open(5);
    // The result file as a search leaves it: copies of records 2 and 3.
    {
        const QString result = session.Folders.SearchResultFile();
        QFile::remove(result);
        SQLite::Database r(result.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        r.exec("ATTACH DATABASE '" + path.toStdString() + "' AS src");
        r.exec("CREATE TABLE Forms AS SELECT * FROM src.Forms WHERE FormID IN (2, 3)");
    }
    session.Database.SummaryRecords.Assign({2, 3});
    session.Database.SummaryFiltered = true;
    ui.QueueAnswer(MessageAnswer::Yes);
    ScriptedChooser chooser(session, kCurrent);
    DeleteResumes(session, chooser);
    EXPECT_EQ(Remaining(), std::vector<qint64>{3});
    EXPECT_EQ(Count("SELECT count(*) FROM Forms WHERE FormID = 2"), 0);
    SQLite::Database r(session.Folders.SearchResultFile().toStdString());
    EXPECT_EQ(r.execAndGet("SELECT group_concat(FormID) FROM Forms").getString(), "3");
    EXPECT_EQ(session.Database.RecordCursor.Count(), 4);
}

namespace {

struct TransferTest : DeleteTest {
    QString target;
    void SetUp() override { target = dir.File("target.fdb"); }
    int TargetCount(const char* sql)
    {
        SQLite::Database t(target.toStdString());
        return t.execAndGet(sql).getInt();
    }
    QString TargetText(const char* sql)
    {
        SQLite::Database t(target.toStdString());
        return QString::fromStdString(t.execAndGet(sql).getString());
    }
};

} // namespace

TEST_F(TransferTest, IntoANewFileCreatedOnRequestWithNewRecordNumbers)
{
    Open(4);
    ui.QueueFiles({target});
    ui.QueueAnswer(MessageAnswer::Yes);
    ScriptedChooser chooser(session, {3, 4});
    const TransferOutcome outcome = WriteRecordsToDB(session, chooser);
    EXPECT_EQ(outcome.saved, 2);
    EXPECT_EQ(chooser.captions, QStringList{"Select records to transfer"});
    const FileDialogRequest& request = ui.saveRequests.first();
    EXPECT_EQ(request.title, "Save Records to Database...");
    EXPECT_EQ(request.selectedFilter, 1);
    EXPECT_EQ(request.proposedName, "*.fdb");
    EXPECT_EQ(request.defaultExtension, "fdb");
    EXPECT_EQ(ui.messages.first().text,
              "File " + target + " does not exist.\r\nCreate new database?");
    EXPECT_EQ(ui.StatusText(), "2 record(s) saved to " + target);
    EXPECT_EQ(TargetText("SELECT group_concat(FormID || ':' || Form_Name, ',') FROM Forms"),
              "1:Person 3,2:Person 4");
    EXPECT_EQ(TargetText("SELECT group_concat(Field_Value, ',') FROM (SELECT Field_Value FROM "
                         "Data WHERE FormID = 2 ORDER BY DataID)"),
              "Name 4,City 4");
    EXPECT_EQ(TargetText("SELECT Form_Date FROM Forms WHERE FormID = 1"), "2024-03-05");
    EXPECT_EQ(TargetText("SELECT Value FROM Info WHERE Key = 'FieldNamesList'"),
              "\r\nName\r\nCity\r\n");
    // The open database is unchanged.
    EXPECT_EQ(Count("SELECT count(*) FROM Forms"), 4);
}

TEST_F(TransferTest, RefusingToCreateOrCancellingTheDialogChangesNothing)
{
    Open(2);
    ui.QueueFiles({target});
    ui.QueueAnswer(MessageAnswer::No);
    ScriptedChooser chooser(session, kAll);
    EXPECT_FALSE(WriteRecordsToDB(session, chooser).ran);
    EXPECT_EQ(ui.StatusText(), "Save cancelled");
    EXPECT_FALSE(QFile::exists(target));
    ui.QueueCancel();
    WriteRecordsToDB(session, chooser);
    EXPECT_EQ(ui.StatusText(), "Save cancelled");
}

TEST_F(TransferTest, TwiceGivesTwoCopiesAndANameInOtherLetterCaseIsNotAddedAgain)
{
    Open(1);
    {
        ScriptedUi quiet;
        CreateNewDatabase(quiet, target);
        SQLite::Database t(target.toStdString(), SQLite::OPEN_READWRITE);
        t.exec("UPDATE Info SET Value = '\r\nNAME\r\n' WHERE Key = 'FieldNamesList'");
    }
    const QString namesBefore = session.Database.CurrentFieldNames.List();
    for (int i = 0; i < 2; ++i) {
        ui.QueueFiles({target});
        ScriptedChooser chooser(session, kAll);
        EXPECT_EQ(WriteRecordsToDB(session, chooser).saved, 1);
    }
    EXPECT_EQ(TargetText("SELECT group_concat(FormID) FROM Forms"), "1,2");
    EXPECT_EQ(TargetCount("SELECT count(DISTINCT Form_Name) FROM Forms"), 1);
    EXPECT_EQ(TargetText("SELECT Value FROM Info WHERE Key = 'FieldNamesList'"),
              "\r\nNAME\r\nCity\r\n");
    EXPECT_EQ(session.Database.CurrentFieldNames.List(), namesBefore);
}

TEST_F(TransferTest, ATargetThatFailsTheCheckGetsNothing)
{
    Open(2);
    {
        ScriptedUi quiet;
        CreateNewDatabase(quiet, target);
        SQLite::Database t(target.toStdString(), SQLite::OPEN_READWRITE);
        t.exec("UPDATE Info SET Value = '99.0.0' WHERE KeyID = (SELECT min(KeyID) + 1 FROM Info)");
    }
    const QString namesBefore = session.Database.CurrentFieldNames.List();
    ui.QueueFiles({target});
    ScriptedChooser chooser(session, kAll);
    const TransferOutcome outcome = WriteRecordsToDB(session, chooser);
    EXPECT_TRUE(outcome.failed);
    EXPECT_TRUE(ui.MessageTexts().last().startsWith("This database was created using a later"));
    EXPECT_EQ(ui.StatusText(), "0 record(s) saved to " + target);
    EXPECT_EQ(TargetCount("SELECT count(*) FROM Forms"), 0);
    EXPECT_EQ(session.Database.CurrentFieldNames.List(), namesBefore);
}

TEST_F(TransferTest, IntoTheOpenDatabaseDuplicatesAndRefreshesTheSummary)
{
    const QString path = Open(2);
    ui.QueueFiles({path});
    ScriptedChooser chooser(session, kCurrent);
    session.Database.SummaryRecords.Seek(1);
    session.Database.RecordCursor.Seek(1);
    EXPECT_EQ(WriteRecordsToDB(session, chooser).saved, 1);
    EXPECT_EQ(session.Database.SummaryRecords.Ids(), (std::vector<qint64>{1, 2, 3}));
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 3);
    EXPECT_EQ(Text("SELECT Form_Name FROM Forms WHERE FormID = 3"), "Person 1");
}

TEST_F(TransferTest, TheRecordInMemoryAndItsPositionAreThoseOnScreen)
{
    Open(3);
    session.Database.SummaryRecords.Seek(1);
    session.Database.RecordCursor.Seek(1);
    ReadResumes(session);
    session.Tables.PutArrayElement(RecordTables::kHeaderTable, RecordTables::NameColumn, "Edited");
    ui.QueueFiles({target});
    ui.QueueAnswer(MessageAnswer::Yes);
    ScriptedChooser chooser(session, kAll);
    EXPECT_EQ(WriteRecordsToDB(session, chooser).saved, 3);
    EXPECT_EQ(session.Tables.Header(0), "1");
    EXPECT_EQ(session.Tables.Header(RecordTables::NameColumn), "Edited");
    EXPECT_EQ(session.Database.RecordCursor.Bookmark(), 1);
    // Storing the record now updates record 1, not the last one copied.
    session.Database.RecordState |= DatabaseState::EditRecord;
    ASSERT_TRUE(WriteResumes(session, 1));
    EXPECT_EQ(Text("SELECT Form_Name FROM Forms WHERE FormID = 1"), "Edited");
    EXPECT_EQ(Text("SELECT Form_Name FROM Forms WHERE FormID = 3"), "Person 3");
}

TEST_F(TransferTest, CancelAfterThreeRecordsLeavesExactlyThreeInTheTarget)
{
    CancellingUi cancelling;
    cancelling.cancelAfterRecords = 3;
    Session s(cancelling, dir.Folders(), Regional(TestLocale()));
    const QString path = Create();
    Fill(path, 6);
    ASSERT_TRUE(OpenResumeDatabase(s, path));
    cancelling.QueueFiles({target});
    cancelling.QueueAnswer(MessageAnswer::Yes);
    ScriptedChooser chooser(s, kAll);
    const TransferOutcome outcome = WriteRecordsToDB(s, chooser);
    EXPECT_EQ(outcome.saved, 3);
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(cancelling.StatusText(), "3 record(s) saved to " + target);
    EXPECT_EQ(TargetText("SELECT group_concat(Form_Name, ',') FROM Forms"),
              "Person 1,Person 2,Person 3");
    EXPECT_EQ(TargetCount("SELECT count(*) FROM Data"), 6);
}

TEST_F(TransferTest, ARecordGoneFromTheFileEndsTheTransferAfterTheOnesBeforeIt)
{
    const QString path = Open(5);
    {
        // Another program deletes record 3 after the summary was read.
        SQLite::Database other(path.toStdString(), SQLite::OPEN_READWRITE);
        other.exec("PRAGMA foreign_keys=ON");
        other.exec("DELETE FROM Forms WHERE FormID = 3");
    }
    ui.QueueFiles({target});
    ui.QueueAnswer(MessageAnswer::Yes);
    ScriptedChooser chooser(session, kAll);
    const TransferOutcome outcome = WriteRecordsToDB(session, chooser);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.saved, 2);
    EXPECT_EQ(ui.MessageTexts().last(),
              "ReadRecords: Error Reading/Displaying Record: No current record.");
    EXPECT_EQ(ui.StatusText(), "2 record(s) saved to " + target);
    EXPECT_EQ(TargetText("SELECT group_concat(Form_Name, ',') FROM Forms"), "Person 1,Person 2");
    EXPECT_EQ(session.Database.RecordCursor.Count(), 5);
}

TEST_F(TransferTest, ASummaryRowNotInTheDatabaseEndsTheTransferWithItsNumber)
{
    Open(4);
    session.Database.SummaryRecords.Assign({1, 2, 9, 3});
    session.Database.SummaryFiltered = true;
    ui.QueueFiles({target});
    ui.QueueAnswer(MessageAnswer::Yes);
    ScriptedChooser chooser(session, kAll);
    const TransferOutcome outcome = WriteRecordsToDB(session, chooser);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.saved, 2);
    EXPECT_EQ(ui.MessageTexts().last(),
              "ReadRecords: Error Reading/Displaying Record: Record 9 was not found.");
    EXPECT_EQ(ui.StatusText(), "2 record(s) saved to " + target);
    EXPECT_EQ(TargetCount("SELECT count(*) FROM Forms"), 2);
}

TEST_F(TransferTest, AFailedRecordIsNotLeftHalfWrittenAndTheOnesBeforeItStay)
{
    Open(4);
    {
        ScriptedUi quiet;
        CreateNewDatabase(quiet, target);
        SQLite::Database t(target.toStdString(), SQLite::OPEN_READWRITE);
        // The target refuses the second entry of the third record.
        t.exec("CREATE TRIGGER Refuse BEFORE INSERT ON Data WHEN NEW.Field_Value = 'City 3' "
               "BEGIN SELECT RAISE(ABORT, 'refused by the target'); END");
    }
    ui.QueueFiles({target});
    ScriptedChooser chooser(session, kAll);
    const TransferOutcome outcome = WriteRecordsToDB(session, chooser);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.saved, 2);
    EXPECT_EQ(ui.MessageTexts().last(), "Error saving records: refused by the target");
    EXPECT_EQ(ui.messages.last().icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.StatusText(), "2 record(s) saved to " + target);
    EXPECT_EQ(TargetText("SELECT group_concat(Form_Name, ',') FROM Forms"), "Person 1,Person 2");
    EXPECT_EQ(TargetCount("SELECT count(*) FROM Data"), 4);
    EXPECT_EQ(TargetCount("SELECT count(*) FROM Data WHERE FormID NOT IN (SELECT FormID FROM "
                          "Forms)"),
              0);
    EXPECT_EQ(TargetText("SELECT Value FROM Info WHERE Key = 'FieldNamesList'"),
              "\r\nName\r\nCity\r\n");
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_FALSE(ui.ProgressVisible());
}
