#include "../database/DatabaseFixture.h"
#include "mailbox/DovecotServer.h"
#include "mailbox/MailboxFetchController.h"
#include "mailbox/PasswordStore.h"
#include "support/TallyLine.h"

#include <QMap>
#include <gtest/gtest.h>

namespace {

// A keychain in memory; with answers false, one that never answers.
struct MemoryStore : PasswordStore {
    bool answers = true;
    QMap<QString, QString> kept;
    std::optional<QString> Read(const QString& key, QString* error) override
    {
        if (!answers || !kept.contains(key)) {
            *error = QStringLiteral("no keychain");
            return std::nullopt;
        }
        return kept.value(key);
    }
    bool Write(const QString& key, const QString& password, QString* error) override
    {
        *error = QStringLiteral("no keychain");
        if (answers)
            kept[key] = password;
        return answers;
    }
    void Remove(const QString& key) override { kept.remove(key); }
};

struct AskingView : MailboxFetchView {
    QStringList asked;
    std::optional<PasswordAnswer> answer = PasswordAnswer{QStringLiteral("secret"), true};
    std::optional<PasswordAnswer> AskPassword(const MailAccount& account,
                                              const QString& reason) override
    {
        asked << account.name + u'|' + reason;
        return answer;
    }
};

class FetchController : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(server.Start(&error)) << error.toStdString();
        f.CreateAndOpen();
        account.name = QStringLiteral("Office");
        account.server = QStringLiteral("127.0.0.1");
        account.port = server.ImapsPort();
        account.user = QStringLiteral("ann");
        account.caFile = server.CaFile();
        for (int n = 1; n <= 12; ++n)
            server.Deliver(QString::number(n),
                           "From: forms@example.org\r\nSubject: Form\r\nMessage-ID: <" +
                               QByteArray::number(n) + "@example.org>\r\n\r\nname=Person" +
                               QByteArray::number(n) + "\r\n");
    }
    QString LastMessage() const { return f.ui.MessageTexts().value(f.ui.messages.size() - 1); }

    DovecotServer server;
    DatabaseFixture f;
    MemoryStore store;
    AskingView view;
    MailboxFetchController controller{f.session, store, view};
    MailAccount account;
};

} // namespace

TEST_F(FetchController, ACancelledFetchKeepsWhatItStoredAndTheNextGoesOn)
{
    ASSERT_TRUE(controller.SaveAccount(account));
    store.kept[account.PasswordKey()] = QStringLiteral("secret");
    f.ui.CancelAfterUpdates(4);
    const FetchOutcome first = controller.Fetch(QStringLiteral("Office"), false);
    EXPECT_TRUE(first.stopped);
    const int stored = f.Count("SELECT count(*) FROM Forms");
    EXPECT_GT(stored, 0);
    EXPECT_LT(stored, 12);
    EXPECT_EQ(first.tally.stored, stored);
    EXPECT_EQ(LastMessage(), QStringLiteral("Import finished: ") +
                                 QString::fromUtf8(TallyLine(stored, stored)).trimmed());

    const FetchOutcome second = controller.Fetch(QStringLiteral("Office"), false);
    EXPECT_FALSE(second.failed || second.stopped);
    EXPECT_EQ(second.tally.stored, 12 - stored);
    EXPECT_EQ(second.tally.known, 0);
    EXPECT_EQ(f.Count("SELECT count(DISTINCT Form_Name) FROM Forms"), 12);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 12);
    EXPECT_TRUE(view.asked.isEmpty());
}

TEST_F(FetchController, AWrongPasswordIsToldByAccountAndAskedForNextTime)
{
    ASSERT_TRUE(controller.SaveAccount(account));
    store.kept[account.PasswordKey()] = QStringLiteral("wrong");
    const FetchOutcome refused = controller.Fetch(QStringLiteral("Office"), false);
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(refused.tally.failed, 1);
    ASSERT_GE(f.ui.messages.size(), 2);
    EXPECT_TRUE(f.ui.MessageTexts()[0].startsWith(
        QStringLiteral("Fetch from account \"Office\" (imaps://ann@127.0.0.1:%1/INBOX): the "
                       "server refused the user name or password")
            .arg(server.ImapsPort())))
        << f.ui.MessageTexts()[0].toStdString();
    EXPECT_FALSE(store.kept.contains(account.PasswordKey()));

    // Asked, kept, and taken from the keychain the time after.
    EXPECT_EQ(controller.Fetch(QStringLiteral("Office"), false).tally.stored, 12);
    EXPECT_EQ(controller.Fetch(QStringLiteral("Office"), false).tally.Read(), 0);
    EXPECT_EQ(view.asked, QStringList{"Office|"});
    EXPECT_EQ(store.kept.value(account.PasswordKey()), QStringLiteral("secret"));
}

