// What the Environment port promises, on every side.
#include <gtest/gtest.h>

#include <thread>

#include "platform/Text.h"
#include "tests/contract/ContractWorld.h"

namespace contract {
namespace {

class EnvironmentContract : public ::testing::Test {
protected:
    std::unique_ptr<ContractWorld> world = MakeWorld();
    platform::Environment& env = world->Env();
};

TEST_F(EnvironmentContract, VariableIsFoundWhateverTheCaseOfItsName) {
    world->SetVariable("MorvaneProbe", "Ordner \xC3\xBC");  // "Ordner ü": UTF-8 both ways
    for (const char* name : {"MorvaneProbe", "MORVANEPROBE", "morvaneprobe"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(env.Variable(name), "Ordner \xC3\xBC");
    }
}

TEST_F(EnvironmentContract, UnsetVariableIsAbsentButAnEmptyOneIsEmpty) {
    world->UnsetVariable("MorvaneUnset");
    EXPECT_EQ(env.Variable("MorvaneUnset"), std::nullopt);
    world->SetVariable("MorvaneEmpty", "");
    EXPECT_EQ(env.Variable("MorvaneEmpty"), "");
}

// The system code page of every side the program is tested on is Windows-1252.
TEST_F(EnvironmentContract, AnsiTextConvertsThroughTheSystemCodePage) {
    struct Case {
        const char* ansi;
        const char* utf8;
    };
    const Case cases[] = {
        {"Caf\xE9", "Caf\xC3\xA9"},      // é: a Latin-1 letter, one byte in the code page
        {"Stra\xDF" "e", "Stra\xC3\x9F" "e"},
        {"\x80", "\xE2\x82\xAC"},        // the euro sign, where 1252 differs from Latin-1
        {"plain", "plain"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(env.FromAnsi(c.ansi), c.utf8);
        EXPECT_EQ(env.ToAnsi(c.utf8), c.ansi);
    }
}

TEST_F(EnvironmentContract, CharacterOutsideTheCodePageBecomesQuestionMark) {
    EXPECT_EQ(env.ToAnsi("a\xE4\xB8\xAD" "b"), "a?b");  // a CJK ideograph
    EXPECT_EQ(env.ToAnsi("\xCE\xA9"), "?");              // Greek capital omega
}

TEST_F(EnvironmentContract, ProgramFolderIsAnExistingAbsoluteFolder) {
    const std::string folder = env.ProgramFolder();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_EQ(folder.substr(1, 2), ":\\");
    if (folder.size() > 3) {
        EXPECT_FALSE(text::EndsWith(folder, "\\"));
    }
    const auto attributes = world->Files().Attributes(folder);
    ASSERT_TRUE(attributes.has_value());
    EXPECT_TRUE(*attributes & platform::kAttrDirectory);
}

TEST_F(EnvironmentContract, VersionIsAnNtVersionFilledByTheCall) {
    const platform::OsVersion version = env.Version();
    EXPECT_EQ(version.callResult, 1);
    EXPECT_EQ(version.platformId, 2u);
    EXPECT_GE(version.major, 5u);
}

TEST_F(EnvironmentContract, NowIsADateAndTimeOfDay) {
    const platform::LocalTime now = env.Now();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23 && now.minute >= 0 && now.minute <= 59);
    EXPECT_TRUE(now.second >= 0 && now.second <= 60);  // 60: a leap second
}

// Another process is another thread here: one holder at a time, the others wait a while.
TEST_F(EnvironmentContract, ALockByNameIsHadByOneHolderAtATime) {
    const std::string name = "MorvaneProbe-" + std::string(text::FileNameOf(world->Scratch()));
    const auto elsewhere = [&](int timeoutMs) {
        bool had = false;
        std::thread([&] { had = env.LockByName(name, timeoutMs) != nullptr; }).join();
        return had;
    };
    auto held = env.LockByName(name, 0);
    ASSERT_NE(held, nullptr);
    EXPECT_FALSE(elsewhere(100));
    held.reset();
    EXPECT_TRUE(elsewhere(0));
}

}  // namespace
}  // namespace contract
