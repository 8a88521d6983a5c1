#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "search/SummaryModel.h"
#include "gui/search/SummaryWindow.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"
#include "gui/viewer/BrowserWindow.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>
#include <functional>

// The clipboard import and drops on the main window, as the user meets
// them: with the window, its summary and a real database.
namespace {

const QString kFeedback = QStringLiteral(TALLOWMERE_RESOURCES "/samples/feedback.txt");
const QString kGuestbook = QStringLiteral(TALLOWMERE_RESOURCES "/samples/guestbook.txt");

class ClipboardAndDropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentFiles::ClearRecentFiles();
        PrepareProgramFolder(dir, Templates::None);
        database = MakeSampleDatabase(dir, QStringLiteral("forms.fdb"), {});
    }
    void TearDown() override { RecentFiles::ClearRecentFiles(); }

    void Open(MainWindow& frame)
    {
        frame.MDIForm_Load(database);
        ASSERT_TRUE(frame.Shell().DatabaseOpen()) << ui.MessageTexts().join('|').toStdString();
        ui.messages.clear();
        ui.statusTexts.clear();
    }

    // Drops data on the frame and lets the import that follows the drop run;
    // onDialog is called with the clipboard import window if one opens.
    bool Drop(MainWindow& frame, QMimeData* data,
              const std::function<void(QDialog*)>& onDialog = {})
    {
        bool dialogSeen = false;
        // The import runs after the drop has ended: watch for its window.
        QTimer watch;
        watch.setInterval(5);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                watch.stop();
                dialogSeen = true;
                if (onDialog)
                    onDialog(dialog);
                dialog->close();
            }
        });
        watch.start();
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame, &drop);
        EXPECT_TRUE(drop.isAccepted());
        // Queued after the import, so it runs once the import has ended.
        bool importEnded = false;
        QMetaObject::invokeMethod(
            &frame, [&] { importEnded = true; }, Qt::QueuedConnection);
        EXPECT_TRUE(QTest::qWaitFor([&] { return importEnded; }));
        watch.stop();
        return dialogSeen;
    }

    int SummaryRows(const MainWindow& frame) { return frame.Summary()->Model()->rowCount(); }
    QString Count(const MainWindow& frame)
    {
        return frame.Summary()->findChild<QLineEdit*>(QStringLiteral("txtCount"))->text();
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    QString database;
};

void Press(QDialog* dialog, const char* button)
{
    QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

} // namespace

TEST_F(ClipboardAndDropTest, CtrlShiftVImportsTheClipboardAndTheSummaryShowsIt)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    QAction* menu = frame.Command(QStringLiteral("mnuFImportClipboard"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isEnabled());
    EXPECT_TRUE(frame.Command(QStringLiteral("tbrClipboardImport"))->isEnabled());
    EXPECT_EQ(menu->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));

    ui.clipboard = QStringLiteral("From: a@b.org\n\nname=Ann+Lee&city=Rome\n\nname=Bob");
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = dialog->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
        Press(dialog, "Command1");
    });
    menu->trigger();
    EXPECT_EQ(shown, ui.clipboard);
    EXPECT_TRUE(ui.statusTexts.contains(QStringLiteral("1 record read from clipboard")));
    EXPECT_EQ(SummaryRows(frame), 1);
    EXPECT_EQ(Count(frame), QStringLiteral("1"));
    EXPECT_EQ(frame.Summary()->Model()->data(frame.Summary()->Model()->index(0, 1)).toString(),
              QStringLiteral("Ann Lee"));
}

TEST_F(ClipboardAndDropTest, TheCommandIsOffWithoutADatabase)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(QString());
    EXPECT_FALSE(frame.Command(QStringLiteral("mnuFImportClipboard"))->isEnabled());
    EXPECT_FALSE(frame.Command(QStringLiteral("tbrClipboardImport"))->isEnabled());
}

TEST_F(ClipboardAndDropTest, DroppingTwoFilesImportsEveryResponseOfBoth)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(kFeedback), QUrl::fromLocalFile(kGuestbook)});
    EXPECT_FALSE(Drop(frame, data));
    delete data;
    // The tally is the one message.
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{"Import finished: 24 read: 24 with responses (24 record(s) stored), 0 "
                          "already imported, 0 without a response, 0 failed"});
    ASSERT_GE(ui.statusTexts.size(), 2);
    EXPECT_EQ(ui.statusTexts.mid(0, 2), (QStringList{"Importing records in to  " + database,
                                                     "24 Record(s) imported in to " + database}));
    EXPECT_EQ(SummaryRows(frame), 24);
    EXPECT_EQ(Count(frame), QStringLiteral("24"));
}

