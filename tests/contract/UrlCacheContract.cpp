// What the UrlCache port promises, on every side. Under Wine these are WinINet's own answers:
// the cache keeps three containers chosen by the start of a name ("Cookie:", "Visited:", and
// every other name for the content); no pattern lists all three, and a pattern lists only the
// container whose prefix it equals, letter case included, so "cookie:" lists nothing. Windows
// documents otherwise (no pattern: the content only; "cookie:" for the cookies), which is why
// the engine asks for no pattern, "cookie:" and "Cookie:" and lists each name once.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "platform/Text.h"
#include "tests/contract/ContractWorld.h"

namespace contract {
namespace {

using platform::UrlCacheEntry;

class UrlCacheContract : public ::testing::Test {
protected:
    std::unique_ptr<ContractWorld> world = MakeWorld();
    platform::UrlCache& cache = world->Cache();
    // A host of this world's own: the cache may hold entries of others, which are not looked at.
    const std::string host = text::ToLower(text::FileNameOf(world->Scratch())) + ".example";

    std::string Url(const std::string& path) const { return "http://" + host + "/" + path; }

    // This world's entries that the pattern lists: name -> the type of each time it came.
    std::map<std::string, std::vector<std::uint32_t>> Ours(const std::optional<std::string>& pattern) {
        std::map<std::string, std::vector<std::uint32_t>> ours;
        cache.Enumerate(pattern, [&](const UrlCacheEntry& entry) {
            if (entry.sourceUrlName.find(host) != std::string::npos) {
                ours[entry.sourceUrlName].push_back(entry.entryType);
            }
            return true;
        });
        return ours;
    }
    std::vector<std::string> OurNames(const std::optional<std::string>& pattern = std::nullopt) {
        std::vector<std::string> names;
        for (const auto& [name, types] : Ours(pattern)) names.push_back(name);
        return names;
    }
};

using Names = std::vector<std::string>;

TEST_F(UrlCacheContract, CommittedEntriesAreListedOnceEachWithTheNormalBitAndTheirSize) {
    world->CommitCacheEntry(Url("one"));
    world->CommitCacheEntry(Url("two"));
    world->CommitCacheEntry(Url("one"));  // committed again: still one entry
    cache.Enumerate(std::nullopt, [&](const UrlCacheEntry& entry) {
        EXPECT_TRUE(entry.sourceUrlName.find(host) == std::string::npos || entry.size == 13u) << "its file's";
        return true;
    });
    int visits = 0;
    cache.Enumerate(std::nullopt, [&](const UrlCacheEntry&) { return ++visits < 1; });
    EXPECT_EQ(visits, 1) << "a false answer ends the listing";
    const auto ours = Ours(std::nullopt);
    ASSERT_EQ(OurNames(), (Names{Url("one"), Url("two")}));
    for (const auto& [name, types] : ours) {
        SCOPED_TRACE(name);
        ASSERT_EQ(types.size(), 1u);
        EXPECT_TRUE(types[0] & platform::kNormalCacheEntry);
    }
}

// The first entry's size says nothing about the next ones: each must still come whole.
TEST_F(UrlCacheContract, LongEntriesAmongShortOnesAreListedWhole) {
    const Names names = {Url("a"), Url(std::string(5000, 'b')), Url("c"), Url(std::string(12000, 'd')), Url("e")};
    for (const std::string& name : names) world->CommitCacheEntry(name);
    Names sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(OurNames(), sorted);
}

TEST_F(UrlCacheContract, EachContainerAddsItsOwnTypeBit) {
    constexpr std::uint32_t kHistoryBit = 0x200000;
    world->CommitCacheEntry(Url("page"));
    const std::string cookie = world->SetCookie(host);
    const std::string history = "Visited:tester@" + Url("seen");
    world->CommitCacheEntry(history);
    const auto ours = Ours(std::nullopt);
    ASSERT_EQ(ours.count(Url("page")), 1u);
    ASSERT_EQ(ours.count(cookie), 1u);
    ASSERT_EQ(ours.count(history), 1u);
    EXPECT_TRUE(ours.at(Url("page"))[0] & platform::kNormalCacheEntry);
    EXPECT_TRUE(ours.at(history)[0] & kHistoryBit);
    // A cookie stored by the platform carries the cookie bit alone: without it the cleaner
    // would not find cookies at all.
    EXPECT_EQ(ours.at(cookie)[0] & (platform::kNormalCacheEntry | platform::kCookieCacheEntry),
              platform::kCookieCacheEntry);
}

TEST_F(UrlCacheContract, APatternListsTheContainerWhosePrefixItEqualsCaseIncluded) {
    world->CommitCacheEntry(Url("page"));
    const std::string cookie = world->SetCookie(host);
    const std::string history = "Visited:tester@" + Url("seen");
    world->CommitCacheEntry(history);
    struct Case {
        std::optional<std::string> pattern;
        Names listed;
    };
    const Case cases[] = {
        {std::nullopt, {cookie, history, Url("page")}},
        {"Cookie:", {cookie}},
        {"Visited:", {history}},
        {"", {Url("page")}},
        {"cookie:", {}},
        {"COOKIE:", {}},
        {"0", {}},
        {"http:", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern.value_or("(no pattern)"));
        EXPECT_EQ(OurNames(c.pattern), c.listed);
    }
}

TEST_F(UrlCacheContract, DeleteRemovesExactlyTheEntryOfThatNameAndCase) {
    world->CommitCacheEntry(Url("Page"));
    world->CommitCacheEntry(Url("page"));
    ASSERT_EQ(OurNames(), (Names{Url("Page"), Url("page")}));

    EXPECT_TRUE(cache.Delete(Url("PAGE"))) << "a name that is not there counts as gone";
    EXPECT_EQ(OurNames(), (Names{Url("Page"), Url("page")}));
    EXPECT_TRUE(cache.Delete(Url("Page")));
    EXPECT_EQ(OurNames(), (Names{Url("page")}));
    EXPECT_TRUE(cache.Delete(Url("Page"))) << "already gone";
    EXPECT_EQ(OurNames(), (Names{Url("page")}));
}

TEST_F(UrlCacheContract, ACookieGoesByTheNameItIsListedUnder) {
    const std::string cookie = world->SetCookie(host);
    ASSERT_EQ(OurNames("Cookie:"), (Names{cookie}));
    EXPECT_TRUE(cache.Delete(cookie));
    EXPECT_TRUE(OurNames().empty());
}

TEST_F(UrlCacheContract, AnEntryInUseStaysUntilItIsReleased) {
    world->CommitCacheEntry(Url("busy"));
    {
        const auto held = world->HoldCacheEntry(Url("busy"));
        EXPECT_FALSE(cache.Delete(Url("busy")));
        EXPECT_EQ(OurNames(), (Names{Url("busy")}));
    }
    EXPECT_TRUE(cache.Delete(Url("busy")));
    EXPECT_TRUE(OurNames().empty());
}

TEST_F(UrlCacheContract, ANameBeyondAsciiIsListedAsItWasCommittedAndDeletedByIt) {
    const std::string cafe = Url("caf\xC3\xA9");  // "café": one byte in the ANSI code page
    world->CommitCacheEntry(cafe);
    world->CommitCacheEntry(Url("cafe"));
    ASSERT_EQ(OurNames(), (Names{Url("cafe"), cafe}));
    // A name the code page cannot hold names no entry; no look-alike goes in its place.
    EXPECT_TRUE(cache.Delete(Url("caf\xE4\xB8\xAD")));
    EXPECT_TRUE(cache.Delete(Url("caf\xCE\xB5")));  // Greek epsilon, "e" at best fit
    EXPECT_EQ(OurNames(), (Names{Url("cafe"), cafe}));
    EXPECT_TRUE(cache.Delete(cafe));
    EXPECT_EQ(OurNames(), (Names{Url("cafe")}));
}

}  // namespace
}  // namespace contract
