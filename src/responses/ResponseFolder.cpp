#include "responses/ResponseFolder.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

void WalkResponseFolder(const QString& folder, const std::function<void(const QString&)>& onFile,
                        const std::function<void(const QString&)>& onFolder)
{
    if (onFolder)
        onFolder(folder);
    QStringList names;
    QStringList folders;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo& info = it.fileInfo();
        (info.isDir() ? folders : names).append(info.fileName());
    }
    const bool maildir =
        folders.contains(QStringLiteral("cur")) && folders.contains(QStringLiteral("new"));
    if (maildir)
        folders = QStringList{QStringLiteral("cur"), QStringLiteral("new")};
    else
        for (const QString& name : names)
            onFile(folder + u'/' + name);
    for (const QString& name : folders)
        WalkResponseFolder(folder + u'/' + name, onFile, onFolder);
}
