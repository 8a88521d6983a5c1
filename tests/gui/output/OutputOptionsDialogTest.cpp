#include "../../output/OutputFixture.h"

#include "output/OutputFieldList.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "database/PseudonymKey.h"
#include "output/FieldAnonymiser.h"
#include "gui/output/OutputOptionsDialog.h"
#include "gui/output/OutputViewerWindow.h"
#include "output/TemplateList.h"
#include "output/TemplateSyntax.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QImage>
#include <QPalette>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

class OutputOptionsDialogTest : public OutputFixture {
protected:
    OutputOptionsDialogTest()
        : program(ui, ProgramFolders(QStringLiteral(TALLOWMERE_PROGRAM_DIR), dir.Path()),
                  Regional(TestLocale()))
    {
        ListTemplates(program);
        FillOutputFieldList(
            program.Output,
            {{QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"), QStringLiteral("Name")}},
            QStringLiteral("Email\r\n"));
        names = {{3, QStringLiteral("Ann")}, {8, QStringLiteral("Bo")}, {12, QStringLiteral("Cy")}};
        OutputOptionsDialog::Hooks hooks;
        hooks.summaryRows = [this] { return rows; };
        hooks.loadRecord = [this](qint32 id) {
            RecordTables& t = program.Tables;
            t.ClearRecordTables();
            t.PutArrayElement(1, 0, QString::number(id));
            t.PutArrayElement(1, 1, names.value(id));
            t.PutArrayElement(2, 1, QStringLiteral("Email"));
            t.PutArrayElement(2, 2, names.value(id) + QStringLiteral("@example.org"));
            return true;
        };
        hooks.showText = [this](const QString& text) { shown = text; };
        hooks.choosePrinter = [this](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdfPath);
            return true;
        };
        dialog = std::make_unique<OutputOptionsDialog>(program, printer, hooks);
        rows.ids = {3, 8, 12};
        rows.current = 8;
    }

    template <typename T> T* Child(const QString& name)
    {
        T* w = dialog->findChild<T*>(name);
        EXPECT_TRUE(w) << qPrintable(name);
        return w;
    }
    void Choose(const QString& name) { Child<QRadioButton>(name)->click(); }
    void Ok() { Child<QPushButton>(QStringLiteral("cmdPrint_0"))->click(); }

    Session program;
    QPrinter printer;
    QMap<qint32, QString> names;
    SummaryRows rows;
    QString shown;
    QString pdfPath = dir.File(QStringLiteral("out.pdf"));
    std::unique_ptr<OutputOptionsDialog> dialog;
};

TEST_F(OutputOptionsDialogTest, PresetTypesChooseTheirTemplatesAndOptions)
{
    const QList<std::pair<OutputType, QString>> presets{
        {OutputType::DelimitedFile, QStringLiteral("optPrintTarget_5")},
        {OutputType::TextFile, QStringLiteral("optPrintTarget_3")},
        {OutputType::HtmlFile, QStringLiteral("optPrintTarget_2")},
        {OutputType::Clipboard, QStringLiteral("optPrintTarget_4")},
        {OutputType::StatisticsReport, QStringLiteral("optPrintTarget_6")}};
    // Named copies: a lambda may not capture a structured binding in every compiler.
    for (const auto& preset : presets) {
        const OutputType type = preset.first;
        const QString& option = preset.second;
        QTimer::singleShot(0, dialog.get(), [&] {
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_TRUE(Child<QRadioButton>(option)->isChecked());
            EXPECT_EQ(Child<QComboBox>(QStringLiteral("cmbDelimiter"))->isEnabled(),
                      type == OutputType::DelimitedFile);
            EXPECT_FALSE(Child<QCheckBox>(QStringLiteral("Check1"))->isEnabled());
            Child<QPushButton>(QStringLiteral("cmdPrint_1"))->click();
        });
        dialog->Open(type);
        EXPECT_FALSE(dialog->isVisible());
    }
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Output Options"));
    // Print keeps the type chosen last.
    QTimer::singleShot(0, dialog.get(), [&] {
        EXPECT_TRUE(Child<QRadioButton>(QStringLiteral("optPrintTarget_6"))->isChecked());
        dialog->hide();
    });
    dialog->Open();
    // The printer's templates are listed with their descriptions.
    Choose(QStringLiteral("optPrintTarget_1"));
    auto* templates = Child<QListWidget>(QStringLiteral("lstTemplates"));
    ASSERT_GT(templates->count(), 0);
    EXPECT_EQ(templates->currentRow(), 0);
    EXPECT_TRUE(Child<QCheckBox>(QStringLiteral("Check1"))->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(QStringLiteral("cmdExportPdf"))->isEnabled());
}

TEST_F(OutputOptionsDialogTest, FieldTicksAreThePrintStatsAndStay)
{
    dialog->Refresh();
    auto* fields = Child<QListWidget>(QStringLiteral("lstSelectFields"));
    ASSERT_EQ(fields->count(), 2);
    EXPECT_EQ(fields->item(1)->text(), QStringLiteral("Email"));
    fields->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(program.Output.OutputFieldList[1].PrintStat);
    dialog->hide();
    dialog->Refresh();
    EXPECT_EQ(fields->item(1)->checkState(), Qt::Unchecked);
    Child<QPushButton>(QStringLiteral("cmdSelectNone"))->click();
    EXPECT_FALSE(program.Output.OutputFieldList[0].PrintStat);
    Child<QPushButton>(QStringLiteral("cmdSelectAll"))->click();
    EXPECT_EQ(fields->item(1)->checkState(), Qt::Checked);
    Child<QLineEdit>(QStringLiteral("Text1"))->setText(QStringLiteral("My report"));
    EXPECT_EQ(program.Output.ReportTitle, QStringLiteral("My report"));
}

TEST_F(OutputOptionsDialogTest, RecordChoicesFillTheSelectionAndPickRecords)
{
    dialog->Refresh();
    // No rows selected: the current record is the choice.
    EXPECT_TRUE(Child<QRadioButton>(QStringLiteral("optSelect_3"))->isChecked());
    Choose(QStringLiteral("optPrintTarget_4"));
    Ok();
    EXPECT_EQ(program.Selection, (RecordSelection{-3, 0}));
    EXPECT_TRUE(ui.ClipboardText().contains(QStringLiteral("Bo")));
    EXPECT_FALSE(ui.ClipboardText().contains(QStringLiteral("Ann")));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("1 record(s) copied to clipboard"));

