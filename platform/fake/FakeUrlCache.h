#pragma once
#include <set>
#include <string>
#include <vector>

#include "platform/UrlCache.h"

namespace fake {

// A URL cache in memory. Like the platform, a pattern matches the start of the name with
// regard to case, and no pattern finds every entry.
class FakeUrlCache : public platform::UrlCache {
public:
    std::vector<platform::UrlCacheEntry> entries;
    std::set<std::string> inUse;  // names whose deletion fails
    int enumerations = 0;
    int deletions = 0;

    void Add(const std::string& name, std::uint32_t type = platform::kNormalCacheEntry) {
        entries.push_back({name, type});
    }
    bool Has(const std::string& name) const;
    std::vector<std::string> Names() const;

    void Enumerate(const std::optional<std::string>& pattern,
                   const std::function<void(const platform::UrlCacheEntry&)>& visit) override;
    bool Delete(const std::string& sourceUrlName) override;
};

}  // namespace fake
