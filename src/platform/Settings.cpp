#include "platform/Settings.h"

#include "platform/IniFile.h"
#include "platform/Numbers.h"
#include "platform/ProgramFolders.h"

#include <cmath>

QString ReadSetting(const ProgramFolders& folders, const SettingKey& key)
{
    const QString value = IniFile::Read(folders.SettingsFile(), QLatin1String(kSettingsSection),
                                        QLatin1String(key.name));
    return value.isEmpty() ? QString::fromLatin1(key.defaultValue) : value;
}

int ReadSettingNumber(const ProgramFolders& folders, const SettingKey& key)
{
    const double number = RoundHalfEven(LeadingNumber(ReadSetting(folders, key)));
    const std::optional<qint32> whole = ToInt32(number);
    return whole ? *whole : 0;
}

bool WriteSetting(const ProgramFolders& folders, const SettingKey& key, const QString& value,
                  QString* error)
{
    return IniFile::Write(folders.SettingsFile(), QLatin1String(kSettingsSection),
                          QLatin1String(key.name), value, error);
}

bool WriteSettingFlag(const ProgramFolders& folders, const SettingKey& key, bool value,
                      QString* error)
{
    return WriteSetting(folders, key, value ? QStringLiteral("1") : QStringLiteral("0"), error);
}

bool ReadSettingFlag(const ProgramFolders& folders, const SettingKey& key)
{
    return ReadSettingNumber(folders, key) != 0;
}
