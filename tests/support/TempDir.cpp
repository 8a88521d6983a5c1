#include "support/TempDir.h"

#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

TempDir::TempDir() = default;

QString TempDir::File(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

QString TempDir::Write(const QString& name, const QByteArray& bytes) const
{
    const QString path = File(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray TempDir::Read(const QString& name) const
{
    QFile file(File(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ProgramFolders TempDir::Folders() const
{
    return ProgramFolders(Path(), Path());
}

QLocale TestLocale()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

int RunCli(const QStringList& args, QByteArray* out, QByteArray* err, const QByteArray& programHome)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    if (!programHome.isEmpty())
        env.insert(QStringLiteral("TALLOWMERE_HOME"), QString::fromUtf8(programHome));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TALLOWMERE_CLI), args);
    process.waitForFinished(300000);
    if (out)
        *out = process.readAllStandardOutput();
    if (err)
        *err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
