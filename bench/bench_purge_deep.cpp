// Depth against breadth: PurgeFolderContents on a chain of folders inside one another with a file
// in each, against the same purge of as many folders side by side with a file in each; and the
// same two trees emptied by the lean sound walk (bench/LeanWalk.h), the least a purge that never
// deletes a link's target does under Wine. Every tree is a fresh copy flushed to the disk just
// before its turn; the four take turns over 5 rounds at each depth.
//
// Under Wine every open, relative to a held folder or not, has the Wine server resolve the whole
// path (and so does the query of a handle's name), so each level of a chain costs more the deeper
// it lies, for any sound walk: about 700 s for 2,000 levels, against about a second side by side. The default run measures a few depths
// and prints how the ratio grows; the lean walk's ratio shows what is Wine's and what is ours.
//
// Usage: bench_purge_deep [levels [rounds]]  -- one depth (2000 for the full chain), 5 rounds.
//
// The trees lie in a folder of the bench's own at the root of C:, so that the deepest path
// stays within what the Linux side of Wine can name (4,096 bytes).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BareFiles.h"
#include "bench/LeanWalk.h"
#include "bench/Timing.h"
#include "bench/Trees.h"
#include "engine/Purges.h"
#include "platform/win32/WideText.h"

namespace {

using bench::LongForm;

constexpr double kTarget = 3;
constexpr double kLeanTarget = 1.05;

void MakeFile(const std::wstring& path) {
    const win32::KernelHandle file(::CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), "cached", 6, &written, nullptr);
}

// levels folders "d" inside one another, with a file in each. The folders are made side by side
// and then moved into one another from the innermost out, so that no path used is deeper than
// two folders (under Wine every deeper one costs its depth).
void MakeChain(const std::wstring& top, int levels) {
    ::CreateDirectoryW(LongForm(top).c_str(), nullptr);
    const auto level = [&](int i) { return top + L"\\level-" + std::to_wstring(i); };
    for (int i = 0; i < levels; ++i) {
        ::CreateDirectoryW(LongForm(level(i)).c_str(), nullptr);
        MakeFile(level(i) + L"\\f.tmp");
    }
    for (int i = levels - 1; i > 0; --i) ::MoveFileW(LongForm(level(i)).c_str(), LongForm(level(i - 1) + L"\\d").c_str());
    ::MoveFileW(LongForm(level(0)).c_str(), LongForm(top + L"\\d").c_str());
}

// folders side by side, a file in each.
void MakeSideBySide(const std::wstring& top, int folders) {
    ::CreateDirectoryW(LongForm(top).c_str(), nullptr);
    for (int i = 0; i < folders; ++i) {
        const std::wstring folder = top + L"\\d" + std::to_wstring(i);
        ::CreateDirectoryW(LongForm(folder).c_str(), nullptr);
        MakeFile(folder + L"\\f.tmp");
    }
}

struct Depth {
    int levels;
    std::vector<std::vector<double>> times;  // purge chain, purge side by side, lean chain, lean side by side
};

