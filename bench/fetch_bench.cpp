// Fetch of 10,000 messages, half of them responses, from a Dovecot on
// loopback (started here, as the tests start it), end to end into a new
// database; then a second fetch that finds nothing new. Time, messages per
// second and peak resident memory.
// Run: build-release/bench/fetch_bench [messages]
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "mailbox/DovecotServer.h"
#include "mailbox/MailboxFetch.h"
#include "platform/ScriptedUi.h"
#include "session/Session.h"

#include "GeneratedResponses.h"
#include "PeakMemory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QByteArray Message(int n)
{
    QByteArray message = "From: forms@example.org\r\nTo: office@example.org\r\nSubject: Message " +
                         QByteArray::number(n) +
                         "\r\nDate: Tue, 7 Jan 2025 09:00:00 +0000\r\nMessage-ID: <" +
                         QByteArray::number(n) + "@bench.example.org>\r\n\r\n";
    message += n % 2 == 0 ? bench::Body(n) + "\r\n"
                          : QByteArray("Thank you for your order; it ships tomorrow.\r\n");
    return message;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int messages = argc > 1 ? std::atoi(argv[1]) : 10000;
    DovecotServer server;
    QString error;
    if (!server.Start(&error)) {
        std::printf("%s\n", error.toUtf8().constData());
        return 1;
    }
    for (int n = 0; n < messages; ++n)
        server.Deliver(QString::number(n), Message(n));

    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("fetch.fdb"));
    ScriptedUi quiet;
    CreateNewDatabase(quiet, db);
    ScriptedUi ui;
    Session session(ui, ProgramFolders(dir.path(), dir.path()));
    session.Database.RememberLastUsedDB = false;
    OpenResumeDatabase(session, db);

    FetchRequest request;
    QString why;
    request.account = *ImapAccount::Parse(server.Address(), &why);
    request.password = QStringLiteral("secret");
    request.caFile = server.CaFile();
    for (const char* what : {"first fetch", "second fetch, nothing new"}) {
        QElapsedTimer timer;
        timer.start();
        const FetchOutcome outcome = FetchResponses(session, request);
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("%s: %.2f s, %.0f messages/s\n  %s\n", what, seconds,
                    outcome.tally.Read() / seconds, outcome.tally.Line().toUtf8().constData());
        if (outcome.failed)
            std::printf("  failed: %s\n", ui.MessageTexts().join(" | ").toUtf8().constData());
    }
    std::printf("peak RSS: %ld KB\n", bench::PeakKb());
    return 0;
}
