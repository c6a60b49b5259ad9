#pragma once
#include <set>
#include <string>
#include <vector>

#include "platform/UrlCache.h"

namespace fake {

// A URL cache in memory. Entries live in three containers chosen by the start of their names:
// "Cookie:" (cookies), "Visited:" (history) and every other name (content). A pattern lists the
// container whose prefix it equals ("" the content); any other pattern lists nothing. Where the
// two platforms differ, the dialect chooses:
// - Wine: prefixes and patterns compare with their letter case; no pattern lists every entry.
// - Windows: without regard to case; no pattern lists the content entries only, so cookies are
//   reached through their prefix alone.
class FakeUrlCache : public platform::UrlCache {
public:
    static constexpr std::uint32_t kHistoryCacheEntry = 0x200000;
    enum class Dialect { kWine, kWindows };
    Dialect dialect = Dialect::kWine;

    std::vector<platform::UrlCacheEntry> entries;
    std::set<std::string> inUse;  // names whose deletion fails
    int enumerations = 0;
    int deletions = 0;
    // Called with an entry's name just before the listing hands it over, and before a deletion:
    // lets a test act while the cache is in use, as another thread of the program would.
    std::function<void(const std::string& name)> beforeVisit;
    std::function<void(const std::string& name)> beforeDelete;

    // An entry exactly as given.
    void Add(const std::string& name, std::uint32_t type = platform::kNormalCacheEntry, std::uint64_t size = 0) {
        entries.push_back({name, type, size});
    }
    // An entry as the platform's commit makes it: its container's type bit added to the type
    // (content 0x1, cookies 0x100000, history 0x200000); an existing entry of the name is replaced.
    void Commit(const std::string& name, std::uint32_t type = 0, std::uint64_t size = 0);
    bool Has(const std::string& name) const;
    std::vector<std::string> Names() const;

    void Enumerate(const std::optional<std::string>& pattern,
                   const std::function<bool(const platform::UrlCacheEntry&)>& visit) override;
    bool Delete(const std::string& sourceUrlName) override;
};

}  // namespace fake
