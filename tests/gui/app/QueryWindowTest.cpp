#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "search/QueryBuilder.h"
#include "search/QueryFile.h"
#include "search/QueryGridModel.h"
#include "gui/search/QueryWindow.h"
#include "search/SummaryModel.h"
#include "gui/search/SummaryWindow.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

// The Query Builder window on a real database, driven with keyboard and
// mouse in its grid.
namespace {

using namespace QueryMessages;

class QueryWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentFiles::ClearRecentFiles();
        PrepareProgramFolder(dir, Templates::None);
        database =
            MakeSampleDatabase(dir, QStringLiteral("forms.fdb"),
                               {QStringLiteral("feedback.txt"), QStringLiteral("guestbook.txt")});
    }
    void TearDown() override { RecentFiles::ClearRecentFiles(); }

    // Opens the database and the Query Builder through its menu entry.
    QueryWindow* Open(MainWindow& frame)
    {
        frame.show();
        frame.MDIForm_Load(database);
        EXPECT_TRUE(frame.Shell().DatabaseOpen()) << Messages();
        frame.Command(QStringLiteral("mnuOQueryBuilder"))->trigger();
        QApplication::processEvents();
        return frame.QueryBuilder();
    }

    std::string Messages() const { return ui.MessageTexts().join(" | ").toStdString(); }

    static QPoint CellCentre(QTableView* grid, int row, int column)
    {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
    static void ClickCell(QTableView* grid, int row, int column)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, row, column));
    }

    // Opens the cell's drop-down with the mouse and picks text with the
    // keyboard in the list that drops down.
    static void Choose(QTableView* grid, int row, int column, const QString& text)
    {
        ClickCell(grid, row, column);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, row, column));
        QApplication::processEvents();
        auto* combo = grid->findChild<QComboBox*>(QStringLiteral("grdQueryList"));
        ASSERT_NE(combo, nullptr) << "no list in column " << column;
        const int wanted = combo->findText(text);
        ASSERT_GE(wanted, 0) << text.toStdString();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(list->isVisible()) << "the list did not drop down";
        list->setCurrentIndex(combo->model()->index(0, 0));
        for (int i = 0; i < wanted; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QApplication::processEvents();
    }

    // Types text into the cell and presses Enter.
    static void Type(QTableView* grid, int row, int column, const QString& text)
    {
        ClickCell(grid, row, column);
        QTest::keyClick(grid, text.at(0).toLatin1());
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, grid) << "typing opened no editor";
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }

    static void Press(QueryWindow* window, const char* button)
    {
        auto* b = window->findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
        QApplication::processEvents();
    }

    QString RecordName(const QString& contains) const
    {
        for (const QString& name : window->Controller().FieldList())
            if (name.contains(contains, Qt::CaseInsensitive))
                return name;
        return QString();
    }

    // The worked example: a name starting with a, or an email field not
    // containing x.
    void BuildWorkedExample()
    {
        QTableView* grid = window->Grid();
        Choose(grid, 0, kFieldNameColumn, RecordName(QStringLiteral("Record Name")));
        Choose(grid, 0, kOperatorColumn, QStringLiteral("LIKE"));
        Type(grid, 0, kValueColumn, QStringLiteral("a*"));
        Choose(grid, 0, kConnectorColumn, QStringLiteral("OR"));
        // The row below the last adds a row when a field is chosen in it.
        Choose(grid, 1, kFieldNameColumn, QStringLiteral("email"));
        Choose(grid, 1, kNotColumn, QStringLiteral("NOT"));
        Choose(grid, 1, kOperatorColumn, QStringLiteral("LIKE"));
        Type(grid, 1, kValueColumn, QStringLiteral("*x*"));
    }

    // FormIDs the command line finds with the query file.
    QList<qint64> CliQuery(const QString& file)
    {
        QByteArray out;
        EXPECT_EQ(RunCli({QStringLiteral("query"), database, file}, &out), 0);
        QList<qint64> ids;
        for (const QByteArray& line : out.split('\n'))
            if (!line.isEmpty())
                ids.append(line.split('\t').first().toLongLong());
        return ids;
    }
    QList<qint64> SummaryIds() const
    {
        const std::vector<qint64>& ids = session.Database.SummaryRecords.Ids();
        return QList<qint64>(ids.begin(), ids.end());
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    QString database;
    QueryWindow* window = nullptr;
};

} // namespace

