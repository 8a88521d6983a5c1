#include "session/Session.h"
#include "config/ConfigReader.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "search/QueryBuilder.h"
#include "search/QueryBuilderController.h"
#include "search/QueryGridModel.h"
#include "session/WindowHost.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

// The Query Builder's logic without its window: rows built through the
// grid's model as the grid builds them, on the sample database.
namespace {

using namespace QueryMessages;

// Only the summary's coming to the front matters here.
class FrontShell : public WindowHost {
public:
    QStringList fronts;
    void BringToFront(ChildKind child) override { fronts.append(QString::number(int(child))); }
    void ShowQueryBuilder() override {}
    void ShowSelectRecords(const QString&) override {}
    std::vector<qint64> SummarySelectedRows() const override { return {}; }
};

class QueryBuilderControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareProgramFolder(dir, Templates::None);
        database = MakeSampleDatabase(dir, QStringLiteral("forms.fdb"));
        ASSERT_TRUE(LoadDefaultConfig(session));
        ASSERT_TRUE(OpenResumeDatabase(session, database));
        query.SetShell(&shell);
        query.Form_Activate();
    }
    // Edits a cell of the grid as the grid does, through its model.
    bool Put(int row, int column, const QString& text)
    {
        return model.setData(model.index(row, column), text);
    }
    QString Named(const QString& start) const
    {
        for (const QString& name : query.FieldList())
            if (name.startsWith(start))
                return name;
        return QString();
    }
    std::vector<qint64> Ids(const std::string& sql) const
    {
        SQLite::Database db(database.toStdString(), SQLite::OPEN_READONLY);
        SQLite::Statement q(db, sql);
        std::vector<qint64> ids;
        while (q.executeStep())
            ids.push_back(q.getColumn(0).getInt64());
        return ids;
    }
    // A record-level row and a field row: name starting with a, or a
    // product field containing "Kettle".
    void BuildExample()
    {
        ASSERT_TRUE(Put(0, kFieldNameColumn, Named(QStringLiteral("Record Name"))));
        ASSERT_TRUE(Put(0, kOperatorColumn, QStringLiteral("LIKE")));
        ASSERT_TRUE(Put(0, kValueColumn, QStringLiteral("a*")));
        ASSERT_TRUE(Put(0, kConnectorColumn, QStringLiteral("OR")));
        ASSERT_TRUE(Put(1, kFieldNameColumn, QStringLiteral("product")));
        ASSERT_TRUE(Put(1, kOperatorColumn, QStringLiteral("LIKE")));
        ASSERT_TRUE(Put(1, kValueColumn, QStringLiteral("*Kettle*")));
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    QString database;
    FrontShell shell;
    QueryBuilderController query{session};
    QueryGridModel model{query};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

} // namespace

TEST_F(QueryBuilderControllerTest, RowsBuiltOneByOneFindWhatTheirConditionSelects)
{
    // The record-level fields first, then the database's field names.
    ASSERT_FALSE(Named(QStringLiteral("Record Name")).isEmpty());
    EXPECT_TRUE(query.FieldList().contains(QStringLiteral("product")));
    EXPECT_LT(query.FieldList().indexOf(Named(QStringLiteral("Record Name"))),
              query.FieldList().indexOf(QStringLiteral("product")));

    EXPECT_FALSE(Put(1, kValueColumn, QString())); // the new row, left empty, adds nothing
    EXPECT_EQ(model.rowCount(), 2);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    BuildExample();
    // The views learn of the row added, as a row below the last.
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 2);
    const QueryGrid& rows = query.Rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.headerData(2, Qt::Vertical).toString(), QStringLiteral("*"));
    EXPECT_EQ(rows[0][kDatabaseFieldColumn], QStringLiteral("Forms.Form_Name"));
    EXPECT_EQ(rows[1][kTableColumn], QStringLiteral("Data"));
    EXPECT_EQ(rows[1][kConnectorColumn], QStringLiteral("END")); // a new row's default

    const QueryCheck check = query.cmdGo_Click();
    EXPECT_FALSE(check.rejected);
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('\n').toStdString();
    EXPECT_EQ(shell.fronts, QStringList{QString::number(int(ChildKind::Summary))});
    EXPECT_TRUE(session.Database.SummaryFiltered);
    const std::vector<qint64> expected =
        Ids("SELECT FormID FROM Forms WHERE Form_Name LIKE 'a%' OR FormID IN (SELECT FormID "
            "FROM Data WHERE Field_Name = 'product' AND Field_Value LIKE '%Kettle%') ORDER BY 1");
    ASSERT_GE(expected.size(), 2u);
    EXPECT_EQ(session.Database.SummaryRecords.Ids(), expected);

    // Clearing leaves one empty row, which shows the whole database again.
    query.cmdClear_Click();
    model.Reload();
    EXPECT_EQ(query.Rows(), QueryGrid{QueryRow()});
    EXPECT_FALSE(query.cmdGo_Click().rejected);
    EXPECT_FALSE(session.Database.SummaryFiltered);
    EXPECT_EQ(session.Database.SummaryRecords.Ids(), Ids("SELECT FormID FROM Forms ORDER BY 1"));
}

