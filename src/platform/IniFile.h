#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

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

// A whole settings file in memory, for many reads or writes in a row (a
// query file of thousands of rows): each read or write costs the same
// whatever the size of the file, and gives what Read and Write give.
class Document {
public:
    Document() : m_sections(1) {}
    // Loads the file; a file that does not exist gives an empty document.
    explicit Document(const QString& path);

    QString Read(const QString& section, const QString& key) const;
    // Sets the key in the first section of that name, or adds the key (after
    // the section's last non-blank line) or the section (at the end).
    void Write(const QString& section, const QString& key, const QString& value);
    // Replaces the file with the document; false with the system's reason.
    bool Save(const QString& path, QString* error = nullptr) const;

private:
    struct Section {
        QStringList lines;              // the "[name]" line first, then its lines
        QHash<QString, qsizetype> keys; // key in lower case -> its first line
        qsizetype lastNonBlank = 0;
    };
    void AddLine(Section& section, const QString& line);

    QList<Section> m_sections;                 // the first holds the lines before any "[name]"
    QHash<QString, QList<qsizetype>> m_byName; // name in lower case -> its sections
};

} // namespace IniFile
