#include "gui/output/OutputOptionsDialog.h"

#include "session/Session.h"
#include "render/BarChart.h"
#include "render/PagePrinter.h"
#include "render/PdfPages.h"
#include "gui/platform/ScreenFit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

OutputOptionsDialog::OutputOptionsDialog(Session& session, QPrinter& printer, Hooks hooks,
                                         QWidget* parent)
    : QDialog(parent), m_session(session), m_printer(printer), m_hooks(std::move(hooks)),
      m_controller(session)
{
    if (!m_hooks.choosePrinter) {
        m_hooks.choosePrinter = [this](QPrinter& p) {
            QPrintDialog dialog(&p, this);
            return dialog.exec() == QDialog::Accepted;
        };
    }
    m_controller.chartSvg = ChartSvg;
    m_controller.showViewer = [this] {
        if (m_hooks.showText)
            m_hooks.showText(QString());
    };
    Build();
    // The buttons' row stays in view when the options have to scroll.
    auto* grid = static_cast<QGridLayout*>(layout());
    ScrollWhenSmall(this, grid->itemAtPosition(grid->rowCount() - 1, 0));
}

void OutputOptionsDialog::Build()
{
    setObjectName(QStringLiteral("frmPrintOptions"));
    setWindowTitle(QStringLiteral("Output Options"));
    auto* grid = new QGridLayout(this);

    auto* typeBox = new QGroupBox(QStringLiteral("1. Output Type"), this);
    auto* typeLayout = new QVBoxLayout(typeBox);
    m_types = new QButtonGroup(this);
    const QStringList typeCaptions{QStringLiteral("&View on Screen"),
                                   QStringLiteral("&Print"),
                                   QStringLiteral("Save to  &HTML File..."),
                                   QStringLiteral("Save to &Text File..."),
                                   QStringLiteral("Copy to the &Clipboard"),
                                   QStringLiteral("E&xport to a Delimited Text file..."),
                                   QStringLiteral("Statist&ics report with charts (HTML)...")};
    for (int i = 0; i < typeCaptions.size(); ++i) {
        auto* option = new QRadioButton(typeCaptions[i], typeBox);
        option->setObjectName(QStringLiteral("optPrintTarget_%1").arg(i));
        m_types->addButton(option, i);
        typeLayout->addWidget(option);
    }
    m_templates = new QListWidget(typeBox);
    m_templates->setObjectName(QStringLiteral("lstTemplates"));
    m_templates->setAccessibleName(QStringLiteral("Templates"));
    typeLayout->addWidget(m_templates);
    m_description = new QPlainTextEdit(typeBox);
    m_description->setObjectName(QStringLiteral("txtTempDescription"));
    m_description->setReadOnly(true);
    m_description->setMaximumHeight(48);
    typeLayout->addWidget(m_description);
    grid->addWidget(typeBox, 0, 0);

    auto* fieldBox = new QGroupBox(QStringLiteral("2. Fields to Output"), this);
    auto* fieldLayout = new QVBoxLayout(fieldBox);
    m_fields = new QListWidget(fieldBox);
    m_fields->setObjectName(QStringLiteral("lstSelectFields"));
    m_fields->setAccessibleName(QStringLiteral("Fields to output"));
    fieldLayout->addWidget(m_fields);
    auto* fieldButtons = new QHBoxLayout;
    auto* all = new QPushButton(QStringLiteral(" Select &All"), fieldBox);
    all->setObjectName(QStringLiteral("cmdSelectAll"));
    auto* none = new QPushButton(QStringLiteral(" Select &None"), fieldBox);
    none->setObjectName(QStringLiteral("cmdSelectNone"));
    fieldButtons->addWidget(all);
    fieldButtons->addWidget(none);
    fieldLayout->addLayout(fieldButtons);
    auto* shown = new QPushButton(QStringLiteral("Fields shown in the s&ummary"), fieldBox);
    shown->setObjectName(QStringLiteral("cmdSummaryFields"));
    fieldLayout->addWidget(shown);
    // Leaving a field unticked above leaves it out; ticked here, its values
    // are written as pseudonyms that the database's key keeps the same.
    auto* pseudonymsLabel = new QLabel(QStringLiteral("Fields written as pseudon&yms:"), fieldBox);
    m_pseudonyms = new QListWidget(fieldBox);
    m_pseudonyms->setObjectName(QStringLiteral("lstPseudonyms"));
    m_pseudonyms->setAccessibleName(QStringLiteral("Fields written as pseudonyms"));
    pseudonymsLabel->setBuddy(m_pseudonyms);
    fieldLayout->addWidget(pseudonymsLabel);
    fieldLayout->addWidget(m_pseudonyms);
    grid->addWidget(fieldBox, 0, 1);

    auto* recordBox = new QGroupBox(QStringLiteral("3. Records to Output"), this);
    auto* recordLayout = new QGridLayout(recordBox);
    m_records = new QButtonGroup(this);
    const QStringList recordCaptions{
        QStringLiteral("&Selected records in the Record Summary (See Note below)"),
        QStringLiteral("A&LL records in the Record Summary"),
        QStringLiteral(
            "&Use resumes in the current summary or query result with resume IDs in the range"),
        QStringLiteral("Current record &Only")};
    for (int i = 0; i < recordCaptions.size(); ++i) {
        auto* option = new QRadioButton(recordCaptions[i], recordBox);
        option->setObjectName(QStringLiteral("optSelect_%1").arg(i));
        m_records->addButton(option, i);
        recordLayout->addWidget(option, i < 3 ? i : 4, 0, 1, 4);
    }
    m_from = new QLineEdit(QStringLiteral("1"), recordBox);
    m_from->setObjectName(QStringLiteral("txtFrom"));
    m_to = new QLineEdit(QStringLiteral("1"), recordBox);
    m_to->setObjectName(QStringLiteral("txtTo"));
    recordLayout->addWidget(new QLabel(QStringLiteral("From:"), recordBox), 3, 0);
    recordLayout->addWidget(m_from, 3, 1);
    recordLayout->addWidget(new QLabel(QStringLiteral("To:"), recordBox), 3, 2);
    recordLayout->addWidget(m_to, 3, 3);
    auto* note = new QLabel(
        QStringLiteral("Note: You can select multiple records for output by pressing the shift "
                       "or control key while clicking in the left margin of the Record Summary "
                       "grid. See the help file for more information on selecting multiple "
                       "records."),
        recordBox);
    note->setObjectName(QStringLiteral("lblNote"));
    note->setWordWrap(true);
    recordLayout->addWidget(note, 5, 0, 1, 4);
    grid->addWidget(recordBox, 1, 0);

    auto* options = new QWidget(this);
    auto* optionLayout = new QVBoxLayout(options);
    auto* titleLabel = new QLabel(QStringLiteral("4. &Report Title (Optional):"), options);
    m_title = new QLineEdit(options);
    m_title->setObjectName(QStringLiteral("Text1"));
    titleLabel->setBuddy(m_title);
    optionLayout->addWidget(titleLabel);
    optionLayout->addWidget(m_title);
    // The delimited-file group; more delimited options may join it.
    auto* delimited = new QGroupBox(options);
    delimited->setObjectName(QStringLiteral("fraDelimited"));
    auto* delimitedLayout = new QVBoxLayout(delimited);
    auto* delimiterLabel = new QLabel(QStringLiteral("Select &Delimiter"), delimited);
    m_delimiter = new QComboBox(delimited);
    m_delimiter->setObjectName(QStringLiteral("cmbDelimiter"));
    m_delimiter->setEditable(true);
    m_delimiter->addItems({QStringLiteral("Comma"), QStringLiteral("Semi-Colon"),
                           QStringLiteral("Tab"), QStringLiteral("Space")});
    m_delimiter->setEditText(QStringLiteral("Comma"));
    delimiterLabel->setBuddy(m_delimiter);
    delimitedLayout->addWidget(delimiterLabel);
    delimitedLayout->addWidget(m_delimiter);
    m_useQuotes = new QCheckBox(QStringLiteral("Put &Quotes around each field"), delimited);
    m_useQuotes->setObjectName(QStringLiteral("chkUseQuotes"));
    m_replaceQuotes = new QCheckBox(
        QStringLiteral("Replace \"double quotes\"  by 'single quotes' in &field data"), delimited);
    m_replaceQuotes->setObjectName(QStringLiteral("chkReplaceQuotes"));
    m_removeCrLf = new QCheckBox(
        QStringLiteral("Remove line &breaks from records (output one record per line)"), delimited);
    m_removeCrLf->setObjectName(QStringLiteral("chkRemoveCRLF"));
    delimitedLayout->addWidget(m_useQuotes);
    delimitedLayout->addWidget(m_replaceQuotes);
    delimitedLayout->addWidget(m_removeCrLf);
    m_protectFormulas = new QCheckBox(QStringLiteral("Protect spreadsheet formulas"), delimited);
    m_protectFormulas->setObjectName(QStringLiteral("chkProtectFormulas"));
    m_rfc4180 = new QCheckBox(QStringLiteral("RFC 4180 quoting"), delimited);
    m_rfc4180->setObjectName(QStringLiteral("chkRfc4180Quoting"));
    m_fieldNames = new QCheckBox(QStringLiteral("Field names as the first line"), delimited);
    m_fieldNames->setObjectName(QStringLiteral("chkFieldNamesFirstLine"));
    delimitedLayout->addWidget(m_protectFormulas);
    delimitedLayout->addWidget(m_rfc4180);
    delimitedLayout->addWidget(m_fieldNames);
    optionLayout->addWidget(delimited);
    m_pagePerRecord = new QCheckBox(QStringLiteral("Print &Each record on a new page"), options);
    m_pagePerRecord->setObjectName(QStringLiteral("Check1"));
    optionLayout->addWidget(m_pagePerRecord);
    m_keepWhole =
        new QCheckBox(QStringLiteral("&Keep each record on one page where it fits"), options);
    m_keepWhole->setObjectName(QStringLiteral("chkKeepRecordsWhole"));
    optionLayout->addWidget(m_keepWhole);
    grid->addWidget(options, 1, 1);

    auto* buttons = new QHBoxLayout;
    const QStringList buttonCaptions{QStringLiteral("OK"), QStringLiteral("Cancel"),
                                     QStringLiteral(" Printer Set&up")};
    for (int i = 0; i < buttonCaptions.size(); ++i) {
        auto* button = new QPushButton(buttonCaptions[i], this);
        button->setObjectName(QStringLiteral("cmdPrint_%1").arg(i));
        if (i == 0)
            button->setDefault(true);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdPrint_Click(i); });
        buttons->addWidget(button);
    }
    m_preview = new QPushButton(QStringLiteral("Print Pre&view..."), this);
    m_preview->setObjectName(QStringLiteral("cmdPreview"));
    m_pdf = new QPushButton(QStringLiteral("Export to P&DF..."), this);
    m_pdf->setObjectName(QStringLiteral("cmdExportPdf"));
    buttons->addWidget(m_preview);
    buttons->addWidget(m_pdf);
    grid->addLayout(buttons, 2, 0, 1, 2);

    connect(m_types, &QButtonGroup::idClicked, this, &OutputOptionsDialog::TypeChosen);
    connect(m_records, &QButtonGroup::idClicked, this, [this](int id) {
        m_controller.records = static_cast<OutputOptionsController::Records>(id);
        UpdateEnabled();
    });
    connect(m_templates, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_filling)
            return;
        m_controller.ChooseTemplate(row);
        m_description->setPlainText(m_controller.Description());
    });
    connect(m_fields, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!m_filling)
            m_controller.SetFieldTicked(m_fields->row(item), item->checkState() == Qt::Checked);
    });
    connect(m_pseudonyms, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!m_filling)
            m_controller.SetFieldPseudonymised(m_pseudonyms->row(item),
                                               item->checkState() == Qt::Checked);
    });
    connect(all, &QPushButton::clicked, this, [this] {
        m_controller.SelectAllFields(true);
        ShowFields();
    });
    connect(none, &QPushButton::clicked, this, [this] {
        m_controller.SelectAllFields(false);
        ShowFields();
    });
    connect(shown, &QPushButton::clicked, this, [this] {
        m_controller.TickSummaryFields(m_hooks.summaryRows ? m_hooks.summaryRows() : SummaryRows());
        ShowFields();
    });
    connect(m_protectFormulas, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling)
            m_controller.SetProtectFormulas(on);
    });
    connect(m_keepWhole, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling)
            m_controller.SetKeepRecordsWhole(on);
    });
    connect(m_rfc4180, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling)
            m_controller.SetRfc4180Quoting(on);
    });
    connect(m_fieldNames, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling)
            m_controller.SetFieldNamesFirstLine(on);
    });
    connect(m_title, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_controller.SetTitle(text); });
    connect(m_preview, &QPushButton::clicked, this, &OutputOptionsDialog::ShowPreview);
    connect(m_pdf, &QPushButton::clicked, this, &OutputOptionsDialog::ExportPdf);
}

