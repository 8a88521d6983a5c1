#include "../database/DatabaseFixture.h"
#include "duplicates/DuplicateKeys.h"
#include "responses/ClipboardImport.h"
#include "responses/ResponseParser.h"

#include <gtest/gtest.h>

namespace {

const char* const kMail = "From: Ann Lee <ann@example.org>\r\n"
                          "Subject: Form posted from Mozilla\r\n"
                          "Content-Type: application/x-www-form-urlencoded\r\n"
                          "\r\n"
                          "name=Ann+Lee&city=Ro\r\n"
                          "me&note=caf%C3%A9\r\n"
                          "\r\n"
                          "Sent from my desk\r\n";

struct ClipboardFixture : DatabaseFixture {
    int reloads = 0;
    int recordLoads = 0;
    int fieldListRebuilds = 0;
    QString db;

    ClipboardFixture()
    {
        db = CreateAndOpen();
        QObject::connect(&session.Events, &SessionEvents::SummaryReloaded,
                         [this](int) { ++reloads; });
        QObject::connect(&session.Events, &SessionEvents::RecordLoaded, [this] { ++recordLoads; });
        QObject::connect(&session.Events, &SessionEvents::FieldNamesChanged,
                         [this] { ++fieldListRebuilds; });
    }
};

} // namespace

TEST(FirstResponseBody, TakesTheFirstResponseOfAnyText)
{
    // A whole message: the header lines hold blanks, the body is joined
    // across its line break, and what follows the blank line is not read.
    EXPECT_EQ(FirstResponseBody(QString::fromLatin1(kMail)),
              QStringLiteral("name=Ann+Lee&city=Rome&note=caf%C3%A9"));
    // Two responses: only the first.
    EXPECT_EQ(FirstResponseBody(QStringLiteral("a=1&b=2\n\nc=3&d=4")), QStringLiteral("a=1&b=2"));
    // A plain line ends the body as an empty one does; lines are trimmed and
    // may end in LF or CR alone, as text pasted on any desktop does.
    EXPECT_EQ(FirstResponseBody(QStringLiteral("  x=1&y\r  =2 \rSee you soon\nz=3")),
              QStringLiteral("x=1&y=2"));
    EXPECT_EQ(FirstResponseBody(QString()), QString());
    EXPECT_EQ(FirstResponseBody(QStringLiteral("Dear all,\r\n=abc\r\nSubject: a=b\r\n")),
              QString());
}

TEST(ClipboardImport, AWholeMessageGivesOneRecordFromTheClipboard)
{
    ClipboardFixture f;
    const ClipboardImportOutcome outcome =
        ImportClipboardText(f.session, QString::fromLatin1(kMail));
    EXPECT_TRUE(outcome.imported);
    EXPECT_FALSE(outcome.failed);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();
    EXPECT_EQ(f.ui.statusTexts, QStringList{"1 record read from clipboard"});
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 1);
    EXPECT_EQ(f.Text("SELECT Form_Name FROM Forms"), QStringLiteral("Ann Lee"));
    EXPECT_EQ(f.Text("SELECT File_Name FROM Forms"), QStringLiteral("Clipboard"));
    // Dated with the day of the import (the database keeps no time of day).
    EXPECT_EQ(f.Text("SELECT Form_Date FROM Forms"), QStringLiteral("2024-03-05"));
    EXPECT_EQ(f.Text("SELECT group_concat(Field_Name || '=' || Field_Value, '&') FROM "
                     "(SELECT * FROM Data ORDER BY DataID)"),
              QStringLiteral("name=Ann Lee&city=Rome&note=café"));
    // The summary, the viewer and Quick Find follow.
    EXPECT_EQ(f.reloads, 1);
    EXPECT_EQ(f.session.Database.SummaryRecords.Count(), 1);
    EXPECT_EQ(f.recordLoads, 1);
    EXPECT_EQ(f.fieldListRebuilds, 2); // the new names, then the rebuild after the import
    EXPECT_EQ(f.session.Tables.Header(RecordTables::NameColumn), QStringLiteral("Ann Lee"));
    EXPECT_EQ(f.session.Database.RecordState & 0x17, 0);
    EXPECT_EQ(f.ui.busyDepth, 0);
}

TEST(ClipboardImport, OnlyTheFirstOfTwoResponsesIsTaken)
{
    ClipboardFixture f;
    ImportClipboardText(f.session, QStringLiteral("name=Ann&age=30\r\n\r\nname=Bob&age=41\r\n"));
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 1);
    EXPECT_EQ(f.Text("SELECT Form_Name FROM Forms"), QStringLiteral("Ann"));
    EXPECT_EQ(f.Count("SELECT count(*) FROM Data"), 2);
}

TEST(ClipboardImport, TextWithoutAResponseImportsNothing)
{
    for (const QString& text : {QString(), QStringLiteral("Dear all,\r\nno form here.\r\n"),
                                QStringLiteral("=abc\r\nSubject: a=b")}) {
        ClipboardFixture f;
        ASSERT_TRUE(ImportClipboardText(f.session, QStringLiteral("name=Ann")).imported);
        f.ui.messages.clear();
        f.ui.statusTexts.clear();
        const ClipboardImportOutcome outcome = ImportClipboardText(f.session, text);
        EXPECT_FALSE(outcome.imported);
        EXPECT_FALSE(outcome.failed);
        EXPECT_EQ(f.ui.MessageTexts(), QStringList{"No valid Record found in clipboard data"});
        EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(f.ui.statusTexts, QStringList{"Clipboard import cancelled"});
        EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 1);
        // The viewer still shows the record it showed.
        EXPECT_EQ(f.session.Tables.Header(RecordTables::FormIdColumn), QStringLiteral("1"));
        EXPECT_EQ(f.session.Tables.Field(0, RecordTables::FieldValueColumn), QStringLiteral("Ann"));
    }
}

