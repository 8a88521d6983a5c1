#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "responses/PastedResponse.h"
#include "responses/ResponseParser.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Paste {
    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};

    int Read(const QString& text)
    {
        return ReadPastedRecord(session, text, QDate(2025, 2, 3), QStringLiteral("Clipboard"));
    }
    QStringList Fields() const
    {
        QStringList fields;
        for (int row = 0; row < session.Tables.FieldCount(); ++row)
            fields.append(session.Tables.Field(row, RecordTables::FieldNameColumn) + '=' +
                          session.Tables.Field(row, RecordTables::FieldValueColumn));
        return fields;
    }
};

} // namespace

TEST(PastedResponse, PlainTextGivesItsFirstResponse)
{
    Paste p;
    EXPECT_EQ(p.Read(QStringLiteral("Hello,\nname=Ann+Lee&ci\nty=Rome&=//\n\nname=Bob\n")),
              kRecordRead);
    // The blank row (no name, "//") is gone.
    EXPECT_EQ(p.Fields(), (QStringList{"name=Ann Lee", "city=Rome"}));
    EXPECT_EQ(p.session.Tables.Header(RecordTables::NameColumn), QStringLiteral("Ann Lee"));
    EXPECT_EQ(p.session.Tables.Header(RecordTables::DateColumn), QStringLiteral("2/3/2025"));
    EXPECT_EQ(p.session.Tables.Header(RecordTables::SourceColumn), QStringLiteral("Clipboard"));

    // A text already in the tables is replaced; a text without a response
    // leaves them empty.
    EXPECT_EQ(p.Read(QStringLiteral("Dear all, nothing here.")), kNoRecord);
    EXPECT_EQ(p.session.Tables.FieldCount(), 0);
    EXPECT_EQ(p.Read(QString()), kNoRecord);
    EXPECT_TRUE(p.ui.messages.isEmpty());
    // Plain text keeps the plain rules: no references decoded.
    EXPECT_EQ(p.Read(QStringLiteral("a=%26%23322%3B")), kRecordRead);
    EXPECT_EQ(p.Fields(), QStringList{"a=&#322;"});
}

TEST(PastedResponse, AWholeMessageIsReadAsMail)
{
    Paste p;
    // Its source as a mail program shows it, characters already decoded
    // in the 8-bit part and Latin-1 in the quoted-printable one.
    const QString message = QStringLiteral("From: forms@example.org\r\n"
                                           "Date: Tue, 7 Jan 2025 09:00:00 +0000\r\n"
                                           "Content-Type: multipart/mixed; boundary=b1\r\n"
                                           "\r\n"
                                           "--b1\r\n"
                                           "Content-Type: text/plain; charset=iso-8859-1\r\n"
                                           "Content-Transfer-Encoding: 8bit\r\n"
                                           "\r\n"
                                           "name=J\u00f6rg&city=Pozna%26%23x144%3B\r\n"
                                           "\r\n"
                                           "name=Second\r\n"
                                           "--b1\r\n"
                                           "Content-Type: text/plain; charset=iso-8859-1\r\n"
                                           "Content-Transfer-Encoding: quoted-printable\r\n"
                                           "\r\n"
                                           "name=3DK=F6ln\r\n"
                                           "--b1--\r\n");
    EXPECT_EQ(p.Read(message), kRecordRead);
    EXPECT_EQ(p.Fields(), (QStringList{"name=J\u00f6rg", "city=Pozna\u0144"}));
    // The date of the paste, not the message's.
    EXPECT_EQ(p.session.Tables.Header(RecordTables::DateColumn), QStringLiteral("2/3/2025"));

    // The first response of a message that holds it further on.
    const QString later = QStringLiteral("From: a@example.org\r\n"
                                         "Content-Type: text/plain; charset=iso-8859-1\r\n"
                                         "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
                                         "Hello,\r\n\r\ncity=3DK=F6ln\r\n");
    EXPECT_EQ(p.Read(later), kRecordRead);
    EXPECT_EQ(p.Fields(), QStringList{"city=K\u00f6ln"});

    // Headers alone hold no response, however they are folded.
    EXPECT_EQ(
        p.Read(QStringLiteral("From: a\r\nContent-Type: text/plain;\r\n charset=us-ascii\r\n")),
        kNoRecord);
}

TEST(PastedResponse, AnMboxGivesTheFirstMessageWithAResponse)
{
    Paste p;
    QFile file(QStringLiteral(TALLOWMERE_TEST_DATA "/three.mbox"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    // The first message holds only prose now.
    text.replace(QStringLiteral("name=Ann&age=30"), QStringLiteral("No form today."));
    EXPECT_EQ(p.Read(text), kRecordRead);
    EXPECT_EQ(p.Fields(), (QStringList{"name=Bob", "age=41", "city=Z\u00fcrich"}));
    EXPECT_EQ(p.session.Tables.Header(RecordTables::SourceColumn), QStringLiteral("Clipboard"));
}
