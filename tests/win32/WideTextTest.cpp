#include <gtest/gtest.h>

#include "platform/win32/WideText.h"

namespace win32 {
namespace {

TEST(WideText, RoundTripsEveryKindOfCharacter) {
    struct Case {
        std::string utf8;
        std::wstring wide;
    };
    const Case cases[] = {
        {"", L""},
        {"C:\\Temp", L"C:\\Temp"},
        {"K\xC3\xB6rbchen", L"K\u00F6rbchen"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", L"\u65E5\u672C"},
        {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"},            // outside the BMP: a surrogate pair
        {std::string("C:\\\0D:\\\0", 8), std::wstring(L"C:\\\0D:\\\0", 8)},  // NULs are text too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Widen(c.utf8), c.wide);
        EXPECT_EQ(Narrow(c.wide), c.utf8);
    }
}

TEST(WideText, MalformedInputBecomesReplacementCharacter) {
    EXPECT_EQ(Widen("a\xFF" "b"), L"a\uFFFD" L"b");
    EXPECT_EQ(Narrow(std::wstring(L"a\xD800" L"b")), "a\xEF\xBF\xBD" "b");  // a lone surrogate
}

}  // namespace
}  // namespace win32
