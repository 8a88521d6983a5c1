#include "search/SummarySearch.h"

#include "database/DatabaseFixture.h"
#include "search/QueryFields.h"
#include "config/ConfigReader.h"
#include "search/QueryBuilder.h"

#include <QFile>
#include "session/OutputState.h"

#include <gtest/gtest.h>

namespace {

class SummarySearchTest : public ::testing::Test, public DatabaseFixture {
protected:
    void SetUp() override
    {
        QFile cfg(QStringLiteral(TALLOWMERE_RESOURCES "/default.cfg"));
        ASSERT_TRUE(cfg.open(QIODevice::ReadOnly));
        QString error;
        ASSERT_TRUE(ReadConfigText(QString::fromUtf8(cfg.readAll()), session.Tables, session.Config,
                                   &error));
        const QString path = CreateAndOpen();
        Db().exec("INSERT INTO Forms (Form_Name, Form_Notes, File_Name) VALUES ('Ann', '', 'a'), "
                  "('Bob', '', 'b'), ('Cid', '', 'c')");
        Db().exec(
            "INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES ('Email', 'ann@x', 1)");
        session.Database.CurrentFieldNames.Reset(QStringLiteral("\r\nEmail\r\nQ\r\n"));
        ShowWholeDatabase(session);
        ASSERT_TRUE(FillQuickFindCombo(session));
    }

    int Entry(const QString& text)
    {
        const auto& entries = session.Search.QuickFindEntries;
        for (int i = 0; i < entries.size(); ++i)
            if (entries[i].text == text)
                return i;
        return -1;
    }
    bool NoRecords() const { return session.Database.RecordState & DatabaseState::NoRecords; }
};

TEST_F(SummarySearchTest, QuickFindListHasRecordFieldsThenNames)
{
    const auto& entries = session.Search.QuickFindEntries;
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_EQ(entries.first(), (QuickFindEntry{QStringLiteral("Record ID"), 0}));
    EXPECT_EQ(entries.last(), (QuickFindEntry{QStringLiteral("Email"), -1}));
    EXPECT_EQ(session.Search.QuickFindSelected, 0);
}

TEST_F(SummarySearchTest, QuickFindListRebuildsTheOutputFieldList)
{
    const QList<OutputField>& fields = session.Output.OutputFieldList;
    const int header = session.Output.HeaderFieldCount;
    ASSERT_EQ(header, session.Search.QuickFindEntries.size() - 1);
    ASSERT_EQ(fields.size(), header + 1);
    EXPECT_EQ(fields[0].Key, QStringLiteral("1.0"));
    EXPECT_EQ(fields[1].Key, QStringLiteral("1.1"));
    EXPECT_EQ(fields.last().Key, QStringLiteral("Email"));
    for (const OutputField& f : fields)
        EXPECT_TRUE(f.PrintStat) << f.Key.toStdString();
}

TEST_F(SummarySearchTest, FindShowsTheResultAndClearSearchTheDatabase)
{
    ASSERT_TRUE(QuickFindSearch(session, Entry("Record Name"), QStringLiteral("b*")));
    EXPECT_TRUE(session.Database.SummaryFiltered);
    EXPECT_EQ(session.Database.SummaryRecords.Ids(), std::vector<qint64>{2});
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 1);
    EXPECT_EQ(session.Search.lblFind, QStringLiteral("(Forms.Form_Name Like \"b*\")"));
    EXPECT_TRUE(QFile::exists(session.Folders.SearchResultFile()));
    EXPECT_FALSE(ui.ProgressVisible());
    EXPECT_FALSE(NoRecords());

