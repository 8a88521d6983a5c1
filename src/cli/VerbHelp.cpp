#include "cli/VerbHelp.h"
#include "cli/VerbTable.h"

#include <QStringList>
#include <cstdio>

namespace {

// Breaks text into lines of at most width characters after indent.
void PrintWrapped(const char* text, int indent, int width)
{
    const QStringList words = QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString line;
    for (const QString& word : words) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            std::printf("%*s%s\n", indent, "", line.toUtf8().constData());
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        std::printf("%*s%s\n", indent, "", line.toUtf8().constData());
}

} // namespace

void PrintHelp()
{
    std::printf("Usage: tallowmere-cli [--verbose] VERB [OPTIONS] ARGS...\n"
                "       tallowmere-cli help [VERB] | VERB --help | --help | --version\n\n"
                "Batch work on Tallowmere databases and form responses. Messages go to\n"
                "standard error; exit status 0 when it ran, 1 when it failed, 2 on a usage\n"
                "error. After \"--\" every argument is a file or a value, even one that\n"
                "starts with \"-\". --verbose prints the log (SQL statements and their\n"
                "timings among it) to standard error; QT_LOGGING_RULES picks categories\n"
                "(tallowmere.database.debug=true).\n\nVerbs:\n");
    for (const Verb& verb : VerbTable()) {
        std::printf("  %s\n", verb.usage);
        PrintWrapped(verb.summary, 6, 72);
    }
    std::printf("\nThe program folder (default.cfg, templates) is $TALLOWMERE_HOME, else the\n"
                "folder of this executable when it holds default.cfg, else the installed\n"
                "share folder (../share/tallowmere beside it).\n");
}

void PrintVerbUsage(const Verb& verb)
{
    std::printf("Usage: tallowmere-cli %s\n\n", verb.usage);
    PrintWrapped(verb.summary, 0, 78);
}
