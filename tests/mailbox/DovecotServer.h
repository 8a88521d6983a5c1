#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>
#include <QString>
#include <atomic>
#include <thread>

// A real Dovecot for one test or benchmark: its own configuration, a passwd-file user
// "ann" (password "secret") with a Maildir, and a self-signed certificate
// for 127.0.0.1 made with openssl, listening on free loopback ports (IMAP
// with STARTTLS, and IMAPS). Stopped when destroyed. Run as root, the mail
// belongs to "nobody" and the login processes run as Dovecot's own users.
class DovecotServer {
public:
    DovecotServer();
    ~DovecotServer();

    bool Start(QString* error);
    void Stop();

    int ImapPort() const { return m_imapPort; }
    int ImapsPort() const { return m_imapsPort; }
    QString CaFile() const { return File(QStringLiteral("cert.pem")); }
    QString PasswordFile() const { return File(QStringLiteral("password")); }
    QString Address(bool tls = true, int port = 0) const;

    // A new message in the inbox, received at received.
    void Deliver(const QString& name, const QByteArray& message,
                 const QDateTime& received = QDateTime::currentDateTime());
    // Forgets the folder's UIDs, as a server restored from a backup does:
    // the folder comes back under a new UIDVALIDITY.
    bool ResetUidValidity(QString* error);
    // The names of the folder's message files (their flags follow ":2,").
    QStringList MessageFiles() const;

private:
    QString Maildir() const;
    void Own(const QString& path) const;
    QString File(const QString& name) const;
    QString Write(const QString& name, const QByteArray& bytes) const;

    QTemporaryDir m_dir;
    QProcess m_process;
    int m_imapPort = 0;
    int m_imapsPort = 0;
};

// A loopback TCP relay to a server that cuts the connection once it has
// passed cutAfter bytes from the server: a server gone mid-message.
class CuttingRelay {
public:
    CuttingRelay(int serverPort, qint64 cutAfter);
    ~CuttingRelay();
    int Port() const { return m_port; }

private:
    void Serve();

    int m_listen = -1;
    int m_port = 0;
    int m_serverPort;
    qint64 m_cutAfter;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// A free TCP port on 127.0.0.1.
int FreePort();
