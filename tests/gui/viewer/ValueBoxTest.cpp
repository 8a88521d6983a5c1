#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"
#include "gui/viewer/BrowserWindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

// The value box beside the field grid, typed in as the user types: keys,
// a paste and deletions, with the window active.
namespace {

class ValueBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentFiles::ClearRecentFiles();
        PrepareProgramFolder(dir, Templates::None);
        database = MakeSampleDatabase(dir, QStringLiteral("forms.fdb"));
        frame.MDIForm_Load(database);
        ASSERT_NE(frame.Browser(), nullptr);
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        frame.BringToFront(ChildKind::Viewer);
    }
    void TearDown() override { RecentFiles::ClearRecentFiles(); }

    void Run(const char* name) { frame.Command(QString::fromLatin1(name))->trigger(); }
    // Types in the value box of the grid's second row, at the end of its text.
    QPlainTextEdit* ValueBoxAtRow1()
    {
        BrowserWindow* viewer = frame.Browser();
        viewer->FieldGrid()->selectRow(1);
        QPlainTextEdit* box = viewer->ValueBox();
        box->setFocus(Qt::MouseFocusReason);
        box->moveCursor(QTextCursor::End);
        return box;
    }
    QString StoredValue(qint64 formId, const QString& field)
    {
        SQLite::Database db(database.toStdString(), SQLite::OPEN_READONLY);
        return QString::fromStdString(
            db.execAndGet(QStringLiteral("SELECT Field_Value FROM Data WHERE FormID=%1 AND "
                                         "Field_Name='%2'")
                              .arg(formId)
                              .arg(field)
                              .toStdString())
                .getString());
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    ShellController shell{session};
    MainWindow frame{session, shell};
    QString database;
};

} // namespace

TEST_F(ValueBoxTest, TypingPastingAndDeletingReachTheFieldWhenEnteringOrEditing)
{
    BrowserWindow* viewer = frame.Browser();
    for (const bool entering : {false, true}) {
        SCOPED_TRACE(entering ? "new record" : "edited record");
        QString start;
        if (entering) {
            Run("tbrAdd");
            for (const char* name : {"first", "second"}) {
                QTest::mouseClick(viewer->findChild<QPushButton*>(QStringLiteral("cmdAddNew")),
                                  Qt::LeftButton);
                QTest::keyClicks(viewer->EditorBox(0), QString::fromLatin1(name));
            }
        } else {
            Run("tbrEdit");
            start = session.Tables.Field(1, RecordTables::FieldValueColumn);
        }
        QPlainTextEdit* box = ValueBoxAtRow1();
        ASSERT_FALSE(box->isReadOnly());
        QTest::keyClicks(box, QStringLiteral("xyz"));
        QGuiApplication::clipboard()->setText(QStringLiteral("\npasted"));
        QTest::keySequence(box, QKeySequence::Paste);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Left);
        QTest::keyClick(box, Qt::Key_Delete);
        const QString expected = start + QStringLiteral("xyz\npast");
        EXPECT_EQ(box->toPlainText(), expected);
        EXPECT_EQ(box->textCursor().position(), expected.size());
        const QString stored =
            QString(expected).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        EXPECT_EQ(session.Tables.Field(1, RecordTables::FieldValueColumn), stored);
        EXPECT_EQ(viewer->FieldGrid()->currentIndex().row(), 1);
        EXPECT_TRUE(viewer->FieldGrid()->model()->index(1, 2).data().toString().endsWith(
            QStringLiteral("xyz past")));
        Run("tbrSave");
        EXPECT_EQ(StoredValue(viewer->HeaderBox(0)->text().toLongLong(),
                              session.Tables.Field(1, RecordTables::FieldNameColumn)),
                  stored);
        // Everything deleted leaves an empty value.
        Run("tbrEdit");
        box = ValueBoxAtRow1();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        EXPECT_EQ(session.Tables.Field(1, RecordTables::FieldValueColumn), QString());
        ui.QueueAnswer(MessageAnswer::Yes);
        Run("tbrCancel");
    }
}

TEST_F(ValueBoxTest, TheViewStateKeepsTheValueAndFieldBoxesReadOnly)
{
    BrowserWindow* viewer = frame.Browser();
    const QString value = session.Tables.Field(1, RecordTables::FieldValueColumn);
    QPlainTextEdit* box = ValueBoxAtRow1();
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_TRUE(viewer->EditorBox(0)->isReadOnly());
    EXPECT_TRUE(viewer->EditorBox(1)->isReadOnly());
    EXPECT_FALSE(viewer->HeaderBox(4)->isReadOnly()); // notes take typing
    QTest::keyClicks(box, QStringLiteral("lost"));
    EXPECT_EQ(box->toPlainText(),
              QString(value).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(session.Database.RecordUnchanged);
}
