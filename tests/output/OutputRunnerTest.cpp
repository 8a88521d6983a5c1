#include "OutputFixture.h"

#include "output/OutputFieldList.h"
#include "output/OutputRunner.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>

namespace {

// Checks that every element opened is closed in order (void elements
// aside), and returns the element names in the order they open.
QStringList CheckElementNesting(const QString& html, QString* problem)
{
    static const QRegularExpression tag(QStringLiteral("<(/?)([A-Za-z][A-Za-z0-9]*)[^>]*>"));
    static const QStringList kVoid{QStringLiteral("meta"), QStringLiteral("br"),
                                   QStringLiteral("link"), QStringLiteral("hr")};
    QStringList open;
    QStringList order;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const QString name = m.captured(2).toLower();
        if (kVoid.contains(name))
            continue;
        if (m.captured(1).isEmpty()) {
            open.append(name);
            order.append(name);
        } else if (open.isEmpty() || open.takeLast() != name) {
            *problem = QStringLiteral("misplaced </%1>").arg(name);
            return order;
        }
    }
    if (!open.isEmpty())
        *problem = QStringLiteral("unclosed <%1>").arg(open.join(QStringLiteral("><")));
    return order;
}

} // namespace

class OutputRunnerTest : public OutputFixture {
protected:
    OutputRunnerTest()
        : program(ui, ProgramFolders(QStringLiteral(TALLOWMERE_PROGRAM_DIR), dir.Path()),
                  Regional(TestLocale()))
    {
        records[3] = {
            {QStringLiteral("3"), QStringLiteral("Ann"), QString(), QStringLiteral("1/5/1998")},
            {{QStringLiteral("Email"), QStringLiteral("ann@example.org")},
             {QStringLiteral("Born"), QStringLiteral("1981-06-24")}}};
        records[8] = {
            {QStringLiteral("8"), QStringLiteral("Bo <b>&</b>"), QStringLiteral("two\r\nlines")},
            {{QStringLiteral("Email"), QStringLiteral("bo@example.org")},
             {QStringLiteral("Comment"), QStringLiteral("say \"hi\"")}}};
        records[12] = {{QStringLiteral("12"), QStringLiteral("Cy")}, {}};
        FillOutputFieldList(
            program.Output,
            {{QStringLiteral("Forms.FormID"), QStringLiteral("1.0"), QStringLiteral("Record ID")},
             {QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"),
              QStringLiteral("Record Name")}},
            QStringLiteral("Email\r\nComment\r\n"));
    }

    RecordLoader Loader()
    {
        return [this](qint32 id) {
            loaded.append(id);
            if (!records.contains(id))
                return false;
            const auto& r = records[id];
            RecordTables& t = program.Tables;
            t.ClearRecordTables();
            for (int c = 0; c < r.first.size(); ++c)
                t.PutArrayElement(1, c, r.first[c]);
            for (int row = 0; row < r.second.size(); ++row) {
                t.CurrentRow[2] = static_cast<qint16>(row);
                t.PutArrayElement(2, 1, r.second[row].first);
                t.PutArrayElement(2, 2, r.second[row].second);
            }
            t.CurrentRow[2] = 0;
            return true;
        };
    }

    OutputResult Run(OutputType type, QList<qint32> ids = {3, 8, 12})
    {
        request.type = type;
        request.formIds = ids;
        return RunOutput(program, request, Loader());
    }

