#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(Session, EachKeepsItsSearchResultsInAPrivateFolderOfItsOwn)
{
    TempDir dir;
    QString folders[2];
    {
        ScriptedUi ui;
        Session first(ui, dir.Folders());
        Session second(ui, dir.Folders());
        for (int i = 0; i < 2; ++i) {
            const Session& s = i == 0 ? first : second;
            const QFileInfo folder(QFileInfo(s.Folders.SearchResultFile()).path());
            folders[i] = folder.filePath();
            EXPECT_TRUE(folder.isDir());
            // Nobody but its owner may look into it.
            EXPECT_EQ(folder.permissions() & 0x0077, 0);
            EXPECT_TRUE(folder.permissions() & QFile::WriteOwner);
            EXPECT_EQ(QFileInfo(s.Folders.SearchResultFile()).fileName(), "TempDB.tdb");
        }
        EXPECT_NE(folders[0], folders[1]);
    }
    EXPECT_FALSE(QFileInfo::exists(folders[0]));
    EXPECT_FALSE(QFileInfo::exists(folders[1]));
}
