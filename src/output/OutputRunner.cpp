#include "output/OutputRunner.h"
#include "platform/Logging.h"

#include "session/RecordSelection.h"
#include "platform/ErrorText.h"

#include "session/Session.h"
#include "database/RawRecord.h"
#include "database/SessionChangeLog.h"
#include "database/RecordStream.h"
#include "output/DelimitedLine.h"
#include "output/HtmlRenderer.h"
#include "output/OutputFile.h"
#include "session/OutputState.h"
#include "output/TemplateFile.h"
#include "output/TextRenderer.h"
#include "platform/Numbers.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <memory>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString FixedTemplate(const Session& session, const QString& name)
{
    const QString found = session.Folders.FindFile(name);
    return found.isEmpty() ? session.Folders.ProgramFile(name) : found;
}

bool IsFileType(OutputType type)
{
    return type == OutputType::HtmlFile || type == OutputType::TextFile ||
           type == OutputType::DelimitedFile || type == OutputType::StatisticsReport;
}

class Run {
public:
    // Without load the records are streamed from the open database.
    Run(Session& session, const OutputRequest& request, const RecordLoader* load)
        : m_session(session), m_ui(session.ui), m_request(request), m_load(load),
          m_state(session.Output)
    {}

    OutputResult Go()
    {
        QList<qint32> ids = m_request.formIds;
        m_whole = m_request.wholeDatabase && !m_load;
        if (m_request.idRange && !RangeIds(&ids))
            return m_result;
        if (m_request.type == OutputType::StatisticsReport && m_request.reportFields.isEmpty()) {
            m_ui.MessageBox(QStringLiteral("Please tick the fields the statistics report counts"),
                            MessageIcon::Exclamation);
            return m_result;
        }
        if (IsFileType(m_request.type) && !ChooseFile())
            return m_result;
        if (m_request.type == OutputType::StatisticsReport)
            return Report(ids);
        BusyPointer busy(m_ui);
        m_ui.Yield();
        m_result.started = true;
        if (!Prologue())
            return m_result;
        bool any = true;
        if (!m_request.summaryHasRecords) {
            m_ui.MessageBox(QStringLiteral("No records selected"), MessageIcon::Information);
            ids.clear();
            any = false;
        }
        if (!(m_load ? Records(ids) : Stream(ids, any)))
            return m_result;
        if (!Epilogue())
            return m_result;
        Finish();
        return m_result;
    }

private:
    // The statistics report counts the records in one read of the tables
    // rather than loading each record.
    OutputResult Report(const QList<qint32>& ids)
    {
        BusyPointer busy(m_ui);
        m_result.started = true;
        if (!m_session.Database.CurrentDatabase) {
            ErrorPath(QStringLiteral("No database is open."));
            return m_result;
        }
        if (!m_request.summaryHasRecords) {
            m_ui.MessageBox(QStringLiteral("No records selected"), MessageIcon::Information);
            return m_result;
        }
        StatisticsScope scope;
        if (!m_whole)
            scope.ids.emplace(ids.begin(), ids.end());
        if (m_request.idRange) {
            scope.from = m_from;
            scope.to = m_to;
        }
        const SummaryStatisticsResult statistics =
            RecordStatistics(m_session, m_request.reportFields, scope);
        if (!statistics.ok) {
            ErrorPath();
            return m_result;
        }
        if (!OpenFile(true))
            return m_result;
        m_file.Write(StatisticsReportHtml(statistics, m_session.RegionalSettings,
                                          m_request.chartSvg, m_request.reportTitle));
        m_result.count = static_cast<int>(statistics.records);
        Finish();
        return m_result;
    }

