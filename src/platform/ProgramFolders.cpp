#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <unistd.h>

#ifndef TALLOWMERE_SHARE_DIR
#define TALLOWMERE_SHARE_DIR "/usr/local/share/tallowmere"
#endif

namespace {

bool CanWriteIn(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-test-XXXXXX")));
    return probe.open();
}

} // namespace

ProgramFolders ProgramFolders::Resolve(const QString& executableFolder)
{
    QString program = qEnvironmentVariable("TALLOWMERE_HOME");
    if (program.isEmpty() && !executableFolder.isEmpty()) {
        // The build tree holds the program folder beside the executables; an
        // installed tree (a package, or a copy moved elsewhere) in
        // ../share/tallowmere, whichever prefix it was built for.
        const QDir executable(executableFolder);
        for (const QString& candidate :
             {executable.path(), executable.filePath(QStringLiteral("../share/tallowmere"))}) {
            if (QFileInfo::exists(QDir(candidate).filePath(QStringLiteral("default.cfg")))) {
                program = candidate;
                break;
            }
        }
    }
    if (program.isEmpty())
        program = QStringLiteral(TALLOWMERE_SHARE_DIR);
    program = QDir::cleanPath(QDir(program).absolutePath());

    QString writable = program;
    if (!CanWriteIn(program)) {
        writable = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (writable.isEmpty())
            writable = QDir::home().filePath(QStringLiteral(".local/share/Tallowmere"));
        QDir().mkpath(writable);
    }
    return ProgramFolders(program, writable);
}

QString ProgramFolders::SearchResultFile() const
{
    return QDir(m_results.isEmpty() ? m_writable : m_results)
        .filePath(QStringLiteral("TempDB.tdb"));
}

QString ProgramFolders::PrivateFoldersPlace() const
{
    const auto ownedByUser = [](const QString& folder, bool privateOnly) {
        const QFileInfo info(folder);
        if (folder.isEmpty() || !info.isDir() || info.ownerId() != geteuid())
            return false;
        return !privateOnly || (info.permissions() & (QFile::ReadGroup | QFile::WriteGroup |
                                                      QFile::ReadOther | QFile::WriteOther)) == 0;
    };
    // Asked only when set: without it Qt warns and makes one in /tmp.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (ownedByUser(runtime, true))
        return runtime;
    if (ownedByUser(m_writable, false))
        return m_writable;
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        data = QDir::home().filePath(QStringLiteral(".local/share/Tallowmere"));
    QDir().mkpath(data);
    return data;
}

QString ProgramFolders::ProgramFile(const QString& name) const
{
    return QDir(m_program).filePath(name);
}

QString ProgramFolders::WritableFile(const QString& name) const
{
    return QDir(m_writable).filePath(name);
}

QString ProgramFolders::FindFile(const QString& name) const
{
    if (m_writable != m_program) {
        const QString found = FindFileIgnoringCase(m_writable, name);
        if (!found.isEmpty())
            return found;
    }
    return FindFileIgnoringCase(m_program, name);
}

QString FindFileIgnoringCase(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}
