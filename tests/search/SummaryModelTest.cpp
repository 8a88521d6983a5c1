#include "platform/ScriptedUi.h"
#include "search/SummaryModel.h"
#include "support/TempDir.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

namespace {

class SummaryModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.exec("CREATE TABLE Forms (FormID INTEGER PRIMARY KEY AUTOINCREMENT, "
                "Form_Name TEXT, Form_Notes TEXT, Form_Date DATE, File_Name TEXT)");
        SQLite::Statement insert(db, "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, "
                                     "File_Name) VALUES (?, ?, ?, ?)");
        db.exec("BEGIN");
        for (int i = 1; i <= 1000; ++i) {
            insert.bind(1, "Name " + std::to_string(i));
            if (i % 2 == 0)
                insert.bind(2, "note " + std::to_string(i));
            else
                insert.bind(2); // Null
            insert.bind(3, i == 3 ? std::string("not a date") : std::string("2024-03-09"));
            insert.bind(4, "/mail/r" + std::to_string(i) + ".txt");
            insert.exec();
            insert.reset();
            insert.clearBindings();
        }
        db.exec("COMMIT");
        for (qint64 id = 1; id <= 1000; ++id)
            all.push_back(id);
    }

    QString Text(const SummaryModel& model, int row, int column)
    {
        return model.data(model.index(row, column)).toString();
    }

    TempDir dir;
    SQLite::Database db{dir.File(QStringLiteral("s.fdb")).toStdString(),
                        SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE};
    std::vector<qint64> all;
};

} // namespace

TEST_F(SummaryModelTest, FiveColumnsWithCaptionsAndRowTexts)
{
    SummaryModel model{Regional(TestLocale())};
    EXPECT_EQ(model.rowCount(), 0);
    model.SetSource(&db, &all);
    ASSERT_EQ(model.rowCount(), 1000);
    ASSERT_EQ(model.columnCount(), 5);
    QStringList captions;
    for (int c = 0; c < 5; ++c)
        captions.append(model.headerData(c, Qt::Horizontal).toString());
    EXPECT_EQ(captions, (QStringList{"Record ID", "Record Name [or First Field]", "Notes", "Date",
                                     "Imported from [Filename]"}));
    EXPECT_EQ(SummaryModel::SourceField(4), QStringLiteral("File_Name"));

    EXPECT_EQ(Text(model, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(Text(model, 0, 1), QStringLiteral("Name 1"));
    EXPECT_EQ(Text(model, 0, 2), QString()); // Null reads as empty text
    EXPECT_EQ(Text(model, 1, 2), QStringLiteral("note 2"));
    EXPECT_EQ(Text(model, 1, 3), QStringLiteral("3/9/2024")); // the short date of the locale
    EXPECT_EQ(Text(model, 2, 3), QStringLiteral("not a date"));
    EXPECT_EQ(Text(model, 999, 4), QStringLiteral("/mail/r1000.txt"));
    EXPECT_EQ(model.FormIdAt(999), 1000);
    EXPECT_EQ(model.FormIdAt(1000), -1);
    EXPECT_TRUE(model.LastError().isEmpty());
}

TEST_F(SummaryModelTest, ReadsByPageAndKeepsOnlyABoundedCache)
{
    SummaryModel model{Regional(TestLocale())};
    model.SetSource(&db, &all);
    // Both sides of a page boundary.
    EXPECT_EQ(Text(model, SummaryModel::kPageRows - 1, 1),
              QStringLiteral("Name %1").arg(SummaryModel::kPageRows));
    EXPECT_EQ(Text(model, SummaryModel::kPageRows, 1),
              QStringLiteral("Name %1").arg(SummaryModel::kPageRows + 1));
    EXPECT_EQ(model.PagesRead(), 2);
    Text(model, 5, 0);
    EXPECT_EQ(model.PagesRead(), 2); // cached

    // Walk far more pages than the cache keeps: the first page is read again.
    db.exec("BEGIN");
    db.exec("WITH RECURSIVE n(i) AS (SELECT 1001 UNION ALL SELECT i + 1 FROM n WHERE i < 8000) "
            "INSERT INTO Forms (Form_Name) SELECT 'Name ' || i FROM n");
    db.exec("COMMIT");
    std::vector<qint64> many;
    for (qint64 id = 1; id <= 8000; ++id)
        many.push_back(id);
    model.SetSource(&db, &many);
    const int pages = (int(many.size()) + SummaryModel::kPageRows - 1) / SummaryModel::kPageRows;
    ASSERT_GT(pages, SummaryModel::kCachedPages);
    const int before = model.PagesRead();
    for (int p = 0; p < pages; ++p)
        Text(model, p * SummaryModel::kPageRows, 0);
    EXPECT_EQ(model.PagesRead() - before, pages);
    EXPECT_EQ(Text(model, 7999, 1), QStringLiteral("Name 8000"));
    EXPECT_EQ(model.PagesRead() - before, pages); // the last page is still cached
    Text(model, 0, 0);
    EXPECT_EQ(model.PagesRead() - before, pages + 1);
}

TEST_F(SummaryModelTest, AnyListOfRecordsInItsOrder)
{
    std::vector<qint64> found{7, 500, 999};
    SummaryModel model{Regional(TestLocale())};
    model.SetSource(&db, &found);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(Text(model, 1, 1), QStringLiteral("Name 500"));
    EXPECT_EQ(model.RowOf(999), 2);
    EXPECT_EQ(model.RowOf(8), -1);

    // After the list changed, Reload shows the new rows.
    found.push_back(1000);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.Reload();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(Text(model, 3, 1), QStringLiteral("Name 1000"));

    // A record deleted behind the list's back shows as an empty row.
    db.exec("DELETE FROM Forms WHERE FormID = 500");
    model.Reload();
    EXPECT_EQ(Text(model, 1, 1), QString());
    EXPECT_EQ(Text(model, 2, 1), QStringLiteral("Name 999"));
}

TEST_F(SummaryModelTest, CaptionsFromTheConfigurationAndReadErrors)
{
    SummaryModel model{Regional(TestLocale())};
    model.SetCaptions({{QStringLiteral("Form_Name"), QStringLiteral("Applicant")}});
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Applicant"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Notes"));

    model.SetSource(&db, &all, QStringLiteral("Missing"));
    EXPECT_EQ(Text(model, 0, 1), QString());
    EXPECT_TRUE(model.LastError().contains(QStringLiteral("no such table")))
        << model.LastError().toStdString();
}