    void ErrorPath(const QString& systemError = QString())
    {
        if (m_ui.ProgressVisible())
            m_ui.CloseProgress();
        if (!systemError.isEmpty())
            m_ui.MessageBox(QStringLiteral("Output Error: ") + systemError,
                            MessageIcon::Exclamation);
        // A file keeps its whole records (an HTML page only whole, so not at
        // all) and the count says what it holds.
        if (m_file.IsOpen()) {
            const QString problem = m_file.Abandon(m_request.type != OutputType::HtmlFile &&
                                                   m_request.type != OutputType::StatisticsReport);
            if (!problem.isEmpty())
                m_ui.MessageBox(QStringLiteral("Output Error: ") + problem,
                                MessageIcon::Exclamation);
        }
        if (m_fileOpened)
            m_result.count = m_file.WholeRecords();
        m_ui.SetStatusText(QString::number(m_result.count) + QStringLiteral(" Record(s) output"));
        if (m_clipboardStarted)
            m_ui.SetClipboardText(m_clipboard);
        if (m_request.type == OutputType::Printer && m_request.printer && m_printing) {
            m_printing = false;
            m_request.printer->End();
        }
        m_result.completed = false;
    }

    bool RangeIds(QList<qint32>* ids)
    {
        const IdRangeCheck range = CheckIdRange(m_session.RegionalSettings, m_request.idRange->from,
                                                m_request.idRange->to);
        if (range.result == IdRangeCheck::NotANumber) {
            ErrorPath(QStringLiteral("Type mismatch: '") + range.notANumber +
                      QStringLiteral("' is not a whole number"));
            return false;
        }
        if (range.result != IdRangeCheck::Ok) {
            m_ui.MessageBox(range.Message(), MessageIcon::Exclamation);
            return false;
        }
        const std::optional<qint32> from = range.from;
        const std::optional<qint32> to = range.to;
        m_from = *from;
        m_to = *to;
        if (m_whole)
            return true;
        QList<qint32> inRange;
        for (const qint32 id : std::as_const(*ids)) {
            if (id >= *from && id <= *to)
                inRange.append(id);
        }
        std::sort(inRange.begin(), inRange.end());
        inRange.erase(std::unique(inRange.begin(), inRange.end()), inRange.end());
        *ids = inRange;
        return true;
    }

    bool ChooseFile()
    {
        const bool html = m_request.type == OutputType::HtmlFile ||
                          m_request.type == OutputType::StatisticsReport;
        FileDialogRequest dialog;
        dialog.title = QStringLiteral("Save record(s) to file...");
        dialog.filters = ParseFileFilters(QStringLiteral("All Files (*.*)|*.*|") +
                                          (html ? QStringLiteral("HTML Files (*.htm)|*.htm|")
                                                : QStringLiteral("Text Files (*.txt)|*.txt|")));
        dialog.proposedName = html ? QStringLiteral("*.htm") : QStringLiteral("*.txt");
        dialog.defaultExtension = html ? QStringLiteral("htm") : QStringLiteral("txt");
        const FileDialogResult chosen = m_ui.SaveFileDialog(dialog);
        if (chosen.cancelled || chosen.paths.isEmpty())
            return false;
        m_path = chosen.paths.first();
        m_result.fileName = m_path;
        if (QFileInfo::exists(m_path)) {
            const QString question =
                html ? QStringLiteral("File ") + m_path + QStringLiteral(" already exists.") +
                           kCrLf + QStringLiteral("Do you wish to overwrite this file?")
                     : QStringLiteral("File ") + m_path + QStringLiteral(" already exists.") +
                           kCrLf +
                           QStringLiteral("This operation will APPEND records to this file, "
                                          "preserving existing records.") +
                           kCrLf +
                           QStringLiteral("To overwrite this file, delete it first and try "
                                          "again. Do you wish to continue?");
            if (m_ui.MessageBox(question, MessageIcon::Question, MessageButtons::YesNo) !=
                MessageAnswer::Yes) {
                m_ui.SetStatusText(QStringLiteral("Save cancelled"));
                return false;
            }
        }
        return true;
    }

    // Text and delimited output is appended to a file the user chose to
    // append to; an HTML page replaces it.
    bool OpenFile(bool replace)
    {
        if (!m_file.Open(m_path, !replace && QFileInfo::exists(m_path))) {
            ErrorPath(m_file.Error());
            return false;
        }
        m_fileOpened = true;
        return true;
    }

