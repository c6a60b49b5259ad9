#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "settings/ProfileCodec.h"

namespace {

using namespace std::string_literals;
using settings::FindProfileValue;
using settings::SetProfileValue;

struct ReadCase {
    const char* label;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsWhatThePlatformReaderFinds) {
    const ReadCase& c = GetParam();
    const auto value = FindProfileValue(c.text, c.section, c.key);
    EXPECT_EQ(value ? std::optional<std::string>(*value) : std::nullopt, c.expected) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    testing::Values(
        ReadCase{"blanks around", " \t[ S ] \r\n\v k \f=\x1a v  w \t\r\n", "S", "k", "v  w"},
        ReadCase{"query blanks", "[S]\r\nk=1\r\n", " S ", "\tk ", "1"},
        ReadCase{"no-break space is text", "[S]\r\nk=\xA0v\xA0\r\n", "S", "k", "\xA0v\xA0"},
        ReadCase{"CR only", "[S]\rk=1\rj=2\r", "S", "j", "2"},
        ReadCase{"LF only, no final break", "[S]\nk=1\nj=2", "S", "j", "2"},
        ReadCase{"empty value", "[S]\r\nk=\r\nk=2\r\n", "S", "k", ""},
        ReadCase{"first key wins", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "1"},
        ReadCase{"only first section searched", "[S]\r\na=1\r\n[T]\r\n[s]\r\nk=2\r\n", "S", "k", std::nullopt},
        ReadCase{"line without = hides later key", "[S]\r\nk\r\nk=2\r\n", "S", "k", std::nullopt},
        ReadCase{"value keeps =", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
        ReadCase{"quotes stay for the reader", "[S]\r\nk=\"a\"\r\n", "S", "k", "\"a\""},
        ReadCase{"comment is no key", "[S]\r\n;k=1\r\nk=2\r\n", "S", "k", "2"},
        ReadCase{"commented header", ";[S]\r\nk=1\r\n", "S", "k", std::nullopt},
        ReadCase{"[ without ] is a key", "[T]\r\n[S\r\nk=1\r\n", "T", "k", "1"},
        ReadCase{"name ends at last ]", "[S]]\r\nk=1\r\n", "S", "k", std::nullopt},
        ReadCase{"text after ]", "[S] note\r\nk=1\r\n", "S", "k", "1"},
        ReadCase{"NUL ends a value", "[S]\r\nk=ab\0cd\r\n"s, "S", "k", "ab"},
        ReadCase{"NUL ends a name", "[S\0x]\r\nk\0y=v\r\n"s, "S", "k", "v"},
        ReadCase{"unnamed section", "k=1\r\n[S]\r\nk=2\r\n", "", "k", "1"},
        ReadCase{"missing section", "[S]\r\nk=1\r\n", "T", "k", std::nullopt},
        ReadCase{"missing key", "[S]\r\nk=1\r\n[T]\r\nj=2\r\n", "S", "j", std::nullopt}));

struct UnquoteCase {
    std::string value;
    std::string expected;
};

TEST(Unquoted, DropsMatchingQuotesOnlyAndNeverCuts) {
    const std::string long300(300, 'a');
    const UnquoteCase cases[] = {
        {"\"ab\"", "ab"}, {"'ab'", "ab"}, {"\"ab'", "\"ab'"}, {"\"", "\""}, {"\"\"", ""}, {"a\"b\"", "a\"b\""},
        {long300, long300}, {"\"" + long300 + "\"", long300}, {"'" + long300 + "\"", "'" + long300 + "\""}};
    for (const UnquoteCase& c : cases) EXPECT_EQ(settings::Unquoted(c.value), c.expected) << c.value.substr(0, 20);
}

struct WriteCase {
    const char* label;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheKey) {
    const WriteCase& c = GetParam();
    const std::string after = SetProfileValue(c.before, c.section, c.key, c.value);
    EXPECT_EQ(after, c.after) << c.label;
    EXPECT_EQ(FindProfileValue(after, c.section, c.key), std::optional<std::string_view>(c.value)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    testing::Values(
        WriteCase{"new file", "", "Delete", "User", "Yes", "[Delete]\r\nUser=Yes\r\n"},
        WriteCase{"replace keeps the rest", "; top\n[delete]\n  User = No  \n[Other]\nx=1\n", "Delete", "user", "Yes",
                  "; top\n[delete]\n  User =Yes\n[Other]\nx=1\n"},
        WriteCase{"append after last key", "[S]\r\na=1\r\n\r\n; about T\r\n[T]\r\n", "S", "b", "2",
                  "[S]\r\na=1\r\nb=2\r\n\r\n; about T\r\n[T]\r\n"},
        WriteCase{"append without final break", "[S]\na=1", "S", "b", "2", "[S]\na=1\r\nb=2\r\n"},
        WriteCase{"empty section at end", "[S]", "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"new section at end", "[T]\nx=1", "S", "k", "v", "[T]\nx=1\r\n[S]\r\nk=v\r\n"},
        WriteCase{"line without =", "[S]\nk\n", "S", "k", "v", "[S]\nk=v\n"},
        WriteCase{"first duplicate", "[S]\nk=1\nk=2\n", "S", "k", "v", "[S]\nk=v\nk=2\n"},
        WriteCase{"first section", "[S]\na=1\n[S]\nk=2\n", "S", "k", "v", "[S]\na=1\nk=v\r\n[S]\nk=2\n"},
        WriteCase{"CR-only file", "[S]\rk=1\r", "S", "k", "2", "[S]\rk=2\r"},
        WriteCase{"empty value", "[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n"}));

TEST(ProfileEncoding, UnicodeFilesDecodeToUtf8AndEncodeBackByteForByte) {
    const std::string utf16le = "\xFF\xFE[\0S\0]\0\n\0k\0=\0\xE9\0\x3D\xD8\x00\xDE\x00\xD8"s;  // é, U+1F600, lone surrogate
    const std::string utf16be = "\xFE\xFF\0[\0S\0]\0\n\0k\0=\0\xE9"s;
    const std::string utf8 = "\xEF\xBB\xBF[S]\nk=\xC3\xA9";
    for (const std::string& bytes : {utf16le, utf16be, utf8, "[S]\nk=\xE9"s}) {
        const settings::ProfileText profile = settings::DecodeProfile(bytes);
        EXPECT_EQ(settings::EncodeProfile(profile), bytes);
        EXPECT_EQ(FindProfileValue(profile.text, "S", "k")->substr(0, 2),
                  profile.encoding == settings::ProfileEncoding::kAnsi ? "\xE9" : "\xC3\xA9");
    }
    // A last odd byte is kept as a character (the platform reads one with an undefined high byte).
    EXPECT_EQ(settings::DecodeProfile("\xFF\xFEk\0=\0v\0w"s).text, "k=vw");
}

TEST(ProfileRobustness, HundredMegabytesOfGarbageTakeOnePass) {
    std::mt19937 random(7);
    std::string block(4096, '\0');
    for (char& c : block) c = "[]=;\r\n\0 \x1a\"aZ\xFF"[random() % 14];
    std::string garbage;
    garbage.reserve((101u << 20) + block.size());
    while (garbage.size() < (100u << 20)) garbage += block;
    garbage += std::string(1 << 20, '[');  // one long line that never closes

    const std::string after = SetProfileValue(garbage, "Morvane Test", "k", "v");
    EXPECT_EQ(after.compare(0, garbage.size(), garbage), 0);
    EXPECT_EQ(FindProfileValue(after, "Morvane Test", "k"), std::optional<std::string_view>("v"));
}

}  // namespace
