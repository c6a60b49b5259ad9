// What keeping back costs a purge of the Temp target, through the target's own clean:
// - an age limit over 50,000 files in 500 folders, half of each folder written 48 hours ago and
//   half just now: the old half goes, against the purge (no limit) of a tree of the old half
//   alone (target: at most 1.02x; the write times come with the listing the walk makes anyway);
// - 100 kept paths (files beside the tree, so that both purges remove the same) against none, on
//   10,000 files (target: at most 1.05x).
// Each contestant on a fresh copy of its tree flushed to the disk, in turns over 5 rounds. Then
// what a purge with kept paths pays before its walk: the kept paths identified, and whether the
// folder lies in one.
//
// Usage: bench_keep_back [age|paths]  -- one of the two alone.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BareFiles.h"
#include "bench/Timing.h"
#include "bench/Trees.h"
#include "engine/CleanTargets.h"
#include "engine/KeptBack.h"
#include "platform/win32/WideText.h"

namespace {

constexpr int kRounds = 5;
constexpr std::size_t kTemp = 1;  // the Temp target's place in the table
constexpr std::uint64_t kHour = 36'000'000'000;

std::uint64_t FileTimeNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// Files cache-entry-<first>.tmp up to <first + count> of every folder of the tree written back then.
void WrittenAt(const std::wstring& root, const bench::TreeShape& shape, int first, int count, std::uint64_t when) {
    const FILETIME time{static_cast<DWORD>(when), static_cast<DWORD>(when >> 32)};
    const auto folder = [&](const std::wstring& path) {
        for (int i = first; i < first + count; ++i) {
            const std::wstring file = path + L"\\cache-entry-" + std::to_wstring(i) + L".tmp";
            const win32::KernelHandle handle(::CreateFileW(bench::LongForm(file).c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                                           nullptr, OPEN_EXISTING, 0, nullptr));
            ::SetFileTime(handle.Get(), nullptr, nullptr, &time);
        }
    };
    for (int top = 0; top < shape.topFolders; ++top) {
        const std::wstring site = root + L"\\site-" + std::to_wstring(top);
        folder(site);
        for (int sub = 0; sub < shape.subFolders; ++sub) folder(site + L"\\part-" + std::to_wstring(sub));
    }
}

engine::CleanSettings TempSettings(const std::wstring& tree, const std::string& ageLimit,
                                   std::vector<std::string> keptPaths) {
    engine::CleanSettings settings;
    settings.tempFolder = win32::Narrow(tree);
    settings.start = FileTimeNow();
    for (std::size_t i = 0; i < engine::CleanTargets().size(); ++i) {
        settings.values.push_back(i == kTemp ? "Yes" : "0");
        settings.keepNewer.push_back(i == kTemp ? ageLimit : "");
    }
    settings.keptPaths = std::move(keptPaths);
    return settings;
}

// Two contestants, each purging its own kind of tree: the first with its settings, the second
// the reference. Returns whether every purge did what it should.
struct Pair {
    std::string name[2];
    std::function<void(const std::wstring&)> make[2];
    std::function<engine::CleanSettings(const std::wstring&)> settings[2];
    std::function<bool(const engine::DeleteTally&)> right[2];
    bool oneTree = false;  // both purge copies of one tree: no difference between two models counts
};

bench::Spread Race(bench::RealPorts& ports, const std::wstring& root, const Pair& pair, bool& whole) {
    bench::FreshTrees first(root, pair.make[0], L"model-0");
    bench::FreshTrees second(root, pair.oneTree ? [](const std::wstring&) {} : pair.make[1], L"model-1");
    bench::FreshTrees* trees[2] = {&first, pair.oneTree ? &first : &second};
    const std::wstring tree = root + L"\\tree";
    std::vector<bench::Contestant> contestants;
    for (int c = 0; c < 2; ++c) {
        contestants.push_back(
            {pair.name[c],
             [&, c] {
                 const engine::CleanSettings settings = pair.settings[c](tree);
                 engine::DeleteTally tally;
                 const double seconds = bench::Seconds(
                     [&] { engine::CleanTargets()[kTemp].clean(ports.Ports(), settings, tally, nullptr, engine::CleanMode::kClean); });
                 whole = whole && pair.right[c](tally);
                 // What stayed goes untimed, for the next copy.
                 if (!bench::UnderWine() || !bench::RemoveNatively(tree, root)) {
                     bench::BareWalk(bench::LongForm(tree));
                     ::RemoveDirectoryW(bench::LongForm(tree).c_str());
                 }
                 return seconds;
             },
             [&, c] { whole = trees[c]->Make(tree) && whole; }});
    }
    const auto times = bench::InRounds(kRounds, contestants, "s");
    return bench::RatioOf(times[0], times[1]);
}

}  // namespace

