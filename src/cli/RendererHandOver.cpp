#include "cli/RendererHandOver.h"

#include "cli/CliContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>

int HandOverToRenderer(CliContext& context, const QString& verb, const QStringList& args,
                       const char* what)
{
    // Beside this program in the build tree; in the installed tree under
    // libexec, out of the way of the programs a user runs.
    const QDir here(QCoreApplication::applicationDirPath());
    const QStringList candidates{
        here.filePath(QStringLiteral("tallowmere-pdf")),
        here.filePath(QStringLiteral("../libexec/tallowmere/tallowmere-pdf"))};
    for (const QString& candidate : candidates) {
        if (!QFileInfo(candidate).isExecutable())
            continue;
        QProcess pdf;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TALLOWMERE_HOME"), context.session.Folders.Program());
        pdf.setProcessEnvironment(environment);
        pdf.setProcessChannelMode(QProcess::ForwardedChannels);
        pdf.setInputChannelMode(QProcess::ForwardedInputChannel);
        const QStringList verbose =
            context.verbose ? QStringList{QStringLiteral("--verbose")} : QStringList();
        pdf.start(candidate, verbose + QStringList{verb} + args);
        if (!pdf.waitForFinished(-1) || pdf.exitStatus() != QProcess::NormalExit) {
            std::fprintf(stderr, "tallowmere-cli: %s: %s\n", qPrintable(QDir::cleanPath(candidate)),
                         qPrintable(pdf.errorString()));
            return kExitFailed;
        }
        return pdf.exitCode();
    }
    std::fprintf(stderr, "tallowmere-cli: %s needs tallowmere-pdf, found neither as %s nor as %s\n",
                 what, qPrintable(QDir::cleanPath(candidates[0])),
                 qPrintable(QDir::cleanPath(candidates[1])));
    return kExitFailed;
}
