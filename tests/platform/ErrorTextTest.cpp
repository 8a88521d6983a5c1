#include "platform/ErrorText.h"

#include <gtest/gtest.h>
#include <stdexcept>

// The engine's texts are UTF-8 whatever the locale says.
TEST(ErrorText, DecodesTheTextAsUtf8)
{
    const struct {
        const char* what;
        QString shown;
    } cases[] = {
        {"database is locked", QStringLiteral("database is locked")},
        {"no such table: Fr\xC3\xBC"
         "hst\xC3\xBC"
         "ck",
         QStringLiteral("no such table: Fr\u00FChst\u00FCck")},
        {"'\xE2\x80\x9Cx\xE2\x80\x9D' locked", QStringLiteral("'\u201Cx\u201D' locked")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorText(std::runtime_error(c.what)), c.shown) << c.what;
}
