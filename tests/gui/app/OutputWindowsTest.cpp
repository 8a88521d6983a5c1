#include "gui/app/MainWindow.h"
#include "app/RecentFiles.h"
#include "session/Session.h"
#include "gui/output/OutputOptionsDialog.h"
#include "gui/output/OutputViewerWindow.h"
#include "platform/ScriptedUi.h"
#include "session/RecordTables.h"
#include "gui/search/SummaryWindow.h"
#include "gui/viewer/BrowserWindow.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// The Output Options dialog and the output viewer inside the real main
// window: the commands that open the dialog, runs through it, and the
// viewer's buttons and navigation.
namespace {

class OutputWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentFiles::ClearRecentFiles();
        PrepareProgramFolder(dir, Templates::All);
        database = MakeSampleDatabase(dir, QStringLiteral("forms.fdb"));
        frame = std::make_unique<MainWindow>(session, shell);
        frame->MDIForm_Load(database);
        if (frame->Wizard())
            frame->Wizard()->close();
        ASSERT_TRUE(frame->Shell().DatabaseOpen());
    }
    void TearDown() override
    {
        frame.reset();
        RecentFiles::ClearRecentFiles();
    }

    // Triggers a command and runs inside on the modal dialog it opens; true
    // when the Output Options dialog came up.
    bool WithDialog(QAction* command, const std::function<void(OutputOptionsDialog&)>& inside)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<OutputOptionsDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            inside(*dialog);
            if (dialog->isVisible())
                dialog->hide();
        });
        command->trigger();
        return seen;
    }
    static bool Checked(OutputOptionsDialog& dialog, const QString& name)
    {
        auto* option = dialog.findChild<QRadioButton*>(name);
        return option && option->isChecked();
    }
    static void Click(QWidget& parent, const QString& name)
    {
        auto* button = parent.findChild<QAbstractButton*>(name);
        ASSERT_TRUE(button) << name.toStdString();
        button->click();
    }
    QString RecordName() const
    {
        return session.Tables.GetArrayElement(RecordTables::kHeaderTable, 1);
    }
    int SummaryCount() const { return int(session.Database.SummaryRecords.Ids().size()); }
    // The texts of the record viewer's header boxes.
    QStringList ViewerBoxes() const
    {
        QStringList texts;
        for (int i = 0; auto* box = frame->Browser()->findChild<QLineEdit*>(
                            QStringLiteral("txtResume_%1").arg(i));
             ++i)
            texts << box->text();
        return texts;
    }

    TempDir dir;
    QString database;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    ShellController shell{session};
    std::unique_ptr<MainWindow> frame;
};

} // namespace

TEST_F(OutputWindowsTest, EachCommandOpensTheDialogOnItsOutputType)
{
    const QList<std::pair<QString, QString>> presets{
        {QStringLiteral("mnuFDelimitedExport"), QStringLiteral("optPrintTarget_5")},
        {QStringLiteral("mnuFExportResume"), QStringLiteral("optPrintTarget_3")},
        {QStringLiteral("mnuFExportHTML"), QStringLiteral("optPrintTarget_2")},
        {QStringLiteral("mnuECopyToClipboard"), QStringLiteral("optPrintTarget_4")}};
    // Named copies: a lambda may not capture a structured binding in every compiler.
    for (const auto& preset : presets) {
        const QString& command = preset.first;
        const QString& option = preset.second;
        bool checked = false;
        EXPECT_TRUE(WithDialog(frame->Command(command), [&](OutputOptionsDialog& dialog) {
            checked = Checked(dialog, option);
        })) << command.toStdString();
        EXPECT_TRUE(checked) << command.toStdString();
    }
    // Print, from the menu and the toolbar, keeps the type chosen last; the
    // toolbar's first loads the summary's current record.
    for (const char* command : {"mnuFPrintResume", "tbrPrint"}) {
        bool checked = false;
        EXPECT_TRUE(WithDialog(frame->Command(QString::fromLatin1(command)),
                               [&](OutputOptionsDialog& dialog) {
                                   checked = Checked(dialog, QStringLiteral("optPrintTarget_4"));
                               }))
            << command;
        EXPECT_TRUE(checked) << command;
    }
    EXPECT_EQ(session.Tables.GetArrayElement(RecordTables::kHeaderTable, 0),
              QString::number(*session.Database.SummaryRecords.Bookmark()));

    // The template list read at start-up: the printer's templates.
    int templates = 0;
    WithDialog(frame->Command(QStringLiteral("mnuFPrintResume")), [&](OutputOptionsDialog& dialog) {
        Click(dialog, QStringLiteral("optPrintTarget_1"));
        templates = dialog.findChild<QListWidget*>(QStringLiteral("lstTemplates"))->count();
    });
    EXPECT_EQ(templates, 2); // "Default record text" and "Numbered fields"
}

