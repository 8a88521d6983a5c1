#pragma once

#include <QString>
#include <optional>

// A mailbox folder to fetch from, as given by imap[s]://USER@HOST[:PORT]/FOLDER.
struct ImapAccount {
    bool tls = true; // imaps: TLS from the start; imap: STARTTLS
    // imap: STARTTLS even on this machine, where plain IMAP is otherwise
    // taken when no CA file is given (a saved account that asks for it).
    bool startTlsAlways = false;
    QString user;
    QString host;
    int port = 993;
    QString folder;

    // Parses the address; nullopt with the reason when it is not one.
    static std::optional<ImapAccount> Parse(const QString& address, QString* error);

    // 127.0.0.1, ::1 or localhost: plain IMAP is allowed there only.
    bool IsLoopback() const;
    // How an imap:// connection uses STARTTLS: elsewhere it must, so that
    // mail and password never cross the network unencrypted; on this
    // machine it is used when offered and a CA file says whom to trust.
    enum class StartTls { Never, IfOffered, Required };
    StartTls StartTlsUse(bool haveCaFile) const;
    // The server part, as the IMAP client is given it.
    QString ServerUrl() const;
    // What names the folder in the ledger and in messages.
    QString Name() const;
};
