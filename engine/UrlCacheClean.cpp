#include "engine/UrlCacheClean.h"

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

// The collected entries, each name once, in the platform's order; the listing ends as soon as
// stop answers true.
std::vector<platform::UrlCacheEntry> CollectEntries(platform::UrlCache& cache, const std::function<bool()>& stop,
                                                    std::atomic<std::uint64_t>* collected = nullptr) {
    std::vector<platform::UrlCacheEntry> entries;
    std::unordered_set<std::string> seen;
    for (const auto& pattern : kPatterns) {
        if (stop && stop()) break;
        cache.Enumerate(pattern, [&](const platform::UrlCacheEntry& entry) {
            if (Collected(entry.entryType) && seen.insert(entry.sourceUrlName).second) {
                entries.push_back(entry);
                if (collected) collected->store(entries.size(), std::memory_order_relaxed);
            }
            return !(stop && stop());
        });
    }
    return entries;
}

}  // namespace

std::vector<std::string> CollectUrlCacheEntries(platform::UrlCache& cache, const std::function<bool()>& stop,
                                                std::atomic<std::uint64_t>* collected) {
    std::vector<std::string> names;
    for (platform::UrlCacheEntry& entry : CollectEntries(cache, stop, collected)) names.push_back(std::move(entry.sourceUrlName));
    return names;
}

void CleanUrlCache(platform::UrlCache& cache, const std::vector<std::string>& keepList, DeleteTally& tally, CleanProgress* progress,
                   CleanMode mode) {
    // Every kept name is spared, wherever it stands among the entries.
    const std::unordered_set<std::string> kept(keepList.begin(), keepList.end());
    const auto stopped = [&] { return progress && progress->StopRequested(); };
    if (progress) progress->WorkingIn(kCachePlace);
    const std::vector<platform::UrlCacheEntry> entries = CollectEntries(cache, stopped);
    for (const platform::UrlCacheEntry& entry : entries) {
        if (stopped()) {
            tally.stopped = true;
            return;
        }
        const std::string& name = entry.sourceUrlName;
        if (kept.count(name)) {
            ++tally.spared;
            continue;
        }
        if (mode == CleanMode::kPreview || cache.Delete(name)) {
            ++tally.removedItems;
            tally.removedBytes += entry.size;
            if (progress) progress->Removed(entry.size);
        } else {
            tally.Kept({name, StayReason::kInUse}, 0);
            if (progress) progress->Stayed();
        }
    }
    // Stopped while listing: what the listing did not reach was not looked at.
    if (entries.empty() && stopped()) tally.stopped = true;
}

}  // namespace engine
