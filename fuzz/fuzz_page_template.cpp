// A template body drawn by the page renderer against a record, on the page
// view (the last page, then page 2) and on paper as a recorded picture. The
// first line of the input fills the record (pairs as in a response), the
// rest is the body.
#include "FuzzSupport.h"
#include "output/OutputFieldList.h"
#include "output/PageCanvas.h"
#include "output/PageRenderer.h"
#include "output/TemplateSyntax.h"
#include "platform/TextCodec.h"
#include "responses/ResponseParser.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QPicture>

namespace {

int g_argc = 1;
char g_name[] = "fuzz";
char* g_argv[] = {g_name, nullptr};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Fonts and pictures need a Gui application; the offscreen platform
    // needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(g_argc, g_argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnvironment& env = FuzzEnvironment::Get();
    const QByteArray input = Bytes(data, size);
    const qsizetype newline = input.indexOf('\n');
    const QByteArray record = newline < 0 ? QByteArray() : input.left(newline);
    const QString body = TextFromBytes(newline < 0 ? input : input.mid(newline + 1));

    ScriptedUi ui;
    Session session(ui, env.Folders());
    ReadRecord(session.Tables, ui, session.RegionalSettings,
               QStringLiteral("Name=Ann+Lee&Colour=blue&When=1%2F5%2F1998&Notes=a%0D%0Ab&") +
                   TextFromBytes(record),
               QDate(1998, 1, 5), QStringLiteral("/mail/responses.txt"), nullptr);
    session.Tables.PutArrayElement(RecordTables::kHeaderTable, RecordTables::FormIdColumn,
                                   QStringLiteral("7"));
    session.Tables.CurrentRow[RecordTables::kFieldTable] = 0;
    QList<RecordLevelField> recordFields{
        {QStringLiteral("Forms.FormID"), QStringLiteral("1.0"), QStringLiteral("Record ID")},
        {QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"), QStringLiteral("Record Name")},
        {QStringLiteral("Forms.Form_Date"), QStringLiteral("1.3"), QStringLiteral("Record Date")}};
    FillOutputFieldList(session.Output, recordFields,
                        QStringLiteral("\r\nName\r\nColour\r\nWhen\r\nNotes\r\n"));
    session.Output.ReportTitle = QStringLiteral("Title");
    session.Output.TemplateLines = CutBlocks(body, BlockStyle::Lines);

    for (const qint16 page : {qint16(0), qint16(2)}) {
        QPicture picture;
        PictureCanvas canvas(picture, QSizeF(612, 792));
        qint16 requested = page;
        RenderPrintTemplate(session, canvas, 1.0, requested);
        canvas.Finish();
    }
    // Paper: every page, breaking by height and by flag.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    PaperCanvas paper(writer);
    StartPaperPage(paper);
    qint16 every = -1;
    RenderPrintTemplate(session, paper, 1.0, every);
    paper.Finish();
    return 0;
}
