#include "tldata/case_fold.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

TEST(CaseFoldTest, CompareTextOrdersAsTextWithoutRegardToCase) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    } const cases[] = {
        {"100.0.10", "100.0.5", -1}, // as text, not as numbers
        {"01.12.2014", "30.11.2014", -1},
        {"ParNumber", "PARNUMBER", 0},
        {"Ёлка", "ёлка", 0},
        {"Линия", "ЛИНИЯ", 0},
        {"а", "Б", -1},
        {"Я", "а", 1},
        {"abc", "abcd", -1},
        {"z", "Ж", -1}, // Latin before Cyrillic
        {"", "", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sign(CompareText(c.a, c.b)), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ(Sign(CompareText(c.b, c.a)), -c.sign) << c.b << " vs " << c.a;
    }
}

TEST(CaseFoldTest, CutNeverSplitsACharacter) {
    struct Case {
        const char* text;
        size_t max;
        const char* expected;
    } const cases[] = {
        {"abcdef", 3, "abc"}, {"abc", 3, "abc"}, {"abc", 10, "abc"},
        {"ЖЖЖЖ", 2, "ЖЖ"},    {"aЖb", 2, "aЖ"},  {"", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutToChars(c.text, c.max), c.expected) << c.text;
    }
}

} // namespace
} // namespace tl
