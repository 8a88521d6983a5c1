#include "mailbox/DovecotServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

QString Program(const QString& name)
{
    for (const char* dir : {"/usr/sbin/", "/usr/bin/", "/sbin/"}) {
        const QString path = QLatin1String(dir) + name;
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return name;
}

QString UserName(uid_t uid)
{
    const passwd* entry = getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

bool Accepts(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return ok;
}

int Listen(int* port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return s;
}

} // namespace

int FreePort()
{
    int port = 0;
    ::close(Listen(&port));
    return port;
}

DovecotServer::DovecotServer() = default;

DovecotServer::~DovecotServer()
{
    Stop();
}

QString DovecotServer::File(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

QString DovecotServer::Write(const QString& name, const QByteArray& bytes) const
{
    const QString path = File(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qWarning("cannot write %s", qPrintable(path));
    return path;
}

QString DovecotServer::Maildir() const
{
    return File(QStringLiteral("mail/ann/Maildir"));
}

void DovecotServer::Own(const QString& path) const
{
    if (geteuid() == 0 && ::chown(QFile::encodeName(path).constData(), kNobody, kNobody) != 0)
        qWarning("chown %s failed", qPrintable(path));
}

QString DovecotServer::Address(bool tls, int port) const
{
    return QStringLiteral("%1://ann@127.0.0.1:%2/INBOX")
        .arg(tls ? QStringLiteral("imaps") : QStringLiteral("imap"))
        .arg(port ? port : (tls ? m_imapsPort : m_imapPort));
}

bool DovecotServer::Start(QString* error)
{
    const bool root = geteuid() == 0;
    // Dovecot's processes (nobody, as root) must reach the mail below here.
    QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) | QFileDevice::ExeOther |
                                            QFileDevice::ReadOther | QFileDevice::ExeGroup |
                                            QFileDevice::ReadGroup);
    QDir().mkpath(File(QStringLiteral("state")));
    for (const char* sub : {"cur", "new", "tmp"})
        QDir().mkpath(Maildir() + QLatin1Char('/') + QLatin1String(sub));
    for (const QString& path :
         {File(QStringLiteral("mail")), File(QStringLiteral("mail/ann")), Maildir(),
          Maildir() + QStringLiteral("/cur"), Maildir() + QStringLiteral("/new"),
          Maildir() + QStringLiteral("/tmp")})
        Own(path);

    QProcess openssl;
    openssl.start(Program(QStringLiteral("openssl")),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                   File(QStringLiteral("key.pem")), QStringLiteral("-out"), CaFile(),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost")});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) {
        *error = QStringLiteral("openssl: ") + QString::fromUtf8(openssl.readAllStandardError());
        return false;
    }
    Write(QStringLiteral("password"), "secret\n");

    const uid_t mailUid = root ? kNobody : getuid();
    const gid_t mailGid = root ? kNobody : getgid();
    Write(QStringLiteral("users"), QStringLiteral("ann:{PLAIN}secret:%1:%2::%3\n")
                                       .arg(mailUid)
                                       .arg(mailGid)
                                       .arg(File(QStringLiteral("mail/ann")))
                                       .toUtf8());
    const QString self = UserName(getuid());
    const QString internal =
        root ? (getpwnam("dovecot") ? QStringLiteral("dovecot") : QStringLiteral("nobody")) : self;
    const QString login =
        root ? (getpwnam("dovenull") ? QStringLiteral("dovenull") : QStringLiteral("nobody"))
             : self;
    const group* ownGroup = getgrgid(getgid());
    const QString group =
        root ? (getgrnam("dovecot") ? QStringLiteral("dovecot") : QStringLiteral("nogroup"))
             : QString::fromLocal8Bit(ownGroup ? ownGroup->gr_name : "nogroup");
    m_imapPort = FreePort();
    m_imapsPort = FreePort();
    const QString conf =
        QStringLiteral("protocols = imap\n"
                       "listen = 127.0.0.1\n"
                       "base_dir = %1/run\n"
                       "state_dir = %1/state\n"
                       "log_path = %1/log\n"
                       "default_internal_user = %2\n"
                       "default_login_user = %3\n"
                       "default_internal_group = %7\n"
                       "first_valid_uid = %4\n"
                       "ssl = yes\n"
                       "ssl_cert = <%1/cert.pem\n"
                       "ssl_key = <%1/key.pem\n"
                       "disable_plaintext_auth = no\n"
                       "mail_location = maildir:~/Maildir\n"
                       "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN %1/users\n}\n"
                       "userdb {\n  driver = passwd-file\n  args = %1/users\n}\n"
                       "service anvil {\n  chroot =\n}\n"
                       "service imap-login {\n  chroot =\n"
                       "  inet_listener imap {\n    address = 127.0.0.1\n    port = %5\n  }\n"
                       "  inet_listener imaps {\n    address = 127.0.0.1\n    port = %6\n  }\n"
                       "}\n")
            .arg(m_dir.path(), internal, login)
            .arg(std::min<uid_t>(mailUid, 500))
            .arg(m_imapPort)
            .arg(m_imapsPort)
            .arg(group);
    const QString confPath = Write(QStringLiteral("dovecot.conf"), conf.toUtf8());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(Program(QStringLiteral("dovecot")),
                    {QStringLiteral("-F"), QStringLiteral("-c"), confPath});
    if (!m_process.waitForStarted(10000)) {
        *error = QStringLiteral("dovecot: ") + m_process.errorString();
        return false;
    }
    for (int i = 0; i < 200; ++i) {
        if (Accepts(m_imapPort) && Accepts(m_imapsPort))
            return true;
        if (m_process.state() != QProcess::Running)
            break;
        QThread::msleep(50);
    }
    QFile log(File(QStringLiteral("log")));
    log.open(QIODevice::ReadOnly);
    *error = QStringLiteral("dovecot did not start: ") +
             QString::fromUtf8(m_process.readAll() + log.readAll());
    return false;
}

void DovecotServer::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void DovecotServer::Deliver(const QString& name, const QByteArray& message,
                            const QDateTime& received)
{
    const QString temporary = Maildir() + QStringLiteral("/tmp/") + name;
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly) || file.write(message) != message.size())
        qWarning("cannot write %s", qPrintable(temporary));
    // Written out first: the last write would otherwise date the file.
    file.flush();
    file.setFileTime(received, QFileDevice::FileModificationTime);
    file.close();
    Own(temporary);
    QFile::rename(temporary, Maildir() + QStringLiteral("/new/") + name);
}

