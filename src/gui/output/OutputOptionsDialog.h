#pragma once

#include "output/OutputOptions.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <utility>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPushButton;
class QRadioButton;
class QPlainTextEdit;
class Session;

// The Output Options dialog (frmPrintOptions): a thin view over
// OutputOptionsController. It is hidden, not destroyed, between uses.
class OutputOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // What the dialog needs from the main window.
    struct Hooks {
        std::function<SummaryRows()> summaryRows;
        // Serves the records of a run; when empty they are read from the
        // open database as one stream.
        RecordLoader loadRecord;
        std::function<void()> printerSetup;
        // Screen output is ready: the output viewer shows it.
        std::function<void(const QString& text)> showText;
        // Asks which printer to use; false when the user cancelled. The
        // default is Qt's print dialog ("Print to PDF" needs no printer).
        std::function<bool(QPrinter& printer)> choosePrinter;
        // A run ended and the dialog closes: the status text it left, which
        // the frame keeps over its child windows' own on reactivation.
        std::function<void(const QString& status)> runEnded;
    };

    OutputOptionsDialog(Session& session, QPrinter& printer, Hooks hooks,
                        QWidget* parent = nullptr);

    // Shows the dialog modally; preset chooses the output type first.
    void Open(std::optional<OutputType> preset = std::nullopt);
    // The dialog's state brought up to date, as when it is shown.
    void Refresh();

    // 0 OK, 1 Cancel, 2 Printer Setup.
    void cmdPrint_Click(int index);
    // The print preview over the same pages, and a PDF file without a printer.
    void ShowPreview();
    void ExportPdf();
    // Draws the chosen records on printer (the preview's pages).
    OutputResult PrintTo(QPrinter& printer);

    OutputOptionsController& Controller() { return m_controller; }

private:
    void Build();
    void TypeChosen(int type);
    void ShowTemplates();
    void ShowFields();
    void UpdateEnabled();
    void Take();
    void AfterRun(const OutputResult& result);

    Session& m_session;
    QPrinter& m_printer;
    Hooks m_hooks;
    OutputOptionsController m_controller;
    QButtonGroup* m_types = nullptr;
    QButtonGroup* m_records = nullptr;
    QListWidget* m_fields = nullptr;
    QListWidget* m_pseudonyms = nullptr;
    QListWidget* m_templates = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QComboBox* m_delimiter = nullptr;
    QCheckBox* m_useQuotes = nullptr;
    QCheckBox* m_replaceQuotes = nullptr;
    QCheckBox* m_removeCrLf = nullptr;
    QCheckBox* m_protectFormulas = nullptr;
    QCheckBox* m_rfc4180 = nullptr;
    QCheckBox* m_fieldNames = nullptr;
    QCheckBox* m_pagePerRecord = nullptr;
    QCheckBox* m_keepWhole = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_pdf = nullptr;
    bool m_filling = false;
};
