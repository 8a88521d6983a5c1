#include "../../database/DatabaseFixture.h"
#include "gui/responses/ClipboardImportDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QPushButton* Button(const QDialog& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

TEST(ClipboardImportDialog, ShowsTheTextToConfirm)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    ClipboardImportDialog dialog(f.session, QStringLiteral("name=Ann"));
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmClipboardImport"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Import record from clipboard"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(),
              QStringLiteral("The clipboard currently contains the following data. Please confirm "
                             "that the data is correct and complete and click \"Import\" to "
                             "continue."));
    auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("name=Ann"));
    EXPECT_FALSE(text->isReadOnly());
    ASSERT_NE(Button(dialog, "Command1"), nullptr);
    ASSERT_NE(Button(dialog, "Command2"), nullptr);
    EXPECT_EQ(Button(dialog, "Command1")->text(), QStringLiteral("&Import"));
    EXPECT_EQ(Button(dialog, "Command2")->text(), QStringLiteral("&Cancel"));
}

TEST(ClipboardImportDialog, ImportTakesTheEditedText)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    ClipboardImportDialog dialog(f.session, QStringLiteral("name=Ann&age=30"));
    dialog.show();
    auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("name=Bob&age=41"));
    QTest::mouseClick(Button(dialog, "Command1"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 1);
    EXPECT_EQ(f.Text("SELECT Form_Name FROM Forms"), QStringLiteral("Bob"));
    EXPECT_EQ(f.ui.StatusText(), QStringLiteral("1 record read from clipboard"));
}

TEST(ClipboardImportDialog, ImportOfNoResponseStillClosesTheWindow)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    ClipboardImportDialog dialog(f.session, QString());
    dialog.show();
    QTest::mouseClick(Button(dialog, "Command1"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{"No valid Record found in clipboard data"});
    EXPECT_EQ(f.ui.StatusText(), QStringLiteral("Clipboard import cancelled"));
}

TEST(ClipboardImportDialog, CancelChangesNothing)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    f.ui.SetStatusText(QStringLiteral("Ready"));
    ClipboardImportDialog dialog(f.session, QStringLiteral("name=Ann"));
    dialog.show();
    QTest::mouseClick(Button(dialog, "Command2"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 0);
    EXPECT_EQ(f.ui.StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(ClipboardImportDialog, AKnownResponseIsStoredAgainOnlyWithTheBoxTicked)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    for (const bool again : {false, false, true}) {
        ClipboardImportDialog dialog(f.session, QStringLiteral("name=Ann&age=30"));
        dialog.show();
        auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("chkAgain"));
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isChecked());
        box->setChecked(again);
        QTest::mouseClick(Button(dialog, "Command1"), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 2);
    EXPECT_EQ(f.Count("SELECT count(*) FROM ImportLedger WHERE Outcome = 'already imported'"), 1);
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{"The response in the clipboard was imported before; nothing was "
                          "stored. Tick \"Import known messages again\" to store it once more."});
}