TEST_F(ClipboardAndDropTest, DroppedTextOpensTheClipboardImportWithIt)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    Open(frame);
    ui.clipboard = QStringLiteral("not this");
    auto* data = new QMimeData;
    data->setText(QStringLiteral("Subject: hello\nname=Dora&age=7\n"));
    QString shown;
    EXPECT_TRUE(Drop(frame, data, [&](QDialog* dialog) {
        shown = dialog->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
        Press(dialog, "Command1");
    }));
    delete data;
    EXPECT_EQ(shown, QStringLiteral("Subject: hello\nname=Dora&age=7\n"));
    EXPECT_TRUE(ui.statusTexts.contains(QStringLiteral("1 record read from clipboard")));
    EXPECT_EQ(SummaryRows(frame), 1);
}

TEST_F(ClipboardAndDropTest, ADropWithNoDatabaseOpenSaysSoAndImportsNothing)
{
    ShellController shell(session);
    MainWindow frame(session, shell);
    frame.MDIForm_Load(QString());
    ASSERT_FALSE(frame.Shell().DatabaseOpen());
    ui.messages.clear();
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(kFeedback)});
    EXPECT_FALSE(Drop(frame, data));
    data->setUrls({});
    data->setText(QStringLiteral("name=Ann"));
    EXPECT_FALSE(Drop(frame, data));
    delete data;
    const QString text = QStringLiteral("No database is open. Open or create a database, then drop "
                                        "the records on the window again.");
    EXPECT_EQ(ui.MessageTexts(), (QStringList{text, text}));
    EXPECT_FALSE(ui.StatusText().contains(QStringLiteral("imported")));
}

TEST_F(ClipboardAndDropTest, AfterEveryImportTheViewerShowsOneRecordWhole)
{
    const QString twoMailFiles[] = {
        kGuestbook, QStringLiteral(TALLOWMERE_RESOURCES "/samples/membership-01.txt")};
    const struct {
        const char* kind;
        std::function<void(MainWindow&)> import;
    } kinds[] = {
        {"file menu",
         [&](MainWindow& frame) {
             ui.QueueFiles({twoMailFiles[0], twoMailFiles[1]});
             frame.Command(QStringLiteral("mnuFImportResume"))->trigger();
         }},
        {"dropped files",
         [&](MainWindow& frame) {
             QMimeData data;
             data.setUrls(
                 {QUrl::fromLocalFile(twoMailFiles[0]), QUrl::fromLocalFile(twoMailFiles[1])});
             Drop(frame, &data);
         }},
        {"clipboard",
         [&](MainWindow& frame) {
             ui.clipboard = QStringLiteral("name=Ann+Lee&city=Rome");
             QTimer::singleShot(0, [] {
                 Press(qobject_cast<QDialog*>(QApplication::activeModalWidget()), "Command1");
             });
             frame.Command(QStringLiteral("mnuFImportClipboard"))->trigger();
         }},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        database = MakeSampleDatabase(dir, QString::fromLatin1(k.kind) + QStringLiteral(".fdb"));
        ShellController shell(session);
        MainWindow frame(session, shell);
        Open(frame);
        frame.Command(QStringLiteral("mnuRMoveFirst"))->trigger();
        for (int i = 0; i < 5; ++i)
            frame.Command(QStringLiteral("mnuRMoveNext"))->trigger();
        BrowserWindow* viewer = frame.Browser();
        ASSERT_EQ(viewer->HeaderBox(0)->text(), QStringLiteral("6"));
        k.import(frame);
        const QString id = viewer->HeaderBox(0)->text();
        EXPECT_NE(id, QStringLiteral("6"));
        SQLite::Database db(database.toStdString(), SQLite::OPEN_READONLY);
        EXPECT_EQ(viewer->HeaderBox(1)->text(),
                  QString::fromStdString(
                      db.execAndGet("SELECT Form_Name FROM Forms WHERE FormID=" + id.toStdString())
                          .getString()));
        SQLite::Statement names(db, "SELECT Field_Name FROM Data WHERE FormID=" + id.toStdString() +
                                        " ORDER BY DataID");
        QStringList stored;
        while (names.executeStep())
            stored.append(QString::fromStdString(names.getColumn(0).getString()));
        QStringList listed, gridded;
        for (int row = 0; row < viewer->FieldList()->count(); ++row)
            listed.append(viewer->FieldList()->item(row)->text());
        const QAbstractItemModel* grid = viewer->FieldGrid()->model();
        for (int row = 0; row < grid->rowCount(); ++row)
            gridded.append(grid->index(row, 1).data().toString());
        EXPECT_EQ(listed, stored + QStringList{QString()}); // and the blank line
        EXPECT_EQ(gridded, stored);
        frame.close();
    }
}
