#pragma once
// The URL cache: listing its entries by source URL name, and the clean's cache step that
// deletes every entry not on the internet keep-list.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/CleanProgress.h"
#include "engine/DeleteWalk.h"
#include "platform/UrlCache.h"

namespace engine {

// The names of the cache's web entries and cookies, each once, in the platform's order: the
// content entries first, then the cookie container. The listing ends as soon as stop answers
// true. With collected, it counts there what it has collected so far, as it goes (another
// thread reads it).
std::vector<std::string> CollectUrlCacheEntries(platform::UrlCache& cache, const std::function<bool()>& stop = {},
                                                std::atomic<std::uint64_t>* collected = nullptr);

// What the progress line names while the cache is cleaned.
inline constexpr const char* kCachePlace = "Temporary Internet Files";

// Deletes every collected entry whose name is not on keepList (exact names, letter case
// counts); an entry that stays counts as kept and in use. With progress, each entry is
// reported there as it goes, and a stop it asks for ends the step after the entry in hand
// (tally.stopped), the listing included. Kept entries count as spared. In preview mode nothing is
// deleted and every entry that is not kept counts as removed.
void CleanUrlCache(platform::UrlCache& cache, const std::vector<std::string>& keepList, DeleteTally& tally, CleanProgress* progress = nullptr,
                   CleanMode mode = CleanMode::kClean);

}  // namespace engine
