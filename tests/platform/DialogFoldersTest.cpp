#include "platform/DialogFolders.h"
#include "platform/ProgramFolders.h"
#include "platform/Settings.h"
#include "support/TempDir.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

FileDialogRequest Request(const QString& filters, const QString& extension = QString())
{
    FileDialogRequest request;
    request.filters = ParseFileFilters(filters);
    request.defaultExtension = extension;
    return request;
}

} // namespace

TEST(DialogFolders, KindComesFromTheExtensionOrTheFilters)
{
    EXPECT_EQ(
        FileDialogKind(Request(QStringLiteral("All Files (*.*)|*.*|"), QStringLiteral("FDB"))),
        QStringLiteral("fdb"));
    EXPECT_EQ(
        FileDialogKind(Request(QStringLiteral("All Files (*.*)|*.*|Configuration (*.cfg)|*.cfg|"))),
        QStringLiteral("cfg"));
    EXPECT_EQ(FileDialogKind(Request(QStringLiteral("All Files (*.*)|*.*|"))),
              QStringLiteral("any"));
    EXPECT_EQ(LastFolderKey(QStringLiteral("fdb")), QStringLiteral("LastFolder_fdb"));
}

TEST(DialogFolders, StartInDocumentsThenWhereTheSameKindWasChosenLast)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_TRUE(QDir().mkpath(documents));
    const FileDialogRequest database = Request(QStringLiteral("Database Files (*.fdb)|*.fdb|"));
    const FileDialogRequest config = Request(QStringLiteral("Configuration (*.cfg)|*.cfg|"));

    // At first: the documents folder, not the program folder.
    EXPECT_EQ(DialogStartFolder(folders, database), documents);
    EXPECT_NE(QDir(DialogStartFolder(folders, database)), QDir(dir.Path()));

    ASSERT_TRUE(QDir(dir.Path()).mkpath(QStringLiteral("dbs")));
    RememberDialogFolder(folders, database, {dir.File(QStringLiteral("dbs/a.fdb"))});
    EXPECT_EQ(QDir(DialogStartFolder(folders, database)), QDir(dir.File(QStringLiteral("dbs"))));
    // Another kind keeps its own folder.
    EXPECT_EQ(DialogStartFolder(folders, config), documents);

    // A remembered folder that is gone falls back to the documents folder.
    ASSERT_TRUE(QDir(dir.File(QStringLiteral("dbs"))).removeRecursively());
    EXPECT_EQ(DialogStartFolder(folders, database), documents);
    // Cancelled dialogs remember nothing.
    RememberDialogFolder(folders, config, {});
    EXPECT_EQ(DialogStartFolder(folders, config), documents);
}
