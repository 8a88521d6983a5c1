#pragma once

#include "session/Session.h"
#include "platform/ScriptedUi.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>

// What every harness needs once per process: a Qt application object, a
// temporary folder that serves as program and writable folder, and a way
// to put the input into a file there.
class FuzzEnvironment {
public:
    static FuzzEnvironment& Get()
    {
        static FuzzEnvironment environment;
        return environment;
    }

    QString Folder() const { return m_dir.path(); }
    ProgramFolders Folders() const { return ProgramFolders(Folder(), Folder()); }

    // Writes the input to name in the folder (replacing it) and returns its path.
    QString WriteFile(const QString& name, const uint8_t* data, size_t size) const
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
        return path;
    }

private:
    // A harness that needs a Gui application makes it first.
    FuzzEnvironment()
    {
        if (!QCoreApplication::instance())
            m_app = std::make_unique<QCoreApplication>(m_argc, m_argv);
    }

    int m_argc = 1;
    char m_name[16] = "fuzz";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QCoreApplication> m_app;
    QTemporaryDir m_dir;
};

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
