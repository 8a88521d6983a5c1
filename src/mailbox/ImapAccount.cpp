#include "mailbox/ImapAccount.h"

#include <QUrl>

std::optional<ImapAccount> ImapAccount::Parse(const QString& address, QString* error)
{
    const QUrl url(address, QUrl::StrictMode);
    ImapAccount account;
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("imap") && scheme != QLatin1String("imaps"))) {
        *error = QStringLiteral("not an imap:// or imaps:// address: ") + address;
        return std::nullopt;
    }
    account.tls = scheme == QLatin1String("imaps");
    account.user = url.userName(QUrl::FullyDecoded);
    account.host = url.host(QUrl::FullyDecoded);
    account.port = url.port(account.tls ? 993 : 143);
    account.folder = url.path(QUrl::FullyDecoded).mid(1);
    if (account.user.isEmpty() || account.host.isEmpty() || account.folder.isEmpty()) {
        *error = QStringLiteral("the address needs a user, a server and a folder "
                                "(imaps://USER@HOST/FOLDER): ") +
                 address;
        return std::nullopt;
    }
    return account;
}

bool ImapAccount::IsLoopback() const
{
    const QString h = host.toLower();
    return h == QLatin1String("127.0.0.1") || h == QLatin1String("::1") ||
           h == QLatin1String("localhost");
}

ImapAccount::StartTls ImapAccount::StartTlsUse(bool haveCaFile) const
{
    if (tls)
        return StartTls::Never;
    if (startTlsAlways || !IsLoopback())
        return StartTls::Required;
    return haveCaFile ? StartTls::IfOffered : StartTls::Never;
}

QString ImapAccount::ServerUrl() const
{
    QUrl url;
    url.setScheme(tls ? QStringLiteral("imaps") : QStringLiteral("imap"));
    url.setHost(host);
    url.setPort(port);
    url.setPath(QStringLiteral("/"));
    return url.toString(QUrl::FullyEncoded);
}

QString ImapAccount::Name() const
{
    QUrl url;
    url.setScheme(tls ? QStringLiteral("imaps") : QStringLiteral("imap"));
    url.setUserName(user);
    url.setHost(host);
    url.setPort(port);
    url.setPath(QLatin1Char('/') + folder);
    return url.toString(QUrl::FullyEncoded);
}
