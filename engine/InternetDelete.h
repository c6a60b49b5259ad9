#pragma once
// The URL cache: listing its entries by source URL name, and the clean run's cache step that
// deletes every entry not on the internet keep-list.
#include <cstdint>
#include <string>
#include <vector>

namespace engine {

struct CacheTally {
    std::uint64_t deleted = 0;
    std::uint64_t kept = 0;  // entries that should have gone but stayed (in use)
};

// The names of the cache's web entries and cookies, each once, in the platform's order: the
// content entries first, then the cookie container.
std::vector<std::string> CollectUrlCacheEntries();

// Empties the helper window's List1 and fills it with the collected names (as many as a list
// holds). Returns every collected name, also those past the list's limit.
std::vector<std::string> ListUrlCacheEntries();

// Deletes every collected entry whose name is not on the "Internet" keep-list (exact names,
// letter case counts). The helper window's working lists end empty.
void CleanUrlCache(CacheTally& tally);

}  // namespace engine