TEST_F(QueryWindowTest, WorkedExampleBuiltInTheGridFindsWhatTheCommandLineFinds)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    window = Open(frame);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Search - Query Builder"));
    QTableView* grid = window->Grid();
    QStringList headings;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        headings.append(grid->model()->headerData(c, Qt::Horizontal).toString());
    EXPECT_EQ(headings,
              (QStringList{"(", "Not", "Field Name", "Operator", "Value", ")", "Connector"}));

    BuildWorkedExample();
    const QueryGrid& rows = session.Search.QueryRows;
    ASSERT_EQ(rows.size(), 2) << Messages();
    EXPECT_EQ(rows[0][kDatabaseFieldColumn], QStringLiteral("Forms.Form_Name"));
    EXPECT_EQ(rows[0][kTableColumn], QStringLiteral("Forms"));
    EXPECT_EQ(rows[0][kValueColumn], QStringLiteral("a*"));
    EXPECT_EQ(rows[0][kConnectorColumn], QStringLiteral("OR"));
    EXPECT_EQ(rows[1][kNotColumn], QStringLiteral("NOT"));
    EXPECT_EQ(rows[1][kDatabaseFieldColumn], QStringLiteral("Field_Value"));
    EXPECT_EQ(rows[1][kDataTypeColumn], QStringLiteral("M"));
    EXPECT_EQ(rows[1][kTableColumn], QStringLiteral("Data"));
    EXPECT_EQ(rows[1][kConnectorColumn], QStringLiteral("END")); // a new row's default
    EXPECT_TRUE(ui.messages.isEmpty()) << Messages();

    Press(window, "cmdGo");
    EXPECT_TRUE(ui.messages.isEmpty()) << Messages();
    EXPECT_TRUE(session.Database.SummaryFiltered);
    EXPECT_EQ(frame.Children().Active(), ChildKind::Summary);
    const QList<qint64> found = SummaryIds();
    EXPECT_FALSE(found.isEmpty());
    EXPECT_LT(found.size(), 24);
    EXPECT_EQ(frame.Summary()->Model()->rowCount(), found.size());

    const QString file = dir.File(QStringLiteral("example.qry"));
    ui.QueueFiles({file});
    Press(window, "cmdSave");
    EXPECT_EQ(CliQuery(file), found);
}

TEST_F(QueryWindowTest, EachCheckNamesItsRowAndPutsTheCurrentCellOnTheFault)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    window = Open(frame);
    ASSERT_NE(window, nullptr);
    BuildWorkedExample();
    QTableView* grid = window->Grid();
    QueryGrid& rows = session.Search.QueryRows;
    const QueryGrid good = rows;

    struct Case {
        int row;
        int column;
        QString cell;
        QString message;
    };
    const std::vector<Case> cases{
        {1, kDatabaseFieldColumn, "", kField},    {0, kOperatorColumn, "", kOperator},
        {1, kValueColumn, "  ", kValue},          {0, kConnectorColumn, "", kConnector},
        {0, kConnectorColumn, "END", kConnector}, {1, kConnectorColumn, "AND", kLastConnector},
        {0, kOpenBrackets, "(x", kBracketCell},   {1, kNotColumn, "NOT NOT", kNotCell},
    };
    for (const Case& c : cases) {
        rows = good;
        rows[c.row][c.column] = c.cell;
        window->Model()->Reload();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        ui.messages.clear();
        Press(window, "cmdGo");
        ASSERT_EQ(ui.messages.size(), 1) << c.message.toStdString();
        EXPECT_EQ(ui.messages[0].text, AtRow(c.message, c.row));
        const int shown = c.column == kDatabaseFieldColumn ? kFieldNameColumn : c.column;
        EXPECT_EQ(grid->currentIndex().row(), c.row) << c.message.toStdString();
        EXPECT_EQ(grid->currentIndex().column(), shown) << c.message.toStdString();
    }

    // A date that is no date, on a record-level date field.
    rows = good;
    Choose(grid, 1, kFieldNameColumn, RecordName(QStringLiteral("Date")));
    rows[1][kValueColumn] = QStringLiteral("31/31/99");
    ui.messages.clear();
    Press(window, "cmdGo");
    EXPECT_EQ(ui.MessageTexts(), QStringList{AtRow(kDate, 1)});
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(grid->currentIndex().column(), int(kValueColumn));
}

