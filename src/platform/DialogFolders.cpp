#include "platform/DialogFolders.h"

#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"
#include "platform/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

QString FileDialogKind(const FileDialogRequest& request)
{
    static const QRegularExpression kExtension(QStringLiteral("^\\*\\.([A-Za-z0-9_]+)$"));
    QString kind = request.defaultExtension;
    for (int i = 0; kind.isEmpty() && i < request.filters.size(); ++i) {
        for (const QString& pattern : request.filters[i].pattern.split(QLatin1Char(';'))) {
            const QRegularExpressionMatch match = kExtension.match(pattern.trimmed());
            if (match.hasMatch()) {
                kind = match.captured(1);
                break;
            }
        }
    }
    return kind.isEmpty() ? QStringLiteral("any") : kind.toLower();
}

QString LastFolderKey(const QString& kind)
{
    return QLatin1String(Settings::LastFolder.name) + QLatin1Char('_') + kind;
}

QString DialogStartFolder(const ProgramFolders& folders, const FileDialogRequest& request)
{
    const QString last = IniFile::Read(folders.SettingsFile(), QLatin1String(kSettingsSection),
                                       LastFolderKey(FileDialogKind(request)));
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void RememberDialogFolder(const ProgramFolders& folders, const FileDialogRequest& request,
                          const QStringList& chosen)
{
    if (chosen.isEmpty())
        return;
    const QString folder = QFileInfo(chosen.first()).absolutePath();
    IniFile::Write(folders.SettingsFile(), QLatin1String(kSettingsSection),
                   LastFolderKey(FileDialogKind(request)), QDir::toNativeSeparators(folder),
                   nullptr);
}
