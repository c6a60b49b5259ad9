#pragma once
// The URL cache: listing its entries by source URL name, and the clean run's cache step that
// deletes every entry not on the internet keep-list.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/CleanProgress.h"

namespace engine {

struct CacheTally {
    std::uint64_t deleted = 0;
    std::uint64_t removedBytes = 0;  // of the deleted entries' files
    std::uint64_t kept = 0;  // entries that should have gone but stayed (in use)
    std::vector<std::string> stayed;  // the first of them by name (as many as a delete tally names)
};

// The names of the cache's web entries and cookies, each once, in the platform's order: the
// content entries first, then the cookie container.
std::vector<std::string> CollectUrlCacheEntries();

// What the progress line names while the cache is cleaned.
inline constexpr const char* kCachePlace = "Temporary Internet Files";

// Deletes every collected entry whose name is not on the "Internet" keep-list (exact names,
// letter case counts). With progress, each entry is reported there as it goes, and a stop it asks
// for ends the step after the entry in hand.
void CleanUrlCache(CacheTally& tally, CleanProgress* progress = nullptr);

}  // namespace engine