void OutputOptionsDialog::Open(std::optional<OutputType> preset)
{
    if (preset)
        m_controller.SetType(*preset);
    Refresh();
    exec();
}

void OutputOptionsDialog::Refresh()
{
    m_controller.Activate();
    m_types->button(static_cast<int>(m_controller.Type()))->setChecked(true);
    // With no rows selected in the summary, the current record is the choice.
    const SummaryRows rows = m_hooks.summaryRows ? m_hooks.summaryRows() : SummaryRows();
    if (m_controller.records == OutputOptionsController::kSelected && rows.selected.empty())
        m_controller.records = OutputOptionsController::kCurrentOnly;
    m_records->button(m_controller.records)->setChecked(true);
    ShowTemplates();
    ShowFields();
    m_filling = true;
    m_protectFormulas->setChecked(m_controller.ProtectFormulas());
    m_rfc4180->setChecked(m_controller.Rfc4180Quoting());
    m_keepWhole->setChecked(m_controller.KeepRecordsWhole());
    m_fieldNames->setChecked(m_controller.FieldNamesFirstLine());
    m_filling = false;
    UpdateEnabled();
}

void OutputOptionsDialog::TypeChosen(int type)
{
    m_controller.SetType(static_cast<OutputType>(type));
    ShowTemplates();
    UpdateEnabled();
}

