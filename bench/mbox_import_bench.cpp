// Import of a 1 GB mbox file of 200,000 messages against the import of a
// plain text file of the same responses: time, records per second and peak
// resident memory; then an mbox of half as many read a second time, every
// message known to the import ledger. The messages are written the way mail programs write
// them: a few hops of Received lines, 7-bit, quoted-printable and
// multipart/alternative bodies with an HTML twin, and a long footer.
// Run: build-release/bench/mbox_import_bench [messages] [--keep FOLDER]
// (--keep writes the generated files into FOLDER and leaves them there).
#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "responses/ResponseImport.h"

#include "GeneratedResponses.h"
#include "PeakMemory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

using bench::Body;
using bench::PeakKb;

QByteArray Wrapped(const QByteArray& text, int width, const QByteArray& softBreak)
{
    QByteArray out;
    for (qsizetype at = 0; at < text.size(); at += width)
        out += text.mid(at, width) + (at + width < text.size() ? softBreak : QByteArray()) + "\n";
    return out;
}

// The disclaimer footer that makes a message of about 5 KB.
QByteArray Footer()
{
    QByteArray footer = "\n-- \nThis message was sent by the web site's form mailer.\n";
    const QByteArray line = "This e-mail and any files sent with it are confidential and meant "
                            "only for the addressee.\n";
    while (footer.size() < 3900)
        footer += line;
    return footer;
}

// Lines of at most 76 characters with soft breaks, never inside an escape.
QByteArray QuotedPrintable(const QByteArray& text)
{
    QByteArray out;
    int column = 0;
    for (const char c : text) {
        if (c == '\n') {
            out += '\n';
            column = 0;
            continue;
        }
        const QByteArray piece = c == '=' ? QByteArray("=3D") : QByteArray(1, c);
        if (column + piece.size() > 75) {
            out += "=\n";
            column = 0;
        }
        out += piece;
        column += static_cast<int>(piece.size());
    }
    return out;
}

QByteArray Headers(int record)
{
    const QByteArray n = QByteArray::number(record);
    const QByteArray day = QByteArray::number(1 + record % 28);
    return "Return-Path: <forms@example.org>\n"
           "Received: from web1.example.org (web1.example.org [192.0.2.10])\n"
           "\tby mx.example.net with ESMTPS id 4XkQ2f" +
           n + "\n\tfor <office@example.net>; Mon, " + day +
           " Jan 2025 09:00:01 +0000 (UTC)\n"
           "Received: from localhost by web1.example.org; Mon, " +
           day +
           " Jan 2025 09:00:00 +0000\n"
           "From: Web forms <forms@example.org>\n"
           "To: office@example.net\n"
           "Subject: Form response " +
           n +
           "\n"
           "Date: Mon, " +
           day +
           " Jan 2025 09:00:00 +0000\n"
           "Message-ID: <" +
           n + ".form@web1.example.org>\n";
}

QByteArray Text(int record, const QByteArray& footer)
{
    return "A visitor filled in the form:\n\n" + Wrapped(Body(record), 70, "") + footer;
}

QByteArray Message(int record, const QByteArray& footer)
{
    const QByteArray n = QByteArray::number(record);
    QByteArray m = "From forms@example.org Mon Jan  6 09:00:00 2025\n" + Headers(record) +
                   "MIME-Version: 1.0\n";
    const QByteArray body = Body(record);
    const QByteArray text = Text(record, footer);
    switch (record % 3) {
    case 0:
        m += "Content-Type: text/plain; charset=us-ascii\nContent-Transfer-Encoding: 7bit\n\n" +
             text;
        break;
    case 1:
        m += "Content-Type: text/plain; charset=utf-8\n"
             "Content-Transfer-Encoding: quoted-printable\n\n" +
             QuotedPrintable("A visitor filled in the form:\n\n" + body + "\n" + footer);
        break;
    default: {
        QByteArray html = "<html><body><p>A visitor filled in the form:</p><p>" + body + "</p>";
        html.replace("&", "&amp;");
        html += "</body></html>\n";
        m += "Content-Type: multipart/alternative; boundary=\"b" + n + "\"\n\n--b" + n +
             "\nContent-Type: text/plain; charset=us-ascii\n\n" + text + "\n--b" + n +
             "\nContent-Type: text/html; charset=us-ascii\n"
             "Content-Transfer-Encoding: quoted-printable\n\n" +
             QuotedPrintable(html) + "\n--b" + n + "--\n";
    }
    }
    return m + "\n";
}

bool GenerateMbox(const QString& path, int messages)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray footer = Footer();
    for (int r = 0; r < messages; ++r)
        file.write(Message(r, footer));
    return true;
}

// The same messages as plain text, the way the program read saved mail
// before it knew mail: each message's headers and its text, one after the
// other (a first line that is no header keeps the file plain).
bool GeneratePlainMessages(const QString& path, int messages)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray footer = Footer();
    file.write("Saved form responses\n\n");
    for (int r = 0; r < messages; ++r)
        file.write(Headers(r) + "\n" + Text(r, footer) + "\n");
    return true;
}