    Choose(QStringLiteral("optSelect_1"));
    Ok();
    EXPECT_EQ(program.Selection, (RecordSelection{-2, 0}));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) copied to clipboard"));

    rows.selected = {12};
    Choose(QStringLiteral("optSelect_0"));
    Ok();
    EXPECT_EQ(program.Selection, (RecordSelection{-1, 0}));
    EXPECT_TRUE(ui.ClipboardText().contains(QStringLiteral("Cy")));
    EXPECT_FALSE(ui.ClipboardText().contains(QStringLiteral("Bo")));

    Choose(QStringLiteral("optSelect_2"));
    EXPECT_TRUE(Child<QLineEdit>(QStringLiteral("txtFrom"))->isEnabled());
    Child<QLineEdit>(QStringLiteral("txtFrom"))->setText(QStringLiteral("5"));
    Child<QLineEdit>(QStringLiteral("txtTo"))->setText(QStringLiteral("3"));
    dialog->show();
    Ok();
    EXPECT_EQ(ui.messages.last().text,
              QStringLiteral("'From' value should be less than 'To' value"));
    EXPECT_TRUE(dialog->isVisible()); // stays open for a better range
    Child<QLineEdit>(QStringLiteral("txtFrom"))->setText(QStringLiteral("4"));
    Child<QLineEdit>(QStringLiteral("txtTo"))->setText(QStringLiteral("12"));
    Ok();
    EXPECT_EQ(program.Selection, (RecordSelection{4, 12}));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("2 record(s) copied to clipboard"));
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(OutputOptionsDialogTest, ScreenOutputGoesToTheViewerAndCancelStopsARun)
{
    dialog->Refresh();
    Choose(QStringLiteral("optSelect_1"));
    Choose(QStringLiteral("optPrintTarget_0"));
    Ok();
    EXPECT_TRUE(shown.contains(QStringLiteral("Ann")) && shown.contains(QStringLiteral("Cy")));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) displayed"));

    ui.CancelAfterUpdates(1);
    Choose(QStringLiteral("optPrintTarget_4"));
    Ok();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("1 record(s) copied to clipboard"));
}

