#include "app/StartupPlan.h"

#include "platform/Settings.h"

#include <QDir>
#include <QStringList>

StartupPlan PlanStartup(const ProgramFolders& folders, const QString& commandLine)
{
    StartupPlan plan;
    plan.startMode = ReadSettingNumber(folders, Settings::AutoLoadDB);
    if (!commandLine.isEmpty())
        plan.startMode = StartupPlan::OpenCommandLine;
    bool suppressWizard = ReadSettingNumber(folders, Settings::NoWizard) != 0;

    if (plan.startMode == StartupPlan::OpenLastUsed) {
        plan.openDatabase = true;
        plan.databasePath = ReadSetting(folders, Settings::LastUsedDB);
        suppressWizard = true;
    } else if (plan.startMode == StartupPlan::OpenCommandLine) {
        plan.openDatabase = true;
        plan.databasePath = commandLine;
        suppressWizard = true;
    }
    plan.showWizard = !suppressWizard;
    return plan;
}

QString CommandLineDatabase(const QStringList& arguments, const QString& workingFolder)
{
    const QString path = arguments.join(QLatin1Char(' '));
    if (path.isEmpty())
        return path;
    return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
}
