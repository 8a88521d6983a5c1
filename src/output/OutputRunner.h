#pragma once

#include "output/FieldAnonymiser.h"
#include "output/StatisticsReport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Session;

// The targets of an output run, numbered as the Output Options dialog
// numbers its choices.
enum class OutputType {
    Screen = 0,
    Printer = 1,
    HtmlFile = 2,
    TextFile = 3,
    Clipboard = 4,
    DelimitedFile = 5,
    StatisticsReport = 6
};

// What the printer target needs from the page renderer; the runner calls it
// and knows nothing of pages or fonts.
class PageOutput {
public:
    virtual ~PageOutput() = default;
    // Draws the heading template and prepares the document.
    virtual bool Begin(const QString& headingTemplatePath, const QString& recordTemplatePath) = 0;
    // Draws the record in the session's tables; newPage starts it on a new
    // page, keepWhole moves it to a new page when that keeps it on one.
    virtual bool Record(bool newPage, bool keepWhole) = 0;
    // Ends the document; false when it could not be finished.
    virtual bool End() = 0;
    // Why Begin, Record or End failed, when the system said.
    virtual QString Error() const { return {}; }
};

// Loads the record with this FormID into session.Tables; false when it
// could not (having said why).
using RecordLoader = std::function<bool(qint32 formId)>;

// The From and To texts of the ID-range choice, as typed.
struct IdRangeText {
    QString from;
    QString to;
};

struct OutputRequest {
    OutputType type = OutputType::Screen;
    // The records to output, in output order (the caller resolves the
    // user's choice of rows); with idRange set, the records of the list whose
    // FormID lies in the range are output in ascending FormID order.
    QList<qint32> formIds;
    std::optional<IdRangeText> idRange;
    // Instead of formIds: every record of the open database in FormID order
    // (with idRange, those in the range), streamed without listing them
    // first. Only for the run that reads from the database itself.
    bool wholeDatabase = false;
    // False when the record summary is empty: "No records selected".
    bool summaryHasRecords = true;
    // The template chosen in the dialog (file name); serves the printer.
    QString templateFileName;
    // Delimited file options.
    QString delimiterText = QStringLiteral("Comma");
    bool useQuotes = false;
    bool replaceQuotes = false;
    bool removeLineBreaks = false;
    // "Protect spreadsheet formulas", "RFC 4180 quoting" and "Field names as
    // the first line" (written only into a new or empty file, so appending
    // to an export does not put names between records).
    bool protectFormulas = false;
    bool rfc4180Quoting = false;
    bool fieldNamesFirstLine = false;
    // Printer options.
    bool newPagePerRecord = false;
    bool keepRecordsWhole = true;
    PageOutput* printer = nullptr;
    // Fields written as their pseudonyms (left out fields are those not
    // ticked in the output field list).
    FieldAnonymiser pseudonyms;
    // Screen output: brings the output viewer to the front with its text
    // emptied, once the run is under way.
    std::function<void()> showViewer;
    // The statistics report: the fields it counts (none: "no field is
    // ticked"), its title, and who draws its charts.
    QStringList reportFields;
    QString reportTitle;
    ChartSvgMaker chartSvg;
};

struct OutputResult {
    // The run went to its end (cancelled runs included); false when it
    // stopped before starting or took the error path.
    bool completed = false;
    int count = 0;
    QString fileName;
    // The output got under way (a file or the printer was being written);
    // false when a check or a question stopped it first.
    bool started = false;
    // Cancel was pressed in the progress dialog.
    bool cancelled = false;
};

// Runs an output: record range checks, file choice and the append or
// overwrite question, the heading, every record with progress and cancel,
// the closing part, and the completion status text. Screen output leaves
// its text in session.Output.ViewerText. The record in memory and the
// viewer's cursor are as they were before the run.
OutputResult RunOutput(Session& session, const OutputRequest& request, const RecordLoader& load);

// The same run reading its records from the open database as one stream
// (RecordStream): a record deleted since the list was made is skipped with
// the reader's message.
OutputResult RunOutput(Session& session, const OutputRequest& request);

// Appends the record's text ("Default_dat.rpt") and an empty line to the
// file; the record viewer's save-to-text command.
bool SaveToTextFile(Session& session, const QString& path);
