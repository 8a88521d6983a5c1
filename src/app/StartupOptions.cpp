#include "app/StartupOptions.h"

#include "platform/Settings.h"

#include <QStringList>

namespace StartupOptions {

QString QuickTipsText()
{
    return QStringLiteral(
        "- To start, create a new database: choose \"New Database...\" from the File menu and "
        "give the file a name. Each database holds the responses of as many forms as you "
        "like.\r\n\r\n"
        "- Import many responses at once: save the e-mail messages to a text file (one after "
        "the other, separated by blank lines) and choose \"Import record(s) from file(s)...\". "
        "You can pick several files in one go, or copy one response to the clipboard and use "
        "\"Import record from Clipboard\".\r\n\r\n"
        "- View a record by double-clicking it in the summary. Press \"Edit record\" to change "
        "its values, and write your own notes about a record in its Notes box.\r\n\r\n"
        "- Search with Quick Find in the summary window (one field, a pattern such as *smith*), "
        "or build a query of several rows with the Query Builder and save it for next "
        "time.\r\n\r\n"
        "- Print your records through a report template, or export them as a text file, an "
        "HTML page or a delimited text file that a spreadsheet can read.");
}

QString SampleQueriesNote()
{
    return QStringList{
        QStringLiteral("Along with the sample database, some sample QUERIES"),
        QStringLiteral("are also provided. To run these queries, press the"),
        QStringLiteral("'Search' button on the toolbar, or select "),
        QStringLiteral("'Search' from the Options menu. Then press the"),
        QStringLiteral("'Load Query' button to load one of the sample query"),
        QStringLiteral("files. For more information on creating and saving"),
        QStringLiteral("your own queries, please see the help file (or press F1)."),
    }
        .join(QStringLiteral("\r\n"));
}

bool AutoOpenTicked(const ProgramFolders& folders)
{
    return ReadSettingNumber(folders, Settings::AutoLoadDB) == 1;
}

bool NoWizardTicked(const ProgramFolders& folders)
{
    return ReadSettingNumber(folders, Settings::NoWizard) == 1;
}

bool AutoOpenChanged(const ProgramFolders& folders, bool ticked, const QString& openDatabasePath,
                     QString* error)
{
    if (!WriteSettingFlag(folders, Settings::AutoLoadDB, ticked, error))
        return false;
    const QString path = openDatabasePath.trimmed();
    if (ticked && !path.isEmpty())
        return WriteSetting(folders, Settings::LastUsedDB, path, error);
    return true;
}

bool NoWizardChanged(const ProgramFolders& folders, bool ticked, QString* error)
{
    return WriteSettingFlag(folders, Settings::NoWizard, ticked, error);
}

bool StaysOpenAfter(int task)
{
    return task == ViewTutorial;
}

} // namespace StartupOptions
