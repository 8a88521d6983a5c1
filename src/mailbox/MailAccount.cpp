#include "mailbox/MailAccount.h"

#include "platform/ProgramFolders.h"

#include <QSettings>

namespace {

QString AccountsFile(const ProgramFolders& folders)
{
    return folders.WritableFile(QStringLiteral("MailAccounts.ini"));
}

const char* const kSecurity[] = {"tls", "starttls", "plain"};

} // namespace

ImapAccount MailAccount::Folder(const QString& folder) const
{
    ImapAccount account;
    account.tls = security == MailSecurity::Tls;
    account.startTlsAlways = security == MailSecurity::StartTls;
    account.user = user;
    account.host = server;
    account.port = port;
    account.folder = folder;
    return account;
}

QString MailAccount::PasswordKey() const
{
    return user + u'@' + server + u':' + QString::number(port);
}

QString MailAccount::Problem() const
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("The account needs a name.");
    if (server.trimmed().isEmpty() || user.trimmed().isEmpty())
        return QStringLiteral("The account \"%1\" needs a server and a user name.").arg(name);
    if (port < 1 || port > 65535)
        return QStringLiteral("The port of the account \"%1\" must be between 1 and 65535.")
            .arg(name);
    if (folders.isEmpty())
        return QStringLiteral("The account \"%1\" needs at least one folder.").arg(name);
    if (security == MailSecurity::Plain && !Folder(folders.front()).IsLoopback())
        return QStringLiteral("The account \"%1\": mail is read unencrypted only from this "
                              "machine (127.0.0.1, ::1 or localhost); choose TLS or STARTTLS.")
            .arg(name);
    return {};
}

QList<MailAccount> LoadMailAccounts(const ProgramFolders& folders)
{
    QSettings file(AccountsFile(folders), QSettings::IniFormat);
    QList<MailAccount> accounts;
    const int count = file.beginReadArray(QStringLiteral("Accounts"));
    for (int i = 0; i < count; ++i) {
        file.setArrayIndex(i);
        MailAccount a;
        a.name = file.value(QStringLiteral("Name")).toString();
        a.server = file.value(QStringLiteral("Server")).toString();
        a.port = file.value(QStringLiteral("Port"), 993).toInt();
        const QString security = file.value(QStringLiteral("Security")).toString();
        for (int s = 0; s < 3; ++s)
            if (security == QLatin1String(kSecurity[s]))
                a.security = static_cast<MailSecurity>(s);
        a.user = file.value(QStringLiteral("User")).toString();
        a.folders = file.value(QStringLiteral("Folders")).toStringList();
        a.subject = file.value(QStringLiteral("Subject")).toString();
        a.sender = file.value(QStringLiteral("Sender")).toString();
        a.caFile = file.value(QStringLiteral("CaFile")).toString();
        a.trustedCertificate = file.value(QStringLiteral("TrustedCertificate")).toString();
        if (!a.name.isEmpty())
            accounts.append(a);
    }
    file.endArray();
    return accounts;
}

bool SaveMailAccounts(const ProgramFolders& folders, const QList<MailAccount>& accounts,
                      QString* error)
{
    QSettings file(AccountsFile(folders), QSettings::IniFormat);
    file.remove(QStringLiteral("Accounts"));
    file.beginWriteArray(QStringLiteral("Accounts"), static_cast<int>(accounts.size()));
    for (int i = 0; i < accounts.size(); ++i) {
        const MailAccount& a = accounts[i];
        file.setArrayIndex(i);
        file.setValue(QStringLiteral("Name"), a.name);
        file.setValue(QStringLiteral("Server"), a.server);
        file.setValue(QStringLiteral("Port"), a.port);
        file.setValue(QStringLiteral("Security"),
                      QLatin1String(kSecurity[static_cast<int>(a.security)]));
        file.setValue(QStringLiteral("User"), a.user);
        file.setValue(QStringLiteral("Folders"), a.folders);
        file.setValue(QStringLiteral("Subject"), a.subject);
        file.setValue(QStringLiteral("Sender"), a.sender);
        file.setValue(QStringLiteral("CaFile"), a.caFile);
        file.setValue(QStringLiteral("TrustedCertificate"), a.trustedCertificate);
    }
    file.endArray();
    file.sync();
    if (file.status() == QSettings::NoError)
        return true;
    *error = AccountsFile(folders) + QStringLiteral(": the file cannot be written");
    return false;
}
