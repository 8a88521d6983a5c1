#include "app/StartupOptions.h"

#include "platform/Settings.h"

#include <QStringList>

namespace StartupOptions {

bool IsBuilt(CommandId id)
{
    return CommandOf(id).built;
}

QString QuickTipsText(const CommandWorks& works)
{
    QString import = QStringLiteral(
        "- Import many responses at once: save the e-mail messages to a text file (one after "
        "the other, separated by blank lines) and choose \"Import record(s) from file(s)...\". "
        "You can pick several files in one go");
    if (works(CommandId::ImportClipboard))
        import += QStringLiteral(
            ", or copy one response to the clipboard and use \"Import record from Clipboard\"");
    import += QStringLiteral(".");

    QString search = QStringLiteral("- Search with Quick Find in the summary window (one field, a "
                                    "pattern such as *smith*)");
    if (works(CommandId::QueryBuilder))
        search += QStringLiteral(
            ", or build a query of several rows with the Query Builder and save it for next time");
    search += QStringLiteral(".");

    QStringList exports;
    if (works(CommandId::ExportText))
        exports << QStringLiteral("a text file");
    if (works(CommandId::ExportHtml))
        exports << QStringLiteral("an HTML page");
    if (works(CommandId::ExportDelimited))
        exports << QStringLiteral("a delimited text file that a spreadsheet can read");
    QString output;
    if (works(CommandId::Print))
        output = QStringLiteral("- Print your records through a report template");
    if (!exports.isEmpty()) {
        QString list = exports.takeLast();
        if (!exports.isEmpty())
            list = exports.join(QStringLiteral(", ")) + QStringLiteral(" or ") + list;
        output += output.isEmpty() ? QStringLiteral("- Export your records as ")
                                   : QStringLiteral(", or export them as ");
        output += list;
    }
    if (output.isEmpty())
        output = QStringLiteral("- Show a record through its report template with \"View "
                                "record\" from the Record menu");
    output += QStringLiteral(".");

    return QStringList{
        QStringLiteral("- To start, create a new database: choose \"New Database...\" from the "
                       "File menu and give the file a name. Each database holds the responses of "
                       "as many forms as you like."),
        import,
        QStringLiteral("- View a record by double-clicking it in the summary. Press \"Edit "
                       "record\" to change its values, and write your own notes about a record in "
                       "its Notes box."),
        search,
        output,
    }
        .join(QStringLiteral("\r\n\r\n"));
}

QString SampleQueriesNote(const CommandWorks& works)
{
    if (!works(CommandId::QueryBuilder))
        return QStringList{
            QStringLiteral("To search the sample database, choose a field in the"),
            QStringLiteral("Quick Find panel of the summary window, type a"),
            QStringLiteral("pattern such as *a* and press 'Find'. For more"),
            QStringLiteral("information, please see the help file (or press F1)."),
        }
            .join(QStringLiteral("\r\n"));
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

QString NoBrowserMessage(const QString& tutorialPath)
{
    return QStringLiteral("No program to show web pages was found. The tutorial is the "
                          "file\r\n") +
           tutorialPath + QStringLiteral("\r\nOpen it in a web browser to read it.");
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
