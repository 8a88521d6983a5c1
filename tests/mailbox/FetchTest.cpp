#include "mailbox/DovecotServer.h"
#include "support/TallyLine.h"
#include "support/TempDir.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <SQLiteCpp/Database.h>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QByteArray Message(int n, const QByteArray& body)
{
    return "From: forms@example.org\r\nTo: office@example.org\r\nSubject: Form " +
           QByteArray::number(n) + "\r\nDate: Tue, 7 Jan 2025 09:00:00 +0000\r\nMessage-ID: <" +
           QByteArray::number(n) + "@example.org>\r\n\r\n" + body + "\r\n";
}

QByteArray Response(int n)
{
    return Message(n, "name=Person" + QByteArray::number(n) + "&note=" + QByteArray(200, 'x'));
}

struct Fetch {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

class MailboxFetch : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(server.Start(&error)) << error.toStdString();
        db = dir.File(QStringLiteral("f.fdb"));
        ASSERT_EQ(RunCli({"create", db}), 0);
    }

    Fetch Run(const QString& address, QStringList options = {})
    {
        if (!options.contains(QStringLiteral("--password-file")))
            options << QStringLiteral("--password-file") << server.PasswordFile();
        Fetch result;
        result.status =
            RunCli(QStringList{"fetch", db, address} + options, &result.out, &result.err);
        return result;
    }
    Fetch RunTls(const QStringList& options = {})
    {
        return Run(server.Address(), QStringList{"--ca-file", server.CaFile()} + options);
    }
    QByteArray Status(int stored) const
    {
        return QByteArray::number(stored) + " Record(s) imported in to " + db.toUtf8() + "\n";
    }

    TempDir dir;
    DovecotServer server;
    QString db;
};

} // namespace

TEST_F(MailboxFetch, BringsInOnlyWhatIsNewWhateverTheFolderOrTheFileItCameBy)
{
    server.Deliver(QStringLiteral("1"), Response(1));
    server.Deliver(QStringLiteral("2"), Message(2, "No response in here."));
    server.Deliver(QStringLiteral("3"), Response(3));
    // Received before --since: left out.
    server.Deliver(QStringLiteral("0"), Response(0), QDateTime(QDate(2020, 5, 1), QTime(9, 0)));

    const struct {
        QByteArray deliver; // a new message first, when set
        QStringList options;
        QByteArray out;
    } rounds[] = {
        {{}, {"--since", "2021-01-01"}, Status(2) + TallyLine(2, 2, 0, 1)},
        {{}, {}, Status(0) + TallyLine(0, 0)},
        {Response(4),
         {"--json"},
         Status(1) + "{\"failed\":0,\"imported\":1,\"known\":0,\"no_response\":0,\"read\":1,"
                     "\"stored\":1}\n"},
    };
    for (const auto& round : rounds) {
        if (!round.deliver.isEmpty())
            server.Deliver(QStringLiteral("4"), round.deliver);
        const Fetch fetch = RunTls(round.options);
        EXPECT_EQ(fetch.status, 0) << fetch.err.constData();
        EXPECT_EQ(QString::fromUtf8(fetch.out), QString::fromUtf8(round.out));
    }
    // Read only: no message was marked seen.
    const QStringList seen = server.MessageFiles().filter(QRegularExpression(":2,.*S"));
    EXPECT_TRUE(seen.isEmpty()) << seen.join(' ').toStdString();

    // A new UIDVALIDITY has every message read again; the ledger knows all
    // but the one --since kept out.
    QString error;
    ASSERT_TRUE(server.ResetUidValidity(&error)) << error.toStdString();
    Fetch fetch = RunTls();
    EXPECT_EQ(QString::fromUtf8(fetch.out), QString::fromUtf8(Status(1) + TallyLine(1, 1, 4)));

    // The same messages from an mbox export, and from plain imap on loopback.
    QByteArray mbox;
    for (const int n : {0, 1, 3, 4})
        mbox += "From forms@example.org Tue Jan  7 09:00:00 2025\n" +
                Response(n).replace("\r\n", "\n") + "\n";
    mbox += "From forms@example.org Tue Jan  7 09:00:00 2025\n" +
            Message(2, "No response in here.").replace("\r\n", "\n");
    QByteArray out;
    EXPECT_EQ(RunCli({"import", db, dir.Write(QStringLiteral("export.mbox"), mbox)}, &out), 0);
    EXPECT_EQ(out, Status(0) + TallyLine(0, 0, 5));
    fetch = Run(server.Address(false));
    EXPECT_EQ(fetch.out, Status(0) + TallyLine(0, 0, 5)) << fetch.err.constData();
    EXPECT_EQ(RunCli({"list", db}, &out), 0);
    EXPECT_EQ(out.count('\n'), 4);
}