TEST_F(OutputWindowsTest, ScreenOutputFillsTheViewerWhoseNavigationShowsEachRecord)
{
    ASSERT_GT(SummaryCount(), 2);
    const QString onScreen = RecordName();
    const QStringList boxes = ViewerBoxes();
    EXPECT_TRUE(WithDialog(frame->Command(QStringLiteral("mnuFPrintResume")),
                           [&](OutputOptionsDialog& dialog) {
                               Click(dialog, QStringLiteral("optPrintTarget_0"));
                               Click(dialog, QStringLiteral("optSelect_1"));
                               Click(dialog, QStringLiteral("cmdPrint_0"));
                           }));
    EXPECT_EQ(ui.StatusText(), QString::number(SummaryCount()) + " record(s) displayed");
    // The record viewer still shows, and holds, the record it showed.
    EXPECT_EQ(RecordName(), onScreen);
    EXPECT_EQ(ViewerBoxes(), boxes);
    EXPECT_EQ(session.Tables.GetArrayElement(RecordTables::kHeaderTable, 0),
              QString::number(*session.Database.SummaryRecords.Bookmark()));
    OutputViewerWindow* viewer = frame->OutputViewer();
    ASSERT_TRUE(viewer);
    EXPECT_EQ(frame->MdiArea()->activeSubWindow()->widget(), viewer);
    const QString all = viewer->Text();
    EXPECT_EQ(all.count(QStringLiteral("Record ID:")), SummaryCount());
    // The first page of the page view is drawn when the viewer opens.
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Viewing Record: Page 1"));
    EXPECT_GT(viewer->Pages()->Picture().size(), 0u);

    // Navigation while the viewer is active moves through the summary and
    // shows that record's text alone; the page view is left as it was.
    frame->Command(QStringLiteral("mnuRMoveFirst"))->trigger();
    const QString first = RecordName();
    frame->Command(QStringLiteral("mnuRMoveNext"))->trigger();
    const QString second = RecordName();
    EXPECT_NE(first, second);
    EXPECT_EQ(viewer->Text().count(QStringLiteral("Record ID:")), 1);
    EXPECT_TRUE(viewer->Text().contains(second));
    EXPECT_FALSE(viewer->Text().contains(first));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Viewing Record"));
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Viewing Record: Page 1"));
    frame->Command(QStringLiteral("mnuRMoveLast"))->trigger();
    EXPECT_EQ(session.Database.SummaryRecords.Bookmark(),
              session.Database.SummaryRecords.Ids().back());
    EXPECT_TRUE(viewer->Text().contains(RecordName()));

    // Its buttons: pages, the Output Options dialog, the record viewer.
    Click(*viewer, QStringLiteral("cmdPrint_5"));
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Viewing Record: Page 1"));
    bool dialogShown = false;
    QTimer::singleShot(0, [&] {
        if (auto* d = qobject_cast<OutputOptionsDialog*>(QApplication::activeModalWidget())) {
            dialogShown = true;
            d->hide();
        }
    });
    Click(*viewer, QStringLiteral("cmdPrint_3"));
    EXPECT_TRUE(dialogShown);
    Click(*viewer, QStringLiteral("cmdPrint_6"));
    EXPECT_EQ(frame->MdiArea()->activeSubWindow(), frame->BrowserSubWindow());
}

TEST_F(OutputWindowsTest, CloseAndEscCloseTheViewersWindow)
{
    frame->show();
    // Close from its button, and Esc while its text view has the focus.
    for (const bool byKey : {false, true}) {
        EXPECT_TRUE(WithDialog(frame->Command(QStringLiteral("mnuFPrintResume")),
                               [&](OutputOptionsDialog& dialog) {
                                   Click(dialog, QStringLiteral("optPrintTarget_0"));
                                   Click(dialog, QStringLiteral("cmdPrint_0"));
                               }));
        OutputViewerWindow* viewer = frame->OutputViewer();
        ASSERT_TRUE(viewer);
        const QPointer<QMdiSubWindow> child = qobject_cast<QMdiSubWindow*>(viewer->parentWidget());
        ASSERT_TRUE(child);
        if (byKey) {
            frame->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
            viewer->TextView()->setFocus();
            QApplication::processEvents();
            ASSERT_TRUE(viewer->TextView()->hasFocus());
            QTest::keyClick(viewer->TextView(), Qt::Key_Escape);
        } else {
            Click(*viewer, QStringLiteral("cmdPrint_0"));
        }
        // A shortcut clicks its button a moment later, as a click shows.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->OutputViewer(); })) << "by key " << byKey;
        EXPECT_TRUE(!child || !child->isVisible()) << "by key " << byKey;
        EXPECT_FALSE(frame->OutputViewer()) << "by key " << byKey;
        EXPECT_FALSE(frame->MdiArea()->subWindowList().contains(child.data()));
    }
}