TEST_F(OutputOptionsDialogTest, PrintsEveryRecordIntoOneDocument)
{
    dialog->Refresh();
    Choose(QStringLiteral("optSelect_1"));
    Choose(QStringLiteral("optPrintTarget_1"));
    Child<QCheckBox>(QStringLiteral("Check1"))->setChecked(true);
    Ok();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) printed"));
    QFile pdf(pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    // One page per record.
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page "),
              3);
    pdf.close();

    // A cancelled print run says so.
    ui.CancelAfterUpdates(1);
    Ok();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Printing cancelled: 1 record(s) printed"));

    // A PDF file without a printer.
    const QString file = dir.File(QStringLiteral("direct.pdf"));
    ui.QueueFiles({file});
    Child<QPushButton>(QStringLiteral("cmdExportPdf"))->click();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) saved to ") + file);
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(OutputOptionsDialogTest, ViewerPagesThroughTheLoadedTemplate)
{
    QString body;
    for (int i = 1; i <= 150; ++i)
        body += QStringLiteral("line%1{00.00.000}\r\n").arg(i);
    body += QStringLiteral("||\r\n");
    program.Output.TemplateLines = CutBlocks(body, BlockStyle::Lines);
    OutputViewerWindow viewer(program);
    auto press = [&](int i) {
        viewer.findChild<QPushButton*>(QStringLiteral("cmdPrint_%1").arg(i))->click();
    };
    press(1);
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Viewing Record: Page 2"));
    press(5);
    const QString last = viewer.windowTitle();
    EXPECT_NE(last, QStringLiteral("Viewing Record: Page 0"));
    press(1); // Next on the last page stays there
    EXPECT_EQ(viewer.windowTitle(), last);
    press(4);
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Viewing Record: Page 1"));
    viewer.setWindowTitle(QStringLiteral("unchanged"));
    press(2); // Prev on page 1 does not redraw
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("unchanged"));
    EXPECT_GT(viewer.Pages()->Picture().size(), 0u);
    // A faulty template says so.
    program.Output.TemplateLines = {QStringLiteral("bad}")};
    EXPECT_TRUE(viewer.Redraw()); // a faulty line has shown its own message
    EXPECT_EQ(ui.messages.first().text, QStringLiteral("Unmatched { in template"));
}

TEST_F(OutputOptionsDialogTest, DelimitedChoicesChangeTheFileAndProtectionIsRemembered)
{
    names = {{3, QStringLiteral("=2+3")}, {8, QStringLiteral("Cy, Jr")}};
    rows.ids = {3, 8};
    dialog->Refresh();
    Choose(QStringLiteral("optPrintTarget_5"));
    Choose(QStringLiteral("optSelect_1"));
    auto* protect = Child<QCheckBox>(QStringLiteral("chkProtectFormulas"));
    auto* rfc = Child<QCheckBox>(QStringLiteral("chkRfc4180Quoting"));
    auto* names1 = Child<QCheckBox>(QStringLiteral("chkFieldNamesFirstLine"));
    EXPECT_EQ(protect->text(), QStringLiteral("Protect spreadsheet formulas"));
    EXPECT_EQ(rfc->text(), QStringLiteral("RFC 4180 quoting"));
    EXPECT_EQ(names1->text(), QStringLiteral("Field names as the first line"));
    EXPECT_TRUE(protect->isChecked());
    EXPECT_FALSE(rfc->isChecked());
    EXPECT_FALSE(names1->isChecked());
    EXPECT_TRUE(protect->isEnabled() && rfc->isEnabled() && names1->isEnabled());

    const QString plain = dir.File(QStringLiteral("plain.txt"));
    ui.QueueFiles({plain});
    Ok();
    EXPECT_EQ(ui.StatusText(), QStringLiteral("2 record(s) saved to ") + plain);
    EXPECT_EQ(dir.Read(QStringLiteral("plain.txt")),
              QByteArray("'=2+3,'=2+3@example.org\r\nCy, Jr,Cy, Jr@example.org\r\n"));

    protect->click();
    rfc->click();
    names1->click();
    const QString strict = dir.File(QStringLiteral("strict.txt"));
    ui.QueueFiles({strict});
    Ok();
    EXPECT_EQ(
        dir.Read(QStringLiteral("strict.txt")),
        QByteArray("Name,Email\r\n=2+3,=2+3@example.org\r\n\"Cy, Jr\",\"Cy, Jr@example.org\"\r\n"));

    // The protection is remembered in the settings file; the others are not.
    Session later(ui, program.Folders, Regional(TestLocale()));
    OutputOptionsDialog again(later, printer, {});
    again.Refresh();
    EXPECT_FALSE(again.findChild<QCheckBox*>(QStringLiteral("chkProtectFormulas"))->isChecked());
    EXPECT_FALSE(again.findChild<QCheckBox*>(QStringLiteral("chkRfc4180Quoting"))->isChecked());
    // Other types leave the delimited choices unusable.
    Choose(QStringLiteral("optPrintTarget_3"));
    EXPECT_FALSE(protect->isEnabled() || rfc->isEnabled() || names1->isEnabled());
}