bool DovecotServer::ResetUidValidity(QString* error)
{
    Stop();
    // Dovecot takes the time for a new UIDVALIDITY: a second later it differs.
    QThread::msleep(1100);
    QDir maildir(Maildir());
    for (const QString& name : maildir.entryList({QStringLiteral("dovecot*")}, QDir::Files))
        maildir.remove(name);
    return Start(error);
}

QStringList DovecotServer::MessageFiles() const
{
    QStringList names;
    for (const char* sub : {"/cur", "/new"})
        names += QDir(Maildir() + QLatin1String(sub)).entryList(QDir::Files);
    return names;
}

CuttingRelay::CuttingRelay(int serverPort, qint64 cutAfter)
    : m_serverPort(serverPort), m_cutAfter(cutAfter)
{
    m_listen = Listen(&m_port);
    ::listen(m_listen, 4);
    m_thread = std::thread([this] { Serve(); });
}

CuttingRelay::~CuttingRelay()
{
    m_done = true;
    ::shutdown(m_listen, SHUT_RDWR);
    ::close(m_listen);
    m_thread.join();
}

void CuttingRelay::Serve()
{
    while (!m_done) {
        pollfd waiting{m_listen, POLLIN, 0};
        if (::poll(&waiting, 1, 100) <= 0)
            continue;
        const int client = ::accept(m_listen, nullptr, nullptr);
        if (client < 0)
            continue;
        const int server = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(m_serverPort));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        qint64 passed = 0;
        if (::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            char buffer[4096];
            while (!m_done) {
                pollfd both[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
                if (::poll(both, 2, 100) <= 0)
                    continue;
                if (both[0].revents) {
                    const ssize_t n = ::read(client, buffer, sizeof buffer);
                    if (n <= 0 || ::write(server, buffer, static_cast<size_t>(n)) != n)
                        break;
                }
                if (both[1].revents) {
                    ssize_t n = ::read(server, buffer, sizeof buffer);
                    if (n <= 0)
                        break;
                    n = std::min<ssize_t>(n, m_cutAfter - passed);
                    if (n > 0 && ::write(client, buffer, static_cast<size_t>(n)) != n)
                        break;
                    passed += n;
                    if (passed >= m_cutAfter)
                        break;
                }
            }
        }
        ::close(server);
        ::close(client);
    }
}
