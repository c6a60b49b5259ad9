#include "platform/fake/FakeUrlCache.h"

#include <algorithm>
#include <string_view>

#include "platform/Text.h"

namespace fake {
namespace {

struct Container {
    std::string_view prefix;
    std::uint32_t type;
};
constexpr Container kCookies{"Cookie:", platform::kCookieCacheEntry};
constexpr Container kHistory{"Visited:", FakeUrlCache::kHistoryCacheEntry};
constexpr Container kContent{"", platform::kNormalCacheEntry};

bool SamePrefix(std::string_view text, std::string_view prefix, FakeUrlCache::Dialect dialect) {
    if (text.size() < prefix.size()) return false;
    const std::string_view head = text.substr(0, prefix.size());
    return dialect == FakeUrlCache::Dialect::kWindows ? text::EqualsNoCase(head, prefix) : head == prefix;
}

const Container& ContainerOf(std::string_view name, FakeUrlCache::Dialect dialect) {
    if (SamePrefix(name, kCookies.prefix, dialect)) return kCookies;
    if (SamePrefix(name, kHistory.prefix, dialect)) return kHistory;
    return kContent;
}

}  // namespace

void FakeUrlCache::Commit(const std::string& name, std::uint32_t type, std::uint64_t size) {
    const std::uint32_t committed = type | ContainerOf(name, dialect).type;
    const auto it =
        std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.sourceUrlName == name; });
    if (it != entries.end()) {
        *it = {name, committed, size};
    } else {
        entries.push_back({name, committed, size});
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
                             const std::function<bool(const platform::UrlCacheEntry&)>& visit) {
    ++enumerations;
    const std::vector<platform::UrlCacheEntry> snapshot = entries;
    for (const auto& entry : snapshot) {
        const Container& container = ContainerOf(entry.sourceUrlName, dialect);
        const bool listed = pattern ? container.prefix.size() == pattern->size() &&
                                          SamePrefix(*pattern, container.prefix, dialect)
                                    : dialect == Dialect::kWine || &container == &kContent;
        if (!listed) continue;
        if (beforeVisit) beforeVisit(entry.sourceUrlName);
        if (!visit(entry)) return;
    }
}

bool FakeUrlCache::Delete(const std::string& sourceUrlName) {
    if (beforeDelete) beforeDelete(sourceUrlName);
    ++deletions;
    if (inUse.count(sourceUrlName)) return false;
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const auto& e) { return e.sourceUrlName == sourceUrlName; });
    if (it == entries.end()) return true;  // already gone
    entries.erase(it);
    return true;
}

}  // namespace fake
