// Responses in the layouts other than a URL-encoded body, as services and
// browsers send them, and the mail rule that keeps ordinary mail from
// giving records.
#include "../database/DatabaseFixture.h"
#include "responses/FormEncodedLine.h"
#include "responses/ResponseImport.h"
#include "responses/ResponseScan.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QString Data(const QString& name)
{
    return QStringLiteral(TALLOWMERE_TEST_DATA "/") + name;
}

struct Explanations : ScanItems {
    QStringList lines;
    bool Skip(const ScanItem&) override { return false; }
    bool Done(const ScanItem&, int, int) override { return true; }
    void Explained(const ScanItem&, const QString& how) override { lines.append(how); }
};

struct Scan {
    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    QList<QStringList> records; // each record's "name=value" fields
    QStringList names;
    Explanations explained;

    explicit Scan(const QString& path)
    {
        ScanResponseFile(
            session, path,
            [this] {
                const RecordTables& t = session.Tables;
                QStringList fields;
                for (int row = 0; row < t.FieldCount(); ++row)
                    fields.append(t.Field(row, RecordTables::FieldNameColumn) + QLatin1Char('=') +
                                  t.Field(row, RecordTables::FieldValueColumn));
                records.append(fields);
                names.append(t.Header(RecordTables::NameColumn));
                return true;
            },
            QString(), &explained);
    }
};

} // namespace

TEST(FormLayouts, EachLayoutGivesOneRecordOfItsFieldsInOrder)
{
    const struct {
        const char* file;
        const char* layout;
        QStringList fields;
    } cases[] = {
        {"textplain-post.eml",
         "text/plain post",
         {"name=Maria Rossi", "email=maria@example.net", "formula=a=b+c & d",
          "comments=First line of the textarea,\nsecond line: it goes on.\n\nAfter a blank line, "
          "still the textarea.",
          "subscribe=yes"}},
        {"label-lines.eml",
         "label lines",
         {"Name=Jos\u00e9 Garc\u00eda", "Email=jose@example.es", "Phone=+34 600 000 000",
          "Message=Do you ship to Spain?\nPlease let me know."}},
        {"label-blocks.eml",
         "label lines",
         {"Your name=Tom Baker", "Your email=tom@example.co.uk",
          "Your message=Hello,\n\ncould you call me back?\nThanks"}},
        {"html-table.eml",
         "HTML table",
         {"Name=Ines M\u00fcller", "Email=ines@example.de", "Guests=4",
          "Notes=Window table,\nplease."}},
        {"json-body.eml",
         "JSON",
         {"name=Lena Berg", "email=lena@example.se", "address.city=Malm\u00f6",
          "address.zip=211 20", "topics=prices, opening hours", "age=41", "newsletter=true",
          "notes="}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Scan scan(Data(QStringLiteral("layouts/") + QLatin1String(c.file)));
        ASSERT_EQ(scan.records.size(), 1);
        EXPECT_EQ(scan.records[0], c.fields);
        EXPECT_EQ(scan.names[0], c.fields[0].section(QLatin1Char('='), 1));
        EXPECT_EQ(scan.explained.lines,
                  QStringList(QLatin1String(c.layout) + QStringLiteral(", recognised: 1 record")));
    }
}

TEST(FormLayouts, MessagesOfNoLayoutGiveNoRecordAndSayWhy)
{
    const struct {
        const char* file;
        const char* why;
    } cases[] = {
        {"layouts/json-malformed.eml", "no record: malformed JSON: "},
        // Label lines count only in a form notification.
        {"layouts/label-lines-ordinary.eml",
         "no record: no line a form's encoding could have written"},
        {"ordinary-mail/newsletter-pixel.eml",
         "no record: no line a form's encoding could have written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Scan scan(Data(QLatin1String(c.file)));
        EXPECT_TRUE(scan.records.isEmpty());
        ASSERT_EQ(scan.explained.lines.size(), 1);
        EXPECT_TRUE(scan.explained.lines[0].startsWith(QLatin1String(c.why)))
            << scan.explained.lines[0].toStdString();
    }
}

TEST(FormLayouts, MailLinesMustBeOnesAFormEncodingCouldWrite)
{
    const struct {
        const char* line;
        bool starts;
    } cases[] = {
        {"name=Ann+Lee&email=ann%40example.org", true},
        {"guest=\xc5\x81ukasz+Nowak&city=Gda\xc5\x84sk", true}, // sent in the mail's charset
        {"q=it's+(nearly)+done!~*", true},
        {"=value&name=Ann", true},
        {"=orphan", false},
        {"&=x", false},
        {"<http://track.example/dot.gif?msgid=8f3a2c>", false},
        {"charset=\"utf-8\"", false},
        {"https://shop.example/sale?src=3Dnl&id=3D1206", false},
        {"width=3D600", false}, // quoted-printable left undone
        {"model=3D+printer&colour=red", true},
        {"name=Ann Lee", false},
        {"no pair here", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StartsFormEncodedBody(QByteArrayView(c.line)), c.starts) << c.line;
}

TEST(FormLayouts, OrdinaryMailGivesNoRecord)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    const QDir corpus(Data(QStringLiteral("ordinary-mail")));
    QStringList files;
    for (const QString& name : corpus.entryList(QDir::Files, QDir::Name))
        if (name != QLatin1String("README"))
            files.append(corpus.filePath(name));
    ASSERT_GE(files.size(), 50);
    const ImportOutcome outcome = ImportResponseFiles(f.session, files);
    EXPECT_EQ(outcome.total, 0);
    EXPECT_EQ(outcome.tally.stored, 0);
    EXPECT_EQ(outcome.tally.imported, 0);
    EXPECT_EQ(outcome.tally.noResponse, outcome.tally.Read());
    EXPECT_GE(outcome.tally.Read(), files.size());
    EXPECT_EQ(f.Count("SELECT COUNT(*) FROM Forms"), 0);
}

TEST(FormLayouts, AGenuineResponseIsKeptBesideJunkInTheSameMessage)
{
    TempDir dir;
    const QString path =
        dir.Write(QStringLiteral("mixed.eml"),
                  "From: forms@example.org\nDate: Tue, 7 Jan 2025 09:00:00 +0000\nSubject: Form\n\n"
                  "<http://track.example/dot.gif?msgid=1&u=2>\n"
                  "charset=\"utf-8\"\n"
                  "name=Ann&city=Z%C3%BCrich\n");
    Scan scan(path);
    ASSERT_EQ(scan.records.size(), 1);
    EXPECT_EQ(scan.records[0], (QStringList{"name=Ann", "city=Z\u00fcrich"}));
}
