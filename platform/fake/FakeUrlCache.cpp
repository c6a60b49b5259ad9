#include "platform/fake/FakeUrlCache.h"

#include <algorithm>
#include <string_view>

namespace fake {
namespace {

struct Container {
    std::string_view prefix;
    std::uint32_t type;
};
constexpr Container kCookies{"Cookie:", platform::kCookieCacheEntry};
constexpr Container kHistory{"Visited:", FakeUrlCache::kHistoryCacheEntry};
constexpr Container kContent{"", platform::kNormalCacheEntry};

const Container& ContainerOf(std::string_view name) {
    if (name.starts_with(kCookies.prefix)) return kCookies;
    if (name.starts_with(kHistory.prefix)) return kHistory;
    return kContent;
}

}  // namespace

void FakeUrlCache::Commit(const std::string& name, std::uint32_t type) {
    const std::uint32_t committed = type | ContainerOf(name).type;
    const auto it =
        std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.sourceUrlName == name; });
    if (it != entries.end()) {
        it->entryType = committed;
    } else {
        entries.push_back({name, committed});
    }
}

bool FakeUrlCache::Has(const std::string& name) const {
    return std::any_of(entries.begin(), entries.end(), [&](const auto& e) { return e.sourceUrlName == name; });
}

std::vector<std::string> FakeUrlCache::Names() const {
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.sourceUrlName);
    return names;
}

void FakeUrlCache::Enumerate(const std::optional<std::string>& pattern,
                             const std::function<void(const platform::UrlCacheEntry&)>& visit) {
    ++enumerations;
    const std::vector<platform::UrlCacheEntry> snapshot = entries;
    for (const auto& entry : snapshot) {
        if (!pattern || ContainerOf(entry.sourceUrlName).prefix == *pattern) visit(entry);
    }
}

bool FakeUrlCache::Delete(const std::string& sourceUrlName) {
    ++deletions;
    if (inUse.count(sourceUrlName)) return false;
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const auto& e) { return e.sourceUrlName == sourceUrlName; });
    if (it == entries.end()) return true;  // already gone
    entries.erase(it);
    return true;
}

}  // namespace fake
