#include "../database/DatabaseFixture.h"
#include "responses/ResponseImport.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// The fields of a record in order, as "name=value" joined by "|".
QString Fields(DatabaseFixture& f, int formId)
{
    const std::string sql = "SELECT group_concat(Field_Name || '=' || Field_Value, '|') FROM "
                            "(SELECT * FROM Data WHERE FormID = " +
                            std::to_string(formId) + " ORDER BY rowid)";
    return f.Text(sql.c_str());
}

} // namespace

TEST(CsvImport, ReadsEachServicesExportStyleRowByRow)
{
    const struct {
        const char* style;
        QByteArray text;
        int stored;
        int warnings;
        QString first; // the fields of the file's first record
        QString date;  // its date; empty: the file's date
    } cases[] = {
        {"timestamp first, quoted cells",
         "Timestamp,Name,Message\r\n2024-03-05 10:22:31,Ann,\"Hello, world\"\r\n"
         "2024-03-06 09:00:00,Bob,Hi\r\n",
         2, 0, "Timestamp=2024-03-05 10:22:31|Name=Ann|Message=Hello, world", "2024-03-05"},
        {"byte-order mark and semicolons",
         "\xEF\xBB\xBFName;E-mail;Message\r\nJ\xC3\xB6rg;j@example.de;\"Hallo; Welt\"\r\n", 1, 0,
         QStringLiteral(u"Name=Jörg|E-mail=j@example.de|Message=Hallo; Welt"), ""},
        {"tabs, empty cell kept", "Name\tCity\tNote\nAnn\tParis\t\n", 1, 0,
         "Name=Ann|City=Paris|Note=", ""},
        {"multi-line cell with doubled quotes and an ISO timestamp",
         "name,comment,created_at\n\"Ann\",\"line one\nshe said \"\"hi\"\", ok\","
         "2024-01-02T08:00:00Z\n\nBob,plain,not a date\n",
         2, 0, "name=Ann|comment=line one\nshe said \"hi\", ok|created_at=2024-01-02T08:00:00Z",
         "2024-01-02"},
        {"short and long rows", "a,b,c\n1,2\n3,4,5,6\n", 2, 2, "a=1|b=2", ""},
    };
    for (const auto& c : cases) {
        DatabaseFixture f;
        f.CreateAndOpen();
        const QString path = f.dir.Write(QStringLiteral("export.CSV"), c.text);
        const ImportOutcome outcome = ImportResponseFiles(f.session, {path});
        EXPECT_FALSE(outcome.failed) << c.style;
        EXPECT_EQ(outcome.tally.stored, c.stored) << c.style;
        EXPECT_EQ(outcome.tally.imported, c.stored) << c.style;
        EXPECT_EQ(outcome.tally.Read(), c.stored) << c.style;
        EXPECT_EQ(outcome.tally.warnings, c.warnings) << c.style;
        EXPECT_EQ(Fields(f, 1), c.first) << c.style;
        const QString date =
            c.date.isEmpty() ? QFileInfo(path).lastModified().date().toString(Qt::ISODate) : c.date;
        EXPECT_EQ(f.Text("SELECT Form_Date FROM Forms WHERE FormID=1"), date) << c.style;
        EXPECT_EQ(f.Text("SELECT File_Name FROM Forms WHERE FormID=1"),
                  QFileInfo(path).absoluteFilePath())
            << c.style;
    }
}

TEST(CsvImport, WarnsOfRowsNotMatchingTheHeaderAndStoresNothingTwice)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    // Two identical rows are two responses; the long row's extra cell is named by its column.
    const QString path =
        f.dir.Write(QStringLiteral("s.csv"), "a,b\nx,y\nx,y\n\"p\nq\",r,extra\nshort\n");
    const ImportOutcome first = ImportResponseFiles(f.session, {path});
    EXPECT_EQ(first.tally.Line(), QStringLiteral("4 read: 4 with responses (4 record(s) stored), "
                                                 "0 already imported, 0 without a response, "
                                                 "0 failed, 2 warning(s)"));
    const QString file = QFileInfo(path).absoluteFilePath();
    EXPECT_EQ(f.ui.MessageTexts(),
              (QStringList{file + " line 4: 3 cell(s) where the header has 2; the row is read "
                                  "with the cells it has",
                           file + " line 6: 1 cell(s) where the header has 2; the row is read "
                                  "with the cells it has"}));
    EXPECT_EQ(Fields(f, 3), QStringLiteral("a=p\nq|b=r|Column 3=extra"));
    EXPECT_EQ(Fields(f, 4), QStringLiteral("a=short"));

    const ImportOutcome again = ImportResponseFiles(f.session, {path});
    EXPECT_EQ(again.tally.stored, 0);
    EXPECT_EQ(again.tally.known, 4);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 4);
    EXPECT_EQ(f.Count("SELECT count(DISTINCT SHA256) FROM ImportLedger"), 4);
}
