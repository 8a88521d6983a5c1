// Page output speed. First the page view: a record as long as a 100-record
// output (1,000 field rows) through "Default_dat.rpt", every page redrawn
// as the viewer's page buttons ask for it; the slowest redraw is reported.
// Then printing: 1,000 records of 10 fields through the same template into
// one PDF file, a page per record, through the output runner.
//
// Usage: build-release/bench/page_bench [PROGRAM_FOLDER]   (default: ../bin next to it)

#include "session/Session.h"
#include "output/OutputFieldList.h"
#include "output/OutputRunner.h"
#include "render/PageCanvas.h"
#include "render/PagePrinter.h"
#include "render/PageRenderer.h"
#include "output/PrintTemplate.h"
#include "platform/ConsoleUi.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QPicture>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

void FillRecord(RecordTables& t, qint32 id, int fields)
{
    t.ClearRecordTables();
    t.PutArrayElement(1, 0, QString::number(id));
    t.PutArrayElement(1, 1, QStringLiteral("Person %1").arg(id));
    t.PutArrayElement(1, 2, QStringLiteral("A note that runs over a few words, to be wrapped."));
    t.PutArrayElement(1, 3, QStringLiteral("3/%1/2004").arg(id % 28 + 1));
    for (int f = 0; f < fields; ++f) {
        t.CurrentRow[2] = static_cast<qint16>(f);
        t.PutArrayElement(2, 1, QStringLiteral("Field%1").arg(f % 10));
        t.PutArrayElement(2, 2,
                          QStringLiteral("value %1 of record %2, with some words").arg(f).arg(id));
    }
    t.CurrentRow[2] = 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString program =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../bin"));
    QTemporaryDir out;
    ConsoleUi ui(true);
    Session session(ui, ProgramFolders(QDir::cleanPath(program), out.path()),
                    Regional(QLocale(QLocale::English, QLocale::UnitedStates)));
    QStringList names;
    for (int f = 0; f < 10; ++f)
        names.append(QStringLiteral("Field%1").arg(f));
    FillOutputFieldList(session.Output, {},
                        names.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    if (!LoadPrintTemplate(session, QStringLiteral("Default_dat.rpt")))
        return 1;

    FillRecord(session.Tables, 1, 1000);
    qint16 last = 0;
    {
        QPicture picture;
        PictureCanvas canvas(picture, QSizeF(612, 792));
        RenderPrintTemplate(session, canvas, 1.0, last);
    }
    double worst = 0;
    double total = 0;
    for (qint16 page = 1; page <= last; ++page) {
        QElapsedTimer timer;
        timer.start();
        QPicture picture;
        PictureCanvas canvas(picture, QSizeF(612, 792));
        qint16 requested = page;
        RenderPrintTemplate(session, canvas, 1.0, requested);
        canvas.Finish();
        const double ms = timer.nsecsElapsed() / 1e6;
        worst = std::max(worst, ms);
        total += ms;
    }
    std::printf("page view: %d pages; redraw average %.1f ms, slowest %.1f ms (goal < 50 ms)\n",
                last, total / last, worst);

    const int records = 1000;
    // A page per record, then records running on and kept whole, which
    // measures every record that starts below a page's top before drawing it.
    bool completed = true;
    for (const bool pagePerRecord : {true, false}) {
        OutputRequest request;
        request.type = OutputType::Printer;
        request.newPagePerRecord = pagePerRecord;
        request.keepRecordsWhole = true;
        request.templateFileName = QStringLiteral("Default_dat.rpt");
        for (qint32 id = 1; id <= records; ++id)
            request.formIds.append(id);
        QPdfWriter writer(out.filePath(pagePerRecord ? QStringLiteral("records.pdf")
                                                     : QStringLiteral("records-run-on.pdf")));
        PagePrinter printer(session, writer);
        request.printer = &printer;
        QElapsedTimer timer;
        timer.start();
        const OutputResult result = RunOutput(session, request, [&](qint32 id) {
            FillRecord(session.Tables, id, 10);
            return true;
        });
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("printing%s: %d records to PDF in %.2f s, %.0f records/s (goal >= 200)\n",
                    pagePerRecord ? ", a page each" : ", kept whole", result.count, seconds,
                    result.count / seconds);
        completed = completed && result.completed;
    }
    return completed ? 0 : 1;
}
