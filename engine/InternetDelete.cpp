#include "engine/InternetDelete.h"

#include <optional>
#include <unordered_set>

#include "engine/DeleteWalk.h"
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

// The collected entries, each name once, in the platform's order.
std::vector<platform::UrlCacheEntry> CollectEntries() {
    std::vector<platform::UrlCacheEntry> entries;
    std::unordered_set<std::string> seen;
    for (const auto& pattern : kPatterns) {
        platform::Cache().Enumerate(pattern, [&](const platform::UrlCacheEntry& entry) {
            if (Collected(entry.entryType) && seen.insert(entry.sourceUrlName).second) entries.push_back(entry);
        });
    }
    return entries;
}

}  // namespace

std::vector<std::string> CollectUrlCacheEntries() {
    std::vector<std::string> names;
    for (platform::UrlCacheEntry& entry : CollectEntries()) names.push_back(std::move(entry.sourceUrlName));
    return names;
}

void CleanUrlCache(CacheTally& tally, CleanProgress* progress) {
    const std::vector<std::string> keepList = settings::ReadKeepList("Internet");
    // Every kept name is spared, wherever it stands among the entries.
    const std::unordered_set<std::string> kept(keepList.begin(), keepList.end());
    if (progress) progress->WorkingIn(kCachePlace);
    for (const platform::UrlCacheEntry& entry : CollectEntries()) {
        if (progress && progress->StopRequested()) return;
        const std::string& name = entry.sourceUrlName;
        if (kept.count(name)) continue;
        if (platform::Cache().Delete(name)) {
            ++tally.deleted;
            tally.removedBytes += entry.size;
            if (progress) progress->Removed(entry.size);
        } else {
            ++tally.kept;
            if (tally.stayed.size() < kStayedNamed) tally.stayed.push_back(name);
            if (progress) progress->Stayed();
        }
    }
}

}  // namespace engine
