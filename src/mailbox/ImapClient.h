#pragma once

#include "mailbox/ImapAccount.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

// What went wrong talking to the server, as the user is told it.
enum class ImapFault {
    None,
    Login,       // user name or password refused
    Folder,      // the folder cannot be opened
    Certificate, // the server's certificate was refused
    NoStartTls,  // imap:// to a server that does not offer STARTTLS
    Connection,  // could not connect, or the connection was dropped
    Other,
};

// Which messages a search asks for, besides UIDs not seen before.
struct ImapFilter {
    QDate since;     // when valid, received on or after it
    QString subject; // when set, a subject holding it
    QString sender;  // when set, a From holding it
};

// What a connection that does not log in learnt of the server's certificate.
struct ServerCertificate {
    bool reached = false; // the server answered (the failure's reason in error)
    bool trusted = false; // verified against the system's certificates or the CA file
    QByteArray pem;       // the server's own certificate, when not trusted
    QString fingerprint;  // its SHA-256 as "AB:CD:..."
    QString error;
};

// One connection to an IMAP server through libcurl. It reads only: the
// folder is opened with EXAMINE and messages are fetched with BODY.PEEK[],
// so no flag changes on the server.
class ImapClient {
public:
    struct Message {
        qint64 uid = 0;
        QByteArray raw;
    };

    ImapClient(const ImapAccount& account, const QString& password, const QString& caFile);
    ~ImapClient();
    ImapClient(const ImapClient&) = delete;
    ImapClient& operator=(const ImapClient&) = delete;

    // Opens the folder read-only; its UIDVALIDITY.
    bool Examine(qint64* uidValidity);
    // The UIDs above after of messages the filter takes, ascending.
    bool Search(qint64 after, const ImapFilter& filter, std::vector<qint64>* uids);
    // Fetches the messages of uids, each handed to take whole as it is
    // complete. On a dropped connection the messages before are handed on
    // all the same, and partial is set when one was cut short.
    bool Fetch(const std::vector<qint64>& uids, const std::function<void(Message&&)>& take,
               bool* partial);

    // Connects without logging in, so no password goes to a server not yet
    // trusted, and checks its certificate; an untrusted one is handed back
    // for the user to judge.
    static ServerCertificate CheckCertificate(const ImapAccount& account, const QString& caFile);

    ImapFault Fault() const { return m_fault; }
    // The reason of the last failure: libcurl's text and the server's.
    QString Error() const { return m_error; }

private:
    bool Run(const QByteArray& command, QByteArray* untagged);
    // A new connection, the folder opened again under the same UIDVALIDITY.
    bool Reopen();
    // The messages of the last command's answer; false when one was cut short.
    bool Literals(std::vector<Message>* messages);
    bool Sizes(const std::vector<qint64>& uids, std::map<qint64, qint64>* sizes);

    struct Private;
    std::unique_ptr<Private> d;
    ImapFault m_fault = ImapFault::None;
    QString m_error;
};