TEST_F(QueryWindowTest, SaveClearLoadRoundTripThroughTheWindowsDialogs)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    window = Open(frame);
    ASSERT_NE(window, nullptr);
    BuildWorkedExample();
    const QueryGrid built = session.Search.QueryRows;

    const QString file = dir.File(QStringLiteral("saved.qry"));
    ui.QueueFiles({file});
    Press(window, "cmdSave");
    ASSERT_EQ(ui.saveRequests.size(), 1);
    EXPECT_EQ(ui.saveRequests[0].title, QStringLiteral("Save Query..."));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Query saved to ") + file);
    // The same bytes as the command line's writer gives for these rows.
    const QString reference = dir.File(QStringLiteral("reference.qry"));
    ASSERT_TRUE(WriteQueryFile(ui, reference, built));
    EXPECT_EQ(dir.Read(QStringLiteral("saved.qry")), dir.Read(QStringLiteral("reference.qry")));

    // Saving over it asks first; No keeps the file.
    ui.QueueFiles({file});
    ui.QueueAnswer(MessageAnswer::No);
    Press(window, "cmdSave");
    EXPECT_EQ(ui.messages.last().text,
              QStringLiteral("File ") + file +
                  QStringLiteral(" already exists. Do you wish to overwrite it?"));

    Press(window, "cmdClear");
    EXPECT_EQ(session.Search.QueryRows, QueryGrid{QueryRow()});
    EXPECT_EQ(window->Model()->rowCount(), 2); // the empty row and the row that adds one
    EXPECT_EQ(window->Grid()->currentIndex(), window->Model()->index(0, 0));

    ui.QueueFiles({file});
    Press(window, "cmdLoad");
    ASSERT_EQ(ui.openRequests.size(), 1);
    EXPECT_EQ(ui.openRequests[0].title, QStringLiteral("Load Query..."));
    EXPECT_EQ(session.Search.QueryRows, built);
    EXPECT_EQ(window->Model()->index(0, kValueColumn).data().toString(), QStringLiteral("a*"));
    EXPECT_EQ(window->Model()->index(1, kNotColumn).data().toString(), QStringLiteral("NOT"));
}

TEST_F(QueryWindowTest, CloseKeepsTheRowsAndTheViewerCommandOpensItAgain)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    window = Open(frame);
    ASSERT_NE(window, nullptr);
    BuildWorkedExample();
    const QueryGrid built = session.Search.QueryRows;
    Press(window, "cmdClose");
    EXPECT_EQ(frame.QueryBuilder(), nullptr);
    // Toolbar button and viewer command 10 both reach it.
    frame.Shell().Toolbar1_ButtonClick(QStringLiteral("Query"));
    QApplication::processEvents();
    window = frame.QueryBuilder();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(frame.Children().Active(), ChildKind::QueryBuilder);
    EXPECT_EQ(session.Search.QueryRows, built);
    EXPECT_EQ(window->Model()->index(1, kValueColumn).data().toString(), QStringLiteral("*x*"));
    EXPECT_TRUE(frame.Command(QStringLiteral("mnuOQueryBuilder"))->isEnabled());
}

