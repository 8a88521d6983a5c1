// Saved mail of the common mail programs, each file read as import reads
// it, with exactly the records and dates it must give.
#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "responses/ResponseScan.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

struct Record {
    QString name;
    QString date;
    QString source;
    QStringList fields;
};

QString Data(const char* name)
{
    return QStringLiteral(TALLOWMERE_TEST_DATA "/") + QLatin1String(name);
}

struct MailScan {
    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    QList<Record> records;
    ScanOutcome outcome;

    explicit MailScan(const QString& path)
    {
        outcome = ScanResponseFile(session, path, [this] {
            const RecordTables& t = session.Tables;
            Record r{t.Header(RecordTables::NameColumn),
                     t.Header(RecordTables::DateColumn),
                     t.Header(RecordTables::SourceColumn),
                     {}};
            for (int row = 0; row < t.FieldCount(); ++row)
                r.fields.append(t.Field(row, RecordTables::FieldNameColumn) + QLatin1Char('=') +
                                t.Field(row, RecordTables::FieldValueColumn));
            records.append(r);
            return true;
        });
    }
};

// Every message here is a single response with a Date header.
void ExpectOneRecord(const char* file, const QString& date, const QStringList& fields)
{
    SCOPED_TRACE(file);
    MailScan scan(Data(file));
    EXPECT_TRUE(scan.outcome.opened);
    EXPECT_FALSE(scan.outcome.refused);
    EXPECT_EQ(scan.ui.MessageTexts(), QStringList());
    ASSERT_EQ(scan.records.size(), 1);
    const Record& r = scan.records[0];
    EXPECT_EQ(r.fields, fields);
    EXPECT_EQ(r.name, fields[0].section(QLatin1Char('='), 1));
    EXPECT_EQ(r.date, date);
    EXPECT_EQ(r.source, QFileInfo(Data(file)).absoluteFilePath());
}

} // namespace

TEST(MailImport, DesktopAndWebMailMessages)
{
    // Quoted-printable Latin-1 text beside its HTML twin: soft breaks fall
    // inside a pair and right before "=3D"; only the plain part counts.
    // The date stays in its own zone (-0700), where it is still October.
    ExpectOneRecord("outlook-alternative.eml", QStringLiteral("10/31/2024"),
                    {"full_name=Karin Lindqvist", "address=12 Storgatan", "city=G\u00f6teborg",
                     "country=Sweden", "phone=+46 31 123456", "email=karin@example.se",
                     "membership=Family", "comments=See you in M\u00e4rz"});
    // Base64 UTF-8, values in raw UTF-8 and in escapes.
    ExpectOneRecord("gmail-base64.eml", QStringLiteral("11/2/2024"),
                    {"guest=\u0141ukasz Nowak", "city=Gda\u0144sk", "street=ul. D\u0142uga 5",
                     "room=Pok\u00f3j z widokiem", "nights=3"});
    // format=flowed prose and a signature around a response on one line.
    ExpectOneRecord("thunderbird-flowed.eml", QStringLiteral("10/14/2024"),
                    {"name=J\u00fcrgen M\u00fcller", "email=juergen@example.de",
                     "topic=Opening hours", "message=Are you open on Sunday?"});
    // Apple Mail's .emlx, flowed with delsp: the blank inserted before the
    // soft break in "skills" is taken out again.
    ExpectOneRecord("apple-mail.emlx", QStringLiteral("11/7/2024"),
                    {"name=Dana Byrne", "email=dana@example.ie", "days=Saturday, Sunday",
                     "skills=first aid", "t-shirt=M"});
}

TEST(MailImport, AttachmentsGiveNoRecordAndHtmlIsReadWhenAlone)
{
    // The attached text file holds a response of its own, and a PDF
    // follows: neither is read.
    ExpectOneRecord("mixed-attachment.eml", QStringLiteral("11/12/2024"),
                    {"order=4471", "item=Tea pot", "qty=2", "colour=blue"});
    // Tags, style and script go, entities are decoded.
    ExpectOneRecord("html-only.eml", QStringLiteral("11/20/2024"),
                    {"item=Tea pot", "qty=2", "colour=blue", "gift=yes", "note=For Zo\u00eb"});
}

TEST(MailImport, DeclaredCharsets)
{
    // Raw Latin-1 letters in quoted-printable; an escape in no declared
    // charset keeps the program's rule (%E9 is Windows-1252 e-acute).
    ExpectOneRecord("latin1.eml", QStringLiteral("12/6/2024"),
                    {"name=J\u00f6rg Sch\u00e4fer", "city=K\u00f6ln", "greeting=Gr\u00fc\u00dfe",
                     "street=Caf\u00e9 Row"});
    // Latin-9 in 8 bits: 0xA4 is the euro sign and 0xBD the oe ligature,
    // not the currency sign and one half as in Latin-1.
    ExpectOneRecord("latin9.eml", QStringLiteral("12/7/2024"),
                    {"dish=Cr\u00e8me br\u00fbl\u00e9e", "price=7\u20ac", "extra=\u0153uf"});
}

