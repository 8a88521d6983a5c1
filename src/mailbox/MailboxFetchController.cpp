#include "mailbox/MailboxFetchController.h"

#include "mailbox/ImapClient.h"
#include "mailbox/PasswordStore.h"
#include "session/Session.h"

#include <QDir>
#include <QFile>

MailboxFetchController::MailboxFetchController(Session& session, PasswordStore& passwords,
                                               MailboxFetchView& view)
    : m_session(session), m_passwords(passwords), m_view(view),
      m_accounts(LoadMailAccounts(session.Folders))
{}

const MailAccount* MailboxFetchController::Account(const QString& name) const
{
    for (const MailAccount& a : m_accounts)
        if (a.name == name)
            return &a;
    return nullptr;
}

bool MailboxFetchController::Store(QList<MailAccount> accounts)
{
    QString error;
    if (!SaveMailAccounts(m_session.Folders, accounts, &error)) {
        m_session.ui.MessageBox(QStringLiteral("The mail accounts cannot be saved: ") + error,
                                MessageIcon::Exclamation);
        return false;
    }
    m_accounts = std::move(accounts);
    return true;
}

bool MailboxFetchController::SaveAccount(const MailAccount& account, const QString& old)
{
    MailAccount a = account;
    a.name = a.name.trimmed();
    a.server = a.server.trimmed();
    a.folders.removeAll(QString());
    const QString problem = a.Problem();
    if (!problem.isEmpty()) {
        m_session.ui.MessageBox(problem, MessageIcon::Exclamation);
        return false;
    }
    const QString replaced = old.isEmpty() ? a.name : old;
    QList<MailAccount> accounts = m_accounts;
    qsizetype at = accounts.size();
    for (qsizetype i = 0; i < accounts.size(); ++i) {
        if (accounts[i].name == a.name && a.name != replaced) {
            m_session.ui.MessageBox(
                QStringLiteral("There is an account \"%1\" already.").arg(a.name),
                MessageIcon::Exclamation);
            return false;
        }
        if (accounts[i].name == replaced)
            at = i;
    }
    if (at < accounts.size()) {
        // A trusted certificate belongs to the server it was seen on.
        if (accounts[at].server != a.server || accounts[at].port != a.port)
            a.trustedCertificate.clear();
        accounts[at] = a;
    } else {
        accounts.append(a);
    }
    return Store(accounts);
}

bool MailboxFetchController::RemoveAccount(const QString& name)
{
    QList<MailAccount> accounts = m_accounts;
    for (qsizetype i = 0; i < accounts.size(); ++i)
        if (accounts[i].name == name) {
            const MailAccount gone = accounts.takeAt(i);
            if (!Store(accounts))
                return false;
            m_passwords.Remove(gone.PasswordKey());
            return true;
        }
    return false;
}

bool MailboxFetchController::ChooseCaFile(MailAccount& account, QString* caFile,
                                          FetchOutcome& outcome)
{
    Ui& ui = m_session.ui;
    if (account.security == MailSecurity::Plain)
        return true;
    // A CA file the user chose decides alone; a refusal is told by the fetch.
    if (!account.caFile.isEmpty()) {
        *caFile = account.caFile;
        return true;
    }
    const QString trusted =
        QFile::exists(account.trustedCertificate) ? account.trustedCertificate : QString();
    const ServerCertificate seen =
        ImapClient::CheckCertificate(account.Folder(account.folders.front()), trusted);
    *caFile = trusted;
    if (!seen.reached) {
        // Told before the password is asked for, in the words of the fetch.
        ui.MessageBox(
            QStringLiteral("Fetch from account \"%1\" (%2): the connection failed or "
                           "was dropped (%3)")
                .arg(account.name, account.Folder(account.folders.front()).Name(), seen.error),
            MessageIcon::Exclamation);
        outcome.failed = true;
        outcome.tally.failed = 1;
        return false;
    }
    if (seen.trusted || seen.pem.isEmpty())
        return true;
    const QString question =
        QStringLiteral("The certificate of %1 (account \"%2\") is not signed by an authority this "
                       "system trusts%3.\n\nIts SHA-256 fingerprint is\n%4\n\nTrust this "
                       "certificate for this account? Say yes only when the fingerprint is the "
                       "one the server's administrator gave you.")
            .arg(account.server, account.name,
                 trusted.isEmpty() ? QString()
                                   : QStringLiteral(", and it is not the one trusted before"),
                 seen.fingerprint);
    if (ui.MessageBox(question, MessageIcon::Question, MessageButtons::YesNo) !=
        MessageAnswer::Yes) {
        ui.SetStatusText(QStringLiteral("Fetch cancelled"));
        outcome.stopped = true;
        return false;
    }
    const QString folder = m_session.Folders.WritableFile(QStringLiteral("Certificates"));
    const QString path =
        folder + u'/' + QString(seen.fingerprint).remove(u':').left(32) + QStringLiteral(".pem");
    QFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
        file.write(seen.pem) != seen.pem.size() || !file.flush()) {
        ui.MessageBox(QStringLiteral("The certificate cannot be kept: ") + path +
                          QStringLiteral(": ") + file.errorString(),
                      MessageIcon::Exclamation);
        outcome.failed = true;
        return false;
    }
    file.close();
    account.trustedCertificate = path;
    SaveAccount(account);
    *caFile = path;
    return true;
}

