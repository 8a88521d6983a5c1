#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Lets GoogleTest print text values readably in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

class ProgramFolders;

// A temporary folder for one test, removed afterwards.
class TempDir {
public:
    TempDir();
    QString Path() const { return m_dir.path(); }
    QString File(const QString& name) const;
    // Writes bytes to a file in the folder and returns its full path.
    QString Write(const QString& name, const QByteArray& bytes) const;
    QByteArray Read(const QString& name) const;
    // Program and writable folder both this folder.
    ProgramFolders Folders() const;

private:
    QTemporaryDir m_dir;
};

// The locale every test pins: English (United States), short dates M/d/yyyy.
QLocale TestLocale();

// Runs tallowmere-cli with args; returns its exit status and fills out/err.
int RunCli(const QStringList& args, QByteArray* out = nullptr, QByteArray* err = nullptr,
           const QByteArray& programHome = QByteArray());
