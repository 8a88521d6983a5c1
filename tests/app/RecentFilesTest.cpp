#include "app/RecentFiles.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

class RecentFilesTest : public ::testing::Test {
protected:
    void SetUp() override { RecentFiles::ClearRecentFiles(); }
    void TearDown() override { RecentFiles::ClearRecentFiles(); }

    static QString Stored(int k)
    {
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tallowmere"),
                        QStringLiteral("Tallowmere"));
        return store.value(QStringLiteral("Recent Files/RecentFile") + QString::number(k))
            .toString();
    }
    static void Add(const QStringList& paths)
    {
        for (const QString& p : paths)
            RecentFiles::AddRecentFile(p);
    }
};

} // namespace

TEST_F(RecentFilesTest, EmptyListShowsNothingThenTheFirstDatabase)
{
    EXPECT_TRUE(RecentFiles::RecentFilesMenuItems().isEmpty());
    RecentFiles::AddRecentFile(QStringLiteral("/db/a.fdb"));
    EXPECT_EQ(RecentFiles::RecentFilesMenuItems(), QStringList{QStringLiteral("/db/a.fdb")});
    EXPECT_EQ(Stored(1), QStringLiteral("/db/a.fdb"));
}

TEST_F(RecentFilesTest, NewestFirstAndNeverMoreThanFour)
{
    Add({"/db/1.fdb", "/db/2.fdb", "/db/3.fdb", "/db/4.fdb", "/db/5.fdb"});
    EXPECT_EQ(RecentFiles::RecentFilesMenuItems(),
              (QStringList{"/db/5.fdb", "/db/4.fdb", "/db/3.fdb", "/db/2.fdb"}));
    EXPECT_EQ(Stored(5), QString());
}

TEST_F(RecentFilesTest, PathAmongTheFirstThreeLeavesTheOrderInAnyLetterCase)
{
    Add({"/db/1.fdb", "/db/2.fdb", "/db/3.fdb"});
    RecentFiles::AddRecentFile(QStringLiteral("/DB/2.FDB"));
    EXPECT_EQ(RecentFiles::RecentFilesMenuItems(),
              (QStringList{"/db/3.fdb", "/db/2.fdb", "/db/1.fdb"}));
}

TEST_F(RecentFilesTest, PathOnlyInFourthPlaceMovesToTheTop)
{
    Add({"/db/1.fdb", "/db/2.fdb", "/db/3.fdb", "/db/4.fdb"});
    // "/db/1.fdb" is fourth now.
    RecentFiles::AddRecentFile(QStringLiteral("/db/1.fdb"));
    EXPECT_EQ(RecentFiles::RecentFilesMenuItems(),
              (QStringList{"/db/1.fdb", "/db/4.fdb", "/db/3.fdb", "/db/2.fdb"}));
}

TEST_F(RecentFilesTest, ListWithoutAFirstEntryShowsNothing)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tallowmere"),
                    QStringLiteral("Tallowmere"));
    store.setValue(QStringLiteral("Recent Files/RecentFile2"), QStringLiteral("/db/2.fdb"));
    store.sync();
    EXPECT_TRUE(RecentFiles::RecentFilesMenuItems().isEmpty());
}