    bool WriteText(const QString& text)
    {
        m_file.Write(text);
        return true;
    }

    // The heading text of the text targets; a missing or unreadable heading
    // has been reported and leaves the output without one.
    QString Heading()
    {
        if (RenderTextTemplate(m_session, FixedTemplate(m_session, QStringLiteral("Ttop.rpt"))))
            return m_state.OutputText;
        return {};
    }

    bool Prologue()
    {
        switch (m_request.type) {
        case OutputType::HtmlFile:
            if (!OpenFile(true))
                return false;
            if (!RenderHtmlTemplate(m_session, FixedTemplate(m_session, QStringLiteral("htop.rpt")),
                                    m_file)) {
                ErrorPath();
                return false;
            }
            return true;
        case OutputType::TextFile:
            return OpenFile(false) && WriteText(Heading());
        case OutputType::Screen:
            if (m_request.showViewer)
                m_request.showViewer();
            m_state.ViewerText = Heading();
            return true;
        case OutputType::Printer:
            if (!m_request.printer) {
                ErrorPath(QStringLiteral("No printer is available"));
                return false;
            }
            m_printing = true;
            if (!m_request.printer->Begin(
                    FixedTemplate(m_session, QStringLiteral("Ttop.rpt")),
                    m_request.templateFileName.isEmpty()
                        ? QString()
                        : FixedTemplate(m_session, m_request.templateFileName))) {
                ErrorPath(m_request.printer->Error());
                return false;
            }
            return true;
        case OutputType::Clipboard:
            m_ui.SetClipboardText(QString());
            m_clipboard = Heading();
            m_ui.SetClipboardText(m_clipboard);
            m_clipboardStarted = true;
            return true;
        case OutputType::DelimitedFile:
            m_delimiter = DelimiterFromName(m_request.delimiterText);
            if (m_request.delimiterText.isEmpty()) {
                m_ui.MessageBox(
                    QStringLiteral("Please select a delimiter to use for separating fields"),
                    MessageIcon::Exclamation);
                return false;
            }
            if (!OpenFile(false))
                return false;
            if (m_request.fieldNamesFirstLine && m_file.SizeAtOpen() == 0) {
                BuildDelimitedHeader(m_session, DelimitedChoices(), m_delimiter);
                return WriteText(m_state.OutputText + kCrLf);
            }
            return true;
        case OutputType::StatisticsReport:
            break; // written by Report, not record by record
        }
        return false;
    }

    DelimitedOptions DelimitedChoices() const
    {
        DelimitedOptions options;
        options.useQuotes = m_request.useQuotes;
        options.removeLineBreaks = m_request.removeLineBreaks;
        options.replaceQuotes = m_request.replaceQuotes;
        options.protectFormulas = m_request.protectFormulas;
        options.rfc4180Quoting = m_request.rfc4180Quoting;
        options.fieldNamesFirstLine = m_request.fieldNamesFirstLine;
        return options;
    }

    bool Produce(int counter)
    {
        if (!m_request.pseudonyms.IsEmpty())
            m_request.pseudonyms.Apply(m_session.Tables);
        switch (m_request.type) {
        case OutputType::HtmlFile:
            return RecordTemplate(QStringLiteral("Defaulthtm.rpt")) &&
                   RenderHtmlBody(m_session, m_recordBody->text, m_file) && EndRecord();
        case OutputType::TextFile:
            if (!RecordTemplate(QStringLiteral("Default_Dat.rpt")) ||
                !RenderTextBody(m_session, m_recordBody->text))
                return false;
            m_file.Write(m_state.OutputText);
            return EndRecord();
        case OutputType::Screen:
            if (!RecordTemplate(QStringLiteral("Default_dat.rpt")) ||
                !RenderTextBody(m_session, m_recordBody->text))
                return false;
            m_state.ViewerText += m_state.OutputText;
            return true;
        case OutputType::Printer:
            return m_request.printer->Record(m_request.newPagePerRecord && counter > 0,
                                             m_request.keepRecordsWhole) ||
                   Fail(m_request.printer->Error());
        case OutputType::Clipboard:
            if (!RecordTemplate(QStringLiteral("Default_dat.rpt")) ||
                !RenderTextBody(m_session, m_recordBody->text))
                return false;
            // Handed to the clipboard once, at the end or on an error: setting
            // the whole text again after every record costs its square.
            m_clipboard += m_state.OutputText;
            return true;
        case OutputType::DelimitedFile:
            Delimited().Write(m_session.Tables, m_state.OutputText);
            m_file.Write(m_state.OutputText, kCrLf);
            return EndRecord();
        case OutputType::StatisticsReport:
            break;
        }
        return false;
    }

