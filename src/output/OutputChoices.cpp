#include "output/OutputChoices.h"

#include "platform/Settings.h"
#include "session/OutputState.h"

void ReadOutputChoices(const ProgramFolders& folders, OutputState& output)
{
    output.ProtectFormulas = ReadSettingFlag(folders, Settings::ProtectFormulas);
    output.KeepRecordsWhole = ReadSettingFlag(folders, Settings::KeepRecordsWhole);
}

bool WriteProtectFormulas(const ProgramFolders& folders, bool protect, QString* error)
{
    return WriteSettingFlag(folders, Settings::ProtectFormulas, protect, error);
}

bool WriteKeepRecordsWhole(const ProgramFolders& folders, bool keep, QString* error)
{
    return WriteSettingFlag(folders, Settings::KeepRecordsWhole, keep, error);
}