    QString ReadText(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    Session program;
    QMap<qint32, QPair<QStringList, QList<std::pair<QString, QString>>>> records;
    QList<qint32> loaded;
    OutputRequest request;
};

TEST_F(OutputRunnerTest, TextFileWithHeadingAndRecords)
{
    const QString path = dir.File(QStringLiteral("out.txt"));
    ui.QueueFiles({path});
    program.Output.ReportTitle = QStringLiteral("Members");
    ASSERT_TRUE(Loader()(8)); // the record on screen
    loaded.clear();
    const OutputResult result = Run(OutputType::TextFile);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.count, 3);
    ASSERT_EQ(ui.saveRequests.size(), 1);
    const FileDialogRequest& dialog = ui.saveRequests[0];
    EXPECT_EQ(dialog.title, QStringLiteral("Save record(s) to file..."));
    EXPECT_EQ(dialog.filters,
              ParseFileFilters(QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|")));
    EXPECT_EQ(dialog.proposedName, QStringLiteral("*.txt"));
    EXPECT_EQ(dialog.defaultExtension, QStringLiteral("txt"));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) saved to ") + path);
    ASSERT_EQ(ui.progressShown.size(), 1);
    EXPECT_EQ(ui.progressShown[0].caption, QStringLiteral("Exporting records..."));
    EXPECT_EQ(ui.progressUpdates.last(), qMakePair(3, QStringLiteral("3/3")));
    EXPECT_FALSE(ui.ProgressVisible());
    EXPECT_EQ(ui.busyDepth, 0);

    const QString text = ReadText(path);
    const qsizetype title = text.indexOf(QStringLiteral("Members"));
    const qsizetype ann = text.indexOf(QStringLiteral("Ann"));
    const qsizetype bo = text.indexOf(QStringLiteral("bo@example.org"));
    const qsizetype cy = text.indexOf(QStringLiteral("Cy"));
    EXPECT_TRUE(title >= 0 && title < ann && ann < bo && bo < cy) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Jan 5, 1998")));
    EXPECT_TRUE(text.contains(QStringLiteral("Jun 24, 1981")));
    EXPECT_EQ(loaded, (QList<qint32>{3, 8, 12}));
    // The run read record 12 last, yet the record on screen is in memory.
    EXPECT_EQ(program.Tables.Header(0), QStringLiteral("8"));
    EXPECT_EQ(program.Tables.Field(0, 2), QStringLiteral("bo@example.org"));
}

TEST_F(OutputRunnerTest, ExistingTextFileAppendsOnlyAfterYes)
{
    const QString path = dir.Write(QStringLiteral("old.txt"), "earlier\r\n");
    ui.QueueFiles({path});
    ui.QueueAnswer(MessageAnswer::No);
    EXPECT_FALSE(Run(OutputType::TextFile).completed);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("File ") + path +
                  QStringLiteral(" already exists.\r\nThis operation will APPEND records to this "
                                 "file, preserving existing records.\r\nTo overwrite this file, "
                                 "delete it first and try again. Do you wish to continue?"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Save cancelled"));
    EXPECT_EQ(ReadText(path), QStringLiteral("earlier\r\n"));
    EXPECT_TRUE(loaded.isEmpty());

    ui.QueueFiles({path});
    ui.QueueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(Run(OutputType::TextFile, {3}).completed);
    const QString text = ReadText(path);
    EXPECT_TRUE(text.startsWith(QStringLiteral("earlier\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Ann")));
}

TEST_F(OutputRunnerTest, HtmlFileIsAValidEscapedPageAndReplacesAnOldFile)
{
    const QString path = dir.Write(QStringLiteral("page.htm"), "old content that must go");
    ui.QueueFiles({path});
    ui.QueueAnswer(MessageAnswer::Yes);
    program.Output.ReportTitle = QStringLiteral("Q&A <2024>");
    const OutputResult result = Run(OutputType::HtmlFile);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("File ") + path +
                  QStringLiteral(" already exists.\r\nDo you wish to overwrite this file?"));
    EXPECT_EQ(ui.saveRequests[0].proposedName, QStringLiteral("*.htm"));
    EXPECT_EQ(ui.saveRequests[0].defaultExtension, QStringLiteral("htm"));
    EXPECT_EQ(ui.saveRequests[0].filters[1].pattern, QStringLiteral("*.htm"));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) saved to ") + path);

    const QString html = ReadText(path);
    EXPECT_FALSE(html.contains(QStringLiteral("old content")));
    EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>\r\n")));
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("<title>Form records: Q&amp;A &lt;2024&gt;</title>")));
    EXPECT_TRUE(html.contains(QStringLiteral("Bo &lt;b&gt;&amp;&lt;/b&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("two<BR>lines")));
    EXPECT_TRUE(html.contains(QStringLiteral("Jun 24, 1981")));
    EXPECT_TRUE(html.contains(QStringLiteral("say &quot;hi&quot;")));
    EXPECT_FALSE(html.contains(QStringLiteral("<b>&</b>")));
    QString problem;
    const QStringList order = CheckElementNesting(html, &problem);
    EXPECT_TRUE(problem.isEmpty()) << qPrintable(problem);
    EXPECT_EQ(order.mid(0, 4), (QStringList{QStringLiteral("html"), QStringLiteral("head"),
                                            QStringLiteral("title"), QStringLiteral("style")}));
    EXPECT_EQ(order.count(QStringLiteral("table")), 3);
    EXPECT_TRUE(html.trimmed().endsWith(QStringLiteral("</html>")));
}

TEST_F(OutputRunnerTest, ScreenAndClipboardCollectHeadingAndRecordsInOrder)
{
    program.Output.ReportTitle = QStringLiteral("Heading");
    EXPECT_TRUE(Run(OutputType::Screen).completed);
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) displayed"));
    const QString screen = program.Output.ViewerText;
    EXPECT_TRUE(screen.indexOf(QStringLiteral("Heading")) < screen.indexOf(QStringLiteral("Ann")));
    EXPECT_TRUE(screen.indexOf(QStringLiteral("Ann")) < screen.indexOf(QStringLiteral("Cy")));
    EXPECT_TRUE(screen.contains(QStringLiteral("Jun 24, 1981")));

    ui.clipboard = QStringLiteral("stale");
    EXPECT_TRUE(Run(OutputType::Clipboard).completed);
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) copied to clipboard"));
    EXPECT_EQ(ui.clipboard, screen);
}

