#include "engine/InternetDelete.h"

#include <optional>
#include <unordered_set>

#include "common/Form6.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "settings/INISettings.h"

namespace engine {
namespace {

// Content entries come without a pattern. Windows keeps cookies in a container of their own
// that only its prefix reaches, and Wine matches that prefix with regard to case, so both
// spellings are asked; names already seen are not listed twice.
const std::optional<std::string> kPatterns[] = {std::nullopt, std::string("cookie:"), std::string("Cookie:")};

bool Collected(std::uint32_t entryType) {
    // A cookie that WinINet stored from a Set-Cookie header carries only the cookie bit.
    return (entryType & (platform::kNormalCacheEntry | platform::kCookieCacheEntry)) != 0;
}

void EmptyWorkingLists() {
    common::Form6& helper = forms::App().Get<common::Form6>();
    helper.List1.Clear();
    helper.List2.Clear();
    helper.List3.Clear();
    helper.List4.Clear();
}

}  // namespace

std::vector<std::string> CollectUrlCacheEntries() {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const auto& pattern : kPatterns) {
        platform::Cache().Enumerate(pattern, [&](const platform::UrlCacheEntry& entry) {
            if (Collected(entry.entryType) && seen.insert(entry.sourceUrlName).second) {
                names.push_back(entry.sourceUrlName);
            }
        });
    }
    return names;
}

std::vector<std::string> ListUrlCacheEntries() {
    forms::ListBox& list = forms::App().Get<common::Form6>().List1;
    list.Clear();
    std::vector<std::string> names = CollectUrlCacheEntries();
    for (const std::string& name : names) {
        if (!list.AddItem(name)) break;  // the list is full
    }
    return names;
}

void CleanUrlCache(CacheTally& tally) {
    EmptyWorkingLists();
    const std::vector<std::string> keepList = settings::ReadKeepList("Internet");
    // Every kept name is spared, wherever it stands among the entries.
    const std::unordered_set<std::string> kept(keepList.begin(), keepList.end());
    for (const std::string& name : CollectUrlCacheEntries()) {
        if (kept.count(name)) continue;
        if (platform::Cache().Delete(name)) {
            ++tally.deleted;
        } else {
            ++tally.kept;
        }
    }
    EmptyWorkingLists();
}

}  // namespace engine