std::optional<QString> MailboxFetchController::Password(const MailAccount& account,
                                                        const QString& reason)
{
    QString error;
    if (reason.isEmpty())
        if (const auto kept = m_passwords.Read(account.PasswordKey(), &error))
            return kept;
    const auto answer = m_view.AskPassword(account, reason);
    if (!answer)
        return std::nullopt;
    if (answer->remember && !m_passwords.Write(account.PasswordKey(), answer->password, &error))
        m_session.ui.MessageBox(QStringLiteral("The password of \"%1\" cannot be kept in the "
                                               "keychain (%2); it will be asked for each time.")
                                    .arg(account.name, error),
                                MessageIcon::Exclamation);
    return answer->password;
}

FetchOutcome MailboxFetchController::Fetch(const QString& name, bool again)
{
    Ui& ui = m_session.ui;
    FetchOutcome total;
    const MailAccount* found = Account(name);
    if (!found) {
        ui.MessageBox(QStringLiteral("There is no account \"%1\".").arg(name),
                      MessageIcon::Exclamation);
        total.failed = true;
        return total;
    }
    MailAccount account = *found;
    const QString problem = account.Problem();
    if (!problem.isEmpty() || !m_session.Database.CurrentDatabase) {
        ui.MessageBox(problem.isEmpty() ? QStringLiteral("No database is open.") : problem,
                      MessageIcon::Exclamation);
        total.failed = true;
        return total;
    }
    QString caFile;
    if (!ChooseCaFile(account, &caFile, total)) {
        if (total.tally.Read() > 0)
            ui.MessageBox(QStringLiteral("Import finished: ") + total.tally.Line(),
                          MessageIcon::Information);
        return total;
    }
    const auto password = Password(account, QString());
    if (!password) {
        ui.SetStatusText(QStringLiteral("Fetch cancelled"));
        total.stopped = true;
        return total;
    }
    FetchRequest request;
    request.password = *password;
    request.caFile = caFile;
    request.filter.subject = account.subject;
    request.filter.sender = account.sender;
    request.again = again;
    request.label = QStringLiteral("account \"%1\"").arg(account.name);
    request.certificateHint =
        QStringLiteral("choose that certificate (or its issuer's) as the account's CA file");
    for (const QString& folder : account.folders) {
        request.account = account.Folder(folder);
        const FetchOutcome outcome = FetchResponses(m_session, request);
        total.tally += outcome.tally;
        total.failed = total.failed || outcome.failed;
        total.stopped = outcome.stopped;
        if (outcome.fault == ImapFault::Login)
            // A kept password the server refuses is asked for next time.
            m_passwords.Remove(account.PasswordKey());
        if (outcome.stopped ||
            (outcome.fault != ImapFault::None && outcome.fault != ImapFault::Folder))
            break;
    }
    ui.MessageBox(QStringLiteral("Import finished: ") + total.tally.Line(),
                  MessageIcon::Information);
    return total;
}