// The four contestants at one depth, in turns; false when a tree was not made or not emptied.
bool Measure(const platform::Ports& ports, Depth& depth, int rounds, const std::wstring& root) {
    const int levels = depth.levels;
    const std::wstring tree = root + L"\\t";
    bench::FreshTrees chains(root, [&](const std::wstring& at) { MakeChain(at, levels); }, L"chain");
    bench::FreshTrees sideBySide(root, [&](const std::wstring& at) { MakeSideBySide(at, levels); }, L"side");
    bool whole = true;
    const auto emptied = [&] {
        whole = whole && bench::IsEmptyFolder(LongForm(tree));
        ::RemoveDirectoryW(tree.c_str());
    };
    const auto purge = [&] {
        return bench::Seconds([&] {
            engine::DeleteTally tally;
            engine::PurgeFolderContents(ports, win32::Narrow(tree), tally);
            whole = whole && tally.removedItems == 2u * static_cast<std::uint64_t>(levels) && tally.keptItems == 0;
        });
    };
    const auto lean = [&] { return bench::Seconds([&] { bench::LeanWalk(tree); }); };
    const auto after = [&](auto turn) {
        return [&, turn] {
            const double seconds = turn();
            emptied();
            return seconds;
        };
    };
    const auto chain = [&] { whole = chains.Make(tree) && whole; };
    const auto side = [&] { whole = sideBySide.Make(tree) && whole; };
    std::printf("%d levels against %d folders side by side, a file in each (seconds):\n", levels, levels);
    depth.times = bench::InRounds(rounds,
                                  {{"purge chain", after(purge), chain},
                                   {"purge side by side", after(purge), side},
                                   {"lean chain", after(lean), chain},
                                   {"lean side by side", after(lean), side}},
                                  "s");
    return whole;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Depth> depths;
    if (argc > 1) {
        depths.push_back({std::atoi(argv[1]), {}});
    } else {
        for (const int levels : {100, 200, 400}) depths.push_back({levels, {}});
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    bench::RealPorts ports;
    bool whole = true;
    {
        const bench::WorkFolder work(L"C:\\MorvaneBench-deep-" + std::to_wstring(::GetCurrentProcessId()));
        for (Depth& depth : depths) whole = Measure(ports.Ports(), depth, rounds, work.path) && whole;
    }
    if (!whole) {
        std::fprintf(stderr, "bench_purge_deep: a tree was not made or not emptied\n");
        return 1;
    }

    std::printf("levels  purge chain / side by side   lean chain / side by side   purge / lean on the chain\n");
    for (const Depth& d : depths) {
        std::printf("%6d  %26s   %25s   %25s\n", d.levels, bench::Text(bench::RatioOf(d.times[0], d.times[1])).c_str(),
                    bench::Text(bench::RatioOf(d.times[2], d.times[3])).c_str(),
                    bench::Text(bench::RatioOf(d.times[0], d.times[2])).c_str());
    }
    for (size_t i = 1; i < depths.size(); ++i) {
        std::printf("from %d to %d levels the chain's purge takes %.1fx as long (a cube would be %.1fx)\n",
                    depths[i - 1].levels, depths[i].levels,
                    bench::Median(depths[i].times[0]) / bench::Median(depths[i - 1].times[0]),
                    static_cast<double>(depths[i].levels) * depths[i].levels * depths[i].levels /
                        (static_cast<double>(depths[i - 1].levels) * depths[i - 1].levels * depths[i - 1].levels));
    }
    const Depth& deepest = depths.back();
    const std::string at = std::to_string(deepest.levels) + " levels";
    if (!bench::AtMost("purge of a chain / side by side, " + at, bench::RatioOf(deepest.times[0], deepest.times[1]),
                       kTarget)) {
        std::string growth;
        if (depths.size() > 1) {
            const Depth& before = depths[depths.size() - 2];
            char text[96];
            std::snprintf(text, sizeof(text), " (from %d to %d levels the purge of the chain took %.1fx as long)",
                          before.levels, deepest.levels, bench::Median(deepest.times[0]) / bench::Median(before.times[0]));
            growth = text;
        }
        bench::Why("purge of a chain / side by side, " + at,
                   "under Wine every open, relative to a held folder or not, and every query of a handle's name has "
                   "the Wine server resolve the whole path, so each level costs more the deeper it lies" +
                       growth + ", and any sound walk pays it: the lean walk's chain / side by side is " +
                       bench::Text(bench::RatioOf(deepest.times[2], deepest.times[3])));
    }
    bench::Shown("lean walk of a chain / side by side, " + at, bench::RatioOf(deepest.times[2], deepest.times[3]));
    bench::AtMost("purge / lean walk of a chain, " + at, bench::RatioOf(deepest.times[0], deepest.times[2]),
                  kLeanTarget);
    return 0;
}