    DelimitedLineWriter& Delimited()
    {
        if (!m_delimited)
            m_delimited.emplace(m_state, DelimitedChoices(), m_delimiter);
        return *m_delimited;
    }

    // The delimited line of a record read raw.
    bool ProduceLine(const RawRecord& record)
    {
        m_delimited->Write(record, m_line);
        m_line += "\r\n";
        m_file.Write(m_line);
        return EndRecord();
    }

    bool EndRecord() { return m_file.EndRecord() || Fail(m_file.Error()); }

    // The record template is read once per run, not once per record.
    bool RecordTemplate(const QString& name)
    {
        if (!m_recordBody)
            m_recordBody = ReadTemplateBody(FixedTemplate(m_session, name));
        if (!m_recordBody->ok) {
            m_ui.MessageBox(QStringLiteral("Print error: ") + m_recordBody->error,
                            MessageIcon::Exclamation);
            return false;
        }
        return true;
    }

    bool Fail(const QString& error)
    {
        m_pendingError = error;
        return false;
    }

    bool Records(const QList<qint32>& ids)
    {
        const int total = static_cast<int>(ids.size());
        ProgressRequest progress;
        progress.caption = QStringLiteral("Exporting records...");
        progress.minimum = 0;
        progress.maximum = total;
        progress.value = 0;
        m_ui.ShowProgress(progress);
        for (int counter = 0; counter < total; ++counter) {
            if (m_ui.CancelRequested()) {
                m_ui.ClearCancelRequested();
                m_result.cancelled = true;
                break;
            }
            if (!(*m_load)(ids[counter]) || !Produce(counter)) {
                ErrorPath(m_pendingError);
                return false;
            }
            m_ui.UpdateProgressCount(counter + 1, total);
            m_ui.Yield();
            ++m_result.count;
        }
        return true;
    }

    // The records from the open database as one stream: the chosen list, or
    // every record (of the ID range) in FormID order.
    bool Stream(const QList<qint32>& ids, bool any)
    {
        qint64 total = ids.size();
        if (m_whole) {
            total = 0;
            if (any) {
                try {
                    if (!m_session.Database.CurrentDatabase)
                        throw std::runtime_error("No database is open.");
                    SQLite::Statement count(m_session.Database.CurrentDatabase->Db(),
                                            "SELECT count(*) FROM \"Forms\" WHERE \"FormID\" "
                                            "BETWEEN ? AND ?");
                    count.bind(1, static_cast<int64_t>(m_from));
                    count.bind(2, static_cast<int64_t>(m_to));
                    count.executeStep();
                    total = count.getColumn(0).getInt64();
                } catch (const std::exception& e) {
                    ErrorPath(ErrorText(e));
                    return false;
                }
            }
        }
        ProgressRequest progress;
        progress.caption = QStringLiteral("Exporting records...");
        progress.minimum = 0;
        progress.maximum = static_cast<int>(total);
        progress.value = 0;
        m_ui.ShowProgress(progress);
        if (total == 0)
            return true;
        int counter = 0;
        bool failed = false;
        const auto step = [&](const auto& produce) {
            if (m_ui.CancelRequested()) {
                m_ui.ClearCancelRequested();
                return false;
            }
            if (!produce()) {
                failed = true;
                return false;
            }
            ++counter;
            m_ui.UpdateProgressCount(counter, total);
            m_ui.Yield();
            ++m_result.count;
            return true;
        };
        RecordStream stream(m_session);
        const auto read = [&](const auto& each) {
            if (m_whole)
                return m_request.idRange ? stream.ReadRange(m_from, m_to, each)
                                         : stream.ReadAll(each);
            const std::vector<qint64> list(ids.begin(), ids.end());
            return stream.ReadList(list, each);
        };
        StreamEnd end;
        // Delimited lines are written from the stored bytes, without the
        // record tables, wherever that gives the same bytes.
        if (m_request.type == OutputType::DelimitedFile && Delimited().WritesBytes() &&
            m_request.pseudonyms.IsEmpty()) {
            end = read(RawRecordVisitor([&](const RawRecord& record) {
                return step([&] { return ProduceLine(record); });
            }));
        } else {
            end =
                read(RecordVisitor([&](qint64) { return step([&] { return Produce(counter); }); }));
        }
        if (failed || end == StreamEnd::Failed) {
            ErrorPath(m_pendingError);
            return false;
        }
        return true;
    }

