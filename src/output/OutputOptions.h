#pragma once

#include "output/OutputRunner.h"

#include <QList>
#include <QString>
#include <optional>
#include <vector>

class Session;

// The summary's rows as an output run sees them.
struct SummaryRows {
    std::vector<qint64> ids;      // every row, in order
    std::vector<qint64> selected; // the rows selected in the grid, in row order
    std::optional<qint64> current;
    // Whether each header column (record number, name, notes, date,
    // source) is shown in the summary.
    QList<bool> headerShown;
};

// The Output Options dialog without its window: output type, template list,
// field ticks, records, title, delimited and printer options, and OK. The
// dialog is hidden between uses, so its settings last for the whole run.
class OutputOptionsController {
public:
    enum Records { kSelected = 0, kAll = 1, kIdRange = 2, kCurrentOnly = 3 };

    struct TemplateItem {
        QString name;
        int number = -1; // in the template list
    };
    struct FieldItem {
        QString label;
        bool ticked = true;
    };

    explicit OutputOptionsController(Session& session);

    // Form_Activate: the template list for the type, the field list afresh.
    void Activate();
    // optPrintTarget_Click.
    void SetType(OutputType type);
    OutputType Type() const { return m_type; }
    bool DelimitedOptionsEnabled() const { return m_type == OutputType::DelimitedFile; }
    bool PageOptionsEnabled() const { return m_type == OutputType::Printer; }

    const QList<TemplateItem>& Templates() const { return m_templates; }
    int ChosenTemplate() const { return m_chosen; }
    // lstTemplates_Click: row of Templates(), or -1.
    void ChooseTemplate(int row);
    QString Description() const;

    QList<FieldItem> Fields() const;
    void SetFieldTicked(int item, bool ticked);
    // Whether a field of Fields() is written as its pseudonym (made with
    // the database's key); the choice lasts for the whole run, by field.
    bool FieldPseudonymised(int item) const;
    void SetFieldPseudonymised(int item, bool on);
    void SelectAllFields(bool ticked);
    // "Fields shown in the summary": ticks the header fields of the columns
    // rows shows and the summary's field columns, and no others.
    void TickSummaryFields(const SummaryRows& rows);

    void SetTitle(const QString& title);

    // The delimited-file choices beyond the quotes and line breaks, kept in
    // the session; the formula protection is remembered in the settings file.
    bool ProtectFormulas() const;
    void SetProtectFormulas(bool on);
    // "Keep each record on one page where it fits", remembered in the
    // settings file like the formula protection.
    bool KeepRecordsWhole() const;
    void SetKeepRecordsWhole(bool on);
    bool Rfc4180Quoting() const;
    void SetRfc4180Quoting(bool on);
    bool FieldNamesFirstLine() const;
    void SetFieldNamesFirstLine(bool on);

    Records records = kCurrentOnly;
    QString txtFrom = QStringLiteral("1");
    QString txtTo = QStringLiteral("1");
    QString delimiter = QStringLiteral("Comma");
    bool useQuotes = false;
    bool replaceQuotes = false;
    bool removeLineBreaks = false;
    bool newPagePerRecord = false;
    // Screen output: the output viewer to the front, emptied (see OutputRequest).
    std::function<void()> showViewer;
    // The statistics report's charts (see OutputRequest).
    ChartSvgMaker chartSvg;

    // OK: fills the session's RecordSelection and runs the output. printer
    // serves the printer target (and previews and PDF files). Without load
    // the records are read from the open database as one stream.
    OutputResult Run(const SummaryRows& rows, PageOutput* printer, const RecordLoader& load);
    // Whether the dialog goes away after this result: it stays for a bad
    // range or a cancelled file choice.
    static bool ClosesDialog(const OutputResult& result) { return result.started; }

private:
    void FillTemplates();

    Session& m_session;
    OutputType m_type = OutputType::Screen;
    std::optional<OutputType> m_templatesFor;
    QList<TemplateItem> m_templates;
    int m_chosen = -1;
    QString m_lastTemplateFile;
    QStringList m_pseudonymised; // output field keys
};
