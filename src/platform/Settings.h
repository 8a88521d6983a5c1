#pragma once

#include <QString>

class ProgramFolders;

// One key of section "Tallowmere" of the settings file, with the value the
// program uses while the key is not set.
struct SettingKey {
    const char* name;
    const char* defaultValue;
};

// Every key the program keeps in its settings file.
namespace Settings {
inline constexpr SettingKey LastUsedDB{"LastUsedDB", ""};
inline constexpr SettingKey AutoLoadDB{"AutoLoadDB", "0"};
inline constexpr SettingKey NoWizard{"NoWizard", "0"};
inline constexpr SettingKey ColumnsToShow{"ColumnsToShow", ""};
inline constexpr SettingKey DefaultColumnsToShow{"DefaultColumnsToShow", ""};
// The folder a file dialog last chose from, one key per kind of file:
// "LastFolder_fdb", "LastFolder_cfg" (see DialogFolders.h).
inline constexpr SettingKey LastFolder{"LastFolder", ""};
// "Protect spreadsheet formulas" of the Output Options dialog: "1" or "0".
inline constexpr SettingKey ProtectFormulas{"ProtectFormulas", "1"};
// "Keep each record on one page where it fits": "1" or "0".
inline constexpr SettingKey KeepRecordsWhole{"KeepRecordsWhole", "1"};
} // namespace Settings

// The settings file's section name.
inline constexpr const char* kSettingsSection = "Tallowmere";

// The value of key in "Tallowmere.ini" of the writable folder; its default
// when the file or the key does not exist or holds no characters.
QString ReadSetting(const ProgramFolders& folders, const SettingKey& key);

// The value read as a number: its leading number rounded to an integer, 0
// when the text does not start with one ("yes" counts as 0).
int ReadSettingNumber(const ProgramFolders& folders, const SettingKey& key);

// Writes one key, creating the file and section as needed. On failure
// returns false with the system's description in *error.
bool WriteSetting(const ProgramFolders& folders, const SettingKey& key, const QString& value,
                  QString* error = nullptr);

// Flags are written as "0" or "1"; read as a number, not 0 is set.
bool ReadSettingFlag(const ProgramFolders& folders, const SettingKey& key);
bool WriteSettingFlag(const ProgramFolders& folders, const SettingKey& key, bool value,
                      QString* error = nullptr);
