#include "session/Session.h"

#include <QDir>

Session::Session(Ui& ui_, ProgramFolders folders, Regional regional, const Clock* clock)
    : ui(ui_), Folders(std::move(folders)), RegionalSettings(std::move(regional)),
      Now(clock ? *clock : m_systemClock)
{
    Tables.SetUi(&ui);
    m_private = std::make_unique<QTemporaryDir>(
        QDir(Folders.PrivateFoldersPlace()).filePath(QStringLiteral("tallowmere-XXXXXX")));
    if (m_private->isValid())
        Folders.SetResultsFolder(m_private->path());
}
