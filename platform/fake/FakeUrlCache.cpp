#include "platform/fake/FakeUrlCache.h"

#include <algorithm>

namespace fake {

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
        if (!pattern || entry.sourceUrlName.rfind(*pattern, 0) == 0) visit(entry);
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