TEST_F(SummaryModelTest, QtsModelTesterFindsNothingThroughSourcesReloadsAndCaptions)
{
    SummaryModel model{Regional(TestLocale())};
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetSource(&db, &all);
    std::vector<qint64> some{900, 2, 5};
    model.SetSource(&db, &some);
    EXPECT_EQ(model.index(0, SummaryModel::RecordId).data().toString(), QStringLiteral("900"));
    some.push_back(7);
    model.Reload();
    EXPECT_EQ(model.rowCount(), 4);
    some.clear();
    model.Reload();
    model.SetCaptions({{QStringLiteral("Form_Name"), QStringLiteral("Customer")}});
    EXPECT_EQ(model.headerData(SummaryModel::RecordName, Qt::Horizontal).toString(),
              QStringLiteral("Customer"));
    model.SetSource(nullptr, &all);
    EXPECT_EQ(model.rowCount(), 0);
}

// A failed read is told once the rows have been drawn, one message for
// every page that failed meanwhile; reads that work tell nothing.
TEST_F(SummaryModelTest, AFailedReadIsShownOnceTheGridHasBeenDrawn)
{
    ScriptedUi ui;
    SummaryModel model{Regional(TestLocale())};
    model.SetUi(&ui);
    model.SetSource(&db, &all);
    EXPECT_EQ(Text(model, 0, 1), QStringLiteral("Name 1"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ui.messages.isEmpty());

    model.SetSource(&db, &all, QStringLiteral("Missing"));
    EXPECT_EQ(Text(model, 0, 1), QString());
    EXPECT_EQ(Text(model, SummaryModel::kPageRows, 1), QString());
    EXPECT_TRUE(ui.messages.isEmpty()) << "shown while the grid is drawn";
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.MessageTexts(), QStringList{"Error reading data: no such table: Missing"});
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
}
