#include "support/TempDir.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

TEST(ParseVerb, PrintsEveryResponseAsJson)
{
    TempDir dir;
    const QString path = dir.Write(
        QStringLiteral("mail.txt"),
        "From: web@example.org\r\nSubject: Form posted\r\n\r\nname=Ann+Lee&email=ann%40example.org"
        "&comments=Line+one%0D%0ALine+two\r\n\r\nname=Bob&city=Z%C3%BCrich\r\n");
    const QString date = QFileInfo(path).lastModified().date().toString(Qt::ISODate);

    QByteArray out;
    QByteArray err;
    ASSERT_EQ(RunCli({QStringLiteral("parse"), QStringLiteral("--json"), path}, &out, &err), 0);
    EXPECT_TRUE(err.isEmpty()) << err.constData();
    const QJsonArray records = QJsonDocument::fromJson(out).array();
    ASSERT_EQ(records.size(), 2);

    const QJsonObject ann = records[0].toObject();
    EXPECT_TRUE(ann[QStringLiteral("FormID")].isNull());
    EXPECT_EQ(ann[QStringLiteral("Form_Name")].toString(), QStringLiteral("Ann Lee"));
    EXPECT_EQ(ann[QStringLiteral("Form_Notes")].toString(), QString());
    EXPECT_EQ(ann[QStringLiteral("Form_Date")].toString(), date);
    EXPECT_EQ(ann[QStringLiteral("File_Name")].toString(), QFileInfo(path).absoluteFilePath());
    const QJsonArray fields = ann[QStringLiteral("fields")].toArray();
    ASSERT_EQ(fields.size(), 3);
    EXPECT_TRUE(fields[0].toObject()[QStringLiteral("DataID")].isNull());
    EXPECT_EQ(fields[1].toObject()[QStringLiteral("Field_Name")].toString(),
              QStringLiteral("email"));
    EXPECT_EQ(fields[1].toObject()[QStringLiteral("Field_Value")].toString(),
              QStringLiteral("ann@example.org"));
    EXPECT_EQ(fields[2].toObject()[QStringLiteral("Field_Value")].toString(),
              QStringLiteral("Line one\r\nLine two"));

    const QJsonObject bob = records[1].toObject();
    EXPECT_EQ(bob[QStringLiteral("fields")]
                  .toArray()[1]
                  .toObject()[QStringLiteral("Field_Value")]
                  .toString(),
              QStringLiteral("Z\u00fcrich"));
    // The object keeps its documented key order.
    EXPECT_TRUE(out.contains(
        "{\"FormID\": null, \"Form_Name\": \"Ann Lee\", \"Form_Notes\": \"\", \"Form_Date\": "));
}

TEST(ParseVerb, ReportsFilesWithoutResponsesAndMissingFiles)
{
    TempDir dir;
    const QString prose = dir.Write(QStringLiteral("prose.txt"), "Dear all,\nno form here.\n");
    const QString good = dir.Write(QStringLiteral("good.txt"), "a=1\n");
    QByteArray out;
    QByteArray err;
    EXPECT_EQ(RunCli({QStringLiteral("parse"), QStringLiteral("--json"), prose, good}, &out, &err),
              0);
    EXPECT_EQ(QJsonDocument::fromJson(out).array().size(), 1);
    EXPECT_TRUE(
        err.contains("No valid Record in file " + QFileInfo(prose).absoluteFilePath().toUtf8()))
        << err.constData();

    EXPECT_EQ(RunCli({QStringLiteral("parse"), dir.File(QStringLiteral("missing.txt")), good}, &out,
                     &err),
              1);
    EXPECT_TRUE(err.contains("Error reading Record from ")) << err.constData();
    EXPECT_TRUE(out.contains("a = 1")) << out.constData();
}