    bool Epilogue()
    {
        if (m_request.type == OutputType::HtmlFile &&
            !RenderHtmlTemplate(m_session, FixedTemplate(m_session, QStringLiteral("hbot.rpt")),
                                m_file)) {
            ErrorPath();
            return false;
        }
        return true;
    }

    void Finish()
    {
        const QString count = QString::number(m_result.count);
        QString status;
        switch (m_request.type) {
        case OutputType::HtmlFile:
        case OutputType::TextFile:
        case OutputType::DelimitedFile:
        case OutputType::StatisticsReport:
            if (!m_file.Commit()) {
                ErrorPath(m_file.Error());
                return;
            }
            status =
                (m_request.type == OutputType::StatisticsReport ? QStringLiteral("Statistics of ")
                                                                : QString()) +
                count + QStringLiteral(" record(s) saved to ") + m_path;
            break;
        case OutputType::Screen:
            status = count + QStringLiteral(" record(s) displayed");
            break;
        case OutputType::Printer:
            m_printing = false;
            if (!m_request.printer->End()) {
                ErrorPath(m_request.printer->Error());
                return;
            }
            // A stopped print run says so rather than look finished.
            status = m_result.cancelled ? QStringLiteral("Printing cancelled: ") + count +
                                              QStringLiteral(" record(s) printed")
                                        : count + QStringLiteral(" record(s) printed");
            break;
        case OutputType::Clipboard:
            status = count + QStringLiteral(" record(s) copied to clipboard");
            break;
        }
        if (m_clipboardStarted)
            m_ui.SetClipboardText(m_clipboard);
        m_ui.SetStatusText(status);
        m_ui.CloseProgress();
        m_result.completed = true;
    }

    Session& m_session;
    Ui& m_ui;
    const OutputRequest& m_request;
    const RecordLoader* m_load;
    OutputState& m_state;
    OutputResult m_result;
    OutputFile m_file;
    QString m_path;
    QString m_delimiter;
    QString m_clipboard;
    QString m_pendingError;
    bool m_printing = false;
    bool m_fileOpened = false;
    bool m_clipboardStarted = false;
    bool m_whole = false;
    qint64 m_from = 1;
    qint64 m_to = std::numeric_limits<qint64>::max();
    std::optional<TemplateBody> m_recordBody;
    std::optional<DelimitedLineWriter> m_delimited;
    std::string m_line;
};

} // namespace

namespace {

// A run reads every record it outputs into the one record in memory and
// may move the viewer's cursor; both are put back afterwards, so the viewer
// never takes the last record output for the one it shows.
class RecordOnScreen {
public:
    explicit RecordOnScreen(Session& session)
        : m_session(session), m_tables(session.Tables),
          m_position(session.Database.RecordCursor.Bookmark())
    {}
    ~RecordOnScreen()
    {
        m_session.Tables = m_tables;
        if (m_position)
            m_session.Database.RecordCursor.Seek(*m_position);
        // A loader that read records as the viewer does has shown them.
        if (shown)
            emit m_session.Events.RecordLoaded();
    }
    bool shown = false;

private:
    Session& m_session;
    const RecordTables m_tables;
    const std::optional<qint64> m_position;
};

} // namespace