// The fixed work of kept paths, timed alone: identifying them, and asking whether the folder lies in one.
void FixedCost(bench::RealPorts& ports, const std::wstring& folder, const std::vector<std::string>& kept) {
    std::vector<double> identify, whole;
    for (int i = 0; i < kRounds; ++i) {
        std::optional<engine::KeepBack> keep;
        identify.push_back(bench::Milliseconds(
            [&] { keep = engine::MakeKeepBack(*ports.Ports().fileSystem, FileTimeNow(), "", kept); }));
        const auto identity = ports.Ports().fileSystem->Identify(win32::Narrow(folder));
        whole.push_back(bench::Milliseconds([&] {
            engine::KeptWhole(*ports.Ports().fileSystem, win32::Narrow(folder), identity->identity, *keep);
        }));
    }
    std::printf("before the walk: %zu kept paths identified in %.1f ms, the folder looked for in them in %.1f ms\n",
                kept.size(), bench::Median(identify), bench::Median(whole));
}

int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    bench::RealPorts ports;
    const bench::WorkFolder work(bench::TempFolder() + L"MorvaneBench-keep-" + std::to_wstring(::GetCurrentProcessId()));
    bool whole = true;

    const bench::TreeShape big{50, 9, 100};
    const std::uint64_t half = big.Files() / 2;
    const Pair ageLimit{
        {"age limit 24 hours, half kept", "the old half alone, no limit"},
        {[&](const std::wstring& at) {
             bench::MakeTree(at, big);
             WrittenAt(at, big, 0, big.filesPerFolder / 2, FileTimeNow() - 48 * kHour);
         },
         [&](const std::wstring& at) {
             bench::MakeTree(at, {big.topFolders, big.subFolders, big.filesPerFolder / 2});
         }},
        {[](const std::wstring& tree) { return TempSettings(tree, "24", {}); },
         [](const std::wstring& tree) { return TempSettings(tree, "", {}); }},
        {[&](const engine::DeleteTally& t) { return t.removedItems == half && t.keptNewer == half && t.keptItems == 0; },
         [&](const engine::DeleteTally& t) { return t.removedItems == half + big.Folders() && t.keptItems == 0; }},
    };
    bench::Spread aged, withKept;
    if (only != "paths") {
        std::printf("%d files in %d folders, half of them newer than the limit (seconds):\n", big.Files(), big.Folders());
        aged = Race(ports, work.path, ageLimit, whole);
    }

    const bench::TreeShape small{10, 9, 100};
    std::vector<std::string> kept;
    const std::wstring beside = work.path + L"\\kept";
    ::CreateDirectoryW(beside.c_str(), nullptr);
    for (int i = 0; i < 100; ++i) {
        const std::wstring file = beside + L"\\kept-" + std::to_wstring(i) + L".txt";
        const win32::KernelHandle made(
            ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        kept.push_back(win32::Narrow(file));
    }
    const std::uint64_t all = small.Files() + small.Folders();
    const Pair keptPaths{
        {"100 kept paths", "no kept path"},
        {[&](const std::wstring& at) { bench::MakeTree(at, small); },
         [&](const std::wstring& at) { bench::MakeTree(at, small); }},
        {[&](const std::wstring& tree) { return TempSettings(tree, "", kept); },
         [](const std::wstring& tree) { return TempSettings(tree, "", {}); }},
        {[&](const engine::DeleteTally& t) { return t.removedItems == all && t.keptPathsNotFound.empty(); },
         [&](const engine::DeleteTally& t) { return t.removedItems == all; }},
        true,
    };
    if (only != "age") {
        std::printf("%d files in %d folders, with and without 100 kept paths beside them (seconds):\n",
                    small.Files(), small.Folders());
        withKept = Race(ports, work.path, keptPaths, whole);
        FixedCost(ports, work.path, kept);
    }
    bench::BareWalk(beside);
    ::RemoveDirectoryW(beside.c_str());

    if (!whole) {
        std::fprintf(stderr, "bench_keep_back: a tree was not made, or a purge did not do what it should\n");
        return 1;
    }
    if (only != "paths") bench::AtMost("purge with an age limit keeping half / purge of the other half alone", aged, 1.02);
    if (only != "age") bench::AtMost("purge with 100 kept paths / without", withKept, 1.05);
    return 0;
}
