// A template body rendered against a record by the text and HTML
// renderers. The first line of the input fills the record (pairs as in a
// response), the rest is the body. The page renderer lives in the render
// library and gets its own harness beside these (fuzz_page_template).
#include "FuzzSupport.h"
#include "TemplateInput.h"
#include "output/HtmlRenderer.h"
#include "output/TextRenderer.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnvironment& env = FuzzEnvironment::Get();
    ScriptedUi ui;
    Session session(ui, env.Folders());
    const QString body = TakeRecordAndBody(session, ui, Bytes(data, size));

    RenderTextBody(session, body);
    QBuffer html;
    html.open(QIODevice::WriteOnly);
    RenderHtmlBody(session, body, html);
    return 0;
}
