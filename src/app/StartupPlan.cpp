#include "app/StartupPlan.h"

#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

// A query file by its name, or by its first line where the name says
// nothing (a database is a SQLite file, never text).
bool IsQueryFile(const QString& path)
{
    if (path.endsWith(QStringLiteral(".qry"), Qt::CaseInsensitive))
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) &&
           file.readLine(64).trimmed() == QByteArrayLiteral("[Tallowmere]");
}

} // namespace

StartupPlan PlanStartup(const ProgramFolders& folders, const QString& commandLine)
{
    StartupPlan plan;
    plan.startMode = ReadSettingNumber(folders, Settings::AutoLoadDB);
    if (!commandLine.isEmpty() && IsQueryFile(commandLine)) {
        plan.queryFile = commandLine;
        plan.startMode = plan.startMode == StartupPlan::OpenLastUsed ? StartupPlan::OpenLastUsed
                                                                     : StartupPlan::OpenNothing;
    } else if (!commandLine.isEmpty())
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
