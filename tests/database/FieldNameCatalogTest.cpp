#include "session/FieldNameCatalog.h"

#include <gtest/gtest.h>

TEST(FieldNameCatalog, AddsEachNameOnceInAnySpellingKeepingTheFirst)
{
    struct Case {
        QString stored;
        QStringList added;
        QString list;
    };
    const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    const Case cases[] = {
        {QString(), {"Name", "NAME", "city", "name"}, "\r\nName\r\ncity\r\n"},
        {"  ", {"x"}, "\r\nx\r\n"},
        {"\r\nÉcole\r\n", {"école", "ÉCOLE", "Ecole"}, "\r\nÉcole\r\nEcole\r\n"},
        {"\r\nName\r\n", {"Nam", "Names"}, "\r\nName\r\nNam\r\nNames\r\n"},
        {QString(), {nul, "zz", nul}, "\r\n" + nul + "\r\nzz\r\n"},
    };
    for (const Case& c : cases) {
        FieldNameCatalog names;
        names.Reset(c.stored);
        for (const QString& name : c.added)
            names.Add(name);
        EXPECT_EQ(names.List(), c.list) << c.stored.toStdString();
    }
}

TEST(FieldNameCatalog, TellsWhatIsUnstoredAndGoesBackToAMark)
{
    FieldNameCatalog names;
    names.Reset(QStringLiteral("\r\na\r\n"));
    EXPECT_FALSE(names.Add(QStringLiteral("A")));
    EXPECT_FALSE(names.Unstored());
    const FieldNameCatalog::Mark clean = names.Here();
    EXPECT_TRUE(names.Add(QStringLiteral("b")));
    EXPECT_TRUE(names.Unstored());
    const FieldNameCatalog::Mark grown = names.Here();
    EXPECT_TRUE(names.Add(QStringLiteral("c")));
    names.BackTo(grown);
    EXPECT_EQ(names.List(), QStringLiteral("\r\na\r\nb\r\n"));
    EXPECT_TRUE(names.Unstored());
    // A name forgotten is added again.
    EXPECT_TRUE(names.Add(QStringLiteral("C")));
    names.BackTo(clean);
    EXPECT_EQ(names.List(), QStringLiteral("\r\na\r\n"));
    EXPECT_FALSE(names.Unstored());
    names.Add(QStringLiteral("d"));
    names.MarkStored();
    EXPECT_FALSE(names.Unstored());
}
