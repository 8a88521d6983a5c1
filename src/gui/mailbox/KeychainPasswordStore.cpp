#include "gui/mailbox/KeychainPasswordStore.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace {

const QString kService = QStringLiteral("Tallowmere mail accounts");

// Runs the job to its end; the keychain answers over D-Bus, so a dialog
// the keychain shows (to unlock it) keeps working meanwhile.
bool Finish(QKeychain::Job& job, QString* error)
{
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (job.error() == QKeychain::NoError)
        return true;
    if (error)
        *error = job.errorString();
    return false;
}

} // namespace

std::optional<QString> KeychainPasswordStore::Read(const QString& key, QString* error)
{
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(key);
    if (!Finish(job, error))
        return std::nullopt;
    return job.textData();
}

bool KeychainPasswordStore::Write(const QString& key, const QString& password, QString* error)
{
    QKeychain::WritePasswordJob job(kService);
    job.setKey(key);
    job.setTextData(password);
    return Finish(job, error);
}

void KeychainPasswordStore::Remove(const QString& key)
{
    QKeychain::DeletePasswordJob job(kService);
    job.setKey(key);
    Finish(job, nullptr);
}
