#include "app/ProgramInfo.h"
#include "cli/CliContext.h"
#include "cli/VerbHelp.h"
#include "cli/VerbTable.h"
#include "platform/Logging.h"
#include "platform/StopSignals.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    // A file grown past the size limit (RLIMIT_FSIZE) fails its write with
    // "File too large", reported like any other, instead of killing the
    // program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    // An import or fetch stopped by Ctrl-C, SIGTERM or SIGHUP commits what it has
    // read and says how much; held before any thread starts, so that no
    // thread takes the signal in its place.
    const bool verbose = argc > 1 && std::strcmp(argv[1], "--verbose") == 0;
    const int verbAt = verbose ? 2 : 1;
    const bool holdsStopSignals = argc > verbAt && (std::strcmp(argv[verbAt], "import") == 0 ||
                                                    std::strcmp(argv[verbAt], "fetch") == 0);
    if (holdsStopSignals)
        HoldStopSignals();
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tallowmere"));
    QCoreApplication::setApplicationName(QStringLiteral("Tallowmere"));
    QStringList args = QCoreApplication::arguments().mid(1);
    if (verbose) {
        args.removeFirst();
        EnableVerboseLogging();
    }
    if (args.isEmpty() || args.first() == QStringLiteral("--help") ||
        args.first() == QStringLiteral("-h") ||
        (args.first() == QStringLiteral("help") && args.size() == 1)) {
        PrintHelp();
        return args.isEmpty() ? kExitUsage : kExitOk;
    }
    if (args.first() == QStringLiteral("--version")) {
        std::printf("tallowmere-cli (%s) %s\n", qPrintable(ProgramInfo::Name()),
                    qPrintable(ProgramInfo::Version()));
        return kExitOk;
    }
    if (args.first() == QStringLiteral("help")) {
        if (args.size() > 2)
            return UsageError(QStringLiteral("help takes one verb"));
        const Verb* verb = FindVerb(args[1]);
        if (!verb)
            return UsageError(QStringLiteral("unknown verb '%1'").arg(args[1]));
        PrintVerbUsage(*verb);
        return kExitOk;
    }
    const QString name = args.takeFirst();
    if (const Verb* verb = FindVerb(name)) {
        if (OptionAt(args, QStringLiteral("--help")) >= 0) {
            PrintVerbUsage(*verb);
            return kExitOk;
        }
        CliContext context(ProgramFolders::Resolve(QCoreApplication::applicationDirPath()));
        context.verbose = verbose;
        const qint64 started = context.session.Now.ElapsedMs();
        const int status = verb->run(context, args);
        qCInfo(lcCli, "%s ended with status %d after %lld ms", verb->name, status,
               static_cast<long long>(context.session.Now.ElapsedMs() - started));
        // A stop signal that came after the last look still ends the
        // program as that signal's.
        if (holdsStopSignals && context.ui.StopSignal() == 0) {
            if (const int late = TakeStopSignal())
                return 128 + late;
        }
        return status;
    }
    return UsageError(QStringLiteral("unknown verb '%1'").arg(name));
}
