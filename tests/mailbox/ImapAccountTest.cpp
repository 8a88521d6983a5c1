#include "mailbox/ImapAccount.h"

#include <gtest/gtest.h>

TEST(ImapAccount, ReadsTheAddressAndNamesItTheSameWay)
{
    const struct {
        const char* address;
        bool valid;
        bool tls;
        int port;
        const char* folder;
        bool loopback;
    } cases[] = {
        {"imaps://ann@mail.example.org/INBOX", true, true, 993, "INBOX", false},
        {"imap://ann@127.0.0.1:1143/Forms/2024", true, false, 1143, "Forms/2024", true},
        {"imap://ann@[::1]/INBOX", true, false, 143, "INBOX", true},
        {"imaps://ann@localhost/My%20Forms", true, true, 993, "My Forms", true},
        {"imaps://mail.example.org/INBOX", false, true, 0, "", false},
        {"imaps://ann@mail.example.org/", false, true, 0, "", false},
        {"https://ann@mail.example.org/INBOX", false, true, 0, "", false},
    };
    for (const auto& c : cases) {
        QString error;
        const auto account = ImapAccount::Parse(QString::fromLatin1(c.address), &error);
        ASSERT_EQ(account.has_value(), c.valid) << c.address;
        if (!account) {
            EXPECT_TRUE(error.contains(QString::fromLatin1(c.address))) << error.toStdString();
            continue;
        }
        EXPECT_EQ(account->tls, c.tls) << c.address;
        EXPECT_EQ(account->port, c.port) << c.address;
        EXPECT_EQ(account->folder, QString::fromLatin1(c.folder)) << c.address;
        EXPECT_EQ(account->IsLoopback(), c.loopback) << c.address;
        const auto again = ImapAccount::Parse(account->Name(), &error);
        ASSERT_TRUE(again) << error.toStdString();
        EXPECT_EQ(again->Name(), account->Name());
    }
}

// Plain IMAP never leaves this machine: imap:// elsewhere must upgrade with
// STARTTLS (the connection is refused when the server does not offer it).
TEST(ImapAccount, PlainImapOnlyOnThisMachine)
{
    using S = ImapAccount::StartTls;
    const struct {
        const char* address;
        bool startTlsAlways;
        S withoutCa;
        S withCa;
    } cases[] = {
        {"imap://ann@mail.example.org/INBOX", false, S::Required, S::Required},
        {"imap://ann@127.0.0.2/INBOX", false, S::Required, S::Required},
        {"imap://ann@127.0.0.1/INBOX", false, S::Never, S::IfOffered},
        {"imap://ann@localhost/INBOX", true, S::Required, S::Required},
        {"imaps://ann@mail.example.org/INBOX", false, S::Never, S::Never},
    };
    for (const auto& c : cases) {
        QString error;
        auto account = ImapAccount::Parse(QString::fromLatin1(c.address), &error);
        ASSERT_TRUE(account) << error.toStdString();
        account->startTlsAlways = c.startTlsAlways;
        EXPECT_EQ(account->StartTlsUse(false), c.withoutCa) << c.address;
        EXPECT_EQ(account->StartTlsUse(true), c.withCa) << c.address;
    }
}