TEST_F(OutputWindowsTest, TheViewerOpensWhollyInsideTheWindowArea)
{
    frame->resize(900, 600);
    frame->show();
    QApplication::processEvents();
    // Another child placed first pushes the new one right and down.
    frame->BrowserSubWindow()->setGeometry(300, 200, 400, 300);
    EXPECT_TRUE(WithDialog(frame->Command(QStringLiteral("mnuFPrintResume")),
                           [&](OutputOptionsDialog& dialog) {
                               Click(dialog, QStringLiteral("optPrintTarget_0"));
                               Click(dialog, QStringLiteral("cmdPrint_0"));
                           }));
    ASSERT_TRUE(frame->OutputViewer());
    const QRect room = frame->MdiArea()->viewport()->rect();
    const QRect placed = frame->OutputViewer()->parentWidget()->geometry();
    EXPECT_TRUE(room.contains(placed))
        << placed.x() << "," << placed.y() << " " << placed.width() << "x" << placed.height()
        << " in " << room.width() << "x" << room.height();

    // Report lines stay whole in the text view, and the page view starts
    // with as much of the width as the text.
    EXPECT_EQ(frame->OutputViewer()->TextView()->lineWrapMode(), QPlainTextEdit::NoWrap);
    auto* split = frame->OutputViewer()->findChild<QSplitter*>();
    ASSERT_TRUE(split);
    const QList<int> widths = split->sizes();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_GE(widths[1], widths[0] - 2) << widths[0] << " " << widths[1];
}

TEST_F(OutputWindowsTest, CancelInTheProgressDialogStopsTheRunBetweenRecords)
{
    ASSERT_GT(SummaryCount(), 3);
    ui.CancelAfterUpdates(2);
    EXPECT_TRUE(WithDialog(frame->Command(QStringLiteral("mnuECopyToClipboard")),
                           [&](OutputOptionsDialog& dialog) {
                               Click(dialog, QStringLiteral("optSelect_1"));
                               Click(dialog, QStringLiteral("cmdPrint_0"));
                               EXPECT_FALSE(dialog.isVisible());
                           }));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("2 record(s) copied to clipboard"));
    EXPECT_EQ(ui.clipboard.count(QStringLiteral("Record ID:")), 2);
    ASSERT_FALSE(ui.progressShown.isEmpty());
    EXPECT_EQ(ui.progressShown.last().caption, QStringLiteral("Exporting records..."));
    EXPECT_FALSE(ui.ProgressVisible());
}

TEST_F(OutputWindowsTest, ExportToPdfWritesThePagesTheCommandLineWrites)
{
    const QString fromDialog = dir.File(QStringLiteral("dialog.pdf"));
    ASSERT_TRUE(WithDialog(
        frame->Command(QStringLiteral("mnuFPrintResume")), [&](OutputOptionsDialog& dialog) {
            Click(dialog, QStringLiteral("optPrintTarget_1"));
            Click(dialog, QStringLiteral("optSelect_1"));
            dialog.findChild<QListWidget*>(QStringLiteral("lstTemplates"))->setCurrentRow(1);
            ui.QueueFiles({fromDialog});
            Click(dialog, QStringLiteral("cmdExportPdf"));
        }));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("12 record(s) saved to ") + fromDialog);
    const QString fromCli = dir.File(QStringLiteral("cli.pdf"));
    QByteArray out, err;
    ASSERT_EQ(RunCli({QStringLiteral("export"), database, QStringLiteral("--type"),
                      QStringLiteral("pdf"), QStringLiteral("--template"),
                      QStringLiteral("Numbered fields"), QStringLiteral("-o"), fromCli},
                     &out, &err, dir.Path().toUtf8()),
              0)
        << err.constData();

    // The same pages: as many, of the same size, with the same drawing on
    // each. The files differ in their dates and ids, and in the order the
    // fonts are embedded in, which changes from run to run.
    const auto pages = [](const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
        const QString bytes = QString::fromLatin1(file.readAll());
        QStringList boxes, streams;
        static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[[^\\]]*\\]"));
        for (const auto& match : box.globalMatch(bytes))
            boxes << match.captured(0);
        static const QRegularExpression stream(QStringLiteral("stream\\r?\\n.*?endstream"),
                                               QRegularExpression::DotMatchesEverythingOption);
        for (const auto& match : stream.globalMatch(bytes))
            streams << match.captured(0);
        streams.sort();
        return boxes + streams;
    };
    const QStringList dialogPages = pages(fromDialog);
    EXPECT_GT(dialogPages.size(), 2);
    EXPECT_EQ(pages(fromCli), dialogPages);
}
