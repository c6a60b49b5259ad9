// Cleaning the caches of three Chromium profiles and two Firefox profiles, 30,000 files in all,
// beside each profile's own files (cookies, history, ...), as the Chrome Cache and Firefox Cache
// targets clean them: their folders worked out by handle, the lock of each browser tried, each
// cache purged. The reference is the lean sound walk (bench/LeanWalk.h) over the same cache
// folders, named to it (target: at most 1.05x). Each contestant gets a fresh copy of the same
// tree, flushed to the disk just before its turn, over 5 rounds.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BareFiles.h"
#include "bench/LeanWalk.h"
#include "bench/Timing.h"
#include "bench/Trees.h"
#include "engine/CleanTargets.h"
#include "platform/win32/WideText.h"

namespace {

constexpr int kRounds = 5;
constexpr double kTarget = 1.05;
// Each profile: a cache of 4,000 files in 10 folders and another of 2,000 in 5.
const bench::TreeShape kBigCache{1, 9, 400};
const bench::TreeShape kSmallCache{1, 4, 400};
const std::vector<std::wstring> kChromiumProfiles = {L"Default", L"Profile 1", L"Profile 2"};
const std::vector<std::wstring> kFirefoxProfiles = {L"abcd.default-release", L"wxyz.dev"};

std::wstring ChromeData(const std::wstring& tree) { return tree + L"\\Local\\Google\\Chrome\\User Data"; }
std::wstring FirefoxData(const std::wstring& tree) { return tree + L"\\Local\\Mozilla\\Firefox\\Profiles"; }

// What a profile holds beside its caches, which stays: a few files, and a folder of them.
void MakeOwnFiles(const std::wstring& profile) {
    bench::MakeFiles(profile, 5);
    bench::MakeFiles(profile + L"\\Network", 5);
}

// The profiles as browsers leave them: caches beside the user's own files.
void MakeProfiles(const std::wstring& tree) {
    ::CreateDirectoryW(tree.c_str(), nullptr);
    for (const wchar_t* folder : {L"\\Local", L"\\Local\\Google", L"\\Local\\Google\\Chrome", L"\\Local\\Mozilla",
                                  L"\\Local\\Mozilla\\Firefox", L"\\Roaming"}) {
        ::CreateDirectoryW((tree + folder).c_str(), nullptr);
    }
    bench::MakeFiles(ChromeData(tree), 3);  // Local State and the like
    for (const std::wstring& name : kChromiumProfiles) {
        const std::wstring profile = ChromeData(tree) + L"\\" + name;
        MakeOwnFiles(profile);
        bench::MakeTree(profile + L"\\Cache", kBigCache);
        bench::MakeTree(profile + L"\\Code Cache", kSmallCache);
    }
    ::CreateDirectoryW(FirefoxData(tree).c_str(), nullptr);
    for (const std::wstring& name : kFirefoxProfiles) {
        const std::wstring profile = FirefoxData(tree) + L"\\" + name;
        MakeOwnFiles(profile);
        bench::MakeTree(profile + L"\\cache2", kBigCache);
        bench::MakeTree(profile + L"\\startupCache", kSmallCache);
    }
}

// The folders the targets empty, for the reference.
std::vector<std::wstring> CacheFolders(const std::wstring& tree) {
    std::vector<std::wstring> caches;
    for (const std::wstring& name : kChromiumProfiles) {
        for (const wchar_t* cache : {L"\\Cache", L"\\Code Cache"}) caches.push_back(ChromeData(tree) + L"\\" + name + cache);
    }
    for (const std::wstring& name : kFirefoxProfiles) {
        for (const wchar_t* cache : {L"\\cache2", L"\\startupCache"}) caches.push_back(FirefoxData(tree) + L"\\" + name + cache);
    }
    return caches;
}

}  // namespace

int main() {
    bench::RealPorts ports;
    const bench::WorkFolder work(bench::TempFolder() + L"MorvaneBench-browsers-" +
                                 std::to_wstring(::GetCurrentProcessId()));
    const std::wstring& root = work.path;
    const std::wstring tree = root + L"\\tree";
    const std::uint64_t files = 5ull * static_cast<std::uint64_t>(kBigCache.Files() + kSmallCache.Files());
    const std::uint64_t items = files + 5ull * static_cast<std::uint64_t>(kBigCache.Folders() + kSmallCache.Folders());
    engine::CleanSettings settings;
    settings.localAppData = win32::Narrow(tree + L"\\Local");
    settings.appData = win32::Narrow(tree + L"\\Roaming");
    std::vector<std::size_t> targets;
    for (std::size_t i = 0; i < engine::CleanTargets().size(); ++i) {
        const std::string_view key = engine::CleanTargets()[i].key;
        if (key == "Chrome Cache" || key == "Firefox Cache") targets.push_back(i);
    }
    bool whole = targets.size() == 2;
    {
        bench::FreshTrees trees(root, MakeProfiles);
        const auto ready = [&] { whole = trees.Make(tree) && whole; };
        // After each turn what is left of the tree goes, untimed, for the next copy.
        const auto emptied = [&] {
            for (const std::wstring& cache : CacheFolders(tree)) whole = whole && bench::IsEmptyFolder(cache);
            if (!bench::RemoveNatively(tree, root)) bench::BareWalk(bench::LongForm(tree)), ::RemoveDirectoryW(tree.c_str());
        };
        const auto timed = [&](auto clean) {
            return [&, clean] {
                const double seconds = bench::Seconds(clean);
                emptied();
                return seconds;
            };
        };
        const std::vector<bench::Contestant> contestants = {
            {"Chrome and Firefox caches", timed([&] {
                 engine::DeleteTally tally;
                 for (const std::size_t target : targets) {
                     engine::CleanTargets()[target].clean(ports.Ports(), settings, tally, nullptr, engine::CleanMode::kClean);
                 }
                 whole = whole && tally.removedItems == items && tally.skipped.empty();
             }),
             ready},
            {"lean sound walk", timed([&] {
                 for (const std::wstring& cache : CacheFolders(tree)) bench::LeanWalk(cache);
             }),
             ready},
        };
        std::printf("%llu files in the caches of %zu profiles, each contestant on a fresh copy flushed to the disk "
                    "(seconds):\n",
                    static_cast<unsigned long long>(files), kChromiumProfiles.size() + kFirefoxProfiles.size());
        const auto times = bench::InRounds(kRounds, contestants, "s");
        if (!whole) {
            std::fprintf(stderr, "bench_browser_caches: a tree was not made or its caches not emptied\n");
            return 1;
        }
        for (size_t c = 0; c < contestants.size(); ++c) {
            std::printf("%s: %s\n", contestants[c].name.c_str(), bench::Text(bench::SpreadOf(times[c]), "%.3f", " s").c_str());
        }
        if (!bench::AtMost("browser caches / lean sound walk", bench::RatioOf(times[0], times[1]), kTarget)) {
            bench::Why("browser caches / lean sound walk",
                       "the targets walk each cache as the lean walk does; beside it they find the profiles by handle, "
                       "try each browser's lock and decide on the protected folders once a target");
        }
    }
    return 0;
}
