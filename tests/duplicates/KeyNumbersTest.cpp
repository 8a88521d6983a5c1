#include "duplicates/KeyNumbers.h"

#include <gtest/gtest.h>

TEST(KeyNumbers, NumbersEachKeyOnceThroughGrowth)
{
    KeyNumbers numbers;
    const auto key = [](int i) { return "key " + std::to_string(i); };
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(numbers.NumberOf(key(i)), static_cast<uint32_t>(i));
    EXPECT_EQ(numbers.NumberOf(""), 5000u);
    for (int i = 0; i < 5000; i += 7) {
        EXPECT_EQ(numbers.NumberOf(key(i)), static_cast<uint32_t>(i));
        EXPECT_EQ(numbers.Key(static_cast<uint32_t>(i)), key(i));
    }
    EXPECT_EQ(numbers.Count(), 5001u);
    EXPECT_EQ(numbers.Key(5000), "");
}