TEST_F(OutputRunnerTest, CancelStopsBeforeTheNextRecord)
{
    ui.CancelAfterUpdates(1);
    const OutputResult result = Run(OutputType::Screen);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.count, 1);
    EXPECT_EQ(loaded, QList<qint32>{3});
    EXPECT_EQ(ui.StatusText(), QStringLiteral("1 record(s) displayed"));
    EXPECT_FALSE(ui.CancelRequested());
}

TEST_F(OutputRunnerTest, DelimitedFileAndItsDelimiterCheck)
{
    const QString path = dir.File(QStringLiteral("data.txt"));
    ui.QueueFiles({path});
    request.delimiterText = QString();
    EXPECT_FALSE(Run(OutputType::DelimitedFile).completed);
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral(
                                     "Please select a delimiter to use for separating fields")});
    EXPECT_FALSE(QFile::exists(path));

    ui.QueueFiles({path});
    request.delimiterText = QStringLiteral("tab");
    request.useQuotes = true;
    request.replaceQuotes = true;
    request.removeLineBreaks = true;
    EXPECT_TRUE(Run(OutputType::DelimitedFile).completed);
    EXPECT_EQ(ReadText(path),
              QStringLiteral("\"3\"\t\"Ann\"\t\"ann@example.org\"\t\"\"\r\n"
                             "\"8\"\t\"Bo <b>&</b>\"\t\"bo@example.org\"\t\"say 'hi'\"\r\n"
                             "\"12\"\t\"Cy\"\t\"\"\t\"\"\r\n"));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) saved to ") + path);
}

TEST_F(OutputRunnerTest, DelimitedOptionsAndTheFieldNamesLineOnlyInANewFile)
{
    const QString path = dir.File(QStringLiteral("data.csv"));
    ui.QueueFiles({path});
    request.delimiterText = QStringLiteral("Comma");
    request.protectFormulas = true;
    request.rfc4180Quoting = true;
    request.fieldNamesFirstLine = true;
    ASSERT_TRUE(Run(OutputType::DelimitedFile).completed);
    const QString first = ReadText(path);
    const QStringList lines = first.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1], QStringLiteral("3,Ann,ann@example.org,"));
    EXPECT_EQ(lines[3], QStringLiteral("12,Cy,,"));
    EXPECT_EQ(lines[2], QStringLiteral("8,Bo <b>&</b>,bo@example.org,\"say \"\"hi\"\"\""));
    EXPECT_FALSE(lines[0].isEmpty());
    EXPECT_EQ(lines[0].count(QLatin1Char(',')), 3);

    // Appending to the file (after the question) adds records, not names.
    ui.QueueFiles({path});
    ui.QueueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(Run(OutputType::DelimitedFile).completed);
    EXPECT_EQ(ReadText(path), first + lines[1] + QStringLiteral("\r\n") + lines[2] +
                                  QStringLiteral("\r\n") + lines[3] + QStringLiteral("\r\n"));
}

TEST_F(OutputRunnerTest, IdRangeChecksAndOrder)
{
    request.idRange = IdRangeText{QStringLiteral("9"), QStringLiteral("4")};
    EXPECT_FALSE(Run(OutputType::Screen).completed);
    EXPECT_EQ(ui.messages.last().text,
              QStringLiteral("'From' value should be less than 'To' value"));
    request.idRange = IdRangeText{QStringLiteral("0"), QStringLiteral("4")};
    Run(OutputType::Screen);
    EXPECT_EQ(ui.messages.last().text,
              QStringLiteral("Please enter valid 'From' and 'To' values for Form ID"));
    request.idRange = IdRangeText{QStringLiteral("x1"), QStringLiteral("4")};
    Run(OutputType::Screen);
    EXPECT_TRUE(ui.messages.last().text.startsWith(QStringLiteral("Output Error: ")));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("0 Record(s) output"));
    EXPECT_TRUE(loaded.isEmpty());

    request.idRange = IdRangeText{QStringLiteral("4"), QStringLiteral("12")};
    const OutputResult result = Run(OutputType::Screen, {12, 3, 8});
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(loaded, (QList<qint32>{8, 12}));
}

