// Cleaning a URL cache of 5,000 entries with a keep-list of 1,001 of them: CleanUrlCache (the
// keep-list read from Clean.ini, the cache through the adapter) against a bare loop of the
// WinINet enumerate and delete calls over an identical cache, each turn on a cache filled afresh,
// in turns over 5 rounds.
//
// It deletes every entry of the cache that is not kept, so it refuses to run on a cache that
// holds anything but its own entries: run it through tools/bench, in a prefix of its own.
#include <cstdio>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "bench/BareUrlCache.h"
#include "bench/SettingsBench.h"
#include "bench/Timing.h"
#include "engine/UrlCacheClean.h"
#include "forms/Application.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32UrlCache.h"

#include <wininet.h>

namespace {

using bench::Seconds;

constexpr int kEntries = 5000;
constexpr int kKept = 1001;
constexpr int kRounds = 5;
constexpr const char* kSite = "http://morvane-bench.example/";

std::string Name(int i) { return std::string(kSite) + "page/" + std::to_string(i) + "/index.html"; }
bool IsKept(int i) { return i % 4 == 0 && i / 4 < kKept; }

// Entries without files: deleting files would add the disk's own noise (whether they were
// written back yet) to both sides alike without showing anything of the engine's cost, which the
// quicker index-only calls show all the more.
void Commit(const std::string& name) {
    const FILETIME never{};
    ::CommitUrlCacheEntryA(name.c_str(), nullptr, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr);
}

// The reference: enumerate with one buffer that grows when an entry does not fit, then delete
// every name that is not kept.
void BareClean(const std::unordered_set<std::string>& keep) {
    std::vector<std::string> doomed;
    bench::ForEachBareCacheEntry(nullptr, [&](const INTERNET_CACHE_ENTRY_INFOA& record) {
        if (!keep.count(record.lpszSourceUrlName)) doomed.push_back(record.lpszSourceUrlName);
    });
    for (const std::string& name : doomed) ::DeleteUrlCacheEntryA(name.c_str());
}

std::set<std::string> CacheNames(platform::UrlCache& cache) {
    std::set<std::string> names;
    for (const auto& pattern : {std::optional<std::string>(), std::optional<std::string>("cookie:"),
                                std::optional<std::string>("Cookie:")}) {
        cache.Enumerate(pattern, [&](const platform::UrlCacheEntry& entry) {
            names.insert(entry.sourceUrlName);
            return true;
        });
    }
    return names;
}

}  // namespace

int main() {
    bench::RealPortsInScratch ports("cache");
    win32::Win32UrlCache& cache = ports.Cache();
    fake::FakeDesktop desktop;
    forms::Application application(desktop);

    // Leftovers of an earlier run are ours; anything else is somebody's cache.
    for (const std::string& name : CacheNames(cache)) {
        if (name.rfind(kSite, 0) == 0) cache.Delete(name);
    }
    if (!CacheNames(cache).empty()) {
        std::fprintf(stderr, "bench_cache_clean: the URL cache holds entries of others; "
                             "run it in a prefix of its own\n");
        return 1;
    }

    std::string ini = "[Internet]\r\n";
    std::unordered_set<std::string> keep;
    std::set<std::string> kept;
    for (int i = 0, index = 0; i < kEntries; ++i) {
        if (!IsKept(i)) continue;
        ini += "sFile" + std::to_string(index++) + "=" + Name(i) + "\r\n";
        keep.insert(Name(i));
        kept.insert(Name(i));
    }
    ports.WriteIni(ini);

    // Each turn on a freshly filled cache, untimed; the contestants take turns over the rounds.
    double made = 0;
    bool alike = true;
    const std::vector<std::string> keepList = settings::ReadKeepList(ports.Ports(), "Internet");
    bool first = true;  // later fills find the kept entries still there
    const auto fill = [&] {
        made += Seconds([&] {
            for (int i = 0; i < kEntries; ++i) {
                if (first || !IsKept(i)) Commit(Name(i));
            }
        });
        // Every fill commits the same names: the first is checked (a listing takes seconds).
        if (first) alike = alike && CacheNames(cache).size() == static_cast<size_t>(kEntries);
        first = false;
    };
    const auto times = bench::InRounds(kRounds,
                                       {{"CleanUrlCache",
                                         [&] {
                                             engine::DeleteTally tally;
                                             const double t = Seconds([&] { engine::CleanUrlCache(ports.Cache(), keepList, tally); });
                                             alike = alike && tally.removedItems ==
                                                                  static_cast<std::uint64_t>(kEntries - kKept) &&
                                                     CacheNames(cache) == kept;
                                             return t;
                                         },
                                         fill},
                                        {"bare loop",
                                         [&] {
                                             const double t = Seconds([&] { BareClean(keep); });
                                             alike = alike && CacheNames(cache) == kept;
                                             return t;
                                         },
                                         fill}},
                                       "s");

    for (const std::string& name : kept) cache.Delete(name);
    if (!alike) {
        std::fprintf(stderr, "bench_cache_clean: the caches were not filled or cleaned alike\n");
        return 1;
    }

    std::printf("filled a cache of %d entries %d times in %.1f s\n", kEntries, 2 * kRounds, made);
    bench::AtMost("CleanUrlCache / bare WinINet loop", bench::RatioOf(times[0], times[1]), 1.3);
    return 0;
}
