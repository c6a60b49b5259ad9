#pragma once
// What a clean keeps back in a folder target, from the settings it read at its start: the
// target's age limit ([Keep Newer], whole hours, keyed by its [Delete] key) and the kept paths
// ([Keep] sFile0, sFile1, ...), matched by identity so that any spelling of one keeps it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/DeleteWalk.h"
#include "platform/FileSystem.h"

namespace engine {

inline constexpr std::uint64_t kFileTimeHour = 36'000'000'000;  // 100-ns units
// FAT keeps write times to 2 seconds: a file just inside the limit may show as just outside.
inline constexpr std::uint64_t kWriteTimeGrain = 20'000'000;

// A [Keep Newer] value as a whole number of hours ("", "0" and an absent key: 0, no limit);
// nullopt when it is none ("24h", "-1", "1.5"), blanks around it allowed.
std::optional<std::uint64_t> AgeLimitHours(std::string_view value);

// What a target keeps back: its age limit as stored, counted back from the clean's start (a
// file time), and the kept paths as they are identified now (a kept path that names nothing
// is listed in notFound and keeps nothing). nullopt when the age limit is unreadable.
std::optional<KeepBack> MakeKeepBack(platform::FileSystem& files, std::uint64_t start, std::string_view ageLimit,
                                     const std::vector<std::string>& keptPaths);

// The kept path (its place in the settings' list) that the folder at path, held as identity, is
// or lies in: walked up from what it is, so that links on the way lead to what really holds it.
std::optional<std::size_t> KeptWhole(platform::FileSystem& files, const std::string& path, const platform::FileIdentity& identity,
               const KeepBack& keep);

}  // namespace engine