// Only the responses in a plain text file: each after a short mail header,
// wrapped the way mail programs wrap them.
bool GeneratePlain(const QString& path, int messages)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("Saved form responses\r\n\r\n");
    for (int r = 0; r < messages; ++r) {
        file.write("From: forms@example.org\r\nSubject: Form response\r\n\r\n");
        file.write(Wrapped(Body(r), 70, "").replace("\n", "\r\n") + "\r\n");
    }
    return true;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Wall time, and processor time, which a busy machine disturbs less.
struct Run {
    double seconds = 0;
    double cpu = 0;
    int records = 0;
};

// With reread, the file is imported a second time into the same database,
// every message of it known to the import ledger, and that is what is timed.
Run Import(const QString& folder, const QString& db, const QString& file, bool reread = false)
{
    ScriptedUi quiet;
    CreateNewDatabase(quiet, db);
    ScriptedUi ui;
    Session session(ui, ProgramFolders(folder, folder));
    session.Database.RememberLastUsedDB = false;
    OpenResumeDatabase(session, db);
    if (reread) {
        ui.QueueFiles({file});
        ImportResume(session);
    }
    ui.QueueFiles({file});
    QElapsedTimer timer;
    timer.start();
    const double cpu = CpuSeconds();
    const ImportOutcome outcome = ImportResume(session);
    Run run{timer.nsecsElapsed() / 1e9, CpuSeconds() - cpu,
            reread ? outcome.tally.Read() : outcome.total};
    std::printf("  %s\n  %s\n", ui.StatusText().toUtf8().constData(),
                outcome.tally.Line().toUtf8().constData());
    if (outcome.failed || !ui.messages.isEmpty())
        std::printf("  import reported: %s\n", ui.MessageTexts().join(" | ").toUtf8().constData());
    QFile::remove(db);
    return run;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    int messages = 200000;
    QString keep;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--keep") && i + 1 < args.size())
            keep = args[++i];
        else
            messages = args[i].toInt();
    }
    QTemporaryDir dir;
    const QString folder = keep.isEmpty() ? dir.path() : keep;
    const QString small = folder + "/small.mbox";
    const QString mbox = folder + "/responses.mbox";
    const QString plain = folder + "/responses.txt";
    const QString plainMessages = folder + "/messages.txt";

    std::printf("Generating %d messages...\n", messages);
    if (!GenerateMbox(small, messages / 10) || !GenerateMbox(mbox, messages) ||
        !GeneratePlain(plain, messages) || !GeneratePlainMessages(plainMessages, messages)) {
        std::printf("cannot write into %s\n", folder.toUtf8().constData());
        return 1;
    }
    std::printf("mbox: %.2f GB; plain files: the same messages %.2f GB, only the responses "
                "%.0f MB\n",
                QFileInfo(mbox).size() / 1e9, QFileInfo(plainMessages).size() / 1e9,
                QFileInfo(plain).size() / 1e6);

    std::printf("Import of the plain file of the same messages:\n");
    const Run messagesRun = Import(folder, folder + "/messages.fdb", plainMessages);
    std::printf("Import of the plain file of only the responses:\n");
    const Run plainRun = Import(folder, folder + "/plain.fdb", plain);
    const long peakPlain = PeakKb();
    std::printf("Import of %d messages (memory check):\n", messages / 10);
    Import(folder, folder + "/small.fdb", small);
    const long peakSmall = PeakKb();
    std::printf("Import of the mbox file:\n");
    const Run mboxRun = Import(folder, folder + "/mbox.fdb", mbox);
    const long peakBig = PeakKb();
    std::printf("Import of %d messages again, all of them known:\n", messages / 2);
    const QString half = folder + "/half.mbox";
    GenerateMbox(half, messages / 2);
    const Run rereadRun = Import(folder, folder + "/reread.fdb", half, true);

    const auto print = [](const char* what, const Run& run) {
        std::printf("%s %.2f s, %.0f records/s (processor: %.2f s, %.0f records/s)\n", what,
                    run.seconds, run.records / run.seconds, run.cpu, run.records / run.cpu);
    };
    print("plain, same messages: ", messagesRun);
    print("plain, responses only:", plainRun);
    print("mbox:                 ", mboxRun);
    std::printf("mbox read again, all known: %.2f s, %.0f messages/s\n", rereadRun.seconds,
                rereadRun.records / rereadRun.seconds);
    std::printf("mbox: %.0f MB/s\n", QFileInfo(mbox).size() / 1e6 / mboxRun.seconds);
    const auto ratio = [&](const char* what, const Run& run) {
        std::printf("mbox speed: %.2f x %s (processor time: %.2f x)\n",
                    (mboxRun.records / mboxRun.seconds) / (run.records / run.seconds), what,
                    (mboxRun.records / mboxRun.cpu) / (run.records / run.cpu));
    };
    ratio("the plain file of the same messages", messagesRun);
    ratio("the plain file of only the responses", plainRun);
    std::printf("peak RSS: %ld KB after the plain file, %ld KB after %d messages, %ld KB after "
                "%d\n",
                peakPlain, peakSmall, messages / 10, peakBig, messages);
    return 0;
}
