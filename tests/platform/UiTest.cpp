#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

TEST(FileFilters, ParsesProgramFilterText)
{
    const auto filters =
        ParseFileFilters(QStringLiteral("All Files (*.*)|*.*|Database Files (*.fdb)|*.fdb|"));
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0], (FileFilter{QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")}));
    EXPECT_EQ(filters[1],
              (FileFilter{QStringLiteral("Database Files (*.fdb)"), QStringLiteral("*.fdb")}));
}
