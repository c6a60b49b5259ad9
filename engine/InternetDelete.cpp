#include "engine/InternetDelete.h"

#include <optional>
#include <unordered_set>

#include "platform/Ports.h"

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

}  // namespace

std::vector<std::string> CollectUrlCacheEntries(const std::function<bool()>& stop) {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const auto& pattern : kPatterns) {
        if (stop && stop()) break;
        platform::Cache().Enumerate(pattern, [&](const platform::UrlCacheEntry& entry) {
            if (Collected(entry.entryType) && seen.insert(entry.sourceUrlName).second) {
                names.push_back(entry.sourceUrlName);
            }
            return !(stop && stop());
        });
    }
    return names;
}

void CleanUrlCache(const std::vector<std::string>& keepList, DeleteTally& tally, CleanProgress* progress,
                   CleanMode mode) {
    // Every kept name is spared, wherever it stands among the entries.
    const std::unordered_set<std::string> kept(keepList.begin(), keepList.end());
    const auto stopped = [&] { return progress && progress->StopRequested(); };
    if (progress) progress->WorkingIn(kCachePlace);
    const std::vector<std::string> names = CollectUrlCacheEntries(stopped);
    for (const std::string& name : names) {
        if (stopped()) {
            tally.stopped = true;
            return;
        }
        if (kept.count(name)) {
            ++tally.spared;
            continue;
        }
        if (mode == CleanMode::kPreview || platform::Cache().Delete(name)) {
            ++tally.removedItems;
            if (progress) progress->Removed(0);
        } else {
            tally.Kept({name, StayReason::kInUse}, 0);
            if (progress) progress->Stayed();
        }
    }
    // Stopped while listing: what the listing did not reach was not looked at.
    if (names.empty() && stopped()) tally.stopped = true;
}

}  // namespace engine