TEST(ClipboardImport, ABodyThatCannotBeDecodedIsReportedAndNotStored)
{
    ClipboardFixture f;
    const ClipboardImportOutcome outcome =
        ImportClipboardText(f.session, QStringLiteral("name=Ann&bad=10%2"));
    EXPECT_FALSE(outcome.imported);
    ASSERT_EQ(f.ui.messages.size(), 2);
    EXPECT_TRUE(f.ui.messages[0].text.startsWith("Error reading data: "));
    EXPECT_EQ(f.ui.messages[1].text, QStringLiteral("No valid Record found in clipboard data"));
    EXPECT_EQ(f.ui.statusTexts.last(), QStringLiteral("Clipboard import cancelled"));
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 0);
    // The half-read record is not left in memory for the viewer.
    EXPECT_EQ(f.session.Tables.FieldCount(), 0);
}

TEST(ClipboardImport, AFailedWriteIsNotReportedAsRead)
{
    ClipboardFixture f;
    f.Db().exec("CREATE TRIGGER refuse BEFORE INSERT ON Data BEGIN SELECT RAISE(ABORT, "
                "'refused'); END");
    const ClipboardImportOutcome outcome = ImportClipboardText(f.session, QStringLiteral("a=1"));
    EXPECT_FALSE(outcome.imported);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{"WriteRecord: Error saving Record to the database: refused"});
    EXPECT_EQ(f.ui.statusTexts, QStringList{"Clipboard import cancelled"});
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 0);
    EXPECT_EQ(f.session.Tables.FieldCount(), 0);
    EXPECT_EQ(f.session.Database.RecordState & 0x17, 0);
}

TEST(ClipboardImport, ASearchResultInTheSummaryStaysAsItIs)
{
    ClipboardFixture f;
    f.session.Database.SummaryFiltered = true;
    ImportClipboardText(f.session, QStringLiteral("a=1"));
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 1);
    EXPECT_EQ(f.reloads, 0);
    EXPECT_EQ(f.ui.statusTexts, QStringList{"1 record read from clipboard"});
}

TEST(ClipboardImport, ReadingAloneFillsTheTablesWithTheClipboardAsSource)
{
    ClipboardFixture f;
    EXPECT_EQ(ReadClipboardRecord(f.session, QStringLiteral("Hi\n q=%20v \n"), QDate(2023, 1, 2)),
              kRecordRead);
    EXPECT_EQ(f.session.Tables.Header(RecordTables::SourceColumn), QStringLiteral("Clipboard"));
    EXPECT_EQ(f.session.Tables.Field(0, RecordTables::FieldValueColumn), QStringLiteral(" v"));
    EXPECT_EQ(f.session.Tables.Header(RecordTables::DateColumn),
              f.session.RegionalSettings.DateToText(QDate(2023, 1, 2)));
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 0);
}

TEST(ClipboardImport, APastedQuotedPrintableMessageIsReadAsMail)
{
    ClipboardFixture f;
    // A soft line break inside a pair and an escaped "=" between name and value.
    const QString message = QStringLiteral("From: Ann Lee <ann@example.org>\r\n"
                                           "Subject: Form posted\r\n"
                                           "MIME-Version: 1.0\r\n"
                                           "Content-Type: text/plain; charset=utf-8\r\n"
                                           "Content-Transfer-Encoding: quoted-printable\r\n"
                                           "\r\n"
                                           "name=3DAnn+Lee&ci=\r\n"
                                           "ty=3DRome\r\n");
    const ClipboardImportOutcome outcome = ImportClipboardText(f.session, message);
    ASSERT_TRUE(outcome.imported);
    ASSERT_EQ(f.session.Tables.FieldCount(), 2);
    EXPECT_EQ(f.session.Tables.Field(0, RecordTables::FieldNameColumn), QStringLiteral("name"));
    EXPECT_EQ(f.session.Tables.Field(1, RecordTables::FieldNameColumn), QStringLiteral("city"));
    EXPECT_EQ(f.session.Tables.Field(1, RecordTables::FieldValueColumn), QStringLiteral("Rome"));
}

TEST(ClipboardImport, MarksAPossibleDuplicateByTheSavedKeys)
{
    ClipboardFixture f;
    ImportClipboardText(f.session, QStringLiteral("name=Ann&email=ann%40x.org"));
    SaveDuplicateKeys(*f.session.Database.CurrentDatabase, {{"email"}, false, std::nullopt});
    ImportClipboardText(f.session, QStringLiteral("name=Ann+Lee&email=ANN%40x.org"));
    EXPECT_EQ(f.ui.StatusText(),
              QStringLiteral("1 record read from clipboard, 1 possible duplicate(s)"));
    EXPECT_EQ(f.Count("SELECT RepeatsID FROM DuplicateMarks WHERE FormID = 2"), 1);
}
