#pragma once

#include "session/Session.h"
#include "platform/ConsoleUi.h"
#include "cli/ChartSaver.h"
#include "cli/PdfPagesMaker.h"

#include <QStringList>
#include <QTextStream>

// What every verb gets: the console Ui, the session and standard output.
struct CliContext {
    explicit CliContext(const ProgramFolders& folders);

    ConsoleUi ui;
    Session session;
    QTextStream out;
    // Set only in tallowmere-pdf.
    PdfPagesMaker pdfPages;
    ChartSaver saveChart;
    // --verbose was given: every log category is on.
    bool verbose = false;
};

// Exit statuses of every verb.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints a usage error to standard error and returns kExitUsage.
int UsageError(const QString& text);

// Options come before a "--" in args; what follows it is an operand (a file
// or a value) even when it starts with "-".
//
// Takes the flag out of args; true when it was there.
bool TakeFlag(QStringList& args, const QString& flag);
// Takes "--name VALUE" out of args; false when the flag was there without a value.
bool TakeOption(QStringList& args, const QString& flag, QString* value, bool* present = nullptr);
// Where "--name A B" starts among the options, or -1.
qsizetype OptionAt(const QStringList& args, const QString& flag);
// After the verb has taken its options: false when an option it does not
// know is left; otherwise takes the "--" out, leaving only the operands.
bool EndOfOptions(QStringList& args, QString* unknown = nullptr);
