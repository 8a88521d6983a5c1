// A template body rendered against a record by the text and HTML
// renderers. The first line of the input fills the record (pairs as in a
// response), the rest is the body. The page renderer lives in the render
// library and gets its own harness beside these (fuzz_page_template).
#include "FuzzSupport.h"
#include "output/HtmlRenderer.h"
#include "output/OutputFieldList.h"
#include "output/TextRenderer.h"
#include "platform/TextCodec.h"
#include "responses/ResponseParser.h"

#include <QBuffer>

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
    if (!session.Output.OutputFieldList.isEmpty())
        session.Output.OutputFieldList.last().PrintStat = false;
    session.Output.ReportTitle = QStringLiteral("Title");

    RenderTextBody(session, body);
    QBuffer html;
    html.open(QIODevice::WriteOnly);
    RenderHtmlBody(session, body, html);
    return 0;
}