    ASSERT_TRUE(QuickFindSearch(session, Entry("Email"), QStringLiteral("nobody")));
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 0);
    EXPECT_TRUE(NoRecords());

    ClearSearch(session, Entry("Email"), QString());
    EXPECT_FALSE(session.Database.SummaryFiltered);
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 3);
    EXPECT_FALSE(NoRecords());
    EXPECT_TRUE(QFile::exists(session.Folders.SearchResultFile())); // stays until closing
    DeleteSearchResultFile(session);
    EXPECT_FALSE(QFile::exists(session.Folders.SearchResultFile()));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(SummarySearchTest, FindMessagesLeaveOrRestoreTheDatabaseState)
{
    EXPECT_FALSE(QuickFindSearch(session, Entry("Record Name"), QStringLiteral("  ")));
    EXPECT_EQ(ui.MessageTexts(), QStringList{"Please enter a search value"});
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(session.Search.lblFind,
              QStringLiteral("(Forms.Form_Name Like \"  \")")); // rebuilt anyway

    ASSERT_TRUE(QuickFindSearch(session, Entry("Record Name"), QStringLiteral("a*")));
    EXPECT_FALSE(QuickFindSearch(session, Entry("Record Name"), QStringLiteral("[a")));
    EXPECT_EQ(ui.MessageTexts().last(), QStringLiteral("Invalid query: Invalid pattern string"));
    EXPECT_FALSE(session.Database.SummaryFiltered);
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 3);
    EXPECT_FALSE(ui.ProgressVisible());
}

TEST_F(SummarySearchTest, GoRunsTheGridAndReportsEngineErrors)
{
    QueryRow row = NewQueryRow();
    ASSERT_TRUE(ChooseQueryField(ui, session.Config, row, QStringLiteral("Record Name")));
    row[kValueColumn] = QStringLiteral("CID");
    session.Search.QueryRows = {row};
    ASSERT_TRUE(RunQueryBuilder(session));
    EXPECT_EQ(session.Database.SummaryRecords.Ids(), std::vector<qint64>{3});
    EXPECT_TRUE(session.Database.SummaryFiltered);

    session.Search.QueryRows[0][kOperatorColumn] = QStringLiteral("LIKE");
    session.Search.QueryRows[0][kValueColumn] = QStringLiteral("[c");
    EXPECT_FALSE(RunQueryBuilder(session));
    EXPECT_EQ(ui.MessageTexts().last(),
              QStringLiteral("Invalid pattern string\r\nPlease check your query and try again"));
    EXPECT_FALSE(session.Database.SummaryFiltered);
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 3);

    session.Search.QueryRows = {QueryRow()};
    ASSERT_TRUE(QuickFindSearch(session, Entry("Record Name"), QStringLiteral("a*")));
    EXPECT_TRUE(RunQueryBuilder(session)); // the empty query: the whole database again
    EXPECT_FALSE(session.Database.SummaryFiltered);
}

class CancellingUi : public ScriptedUi {
public:
    bool CancelRequested() const override { return yields >= 2; }
};

TEST(SummarySearchCancel, CancelReturnsToTheDatabaseWithAStatusText)
{
    TempDir dir;
    CancellingUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    const QString path = dir.File(QStringLiteral("big.fdb"));
    ASSERT_TRUE(CreateNewDatabase(ui, path));
    ASSERT_TRUE(OpenResumeDatabase(session, path));
    SQLite::Database& db = session.Database.CurrentDatabase->Db();
    db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30000) "
            "INSERT INTO Forms (Form_Name, Form_Notes, File_Name) SELECT 'r' || i, '', 'f' FROM n");
    db.exec("INSERT INTO Data (Field_Name, Field_Value, FormID) SELECT 'Email', 'v' || FormID, "
            "FormID FROM Forms");
    ShowWholeDatabase(session);
    session.Search.QuickFindEntries = {{QStringLiteral("Email"), -1}};
    EXPECT_FALSE(QuickFindSearch(session, 0, QStringLiteral("*x*")));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Search cancelled: all records are shown"));
    EXPECT_FALSE(session.Database.SummaryFiltered);
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 30000);
    EXPECT_FALSE(ui.ProgressVisible());
}

} // namespace