TEST_F(OutputRunnerTest, EmptySummaryAndFailuresTakeTheirPaths)
{
    request.summaryHasRecords = false;
    EXPECT_EQ(Run(OutputType::Screen, {}).count, 0);
    EXPECT_EQ(ui.messages.last().text, QStringLiteral("No records selected"));
    EXPECT_EQ(ui.messages.last().icon, MessageIcon::Information);

    request.summaryHasRecords = true;
    const QString path = dir.File(QStringLiteral("fail.txt"));
    ui.QueueFiles({path});
    const OutputResult failed = Run(OutputType::TextFile, {3, 99, 12});
    EXPECT_FALSE(failed.completed);
    EXPECT_EQ(ui.StatusText(), QStringLiteral("1 Record(s) output"));
    EXPECT_FALSE(ui.ProgressVisible());
    EXPECT_TRUE(ReadText(path).contains(QStringLiteral("Ann")));

    ui.QueueCancel();
    const int messages = static_cast<int>(ui.messages.size());
    EXPECT_FALSE(Run(OutputType::HtmlFile).completed);
    EXPECT_EQ(ui.messages.size(), messages);

    ui.QueueFiles({dir.File(QStringLiteral("no/such/folder/x.txt"))});
    EXPECT_FALSE(Run(OutputType::TextFile).completed);
    EXPECT_TRUE(ui.messages.last().text.startsWith(QStringLiteral("Output Error: ")));
}

TEST_F(OutputRunnerTest, PrinterStartsNewPagesOnlyBetweenRecords)
{
    struct FakePrinter : PageOutput {
        QStringList calls;
        bool Begin(const QString& top, const QString& chosen) override
        {
            calls.append(QStringLiteral("begin ") + top.section(QLatin1Char('/'), -1) +
                         QLatin1Char(' ') + chosen.section(QLatin1Char('/'), -1));
            return true;
        }
        bool Record(bool newPage, bool keepWhole) override
        {
            EXPECT_TRUE(keepWhole);
            calls.append(newPage ? QStringLiteral("new page") : QStringLiteral("same page"));
            return true;
        }
        bool End() override
        {
            calls.append(QStringLiteral("end"));
            return true;
        }
    } printer;
    request.printer = &printer;
    request.newPagePerRecord = true;
    request.templateFileName = QStringLiteral("Numbered.rpt");
    EXPECT_TRUE(Run(OutputType::Printer).completed);
    EXPECT_EQ(printer.calls, (QStringList{QStringLiteral("begin Ttop.rpt Numbered.rpt"),
                                          QStringLiteral("same page"), QStringLiteral("new page"),
                                          QStringLiteral("new page"), QStringLiteral("end")}));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("3 record(s) printed"));
}

TEST_F(OutputRunnerTest, SaveToTextFileAppendsTheRecordAndAnEmptyLine)
{
    Loader()(3);
    const QString path = dir.Write(QStringLiteral("viewer.txt"), "before\r\n");
    ASSERT_TRUE(SaveToTextFile(program, path));
    const QString text = ReadText(path);
    EXPECT_TRUE(text.startsWith(QStringLiteral("before\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Ann")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n\r\n")));

    EXPECT_FALSE(SaveToTextFile(program, dir.File(QStringLiteral("missing/dir/x.txt"))));
    EXPECT_TRUE(ui.messages.last().text.startsWith(QStringLiteral("Error saving to file: ")));
}

TEST_F(OutputRunnerTest, AFailedWriteCountsOnlyWhatTheFileHoldsAndNamesTheSystemsReason)
{
    const QString noSpace =
        QStringLiteral("Output Error: ") + QString::fromLocal8Bit(strerror(ENOSPC));
    for (const OutputType type : {OutputType::TextFile, OutputType::DelimitedFile}) {
        ui.QueueFiles({QStringLiteral("/dev/full")});
        ui.QueueAnswer(MessageAnswer::Yes);
        EXPECT_FALSE(Run(type).completed);
        EXPECT_EQ(ui.messages.last().text, noSpace);
        EXPECT_EQ(ui.StatusText(), QStringLiteral("0 Record(s) output"));
    }
    // An HTML page is whole or not at all: the older file stays as it was.
    const QString page = dir.Write(QStringLiteral("page.htm"), "older page");
    ui.QueueFiles({page});
    ui.QueueAnswer(MessageAnswer::Yes);
    EXPECT_FALSE(Run(OutputType::HtmlFile, {3, 99}).completed);
    EXPECT_EQ(ReadText(page), QStringLiteral("older page"));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("0 Record(s) output"));

    Loader()(3);
    EXPECT_FALSE(SaveToTextFile(program, QStringLiteral("/dev/full")));
    EXPECT_EQ(ui.messages.last().text,
              QStringLiteral("Error saving to file: ") + QString::fromLocal8Bit(strerror(ENOSPC)));
}