TEST(ParseVerb, RefusesBadUsage)
{
    QByteArray out;
    QByteArray err;
    EXPECT_EQ(RunCli({QStringLiteral("parse")}, &out, &err), 2);
    EXPECT_EQ(RunCli({QStringLiteral("parse"), QStringLiteral("--bogus"), QStringLiteral("x")},
                     &out, &err),
              2);
    EXPECT_EQ(RunCli({QStringLiteral("no-such-verb")}, &out, &err), 2);
    EXPECT_EQ(RunCli({QStringLiteral("--help")}, &out, &err), 0);
    EXPECT_TRUE(out.contains("parse [--json] FILE..."));
}

TEST(ParseVerb, ReadsSavedMailAndRefusesOtherFiles)
{
    const QString mbox = QStringLiteral(TALLOWMERE_TEST_DATA "/../../responses/data/three.mbox");
    const QString png = QStringLiteral(TALLOWMERE_TEST_DATA "/../../responses/data/picture.png");
    const QString full = QFileInfo(mbox).absoluteFilePath();
    QByteArray out;
    QByteArray err;
    ASSERT_EQ(RunCli({QStringLiteral("parse"), QStringLiteral("--json"), mbox}, &out, &err), 0)
        << err.constData();
    const QJsonArray records = QJsonDocument::fromJson(out).array();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[1].toObject()[QStringLiteral("File_Name")].toString(), full + "#2");
    EXPECT_EQ(records[1].toObject()[QStringLiteral("Form_Date")].toString(),
              QStringLiteral("2025-01-08"));
    EXPECT_EQ(records[1].toObject()[QStringLiteral("Form_Name")].toString(), QStringLiteral("Bob"));

    // A picture among the files: the others are still read, and the run fails.
    EXPECT_EQ(RunCli({QStringLiteral("parse"), png, mbox}, &out, &err), 1);
    EXPECT_TRUE(err.contains("Not a text file or a mail message " +
                             QFileInfo(png).absoluteFilePath().toUtf8()))
        << err.constData();
    EXPECT_TRUE(out.contains("Response 3 in " + full.toUtf8())) << out.constData();
}

TEST(ParseVerb, ExplainsHowEveryMessageOfAMixedMailboxWasRead)
{
    TempDir dir;
    const QByteArray from = "From forms@example.org Tue Jan  7 09:00:00 2025\n";
    const QByteArray head = "From: forms@example.org\nDate: Tue, 7 Jan 2025 09:00:00 +0000\n";
    const QString mbox = dir.Write(
        QStringLiteral("mixed.mbox"),
        from + head + "Subject: Form response\n\nname=Ann&age=30\n\nname=Bob&age=41\n\n" + from +
            head + "Subject: Post\n\nname=Cy Young\nnote=a=b\n\n" + from + head +
            "Subject: Hook\n\n{\"name\": \"Di\"}\n\n" + from + head +
            "Subject: Hook\n\n{\"name\": \"Ed\"\n\n" + from + head +
            "Subject: New form submission\n\nName: Flo\nEmail: flo@example.org\nCity: Oslo\n\n" +
            from + head +
            "Subject: News\n\n<http://track.example/dot.gif?msgid=1>\ncharset=\"utf-8\"\n");
    const QString plain = dir.Write(QStringLiteral("plain.txt"), "a=1\n");
    const QString path = QFileInfo(mbox).absoluteFilePath();
    QByteArray out;
    QByteArray err;
    ASSERT_EQ(
        RunCli({QStringLiteral("parse"), QStringLiteral("--explain"), mbox, plain}, &out, &err), 0);
    const QString expected =
        path + "#1: url-encoded, recognised: 2 records\n" + path +
        "#2: text/plain post, recognised: 1 record\n" + path + "#3: JSON, recognised: 1 record\n" +
        path + "#4: no record: malformed JSON: unterminated object at character 14\n" + path +
        "#5: label lines, recognised: 1 record\n" + path +
        "#6: no record: no line a form's encoding could have written\n" +
        QFileInfo(plain).absoluteFilePath() +
        ": plain text, read by the plain-text rules: 1 record\n";
    EXPECT_EQ(QString::fromUtf8(out), expected);

    EXPECT_EQ(RunCli({QStringLiteral("parse"), QStringLiteral("--explain"),
                      QStringLiteral("--json"), plain},
                     &out, &err),
              2);
}