TEST(MailImport, HeadersNeverBecomeRecords)
{
    // Read as plain lines, the folded " charset=us-ascii" would be a
    // record of its own.
    ExpectOneRecord("folded-charset.eml", QStringLiteral("12/8/2024"),
                    {"name=Bo Ek", "rating=4", "comments=Nice site"});
}

TEST(MailImport, BrowserFormPostWithNumericCharacterReferences)
{
    // Only numeric references are decoded, and only those naming a
    // character: "&amp;" and "&#0;" stay.
    ExpectOneRecord("browser-post.eml", QStringLiteral("12/9/2024"),
                    {"name=Ma\u0142gorzata W\u00f3jcik", "city=Pozna\u0144", "fee=10\u20ac",
                     "code=A&amp;&#0;"});
}

TEST(MailImport, EachMessageOfAnMboxIsItsOwn)
{
    const QString path = Data("three.mbox");
    MailScan scan(path);
    EXPECT_EQ(scan.ui.MessageTexts(), QStringList());
    ASSERT_EQ(scan.records.size(), 3);
    const QString full = QFileInfo(path).absoluteFilePath();
    EXPECT_EQ(scan.records[0].fields, (QStringList{"name=Ann", "age=30"}));
    EXPECT_EQ(scan.records[0].date, QStringLiteral("1/7/2025"));
    EXPECT_EQ(scan.records[0].source, full + "#1");
    // Quoted-printable, after a quoted ">From " line.
    EXPECT_EQ(scan.records[1].fields, (QStringList{"name=Bob", "age=41", "city=Z\u00fcrich"}));
    EXPECT_EQ(scan.records[1].date, QStringLiteral("1/8/2025"));
    EXPECT_EQ(scan.records[1].source, full + "#2");
    // No Date header: the file's own date.
    EXPECT_EQ(scan.records[2].fields, (QStringList{"name=Cy", "age=25"}));
    EXPECT_EQ(scan.records[2].date,
              Regional(TestLocale()).DateToText(QFileInfo(path).lastModified().date()));
    EXPECT_EQ(scan.records[2].source, full + "#3");
}

TEST(MailImport, OutlookMessagesAndOtherBinaryFilesAreRefused)
{
    const QString msg = QFileInfo(Data("outlook.msg")).absoluteFilePath();
    MailScan outlook(msg);
    EXPECT_TRUE(outlook.outcome.opened);
    EXPECT_TRUE(outlook.outcome.refused);
    EXPECT_TRUE(outlook.records.isEmpty());
    EXPECT_EQ(outlook.ui.MessageTexts(),
              QStringList{"Cannot read Outlook message files \r\n" + msg +
                          "\r\nSave the message as text or as a mail message (.eml) in Outlook, "
                          "then import that file."});

    const QString png = QFileInfo(Data("picture.png")).absoluteFilePath();
    MailScan picture(png);
    EXPECT_TRUE(picture.outcome.refused);
    EXPECT_TRUE(picture.records.isEmpty());
    EXPECT_EQ(picture.ui.MessageTexts(),
              QStringList{"Not a text file or a mail message \r\n" + png});
}

