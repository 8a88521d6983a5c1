// The settings file: every key the program reads, then one key written
// back (which rewrites the file around it) and read again.
#include "FuzzSupport.h"
#include "platform/Settings.h"
#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnvironment& env = FuzzEnvironment::Get();
    const ProgramFolders folders = env.Folders();
    env.WriteFile(QStringLiteral("Tallowmere.ini"), data, size);
    for (const SettingKey& key : {Settings::LastUsedDB, Settings::AutoLoadDB, Settings::NoWizard,
                                  Settings::ColumnsToShow, Settings::DefaultColumnsToShow}) {
        ReadSetting(folders, key);
        ReadSettingNumber(folders, key);
    }
    IniFile::Read(folders.SettingsFile(), QStringLiteral("Row 0"), QStringLiteral("Value"));
    WriteSetting(folders, Settings::LastUsedDB, QStringLiteral("/data/x.fdb"));
    if (ReadSetting(folders, Settings::LastUsedDB) != QStringLiteral("/data/x.fdb"))
        __builtin_trap(); // a key just written must read back
    return 0;
}
