#include "OutputFixture.h"

#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "database/RecordReader.h"
#include "database/RecordWriter.h"
#include "output/DelimitedLine.h"
#include "output/OutputFieldList.h"
#include "output/OutputRunner.h"

#include <QFile>
#include <SQLiteCpp/Database.h>

namespace {

// Output runs that read their records from a database as one stream.
class OutputStreamTest : public OutputFixture {
protected:
    OutputStreamTest()
        : program(ui, ProgramFolders(QStringLiteral(TALLOWMERE_PROGRAM_DIR), dir.Path()),
                  Regional(TestLocale()))
    {
        ScriptedUi quiet;
        const QString path = dir.File(QStringLiteral("records.fdb"));
        CreateNewDatabase(quiet, path);
        program.Database.RememberLastUsedDB = false;
        OpenResumeDatabase(program, path);
        for (int id = 1; id <= 40; ++id) {
            RecordTables& t = program.Tables;
            t.ClearRecordTables();
            t.PutArrayElement(1, 1, QStringLiteral("Person %1").arg(id));
            t.PutArrayElement(2, 1, QStringLiteral("Email"));
            t.PutArrayElement(2, 2, QStringLiteral("p%1@example.org").arg(id));
            t.CurrentRow[2] = 1;
            t.PutArrayElement(2, 1, QStringLiteral("Comment"));
            t.PutArrayElement(2, 2, id % 2 ? QStringLiteral("odd") : QStringLiteral("even"));
            t.CurrentRow[2] = 0;
            program.Database.RecordState = DatabaseState::NewRecord;
            EXPECT_TRUE(WriteResumes(program, 1));
            program.Database.RecordState = 0;
        }
        FillOutputFieldList(
            program.Output,
            {{QStringLiteral("Forms.FormID"), QStringLiteral("1.0"), QStringLiteral("Record ID")}},
            QStringLiteral("\r\nEmail\r\nComment\r\n"));
        request.delimiterText = QStringLiteral("Comma");
        ui.messages.clear();
    }

    QString Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QString Line(int id) const
    {
        return QStringLiteral("%1,p%1@example.org,%2\r\n").arg(id).arg(id % 2 ? "odd" : "even");
    }

    Session program;
    OutputRequest request;
};

} // namespace

TEST_F(OutputStreamTest, WholeDatabaseAndItsIdRangeInFormIdOrder)
{
    const QString path = dir.File(QStringLiteral("all.txt"));
    request.type = OutputType::DelimitedFile;
    request.wholeDatabase = true;
    ui.QueueFiles({path});
    const OutputResult all = RunOutput(program, request);
    EXPECT_TRUE(all.completed);
    EXPECT_EQ(all.count, 40);
    QString expected;
    for (int id = 1; id <= 40; ++id)
        expected += Line(id);
    EXPECT_EQ(Read(path), expected);
    EXPECT_EQ(ui.progressShown.last().maximum, 40);
    EXPECT_EQ(ui.progressUpdates.last(), qMakePair(40, QStringLiteral("40/40")));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("40 record(s) saved to ") + path);

    const QString range = dir.File(QStringLiteral("range.txt"));
    request.idRange = IdRangeText{QStringLiteral("38"), QStringLiteral("90")};
    ui.QueueFiles({range});
    EXPECT_EQ(RunOutput(program, request).count, 3);
    EXPECT_EQ(Read(range), Line(38) + Line(39) + Line(40));
    EXPECT_EQ(ui.progressUpdates.last(), qMakePair(3, QStringLiteral("3/3")));
    EXPECT_TRUE(ui.messages.isEmpty());

    request.idRange = IdRangeText{QStringLiteral("5"), QStringLiteral("2")};
    EXPECT_FALSE(RunOutput(program, request).completed);
    EXPECT_EQ(ui.messages.last().text,
              QStringLiteral("'From' value should be less than 'To' value"));
}

TEST_F(OutputStreamTest, RecordDeletedSinceTheListWasMadeIsSkipped)
{
    program.Database.CurrentDatabase->Db().exec("DELETE FROM Forms WHERE FormID = 3");
    request.type = OutputType::Clipboard;
    request.formIds = {5, 3, 2};
    const OutputResult result = RunOutput(program, request);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{"ReadRecords: Error Reading/Displaying Record: No current record."});
    EXPECT_EQ(ui.StatusText(), QStringLiteral("2 record(s) copied to clipboard"));
    const qsizetype five = ui.clipboard.indexOf(QStringLiteral("p5@example.org"));
    const qsizetype two = ui.clipboard.indexOf(QStringLiteral("p2@example.org"));
    EXPECT_TRUE(five >= 0 && five < two) << qPrintable(ui.clipboard);
    EXPECT_FALSE(ui.clipboard.contains(QStringLiteral("p3@")));
}