void OutputOptionsDialog::ShowTemplates()
{
    m_filling = true;
    m_templates->clear();
    for (const auto& item : m_controller.Templates())
        m_templates->addItem(item.name);
    m_templates->setCurrentRow(m_controller.ChosenTemplate());
    m_filling = false;
    m_description->setPlainText(m_controller.Description());
}

void OutputOptionsDialog::ShowFields()
{
    m_filling = true;
    m_fields->clear();
    m_pseudonyms->clear();
    const auto fields = m_controller.Fields();
    for (int i = 0; i < fields.size(); ++i) {
        auto* item = new QListWidgetItem(fields[i].label, m_fields);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(fields[i].ticked ? Qt::Checked : Qt::Unchecked);
        auto* pseudonym = new QListWidgetItem(fields[i].label, m_pseudonyms);
        pseudonym->setFlags(pseudonym->flags() | Qt::ItemIsUserCheckable);
        pseudonym->setCheckState(m_controller.FieldPseudonymised(i) ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

void OutputOptionsDialog::UpdateEnabled()
{
    const bool delimited = m_controller.DelimitedOptionsEnabled();
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_delimiter, m_useQuotes, m_replaceQuotes, m_removeCrLf,
                                         m_protectFormulas, m_rfc4180, m_fieldNames})
        w->setEnabled(delimited);
    const bool range = m_controller.records == OutputOptionsController::kIdRange;
    m_from->setEnabled(range);
    m_to->setEnabled(range);
    const bool pages = m_controller.PageOptionsEnabled();
    m_pagePerRecord->setEnabled(pages);
    m_keepWhole->setEnabled(pages);
    m_preview->setEnabled(pages);
    m_pdf->setEnabled(pages);
}

void OutputOptionsDialog::Take()
{
    m_controller.txtFrom = m_from->text();
    m_controller.txtTo = m_to->text();
    m_controller.delimiter = m_delimiter->currentText();
    m_controller.useQuotes = m_useQuotes->isChecked();
    m_controller.replaceQuotes = m_replaceQuotes->isChecked();
    m_controller.removeLineBreaks = m_removeCrLf->isChecked();
    m_controller.newPagePerRecord = m_pagePerRecord->isChecked();
}

void OutputOptionsDialog::AfterRun(const OutputResult& result)
{
    if (m_controller.Type() == OutputType::Screen && result.completed && m_hooks.showText)
        m_hooks.showText(m_session.Output.ViewerText);
    if (OutputOptionsController::ClosesDialog(result)) {
        if (m_hooks.runEnded)
            m_hooks.runEnded(m_session.ui.StatusText());
        hide();
    }
}

OutputResult OutputOptionsDialog::PrintTo(QPrinter& printer)
{
    Take();
    PagePrinter pages(m_session, printer);
    return m_controller.Run(m_hooks.summaryRows ? m_hooks.summaryRows() : SummaryRows(), &pages,
                            m_hooks.loadRecord);
}

void OutputOptionsDialog::cmdPrint_Click(int index)
{
    switch (index) {
    case 0: {
        Take();
        const SummaryRows rows = m_hooks.summaryRows ? m_hooks.summaryRows() : SummaryRows();
        if (m_controller.Type() == OutputType::Printer) {
            if (!m_hooks.choosePrinter(m_printer))
                return;
            AfterRun(PrintTo(m_printer));
            return;
        }
        AfterRun(m_controller.Run(rows, nullptr, m_hooks.loadRecord));
        return;
    }
    case 1:
        hide();
        return;
    case 2:
        if (m_hooks.printerSetup)
            m_hooks.printerSetup();
        return;
    default:
        return;
    }
}

void OutputOptionsDialog::ShowPreview()
{
    QPrintPreviewDialog preview(&m_printer, this);
    preview.setWindowTitle(QStringLiteral("Print Preview"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        // Nothing reaches paper: the status says what was drawn.
        const OutputResult result = PrintTo(*printer);
        if (result.completed)
            m_session.ui.SetStatusText(QString::number(result.count) +
                                       QStringLiteral(" record(s) shown in the preview"));
    });
    preview.exec();
}

void OutputOptionsDialog::ExportPdf()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Export to PDF");
    request.filters = ParseFileFilters(QStringLiteral("PDF Files (*.pdf)|*.pdf|"));
    request.proposedName = QStringLiteral("*.pdf");
    request.defaultExtension = QStringLiteral("pdf");
    request.overwritePrompt = true;
    const FileDialogResult chosen = m_session.ui.SaveFileDialog(request);
    if (chosen.cancelled || chosen.paths.isEmpty())
        return;
    Take();
    PdfPages pages(m_session, chosen.paths.first(), m_printer.pageLayout());
    const OutputResult result = m_controller.Run(
        m_hooks.summaryRows ? m_hooks.summaryRows() : SummaryRows(), &pages, m_hooks.loadRecord);
    if (result.completed && !result.cancelled)
        m_session.ui.SetStatusText(QString::number(result.count) +
                                   QStringLiteral(" record(s) saved to ") + chosen.paths.first());
    AfterRun(result);
}
