#include "cli/CliContext.h"
#include "cli/Verbs.h"
#include "platform/Logging.h"
#include "render/BarChart.h"
#include "render/PdfPages.h"

#include <QGuiApplication>
#include <QPrinter>
#include <cstdio>

// tallowmere-pdf export DB --type pdf -o FILE ...: the command line's PDF
// export, started by tallowmere-cli, writing the pages the desktop
// program's "Export to PDF..." writes; stats ... --chart FILE, drawing
// the chart the Statistics window saves; and person ... --export FILE.pdf.
int main(int argc, char* argv[])
{
    // No display is needed to paint pages.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("Tallowmere"));
    QGuiApplication::setApplicationName(QStringLiteral("Tallowmere"));
    QStringList args = QGuiApplication::arguments().mid(1);
    const bool verbose = args.value(0) == QStringLiteral("--verbose");
    if (verbose) {
        args.removeFirst();
        EnableVerboseLogging();
    }
    const QString verb = args.value(0);
    if (verb != QStringLiteral("export") && verb != QStringLiteral("stats") &&
        verb != QStringLiteral("person")) {
        std::fprintf(stderr,
                     "Usage: tallowmere-pdf [--verbose] export DB --type pdf -o FILE [OPTIONS]\n"
                     "       tallowmere-pdf [--verbose] stats DB [FIELD] --chart FILE [OPTIONS]\n"
                     "       tallowmere-pdf [--verbose] person DB ADDRESS --export FILE.pdf "
                     "[OPTIONS]\n"
                     "Run by tallowmere-cli export --type pdf, stats --chart and person --export "
                     "FILE.pdf.\n");
        return kExitUsage;
    }
    args.removeFirst();
    CliContext context(ProgramFolders::Resolve(QGuiApplication::applicationDirPath()));
    context.verbose = verbose;
    context.pdfPages = [](Session& session, const QString& path) -> std::unique_ptr<PageOutput> {
        // The page size a new printer starts with, as the desktop's.
        const QPrinter printer(QPrinter::HighResolution);
        return std::make_unique<PdfPages>(session, path, printer.pageLayout());
    };
    context.saveChart = SaveChart;
    if (verb == QStringLiteral("stats"))
        return RunStats(context, args);
    if (verb == QStringLiteral("person"))
        return RunPerson(context, args);
    return RunExport(context, args);
}
