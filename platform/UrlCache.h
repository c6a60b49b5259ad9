#pragma once
// The platform's URL cache (Temporary Internet Files, cookies included).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// Entry-type bits the program looks at.
inline constexpr std::uint32_t kNormalCacheEntry = 0x1;
inline constexpr std::uint32_t kCookieCacheEntry = 0x100000;

struct UrlCacheEntry {
    std::string sourceUrlName;  // as the platform returns it, character for character
    std::uint32_t entryType = 0;
    std::uint64_t size = 0;  // of the entry's file, in bytes
};

class UrlCache {
public:
    virtual ~UrlCache() = default;
    // Calls visit for each entry the search pattern finds (nullopt: no pattern), in the
    // platform's order, until it answers false. An empty or unreadable cache visits nothing.
    virtual void Enumerate(const std::optional<std::string>& pattern,
                           const std::function<bool(const UrlCacheEntry&)>& visit) = 0;
    // Deletes one entry by its source URL name; false when it stays (in use). An entry that
    // is already gone counts as deleted.
    virtual bool Delete(const std::string& sourceUrlName) = 0;
};

}  // namespace platform
