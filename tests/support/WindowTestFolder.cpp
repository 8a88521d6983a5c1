#include "support/WindowTestFolder.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

void PrepareProgramFolder(const TempDir& dir, Templates templates)
{
    QFile::copy(QStringLiteral(TALLOWMERE_RESOURCES "/default.cfg"),
                dir.File(QStringLiteral("default.cfg")));
    const QDir program(QStringLiteral(TALLOWMERE_PROGRAM_DIR));
    QStringList names;
    if (templates == Templates::Record)
        names = {QStringLiteral("Default_dat.rpt")};
    else if (templates == Templates::All)
        names = program.entryList({QStringLiteral("*.rpt")}, QDir::Files);
    for (const QString& name : names)
        QFile::copy(program.filePath(name), dir.File(name));
}

QString MakeSampleDatabase(const TempDir& dir, const QString& name, const QStringList& samples)
{
    const QString path = dir.File(name);
    EXPECT_EQ(RunCli({QStringLiteral("create"), path}), 0);
    if (!samples.isEmpty()) {
        QStringList args{QStringLiteral("import"), path};
        for (const QString& sample : samples)
            args.append(QStringLiteral(TALLOWMERE_RESOURCES "/samples/") + sample);
        EXPECT_EQ(RunCli(args), 0);
    }
    return path;
}
