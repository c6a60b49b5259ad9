#include "engine/KeptBack.h"

#include "platform/Text.h"

namespace engine {

std::optional<std::uint64_t> AgeLimitHours(std::string_view value) {
    const std::string_view digits = text::Trim(value);
    if (digits.size() > 9) return std::nullopt;
    std::uint64_t hours = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        hours = hours * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return hours;
}

std::optional<KeepBack> MakeKeepBack(platform::FileSystem& files, std::uint64_t start, std::string_view ageLimit,
                                     const std::vector<std::string>& keptPaths) {
    const std::optional<std::uint64_t> hours = AgeLimitHours(ageLimit);
    if (!hours) return std::nullopt;
    KeepBack keep;
    // A limit that reaches back past 1601 keeps everything.
    if (*hours > 0) {
        const std::uint64_t back = *hours * kFileTimeHour + kWriteTimeGrain;
        keep.newerThan = back < start ? start - back : 0;
    }
    for (std::size_t i = 0; i < keptPaths.size(); ++i) {
        const std::string& path = keptPaths[i];
        const std::optional<platform::FileSystem::Item> item = files.IdentifyItself(path);
        if (!item) {
            keep.notFound.push_back(path);
            continue;
        }
        if (item->identity.file != 0) keep.paths.emplace(item->identity, i);
        // A link keeps itself and what it leads to.
        if (item->attributes & platform::kAttrReparsePoint) {
            if (const auto target = files.Identify(path); target && target->identity.file != 0) {
                keep.paths.emplace(target->identity, i);
            }
        }
        keep.spelled.emplace(text::ToUpper(files.FullPath(path)), i);
    }
    return keep;
}

std::optional<std::size_t> KeptWhole(platform::FileSystem& files, const std::string& path,
                                     const platform::FileIdentity& identity, const KeepBack& keep) {
    if (keep.paths.empty()) return std::nullopt;
    if (const auto it = keep.paths.find(identity); it != keep.paths.end()) return it->second;
    const auto found = files.Identify(path);
    std::string up = found ? found->parent : std::string();
    // Bounded: a folder's parent is never itself, but a platform's answer should not loop a clean.
    for (int depth = 0; !up.empty() && depth < 512; ++depth) {
        const auto holder = files.Identify(up);
        if (!holder) return std::nullopt;
        if (const auto it = keep.paths.find(holder->identity); it != keep.paths.end()) return it->second;
        up = holder->parent;
    }
    return std::nullopt;
}

}  // namespace engine