TEST_F(MailboxFetch, FaultsNameTheAccountFailTheRunAndStoreNothing)
{
    server.Deliver(QStringLiteral("1"), Response(1));
    const QString wrong = dir.Write(QStringLiteral("wrong"), "not the password\n");
    const QString inbox = server.Address();
    const QString other =
        QStringLiteral("imaps://ann@127.0.0.1:%1/Nowhere").arg(server.ImapsPort());
    const QString ca = server.CaFile();
    const QString strange = dir.Write(QStringLiteral("other.pem"), "not a certificate");
    const struct {
        QString address;
        QStringList options;
        QString says;
    } cases[] = {
        {inbox,
         {"--ca-file", ca, "--password-file", wrong},
         "the server refused the user name or password"},
        {other, {"--ca-file", ca}, "the folder \"Nowhere\" cannot be opened (the server answered "},
        {inbox, {}, "the server's certificate was refused"},
        {inbox, {"--ca-file", strange}, "the server's certificate was refused"},
        {QStringLiteral("imaps://ann@127.0.0.1:%1/INBOX").arg(FreePort()),
         {"--ca-file", ca},
         "the connection failed or was dropped"},
    };
    for (const auto& c : cases) {
        const Fetch fetch = Run(c.address, c.options);
        EXPECT_EQ(fetch.status, 1) << c.says.toStdString();
        EXPECT_TRUE(fetch.err.startsWith(("Fetch from " + c.address + ": " + c.says).toUtf8()))
            << fetch.err.constData();
        EXPECT_EQ(fetch.out, Status(0) + TallyLine(0, 0, 0, 0, 1)) << c.says.toStdString();
    }
    QByteArray out;
    EXPECT_EQ(RunCli({"list", db}, &out), 0);
    EXPECT_TRUE(out.isEmpty());
}

TEST_F(MailboxFetch, ADroppedConnectionKeepsWhatWasStoredAndTheNextFetchGoesOn)
{
    for (int n = 1; n <= 10; ++n)
        server.Deliver(QString::number(n), Response(n));
    // Past the login and a few messages of about 400 bytes each.
    CuttingRelay relay(server.ImapPort(), 3000);
    Fetch fetch = Run(server.Address(false, relay.Port()));
    EXPECT_EQ(fetch.status, 1);
    EXPECT_TRUE(fetch.err.contains("the connection failed or was dropped"))
        << fetch.err.constData();
    QByteArray out;
    ASSERT_EQ(RunCli({"list", db}, &out), 0);
    const int first = static_cast<int>(out.count('\n'));
    EXPECT_GT(first, 0);
    EXPECT_LT(first, 10);
    // The message cut short is counted failed.
    EXPECT_EQ(QString::fromUtf8(fetch.out),
              QString::fromUtf8(Status(first) + TallyLine(first, first, 0, 0, 1)));

    // Straight to the server, another address than the relay's: the
    // messages already stored are known by their hashes.
    fetch = Run(server.Address(false));
    EXPECT_EQ(fetch.status, 0) << fetch.err.constData();
    EXPECT_EQ(QString::fromUtf8(fetch.out),
              QString::fromUtf8(Status(10 - first) + TallyLine(10 - first, 10 - first, first)));
    ASSERT_EQ(RunCli({"list", db}, &out), 0);
    EXPECT_EQ(out.count('\n'), 10);
}

// Ctrl-C during a fetch: what was read is stored and counted, the exit
// status is the signal's, and the next fetch brings in the rest only.
TEST_F(MailboxFetch, AFetchStoppedBySignalKeepsWhatItStoredAndTheNextGoesOn)
{
    constexpr int kMessages = 4000;
    for (int n = 1; n <= kMessages; ++n)
        server.Deliver(QString::number(n), Response(n));
    QProcess process;
    process.start(QStringLiteral(TALLOWMERE_CLI),
                  {"fetch", db, server.Address(false), "--password-file", server.PasswordFile()});
    ASSERT_TRUE(process.waitForStarted());
    (void)QTest::qWaitFor(
        [&] {
            try {
                SQLite::Database peek(db.toStdString(), SQLite::OPEN_READONLY, 1000);
                return peek.execAndGet("SELECT count(*) FROM Forms").getInt() > 0;
            } catch (const std::exception&) {
                return false;
            }
        },
        30000);
    ASSERT_EQ(process.state(), QProcess::Running) << "the fetch ended before the signal";
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 128 + SIGINT);
    QByteArray out;
    ASSERT_EQ(RunCli({"list", db}, &out), 0);
    const int first = static_cast<int>(out.count('\n'));
    EXPECT_LT(first, kMessages);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()),
              QString::fromUtf8(Status(first) + TallyLine(first, first)));

    const Fetch rest = Run(server.Address(false));
    EXPECT_EQ(rest.status, 0) << rest.err.constData();
    EXPECT_EQ(QString::fromUtf8(rest.out),
              QString::fromUtf8(Status(kMessages - first) +
                                TallyLine(kMessages - first, kMessages - first)));
}