TEST(MailImport, MessagesWithoutResponsesOrDatesAndStopping)
{
    TempDir dir;
    // A message of prose only, and a message of headers only.
    const QString prose =
        dir.Write(QStringLiteral("prose.eml"),
                  "From: a@example.org\r\nSubject: Hi\r\n\r\nJust saying hello.\r\n");
    const QString bare = dir.Write(QStringLiteral("bare.eml"), "From: a@example.org\r\nSubject: x");
    for (const QString& path : {prose, bare}) {
        MailScan scan(path);
        EXPECT_TRUE(scan.records.isEmpty());
        EXPECT_EQ(scan.ui.MessageTexts(), QStringList{"No valid Record in file \r\n" + path});
    }

    // A Date header that is no date: the file's date. A response that
    // cannot be decoded is reported and ends the message, as it ends a
    // plain file.
    const QString undated = dir.Write(QStringLiteral("undated.eml"),
                                      "From: a@example.org\r\nDate: someday\r\n\r\na=1\r\n\r\n"
                                      "b=100%\r\n\r\nc=3\r\n");
    MailScan scan(undated);
    ASSERT_EQ(scan.records.size(), 1);
    EXPECT_EQ(scan.records[0].date,
              Regional(TestLocale()).DateToText(QFileInfo(undated).lastModified().date()));
    ASSERT_EQ(scan.ui.messages.size(), 1);
    EXPECT_TRUE(scan.ui.messages[0].text.startsWith("Error reading data: "));

    // onRecord can stop the walk in the middle of an mbox file.
    TempDir other;
    ScriptedUi ui;
    Session session{ui, other.Folders(), Regional(TestLocale())};
    int seen = 0;
    const ScanOutcome stopped = ScanResponseFile(session, Data("three.mbox"), [&] {
        ++seen;
        return seen < 2;
    });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.records, 2);
    EXPECT_EQ(session.Tables.Header(RecordTables::NameColumn), QStringLiteral("Bob"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(MailImport, BrokenMailIsReadAsFarAsItGoes)
{
    TempDir dir;
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList fields;
    };
    const QList<Case> cases = {
        // A byte count beyond the end of the file.
        {"long.emlx", "99999\nFrom: a\nSubject: x\n\nname=Ann\n", {"name=Ann"}},
        // A multipart that never closes, base64 with junk in it.
        {"open.eml",
         "From: a\nContent-Type: multipart/mixed; boundary=zz\n\n--zz\n"
         "Content-Type: text/plain\nContent-Transfer-Encoding: base64\n\n!!!!****\nbmFtZT1Bbm4K\n",
         {"name=Ann"}},
        // An mbox cut off in the middle of its last response.
        {"cut.mbox",
         "From x Mon Jan 1 00:00:00 2024\nFrom: a\nSubject: y\n\nname=Ann&ag",
         {"name=Ann"}},
        // A charset nobody knows, and UTF-8 that is not: the program's rule.
        {"unknown.eml",
         "From: a\nContent-Type: text/plain; charset=x-unknown-9\n\nname=J\xf6rg\n",
         {"name=J\u00f6rg"}},
        {"notutf8.eml",
         "From: a\nContent-Type: text/plain; charset=utf-8\n\nname=J\xf6rg\n",
         {"name=J\u00f6rg"}},
        // Markup cut short.
        {"cut.eml", "From: a\nContent-Type: text/html\n\n<p>a=1&amp;b=<b", {"a=1", "b="}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MailScan scan(dir.Write(QString::fromLatin1(c.name), c.bytes));
        EXPECT_EQ(scan.ui.MessageTexts(), QStringList());
        ASSERT_EQ(scan.records.size(), 1);
        EXPECT_EQ(scan.records[0].fields, c.fields);
    }
}

TEST(MailImport, SeveralMessagesInOneTextFileEachGiveTheirOwnDate)
{
    // One after another without separators: a plain message, a multipart
    // one whose attached message starts nothing, a quoted-printable one
    // whose quoted headers start nothing, and a last one after a blank.
    const QString path = Data("several.txt");
    MailScan scan(path);
    EXPECT_EQ(scan.ui.MessageTexts(), QStringList());
    QStringList got;
    for (const Record& r : scan.records)
        got.append(r.date + QLatin1Char(' ') + r.fields.join(QLatin1Char(' ')));
    EXPECT_EQ(got, (QStringList{"2/3/2025 name=Ann age=30", "2/4/2025 name=Bob age=41",
                                QStringLiteral("2/5/2025 name=Cy city=Z\u00fcrich"),
                                "2/6/2025 name=Di age=25"}));
    for (const Record& r : scan.records)
        EXPECT_EQ(r.source, QFileInfo(path).absoluteFilePath());
}

TEST(MailImport, EveryLineEndGivesTheSameRecords)
{
    // Old Mac files end lines with CR alone; a text that merely starts
    // with a header line is read as a message too.
    TempDir dir;
    const QString plain =
        dir.Write(QStringLiteral("plain.txt"),
                  "Subject: Form results\n\nname=Ann&age=30\n\nname=Bob&age=41\n");
    const char* files[] = {"latin1.eml",       "three.mbox",  "thunderbird-flowed.eml",
                           "browser-post.eml", "several.txt", "mixed-attachment.eml"};
    QStringList paths;
    for (const char* file : files)
        paths.append(Data(file));
    paths.append(plain);
    for (const QString& path : paths) {
        QFile original(path);
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        QByteArray lf = original.readAll();
        lf.replace("\r\n", "\n");
        const MailScan expected(dir.Write(QStringLiteral("lf"), lf));
        ASSERT_FALSE(expected.records.isEmpty()) << path.toStdString();
        for (const char* end : {"\r\n", "\r"}) {
            SCOPED_TRACE(path.toStdString() + (end[1] ? " CR LF" : " CR"));
            QByteArray bytes = lf;
            bytes.replace("\n", end);
            const MailScan scan(dir.Write(QStringLiteral("other"), bytes));
            EXPECT_EQ(scan.ui.MessageTexts(), expected.ui.MessageTexts());
            ASSERT_EQ(scan.records.size(), expected.records.size());
            for (qsizetype i = 0; i < scan.records.size(); ++i) {
                EXPECT_EQ(scan.records[i].fields, expected.records[i].fields);
                EXPECT_EQ(scan.records[i].date, expected.records[i].date);
            }
        }
    }
}
