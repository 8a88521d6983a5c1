#pragma once

#include <QString>

// Sectioned settings files ("Tallowmere.ini", query files): a line
// "[Section]", then one "Key=Value" line per key. Reads and writes go one
// key at a time, as the program has always used them.
namespace IniFile {

// Longest value a read returns; longer values are cut (a 255-character
// read buffer).
constexpr int kMaxValueLength = 254;

// The value of key in section (names compared without regard to letter
// case, the value with blanks at both ends removed), or empty text when the
// file, section or key does not exist.
QString Read(const QString& path, const QString& section, const QString& key);

// Writes one key, creating the file, the section and the key as needed and
// keeping every other line. On failure returns false with the system's
// description in *error.
bool Write(const QString& path, const QString& section, const QString& key, const QString& value,
           QString* error = nullptr);

} // namespace IniFile
