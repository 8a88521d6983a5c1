// A template body drawn by the page renderer against a record, on the page
// view (the last page, then page 2) and on paper as a recorded picture. The
// first line of the input fills the record (pairs as in a response), the
// rest is the body.
#include "FuzzSupport.h"
#include "TemplateInput.h"
#include "render/PageCanvas.h"
#include "render/PageRenderer.h"
#include "output/TemplateSyntax.h"

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
    ScriptedUi ui;
    Session session(ui, env.Folders());
    const QString body = TakeRecordAndBody(session, ui, Bytes(data, size));
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
