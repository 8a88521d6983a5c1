#pragma once

#include <QString>
#include <optional>

// A mailbox folder to fetch from, as given by imap[s]://USER@HOST[:PORT]/FOLDER.
struct ImapAccount {
    bool tls = true; // imaps: TLS from the start; imap: STARTTLS
    QString user;
    QString host;
    int port = 993;
    QString folder;

    // Parses the address; nullopt with the reason when it is not one.
    static std::optional<ImapAccount> Parse(const QString& address, QString* error);

    // 127.0.0.1, ::1 or localhost: plain IMAP is allowed there only.
    bool IsLoopback() const;
    // The server part, as the IMAP client is given it.
    QString ServerUrl() const;
    // What names the folder in the ledger and in messages.
    QString Name() const;
};
