#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "platform/Settings.h"
#include "platform/ScriptedUi.h"
#include "search/SummaryModel.h"
#include "gui/search/QueryWindow.h"
#include "gui/search/SummaryWindow.h"
#include "search/QueryGridModel.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"
#include "gui/viewer/BrowserWindow.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QComboBox>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

// The main window with its record viewer and summary on a real database,
// driven as the user drives them.
namespace {

class RecordWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentFiles::ClearRecentFiles();
        PrepareProgramFolder(dir, Templates::Record);
        database = MakeDatabase(QStringLiteral("forms.fdb"));
    }
    void TearDown() override { RecentFiles::ClearRecentFiles(); }

    // A database holding the sample responses: feedback.txt (12 records)
    // first, then guestbook.txt (12).
    QString MakeDatabase(const QString& name)
    {
        return MakeSampleDatabase(
            dir, name, {QStringLiteral("feedback.txt"), QStringLiteral("guestbook.txt")});
    }

    QString ViewerRecordId(const MainWindow& frame)
    {
        return frame.Browser() ? frame.Browser()->HeaderBox(0)->text() : QStringLiteral("(none)");
    }
    int SummaryRow(const MainWindow& frame)
    {
        return frame.Summary() ? frame.Summary()->Grid()->currentIndex().row() : -2;
    }
    QString Count(const MainWindow& frame)
    {
        return frame.Summary()->findChild<QLineEdit*>(QStringLiteral("txtCount"))->text();
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    QString database;
};

} // namespace

TEST_F(RecordWindowsTest, CommandLineDatabaseOpensAtStartup)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    ASSERT_TRUE(frame.Shell().DatabaseOpen())
        << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.statusTexts.contains(QStringLiteral("Opening Database...")));
    EXPECT_EQ(frame.Wizard(), nullptr);
    EXPECT_EQ(ui.busyDepth, 0);

    ASSERT_NE(frame.Summary(), nullptr);
    ASSERT_NE(frame.Browser(), nullptr);
    EXPECT_EQ(frame.SummarySubWindow()->windowTitle(), QStringLiteral("Summary ") + database);
    EXPECT_EQ(frame.BrowserSubWindow()->windowTitle(), QStringLiteral("Record Viewer ") + database);
    EXPECT_EQ(Count(frame), QStringLiteral("24"));
    EXPECT_EQ(frame.Summary()->Model()->rowCount(), 24);
    EXPECT_EQ(SummaryRow(frame), 0);
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("1"));
    // The header boxes follow the configuration: box 1 shows the record name.
    EXPECT_EQ(frame.Browser()->HeaderBox(1)->text(), QStringLiteral("Alice Kowalski"));
    EXPECT_EQ(frame.Browser()->FieldGrid()->model()->rowCount(), 7);
    EXPECT_TRUE(frame.Browser()->ValueBox()->toPlainText().contains(QStringLiteral("Alice")));
    EXPECT_TRUE(frame.Browser()->HeaderBox(0)->isReadOnly());

    EXPECT_TRUE(frame.Command(QStringLiteral("mnuRMoveNext"))->isEnabled());
    EXPECT_TRUE(frame.Command(QStringLiteral("mnuFCloseDB"))->isEnabled());
    EXPECT_EQ(RecentFiles::RecentFilesMenuItems(), QStringList{database});
    EXPECT_EQ(frame.Command(QStringLiteral("mnuFRecentFile1"))->text(), database);
}