TEST_F(QueryWindowTest, RowsAreDeletedWithTheRowMarkersAndTheFieldIsNeverTyped)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    window = Open(frame);
    ASSERT_NE(window, nullptr);
    BuildWorkedExample();
    QTableView* grid = window->Grid();

    // Typing in the field column changes nothing.
    ClickCell(grid, 0, kFieldNameColumn);
    QTest::keyClicks(grid, QStringLiteral("zz"));
    EXPECT_EQ(session.Search.QueryRows[0][kFieldNameColumn],
              RecordName(QStringLiteral("Record Name")));

    // The row marker selects the row; Delete removes it.
    QTest::mouseClick(grid->verticalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(5, grid->rowViewportPosition(0) + 5));
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(grid->currentIndex().column(), 0);
    QTest::keyClick(grid, Qt::Key_Delete);
    ASSERT_EQ(session.Search.QueryRows.size(), 1);
    EXPECT_EQ(session.Search.QueryRows[0][kNotColumn], QStringLiteral("NOT"));
    // The last row deleted leaves one empty row.
    QTest::mouseClick(grid->verticalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(5, grid->rowViewportPosition(0) + 5));
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(session.Search.QueryRows, QueryGrid{QueryRow()});
}

TEST_F(QueryWindowTest, CancelDuringALongSearchShowsTheWholeDatabaseAgain)
{
    {
        // Many records, each with an email field.
        SQLite::Database db(database.toStdString(), SQLite::OPEN_READWRITE);
        db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000) "
                "INSERT INTO Forms (Form_Name, File_Name) SELECT 'bulk ' || i, 'bulk' FROM n");
        db.exec("INSERT INTO Data (FormID, Field_Name, Field_Value) SELECT FormID, 'email', "
                "'someone@example.org' FROM Forms WHERE File_Name = 'bulk'");
    }
    ShellController shell(session);
    MainWindow frame(session, shell);
    window = Open(frame);
    ASSERT_NE(window, nullptr);
    QTableView* grid = window->Grid();
    Choose(grid, 0, kFieldNameColumn, QStringLiteral("email"));
    Choose(grid, 0, kOperatorColumn, QStringLiteral("LIKE"));
    Type(grid, 0, kValueColumn, QStringLiteral("*nobody*"));
    const int all = int(session.Database.SummaryRecords.Count());

    int yieldsWhileShown = 0;
    ui.onYield = [&] {
        if (ui.ProgressVisible() && ++yieldsWhileShown == 3)
            ui.PressCancel();
    };
    Press(window, "cmdGo");
    ui.onYield = nullptr;
    EXPECT_GE(yieldsWhileShown, 3);
    EXPECT_TRUE(ui.messages.isEmpty()) << Messages();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Search cancelled: all records are shown"));
    EXPECT_FALSE(session.Database.SummaryFiltered);
    EXPECT_EQ(int(session.Database.SummaryRecords.Count()), all);
    EXPECT_FALSE(ui.CancelRequested());
    EXPECT_EQ(session.Search.QueryRows.size(), 1); // the query is still there to change
}

TEST_F(QueryWindowTest, TheValueCellOffersTheFieldsChoicesAndStillTakesTypedText)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    window = Open(frame);
    ASSERT_NE(window, nullptr);
    QTableView* grid = window->Grid();
    Choose(grid, 0, kFieldNameColumn, RecordName(QStringLiteral("Record Name")));
    // The field's configured choices, as a configuration entry gives them.
    session.Search.QueryRows[0][kChoicesColumn] = QStringLiteral("Kettle\r\nToaster");
    ClickCell(grid, 0, kValueColumn);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 0, kValueColumn));
    QApplication::processEvents();
    auto* combo = grid->findChild<QComboBox*>(QStringLiteral("grdQueryList"));
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->isEditable());
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Toaster"));
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("Kett*"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(session.Search.QueryRows[0][kValueColumn], QStringLiteral("Kett*"));

    // Without choices the value is a plain text box.
    session.Search.QueryRows[0][kChoicesColumn].clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ClickCell(grid, 0, kOpenBrackets);
    Type(grid, 0, kValueColumn, QStringLiteral("b*"));
    EXPECT_EQ(session.Search.QueryRows[0][kValueColumn], QStringLiteral("b*"));
    EXPECT_EQ(grid->findChild<QComboBox*>(QStringLiteral("grdQueryList")), nullptr);
}