TEST_F(QueryBuilderControllerTest, ARefusedQueryNamesItsCellAndLeavesTheSummaryAlone)
{
    BuildExample();
    const QueryGrid good = query.Rows();
    const struct {
        int row, column;
        const char* cell;
        QString message;
    } cases[] = {
        {0, kOperatorColumn, "", kOperator},      {1, kValueColumn, "  ", kValue},
        {0, kConnectorColumn, "END", kConnector}, {1, kConnectorColumn, "AND", kLastConnector},
        {0, kOpenBrackets, "((", kUnbalanced},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        query.Rows() = good;
        model.Reload();
        EXPECT_TRUE(Put(c.row, c.column, QString::fromLatin1(c.cell)));
        ui.messages.clear();
        shell.fronts.clear();
        const QueryCheck check = query.cmdGo_Click();
        EXPECT_TRUE(check.rejected);
        EXPECT_EQ(ui.MessageTexts(),
                  QStringList{c.message == kUnbalanced ? c.message : AtRow(c.message, c.row)});
        if (c.message != kUnbalanced) {
            EXPECT_EQ(check.row, c.row);
            EXPECT_EQ(check.column, c.column);
        }
        EXPECT_TRUE(shell.fronts.isEmpty());
        EXPECT_FALSE(session.Database.SummaryFiltered);
    }

    // The field column takes a choice but never typed text.
    query.SetCell(0, kFieldNameColumn, QStringLiteral("typed"));
    EXPECT_EQ(query.Rows()[0][kFieldNameColumn], Named(QStringLiteral("Record Name")));
    EXPECT_FALSE(QueryBuilderController::grdQuery_BeforeColEdit(kFieldNameColumn));
    EXPECT_TRUE(QueryBuilderController::grdQuery_BeforeColEdit(kValueColumn));
}

TEST_F(QueryBuilderControllerTest, RowsAreDeletedInAnyOrderAndSavedAndLoadedWhole)
{
    BuildExample();
    ASSERT_TRUE(Put(2, kFieldNameColumn, QStringLiteral("serial")));
    const QueryGrid three = query.Rows();
    ASSERT_EQ(three.size(), 3);

    const QString file = dir.File(QStringLiteral("saved.qry"));
    ui.QueueFiles({file});
    ASSERT_TRUE(query.cmdSave_Click());

    query.DeleteRows({0, 1, 0, 7, -1}); // repeated and unknown rows are passed over
    model.Reload();
    ASSERT_EQ(query.Rows().size(), 1);
    EXPECT_EQ(query.Rows()[0], three[2]);
    query.DeleteRows({0});
    model.Reload();
    EXPECT_EQ(query.Rows(), QueryGrid{QueryRow()});

    // A cancelled choice and a file that is no query keep the rows.
    ui.QueueCancel();
    EXPECT_FALSE(query.cmdLoad_Click());
    const QString bad = dir.File(QStringLiteral("bad.qry"));
    dir.Write(QStringLiteral("bad.qry"), QByteArray("no query here\r\n"));
    ui.QueueFiles({bad});
    EXPECT_FALSE(query.cmdLoad_Click());
    EXPECT_EQ(query.Rows(), QueryGrid{QueryRow()});

    ui.QueueFiles({file});
    ASSERT_TRUE(query.cmdLoad_Click());
    model.Reload();
    EXPECT_EQ(query.Rows(), three);
    EXPECT_EQ(model.index(1, kValueColumn).data().toString(), QStringLiteral("*Kettle*"));
}

TEST_F(QueryBuilderControllerTest, ActivationSavesAPendingRecordAndValuesOfferTheFieldsChoices)
{
    int saves = 0;
    query.SetSavePending([&] { ++saves; });
    const struct {
        int state;
        int saves;
    } states[] = {{0, 0}, {DatabaseState::EditRecord, 1}, {DatabaseState::NewRecord, 1}};
    for (const auto& s : states) {
        saves = 0;
        session.Database.RecordState = s.state;
        query.Form_Activate();
        EXPECT_EQ(saves, s.saves) << s.state;
    }
    session.Database.RecordState = 0;

    query.Rows()[0][kChoicesColumn] = QStringLiteral("Kettle\r\n\r\nToaster\r\n");
    EXPECT_EQ(query.ValueChoices(0), (QStringList{"Kettle", "Toaster"}));
    EXPECT_TRUE(query.ValueChoices(1).isEmpty());
    EXPECT_TRUE(query.ValueChoices(-1).isEmpty());
}