TEST_F(RecordWindowsTest, AutoLoadOpensTheLastDatabaseUnlessTheCommandLineNamesOne)
{
    const QString other = MakeDatabase(QStringLiteral("other.fdb"));
    WriteSetting(session.Folders, Settings::AutoLoadDB, QStringLiteral("1"));
    WriteSetting(session.Folders, Settings::LastUsedDB, other);
    {
        ShellController shell(session);
        MainWindow frame(session, shell);
        frame.MDIForm_Load(QString());
        ASSERT_TRUE(frame.Shell().DatabaseOpen());
        EXPECT_EQ(session.Database.CurrentDatabasePath, other);
        EXPECT_EQ(frame.Wizard(), nullptr);
        frame.close();
    }
    EXPECT_EQ(session.Database.CurrentDatabase, nullptr);
    RecentFiles::ClearRecentFiles();
    {
        ShellController shell(session);
        MainWindow frame(session, shell);
        frame.MDIForm_Load(database);
        EXPECT_EQ(session.Database.CurrentDatabasePath, database);
        // Only the command-line database was opened.
        EXPECT_EQ(RecentFiles::RecentFilesMenuItems(), QStringList{database});
        frame.close();
    }
}

TEST_F(RecordWindowsTest, AutoLoadWithNoLastDatabaseReportsAndRunsWithout)
{
    WriteSetting(session.Folders, Settings::AutoLoadDB, QStringLiteral("1"));
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(QString());
    EXPECT_FALSE(frame.Shell().DatabaseOpen());
    ASSERT_EQ(ui.messages.size(), 1);
    // An empty path names no file: it is refused before anything is opened.
    EXPECT_EQ(ui.messages.first().text,
              QStringLiteral("Error opening database: No database file name was given."));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Open database cancelled"));
    EXPECT_EQ(frame.Wizard(), nullptr);
    EXPECT_FALSE(frame.Command(QStringLiteral("mnuRMoveNext"))->isEnabled());
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(RecordWindowsTest, NavigationMovesSummaryAndViewerTogether)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    ASSERT_TRUE(frame.Shell().DatabaseOpen());

    frame.Command(QStringLiteral("tbrNext"))->trigger();
    EXPECT_EQ(SummaryRow(frame), 1);
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("2"));

    frame.Command(QStringLiteral("mnuRMoveLast"))->trigger();
    EXPECT_EQ(SummaryRow(frame), 23);
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("24"));
    frame.Command(QStringLiteral("tbrNext"))->trigger(); // stays on the last row
    EXPECT_EQ(SummaryRow(frame), 23);
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("24"));

    frame.Command(QStringLiteral("tbrFirst"))->trigger();
    frame.Command(QStringLiteral("tbrPrev"))->trigger(); // stays on the first row
    EXPECT_EQ(SummaryRow(frame), 0);
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("1"));

    // Choosing a row in the summary grid shows its record in the viewer.
    QTableView* grid = frame.Summary()->Grid();
    grid->setCurrentIndex(grid->model()->index(14, 1));
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("15"));
    EXPECT_EQ(frame.Browser()->HeaderBox(1)->text(),
              grid->model()->index(14, SummaryModel::RecordName).data().toString());
    // The guestbook's fields: name, email, city, country, rating, comments, subscribe.
    EXPECT_EQ(frame.Browser()->FieldGrid()->model()->rowCount(), 7);
    frame.Command(QStringLiteral("mnuRMovePrevious"))->trigger();
    EXPECT_EQ(SummaryRow(frame), 13);
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("14"));
    EXPECT_TRUE(ui.messages.isEmpty());

    // Several rows can be selected at once.
    grid->selectionModel()->select(grid->model()->index(20, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(frame.Summary()->SelectedRecords(), (QList<qint64>{14, 21}));
}

TEST_F(RecordWindowsTest, ColumnVisibilityIsSavedAndRestored)
{
    {
        ShellController shell(session);
        MainWindow frame(session, shell);
        frame.MDIForm_Load(database);
        SummaryWindow* summary = frame.Summary();
        ASSERT_NE(summary, nullptr);
        EXPECT_TRUE(summary->IsColumnVisible(SummaryModel::Notes));
        EXPECT_FALSE(summary->IsColumnVisible(SummaryModel::FileName));
        summary->SetColumnVisible(SummaryModel::Notes, false);
        summary->SetColumnVisible(SummaryModel::FileName, true);
        frame.Command(QStringLiteral("mnuFCloseDB"))->trigger();
        EXPECT_EQ(frame.Summary(), nullptr);
    }
    EXPECT_EQ(ReadSetting(session.Folders, Settings::ColumnsToShow),
              QStringLiteral("FormID Form_Name Form_Date File_Name"));
    EXPECT_EQ(ReadSetting(session.Folders, Settings::DefaultColumnsToShow),
              QStringLiteral("FormID Form_Name Form_Notes Form_Date"));
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    ASSERT_NE(frame.Summary(), nullptr);
    EXPECT_FALSE(frame.Summary()->IsColumnVisible(SummaryModel::Notes));
    EXPECT_TRUE(frame.Summary()->IsColumnVisible(SummaryModel::FileName));
    EXPECT_TRUE(frame.Summary()->IsColumnVisible(SummaryModel::RecordName));
}

TEST_F(RecordWindowsTest, ClosingTheViewerClosesTheDatabase)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    ASSERT_TRUE(frame.Shell().DatabaseOpen());
    const QString resultFile = session.Folders.SearchResultFile();
    QFile leftOver(resultFile);
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();

    frame.BrowserSubWindow()->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(session.Database.CurrentDatabase, nullptr);
    EXPECT_TRUE(session.Database.CurrentDatabasePath.isEmpty());
    EXPECT_EQ(session.Tables.FieldCount(), 0);
    EXPECT_FALSE(QFile::exists(resultFile));
    EXPECT_EQ(frame.Browser(), nullptr);
    EXPECT_EQ(frame.Summary(), nullptr);
    EXPECT_FALSE(frame.Shell().DatabaseOpen());
    EXPECT_FALSE(frame.Command(QStringLiteral("mnuFCloseDB"))->isEnabled());
    EXPECT_FALSE(frame.Command(QStringLiteral("tbrNext"))->isEnabled());
    EXPECT_TRUE(frame.Command(QStringLiteral("tbrOpenDB"))->isEnabled());
    EXPECT_EQ(RecentFiles::RecentFilesMenuItems().value(0), database);

    // Opening a database again brings both windows back.
    ui.QueueFiles({database});
    frame.Command(QStringLiteral("mnuFOpenDB"))->trigger();
    EXPECT_TRUE(frame.Shell().DatabaseOpen());
    ASSERT_NE(frame.Summary(), nullptr);
    EXPECT_EQ(Count(frame), QStringLiteral("24"));
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("1"));
}

