#include "output/OutputChoices.h"
#include "platform/ProgramFolders.h"
#include "platform/Settings.h"
#include "session/OutputState.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(OutputChoices, FormulaProtectionStartsTickedAndIsRemembered)
{
    TempDir dir;
    const ProgramFolders folders = dir.Folders();
    OutputState output;
    output.ProtectFormulas = false;
    ReadOutputChoices(folders, output); // no settings file yet
    EXPECT_TRUE(output.ProtectFormulas);
    EXPECT_FALSE(output.Rfc4180Quoting);
    EXPECT_FALSE(output.FieldNamesFirstLine);

    ASSERT_TRUE(WriteProtectFormulas(folders, false));
    EXPECT_EQ(dir.Read(QStringLiteral("Tallowmere.ini")),
              QByteArray("[Tallowmere]\r\nProtectFormulas=0\r\n"));
    ReadOutputChoices(folders, output);
    EXPECT_FALSE(output.ProtectFormulas);
    ASSERT_TRUE(WriteProtectFormulas(folders, true));
    ReadOutputChoices(folders, output);
    EXPECT_TRUE(output.ProtectFormulas);
}
