#pragma once

#include "mailbox/ImapAccount.h"

#include <QList>
#include <QString>
#include <QStringList>

class ProgramFolders;

enum class MailSecurity {
    Tls,      // TLS from the start (imaps)
    StartTls, // plain connection upgraded with STARTTLS
    Plain,    // no encryption: only to a server on this machine
};

// A mailbox the desktop program fetches from, as the user saved it. The
// password is never part of it (see PasswordStore).
struct MailAccount {
    QString name; // how the user knows it; one account of a name
    QString server;
    int port = 993;
    MailSecurity security = MailSecurity::Tls;
    QString user;
    QStringList folders{QStringLiteral("INBOX")};
    QString subject; // when set, only messages whose subject holds it
    QString sender;  // when set, only messages whose From holds it
    QString caFile;  // the certificate (or its issuer's) the server is trusted by
    // A certificate of the server's own the user chose to trust, kept in
    // the settings folder.
    QString trustedCertificate;

    // One folder of the account, as the IMAP client takes it.
    ImapAccount Folder(const QString& folder) const;
    // Names the account's password in the keychain.
    QString PasswordKey() const;
    // Why the account cannot be saved or fetched from; empty when it can.
    QString Problem() const;

    bool operator==(const MailAccount&) const = default;
};

// The saved accounts live in "MailAccounts.ini" of the settings folder.
QList<MailAccount> LoadMailAccounts(const ProgramFolders& folders);
bool SaveMailAccounts(const ProgramFolders& folders, const QList<MailAccount>& accounts,
                      QString* error);
