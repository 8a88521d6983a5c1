#pragma once

#include "mailbox/MailAccount.h"
#include "mailbox/MailboxFetch.h"

#include <QList>
#include <optional>

class PasswordStore;
class Session;

struct PasswordAnswer {
    QString password;
    bool remember = false; // keep it in the keychain
};

// What the fetch dialog does for its controller.
class MailboxFetchView {
public:
    virtual ~MailboxFetchView() = default;
    // The password of account, asked of the user (reason says why, when
    // it is asked again); nullopt when the user cancels.
    virtual std::optional<PasswordAnswer> AskPassword(const MailAccount& account,
                                                      const QString& reason) = 0;
};

// File > Fetch responses from mailbox: the saved accounts, and a fetch of
// every folder of one into the open database. The password comes from the
// keychain or is asked; a server with an untrusted certificate is trusted
// only when the user says so, seeing its fingerprint, and that choice is
// remembered with the account. Every message goes through the session's Ui,
// which also shows the progress with Cancel; the tally ends the fetch.
class MailboxFetchController {
public:
    MailboxFetchController(Session& session, PasswordStore& passwords, MailboxFetchView& view);

    const QList<MailAccount>& Accounts() const { return m_accounts; }
    const MailAccount* Account(const QString& name) const;
    // Adds the account, or replaces the one of the name given as old (or of
    // its own name); false after telling why.
    bool SaveAccount(const MailAccount& account, const QString& old = QString());
    bool RemoveAccount(const QString& name);

    // Fetches the account's folders in turn; again stores known messages too.
    FetchOutcome Fetch(const QString& name, bool again);

private:
    bool Store(QList<MailAccount> accounts);
    // The CA file to verify the server with; empty when the system's
    // certificates do. False when the user would not trust the server or
    // the server cannot be reached (told, and counted in outcome).
    bool ChooseCaFile(MailAccount& account, QString* caFile, FetchOutcome& outcome);
    std::optional<QString> Password(const MailAccount& account, const QString& reason);

    Session& m_session;
    PasswordStore& m_passwords;
    MailboxFetchView& m_view;
    QList<MailAccount> m_accounts;
};
