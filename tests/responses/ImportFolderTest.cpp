#include "../database/DatabaseFixture.h"
#include "responses/ImportFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray Mail(int n)
{
    return "From: forms@example.org\nDate: Tue, 7 Jan 2025 09:00:00 +0000\nMessage-ID: <" +
           QByteArray::number(n) + "@example.org>\n\nname=Mail" + QByteArray::number(n) + "\n";
}

} // namespace

TEST(ImportFolder, ReadsOnlyNewAndChangedFilesAndKeepsTheFolderInTheDatabase)
{
    DatabaseFixture f;
    const QString db = f.CreateAndOpen();
    const QString folder = f.dir.File(QStringLiteral("inbox"));
    for (const char* sub : {"inbox/box/cur", "inbox/box/new", "inbox/box/tmp", "inbox/.hidden"})
        ASSERT_TRUE(QDir().mkpath(f.dir.File(QString::fromLatin1(sub))));
    f.dir.Write(QStringLiteral("inbox/forms.txt"), "name=Ann\r\n\r\n");
    f.dir.Write(QStringLiteral("inbox/box/new/1"), Mail(1));
    // Still being written, hidden, and the Maildir's own file: never read.
    f.dir.Write(QStringLiteral("inbox/box/tmp/2"), Mail(2));
    f.dir.Write(QStringLiteral("inbox/.hidden/3"), Mail(3));
    f.dir.Write(QStringLiteral("inbox/box/dovecot.index"), "name=Index\r\n");

    EXPECT_FALSE(ScanImportFolder(f.session, {}).scanned);
    ASSERT_TRUE(SetImportFolder(f.session, folder));
    const struct {
        const char* write; // appended to forms.txt first, when set
        int changed, unchanged, stored, known;
    } rounds[] = {
        {nullptr, 2, 0, 2, 0},
        {nullptr, 0, 2, 0, 0},
        // A changed file is read again; the ledger keeps its first response out.
        {"name=Bob\r\n\r\n", 1, 1, 1, 1},
    };
    for (const auto& r : rounds) {
        if (r.write) {
            QFile file(f.dir.File(QStringLiteral("inbox/forms.txt")));
            ASSERT_TRUE(file.open(QIODevice::Append));
            file.write(r.write);
        }
        const FolderScan scan = ScanImportFolder(f.session, {});
        EXPECT_TRUE(scan.scanned);
        EXPECT_EQ(int(scan.changes.changed.size()), r.changed);
        EXPECT_EQ(scan.changes.unchanged, r.unchanged);
        EXPECT_EQ(scan.outcome.tally.stored, r.stored);
        EXPECT_EQ(scan.outcome.tally.known, r.known);
    }
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 3);
    EXPECT_EQ(ScanImportFolder(f.session, {}).changes.folders.size(), 4);

    // Kept in the database: the folder comes back with it.
    OpenResumeDatabase(f.session, db);
    EXPECT_EQ(ImportFolderOf(f.session), folder);
    EXPECT_EQ(ScanImportFolder(f.session, {}).changes.unchanged, 2);
    ASSERT_TRUE(SetImportFolder(f.session, QString()));
    EXPECT_TRUE(ImportFolderOf(f.session).isEmpty());
}