TEST_F(RecordWindowsTest, OpenCancelledWithNoDatabaseClosesTheViewer)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(QString());
    ui.QueueCancel();
    frame.Command(QStringLiteral("tbrOpenDB"))->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Open database cancelled by user"));
    EXPECT_EQ(frame.Browser(), nullptr);
    EXPECT_FALSE(frame.Shell().DatabaseOpen());
}

TEST_F(RecordWindowsTest, DoubleClickShowsTheRecordAsText)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    QTableView* grid = frame.Summary()->Grid();
    const QModelIndex row = grid->model()->index(3, 1);
    grid->scrollTo(row);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(row).center());
    EXPECT_EQ(ViewerRecordId(frame), QStringLiteral("4"));
    emit grid->doubleClicked(row); // the view's own double-click handling is Qt's
    QWidget* viewer = frame.findChild<QWidget*>(QStringLiteral("frmPrint"));
    ASSERT_NE(viewer, nullptr);
    auto* text = viewer->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    ASSERT_NE(text, nullptr);
    // The record laid out by the record template, as the View command shows it.
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Record ID:              4")))
        << text->toPlainText().toStdString();
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("\nproduct ")));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Viewing Record"));
}

TEST_F(RecordWindowsTest, QuickFindNarrowsTheSummaryAndClearSearchRestoresIt)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    SummaryWindow* summary = frame.Summary();
    ASSERT_NE(summary, nullptr);
    auto* combo = summary->findChild<QComboBox*>(QStringLiteral("Combo1"));
    auto* text = summary->findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* find = summary->findChild<QPushButton*>(QStringLiteral("cmdFind_0"));
    auto* clear = summary->findChild<QPushButton*>(QStringLiteral("cmdFind_1"));
    ASSERT_TRUE(combo && text && find && clear);
    // The record-level fields of default.cfg, then the database's field names.
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Record ID"));
    const int country = combo->findText(QStringLiteral("country"));
    ASSERT_GE(country, 0);

    combo->setCurrentIndex(country);
    text->setText(QStringLiteral("*an*")); // Canada, France, Japan
    QTest::mouseClick(find, Qt::LeftButton);
    const int found = summary->Model()->rowCount();
    EXPECT_GT(found, 0);
    EXPECT_LT(found, 24);
    EXPECT_EQ(Count(frame), QString::number(found));
    EXPECT_TRUE(session.Database.SummaryFiltered);
    // Every row found is a guestbook record (the feedback form has no country).
    for (int row = 0; row < found; ++row)
        EXPECT_GT(summary->Model()->FormIdAt(row), 12);
    // The viewer shows the first record found.
    EXPECT_EQ(ViewerRecordId(frame), QString::number(summary->Model()->FormIdAt(0)));
    frame.Command(QStringLiteral("tbrLast"))->trigger();
    EXPECT_EQ(ViewerRecordId(frame), QString::number(summary->Model()->FormIdAt(found - 1)));

    // A record name typed exactly, in other letter case.
    combo->setCurrentIndex(combo->findText(QStringLiteral("Record Name")));
    text->setText(QStringLiteral("alice kowalski"));
    QTest::mouseClick(find, Qt::LeftButton);
    EXPECT_EQ(Count(frame), QStringLiteral("2")); // she answered two forms

    text->clear();
    QTest::mouseClick(find, Qt::LeftButton);
    EXPECT_EQ(ui.MessageTexts().value(0), QStringLiteral("Please enter a search value"));
    EXPECT_EQ(Count(frame), QStringLiteral("2"));

    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_FALSE(session.Database.SummaryFiltered);
    EXPECT_EQ(Count(frame), QStringLiteral("24"));
    EXPECT_EQ(summary->Model()->rowCount(), 24);
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(RecordWindowsTest, LoadingAConfigurationRelaysTheWindows)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    QFile original(QStringLiteral(TALLOWMERE_RESOURCES "/default.cfg"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    QByteArray text = original.readAll();
    text.replace("F|0|Record Name [or First Field]|Name|", "F|0|Respondent|Who|");
    const QString path = dir.Write(QStringLiteral("survey.cfg"), text);

    ui.QueueFiles({path});
    frame.Command(QStringLiteral("mnuFLoadConfig"))->trigger();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Configuration read from ") + path);
    auto* label = frame.findChild<QLabel*>(QStringLiteral("lblResume_1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Respondent"));
    SummaryWindow* summary = frame.Summary();
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->Model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("Respondent"));
    auto* combo = summary->findChild<QComboBox*>(QStringLiteral("Combo1"));
    EXPECT_GE(combo->findText(QStringLiteral("Record Who")), 0);

    // Cancelling the choice of file changes nothing.
    ui.QueueCancel();
    frame.Command(QStringLiteral("mnuFLoadConfig"))->trigger();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Load configuration file cancelled"));
    EXPECT_EQ(label->text(), QStringLiteral("Respondent"));

    // Saving writes the entries back; the saved file loads to the same form.
    const QString saved = dir.File(QStringLiteral("saved.cfg"));
    ui.QueueFiles({saved});
    frame.Command(QStringLiteral("mnuFSaveConfig"))->trigger();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Configuration saved to file ") + saved);
    EXPECT_TRUE(dir.Read(QStringLiteral("saved.cfg")).contains("F|0|Respondent|Who|"));
}