namespace {

const char* FileKindName(OutputType type)
{
    switch (type) {
    case OutputType::HtmlFile:
        return "HTML file";
    case OutputType::TextFile:
        return "text file";
    case OutputType::DelimitedFile:
        return "delimited file";
    case OutputType::StatisticsReport:
        return "statistics report";
    default:
        return nullptr;
    }
}

// A run that wrote records into a file gets its change-log entry: what
// left the program, and where to.
void LogFileOutput(Session& session, const OutputRequest& request, const OutputResult& result)
{
    const char* kind = FileKindName(request.type);
    if (!kind || !result.started || result.fileName.isEmpty() || result.count <= 0)
        return;
    // The list is what went out only when the run went through all of it.
    const bool whole = result.completed && !result.cancelled && !request.wholeDatabase &&
                       !request.idRange && result.count == request.formIds.size();
    std::vector<qint64> ids;
    if (whole)
        ids.assign(request.formIds.begin(), request.formIds.end());
    LogChangeToOpenDatabase(
        session, ChangeKind::Export,
        QStringLiteral("%1 record(s) to %2 %3%4")
            .arg(result.count)
            .arg(QLatin1String(kind), QFileInfo(result.fileName).absoluteFilePath(),
                 result.completed && !result.cancelled ? QString() : QStringLiteral(" (stopped)")),
        whole ? ChangeLogRecords(std::move(ids))
              : QStringLiteral("%1 record(s)").arg(result.count));
}

OutputResult Logged(Session& session, const OutputRequest& request, qint64 started,
                    const OutputResult& result)
{
    LogFileOutput(session, request, result);
    qCInfo(lcOutput, "output type %d: %d record(s) in %lld ms%s", static_cast<int>(request.type),
           result.count, static_cast<long long>(session.Now.ElapsedMs() - started),
           result.cancelled   ? ", cancelled"
           : result.completed ? ""
                              : ", stopped");
    return result;
}

} // namespace

OutputResult RunOutput(Session& session, const OutputRequest& request, const RecordLoader& load)
{
    RecordOnScreen screen(session);
    const RecordLoader loading = [&](qint32 formId) {
        screen.shown = true;
        return load(formId);
    };
    const qint64 started = session.Now.ElapsedMs();
    return Logged(session, request, started, Run(session, request, &loading).Go());
}

OutputResult RunOutput(Session& session, const OutputRequest& request)
{
    RecordOnScreen screen(session);
    const qint64 started = session.Now.ElapsedMs();
    return Logged(session, request, started, Run(session, request, nullptr).Go());
}

bool SaveToTextFile(Session& session, const QString& path)
{
    OutputFile file;
    QString error;
    if (file.Open(path, QFileInfo::exists(path))) {
        if (!RenderTextTemplate(session,
                                FixedTemplate(session, QStringLiteral("default_dat.rpt")))) {
            file.Abandon(false);
            return false;
        }
        file.Write(session.Output.OutputText, kCrLf + kCrLf);
        if (file.EndRecord() && file.Commit()) {
            const QString id = session.Tables.Header(RecordTables::FormIdColumn);
            LogChangeToOpenDatabase(session, ChangeKind::Export,
                                    QStringLiteral("1 record(s) to text file %1")
                                        .arg(QFileInfo(path).absoluteFilePath()),
                                    id.isEmpty() ? QStringLiteral("unsaved record") : id);
            return true;
        }
        error = file.Error();
        if (const QString problem = file.Abandon(true); !problem.isEmpty())
            error += QStringLiteral("; ") + problem;
    } else {
        error = file.Error();
    }
    session.ui.MessageBox(QStringLiteral("Error saving to file: ") + error,
                          MessageIcon::Exclamation);
    return false;
}