TEST_F(FetchController, WithoutAKeychainThePasswordIsAskedEachTime)
{
    store.answers = false;
    account.folders = QStringList{"INBOX", "Nowhere"};
    account.subject = QStringLiteral("Form");
    account.sender = QStringLiteral("forms@example.org");
    // Left out by the filters: another subject, another sender.
    server.Deliver(QStringLiteral("13"), "From: forms@example.org\r\nSubject: Other\r\n\r\n"
                                         "name=Other\r\n");
    server.Deliver(QStringLiteral("14"), "From: ann@example.org\r\nSubject: Form\r\n\r\n"
                                         "name=Ann\r\n");
    ASSERT_TRUE(controller.SaveAccount(account));
    const FetchOutcome first = controller.Fetch(QStringLiteral("Office"), false);
    // The missing folder fails on its own; the inbox is read all the same.
    EXPECT_TRUE(first.failed);
    EXPECT_EQ(first.tally.stored, 12);
    EXPECT_EQ(first.tally.failed, 1);
    EXPECT_TRUE(f.ui.MessageTexts().join(u'\n').contains(
        QStringLiteral("cannot be kept in the keychain (no keychain)")));
    controller.Fetch(QStringLiteral("Office"), false);
    EXPECT_EQ(view.asked.size(), 2);
    view.answer.reset();
    EXPECT_TRUE(controller.Fetch(QStringLiteral("Office"), false).stopped);
    EXPECT_EQ(f.ui.StatusText(), QStringLiteral("Fetch cancelled"));
}

TEST_F(FetchController, AServerOfItsOwnIsTrustedOnlyWhenTheUserSaysSo)
{
    account.caFile.clear();
    account.security = MailSecurity::StartTls;
    account.port = server.ImapPort();
    store.kept[account.PasswordKey()] = QStringLiteral("secret");
    ASSERT_TRUE(controller.SaveAccount(account));

    f.ui.QueueAnswer(MessageAnswer::No);
    EXPECT_TRUE(controller.Fetch(QStringLiteral("Office"), false).stopped);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 0);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages[0].text.contains(QStringLiteral("SHA-256 fingerprint")));

    f.ui.QueueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(controller.Fetch(QStringLiteral("Office"), false).tally.stored, 12);
    // Remembered with the account, in the settings, without a question.
    const QString pinned = controller.Account(QStringLiteral("Office"))->trustedCertificate;
    EXPECT_FALSE(pinned.isEmpty());
    EXPECT_EQ(LoadMailAccounts(f.session.Folders).front().trustedCertificate, pinned);
    f.ui.messages.clear();
    EXPECT_EQ(controller.Fetch(QStringLiteral("Office"), false).tally.known, 0);
    EXPECT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.unansweredQuestions, 0);

    // A server that cannot be reached is told before a password is asked for.
    MailAccount gone = account;
    gone.name = QStringLiteral("Gone");
    gone.port = FreePort();
    ASSERT_TRUE(controller.SaveAccount(gone));
    f.ui.messages.clear();
    const FetchOutcome unreachable = controller.Fetch(QStringLiteral("Gone"), false);
    EXPECT_TRUE(unreachable.failed);
    EXPECT_EQ(unreachable.tally.failed, 1);
    EXPECT_TRUE(view.asked.isEmpty());
    ASSERT_EQ(f.ui.messages.size(), 2);
    EXPECT_TRUE(f.ui.messages[0].text.startsWith(
        QStringLiteral("Fetch from account \"Gone\" (imap://ann@127.0.0.1:%1/INBOX): the "
                       "connection failed")
            .arg(gone.port)));

    // Plain IMAP is for this machine only; the settings never hold a password.
    MailAccount away = account;
    away.name = QStringLiteral("Away");
    away.server = QStringLiteral("mail.example.org");
    away.security = MailSecurity::Plain;
    EXPECT_FALSE(controller.SaveAccount(away));
    QFile settings(f.session.Folders.WritableFile(QStringLiteral("MailAccounts.ini")));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_FALSE(settings.readAll().contains("secret"));
}