TEST_F(RecordWindowsTest, ClosingTheDatabaseEndsTheEditingStatus)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    ASSERT_NE(frame.Browser(), nullptr);
    // Opening's "Database Ready" stays until the next command.
    frame.Command(QStringLiteral("mnuRMoveFirst"))->trigger();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(frame.Browser(), &activate);
    ASSERT_EQ(ui.StatusText(), QStringLiteral("Editing record"));

    frame.Command(QStringLiteral("mnuFCloseDB"))->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame.Shell().DatabaseOpen());
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Database closed"));
}

TEST_F(RecordWindowsTest, AWindowComingToTheFrontLeavesACommandsResult)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    const QString result = QStringLiteral("3 record(s) saved to copy.fdb");
    for (QWidget* window :
         {static_cast<QWidget*>(frame.Summary()), static_cast<QWidget*>(frame.Browser())}) {
        ASSERT_NE(window, nullptr);
        ui.SetStatusText(result);
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window, &activate);
        EXPECT_EQ(ui.StatusText(), result) << window->objectName().toStdString();
    }
}

TEST_F(RecordWindowsTest, QuickFindWithNoMatchSaysSoAndShowsAnEmptyRecord)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(database);
    SummaryWindow* summary = frame.Summary();
    ASSERT_NE(summary, nullptr);
    frame.Command(QStringLiteral("tbrLast"))->trigger();
    ASSERT_EQ(ViewerRecordId(frame), QStringLiteral("24"));

    auto* combo = summary->findChild<QComboBox*>(QStringLiteral("Combo1"));
    auto* text = summary->findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* find = summary->findChild<QPushButton*>(QStringLiteral("cmdFind_0"));
    ASSERT_TRUE(combo && text && find);
    combo->setCurrentIndex(combo->findText(QStringLiteral("Record Name")));
    text->setText(QStringLiteral("nobody by this name"));
    QTest::mouseClick(find, Qt::LeftButton);

    EXPECT_EQ(Count(frame), QStringLiteral("0"));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("No record found"));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    // The viewer no longer shows the last record.
    EXPECT_EQ(ViewerRecordId(frame), QString());
    EXPECT_EQ(session.Tables.FieldCount(), 0);
}

