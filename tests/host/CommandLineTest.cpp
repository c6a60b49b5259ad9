#include <gtest/gtest.h>

#include "app/WindowsVersion.h"
#include "app/TrayIcon.h"
#include "support/HeadlessWorld.h"

namespace {

struct TokenCase {
    const char* argText;
    int maxArgs;
    const char* expected;
};

class GetCommandArgTest : public testing::TestWithParam<TokenCase> {};

TEST_P(GetCommandArgTest, ReturnsTheLastOrTheLimitingToken) {
    const TokenCase& c = GetParam();
    EXPECT_EQ(app::GetCommandArg(c.argText, c.maxArgs), c.expected) << "argument text: [" << c.argText << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, GetCommandArgTest,
    testing::Values(TokenCase{"", 10, ""}, TokenCase{"   \t//\"\"", 10, ""}, TokenCase{"a", 10, "a"},
                    TokenCase{"/a", 10, "a"}, TokenCase{"\"A\"", 10, "A"}, TokenCase{"x y a", 10, "a"},
                    TokenCase{"a x", 10, "x"}, TokenCase{"-a", 10, "-a"}, TokenCase{"aa", 10, "aa"},
                    TokenCase{"one\ttwo", 10, "two"}, TokenCase{"a/b\"c d", 10, "d"},
                    // Eleven tokens: scanning stops when the eleventh begins.
                    TokenCase{"1 2 3 4 5 6 7 8 9 a 11", 10, "a"}, TokenCase{"1 2 3 4 5 6 7 8 9 10 a", 10, "10"},
                    TokenCase{"x y z", 2, "y"}, TokenCase{"x y", 0, ""}));

TEST(AutoCleanRequest, OnlyTheSingleLetterEitherCase) {
    EXPECT_TRUE(app::IsAutoCleanRequest("a"));
    EXPECT_TRUE(app::IsAutoCleanRequest("A"));
    for (const char* other : {"", "aa", "-a", "b", " a"}) EXPECT_FALSE(app::IsAutoCleanRequest(other)) << other;
}

TEST(IsWindowsXP, OnlyACallThatReturnedOneAndReportsNt51) {
    struct Case {
        platform::OsVersion version;  // call result, major, minor, platform
        bool xp;
    };
    const Case cases[] = {
        {{1, 5, 1, 2}, true},
        {{0, 5, 1, 2}, false},  // the call failed
        {{2, 5, 1, 2}, false},  // anything but exactly 1
        {{1, 5, 1, 1}, false},  // not the NT platform
        {{1, 5, 0, 2}, false}, {{1, 5, 2, 2}, false}, {{1, 6, 1, 2}, false}, {{1, 4, 1, 2}, false},
    };
    for (const Case& c : cases) {
        testing_support::HeadlessWorld world;
        world.env.version = c.version;
        EXPECT_EQ(app::IsWindowsXP(), c.xp) << c.version.callResult << " " << c.version.major << "."
                                            << c.version.minor << " platform " << c.version.platformId;
    }
}

}  // namespace