TEST_F(OutputOptionsDialogTest, PrintPreviewShowsThePagesOfTheRun)
{
    dialog->Refresh();
    Choose(QStringLiteral("optSelect_1"));
    Choose(QStringLiteral("optPrintTarget_1"));
    Child<QCheckBox>(QStringLiteral("Check1"))->setChecked(true);
    int pages = -1;
    QString title;
    QTimer::singleShot(0, dialog.get(), [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview)
            return;
        title = preview->windowTitle();
        if (auto* widget = preview->findChild<QPrintPreviewWidget*>())
            pages = widget->pageCount();
        preview->reject();
    });
    Child<QPushButton>(QStringLiteral("cmdPreview"))->click();
    EXPECT_EQ(title, QStringLiteral("Print Preview"));
    EXPECT_EQ(pages, 3); // one page per record
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) shown in the preview"));
}

TEST_F(OutputOptionsDialogTest, KeepingRecordsWholeStartsTickedServesPagesAndIsRemembered)
{
    dialog->Refresh();
    auto* keep = Child<QCheckBox>(QStringLiteral("chkKeepRecordsWhole"));
    EXPECT_EQ(keep->text(), QStringLiteral("&Keep each record on one page where it fits"));
    EXPECT_TRUE(keep->isChecked());
    Choose(QStringLiteral("optPrintTarget_3"));
    EXPECT_FALSE(keep->isEnabled());
    Choose(QStringLiteral("optPrintTarget_1"));
    EXPECT_TRUE(keep->isEnabled());

    keep->click();
    EXPECT_FALSE(program.Output.KeepRecordsWhole);
    Session later(ui, program.Folders, Regional(TestLocale()));
    OutputOptionsDialog again(later, printer, {});
    again.Refresh();
    EXPECT_FALSE(again.findChild<QCheckBox*>(QStringLiteral("chkKeepRecordsWhole"))->isChecked());
    keep->click();
    Session third(ui, program.Folders, Regional(TestLocale()));
    OutputOptionsController controller(third);
    EXPECT_TRUE(controller.KeepRecordsWhole());
}

TEST_F(OutputOptionsDialogTest, ThePageStaysWhiteWithBlackInkInADarkPalette)
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        dark.setColor(role, QColor(0x2a, 0x2a, 0x2a));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xee, 0xee, 0xee));
    QApplication::setPalette(dark);
    program.Output.TemplateLines =
        CutBlocks(QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\r\n||\r\n"), BlockStyle::Lines);
    OutputViewerWindow viewer(program);
    viewer.show();
    ASSERT_TRUE(viewer.Redraw());
    QWidget* page = viewer.findChild<QWidget*>(QStringLiteral("Picture1"));
    ASSERT_TRUE(page);
    const QImage shot = page->grab().toImage();
    QApplication::setPalette(light);
    EXPECT_EQ(shot.pixelColor(shot.width() - 2, shot.height() - 2), QColor(Qt::white));
    int darkest = 255;
    for (int y = 0; y < shot.height() / 4; ++y)
        for (int x = 0; x < shot.width(); ++x)
            darkest = std::min(darkest, shot.pixelColor(x, y).lightness());
    EXPECT_LT(darkest, 80) << "the text is not drawn in black";
}

TEST_F(OutputOptionsDialogTest, PseudonymTicksWriteTheValuesAsTheDatabasesPseudonyms)
{
    const QString path = dir.File(QStringLiteral("p.fdb"));
    ScriptedUi quiet;
    ASSERT_TRUE(CreateNewDatabase(quiet, path) && OpenResumeDatabase(program, path));
    dialog->Refresh();
    auto* pseudonyms = Child<QListWidget>(QStringLiteral("lstPseudonyms"));
    ASSERT_EQ(pseudonyms->count(), 2);
    pseudonyms->item(1)->setCheckState(Qt::Checked);
    Choose(QStringLiteral("optSelect_1"));
    Choose(QStringLiteral("optPrintTarget_0"));
    Ok();
    const QByteArray key = StoredPseudonymKey(*program.Database.CurrentDatabase);
    ASSERT_EQ(key.size(), 32);
    EXPECT_TRUE(shown.contains(Pseudonym(key, QStringLiteral("Ann@example.org"))));
    EXPECT_FALSE(shown.contains(QStringLiteral("@example.org")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Ann")));
}