TEST_F(RecordWindowsTest, AQueryFileOpensInTheQueryBuilderOfTheDatabaseOpenedAtStartup)
{
    QFile::copy(QStringLiteral(TALLOWMERE_RESOURCES "/SampleNames.qry"),
                dir.File(QStringLiteral("names.qry")));
    const QString query = dir.File(QStringLiteral("names.qry"));
    {
        // Without a database to open it says how to run the query.
        ShellController shell(session);
        MainWindow frame(session, shell);
        frame.MDIForm_Load(query);
        EXPECT_FALSE(frame.Shell().DatabaseOpen());
        EXPECT_EQ(frame.QueryBuilder(), nullptr);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages.first().text.contains(query))
            << qPrintable(ui.messages.first().text);
        frame.close();
    }
    ui.messages.clear();
    WriteSetting(session.Folders, Settings::AutoLoadDB, QStringLiteral("1"));
    WriteSetting(session.Folders, Settings::LastUsedDB, database);
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(query);
    ASSERT_TRUE(frame.Shell().DatabaseOpen());
    ASSERT_NE(frame.QueryBuilder(), nullptr);
    const QueryGridModel* model = frame.QueryBuilder()->Model();
    QStringList row;
    for (int column = 0; column < model->columnCount(); ++column)
        row << model->index(0, column).data().toString();
    EXPECT_TRUE(row.contains(QStringLiteral("Record Name"))) << qPrintable(row.join('|'));
    EXPECT_TRUE(row.contains(QStringLiteral("*a*"))) << qPrintable(row.join('|'));
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.MessageTexts().join('|'));
    frame.close();
}