TEST_F(OutputStreamTest, CancelAndAFailingRecordTakeTheirPaths)
{
    ui.CancelAfterUpdates(2);
    request.type = OutputType::Screen;
    request.wholeDatabase = true;
    const OutputResult cancelled = RunOutput(program, request);
    EXPECT_TRUE(cancelled.completed);
    EXPECT_EQ(cancelled.count, 2);
    EXPECT_EQ(ui.StatusText(), QStringLiteral("2 record(s) displayed"));
    EXPECT_FALSE(ui.CancelRequested());

    // A record too large for the record tables ends the run on the error
    // path with the records before it output.
    program.Database.CurrentDatabase->Db().exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 16400) "
        "INSERT INTO Data (Field_Name, Field_Value, FormID) SELECT 'f', i, 4 FROM n");
    const OutputResult failed = RunOutput(program, request);
    EXPECT_FALSE(failed.completed);
    EXPECT_EQ(failed.count, 3);
    EXPECT_EQ(ui.messages.last().text, QStringLiteral("ReadRecords: Error reading into tables"));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 Record(s) output"));
    EXPECT_FALSE(ui.ProgressVisible());
}

TEST_F(OutputStreamTest, TheRecordOnScreenIsInMemoryAgainAfterTheRun)
{
    ASSERT_TRUE(program.Database.RecordCursor.Seek(3));
    ASSERT_TRUE(ReadResumes(program));
    bool shownAgain = false;
    QObject::connect(&program.Events, &SessionEvents::RecordLoaded, [&] { shownAgain = true; });
    for (const OutputType type : {OutputType::Clipboard, OutputType::Screen}) {
        request.type = type;
        request.formIds = {5, 6, 7};
        const OutputResult result = RunOutput(program, request);
        EXPECT_EQ(result.count, 3);
        EXPECT_EQ(program.Tables.GetArrayElement(RecordTables::kHeaderTable, 1),
                  QStringLiteral("Person 3"));
        EXPECT_EQ(program.Tables.GetArrayElement(RecordTables::kFieldTable, 2),
                  QStringLiteral("p3@example.org"));
        EXPECT_EQ(program.Database.RecordCursor.Bookmark(), 3);
    }
    // A streamed run never told the viewer of another record.
    EXPECT_FALSE(shownAgain);

    // A loader that reads as the viewer does moves the cursor and shows each
    // record; the record on screen is shown again at the end.
    const RecordLoader viewerRead = [&](qint32 id) {
        return program.Database.RecordCursor.Seek(id) && ReadResumes(program);
    };
    request.type = OutputType::Clipboard;
    const OutputResult loaded = RunOutput(program, request, viewerRead);
    EXPECT_EQ(loaded.count, 3);
    EXPECT_TRUE(shownAgain);
    EXPECT_EQ(program.Tables.GetArrayElement(RecordTables::kHeaderTable, 1),
              QStringLiteral("Person 3"));
    EXPECT_EQ(program.Database.RecordCursor.Bookmark(), 3);
}

TEST_F(OutputStreamTest, DelimitedFilesHoldWhatEachRecordReadAloneGives)
{
    // Stored cells the tables read otherwise than as stored, and the cells
    // the options change.
    SQLite::Database& db = program.Database.CurrentDatabase->Db();
    db.exec("UPDATE Data SET Field_Value = CAST(X'6F64FF64' AS TEXT) WHERE FormID = 1");
    db.exec("UPDATE Data SET Field_Value = CAST(X'EFBBBF3D31' AS TEXT) WHERE FormID = 2");
    db.exec("UPDATE Data SET Field_Value = 'a \"b\", c' WHERE FormID = 3");
    db.exec("UPDATE Data SET Field_Value = '\r\nx\r\ny\r\n' WHERE FormID = 4");
    db.exec("UPDATE Data SET Field_Value = 12.25 WHERE FormID = 5");
    db.exec("UPDATE Forms SET Form_Date = NULL WHERE FormID = 6");
    db.exec("DELETE FROM Data WHERE FormID = 7");
    FillOutputFieldList(program.Output,
                        {{QStringLiteral("Forms.FormID"), QStringLiteral("1.0"), QString()},
                         {QStringLiteral("Forms.Form_Date"), QStringLiteral("1.3"), QString()},
                         {QStringLiteral("Forms.File_Name"), QStringLiteral("1.4"), QString()}},
                        QStringLiteral("\r\nEmail\r\nComment\r\n"));
    request.type = OutputType::DelimitedFile;
    request.wholeDatabase = true;
    for (const bool options : {false, true}) {
        request.useQuotes = options;
        request.removeLineBreaks = options;
        request.protectFormulas = options;
        request.rfc4180Quoting = options;
        request.delimiterText = options ? QStringLiteral("\u00a7") : QStringLiteral("Comma");
        QString expected;
        for (qint64 id = 1; id <= 40; ++id) {
            ASSERT_TRUE(program.Database.RecordCursor.Seek(id));
            ASSERT_TRUE(ReadResumes(program));
            DelimitedOptions choices;
            choices.useQuotes = choices.removeLineBreaks = choices.protectFormulas =
                choices.rfc4180Quoting = options;
            ASSERT_TRUE(
                BuildDelimitedLine(program, choices, DelimiterFromName(request.delimiterText)));
            expected += program.Output.OutputText + QStringLiteral("\r\n");
        }
        const QString path = dir.File(QStringLiteral("lines%1.txt").arg(options));
        ui.QueueFiles({path});
        EXPECT_EQ(RunOutput(program, request).count, 40);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), expected.toUtf8());
    }
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join("|").toStdString();
}
