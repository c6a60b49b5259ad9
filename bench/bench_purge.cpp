// Purging a Temp folder of 50,000 files in 500 folders with PurgeFolderContents, against a bare
// recursive FindFirstFileW / DeleteFileW / RemoveDirectoryW walk and against `cmd /c rd /s /q`,
// each on an identical tree made in the same run.
//
// Usage: bench_purge [folder]  -- with a folder (which must not exist yet), one more identical
// tree is left there for tools/bench to time `rm -rf` on from Linux.
#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/BareFiles.h"
#include "bench/Timing.h"
#include "bench/Trees.h"
#include "engine/ListFiles.h"
#include "platform/win32/WideText.h"

namespace {

using bench::BareWalk;
using bench::IsEmptyFolder;
using bench::Seconds;

using win32::Widen;

const bench::TreeShape kShape;  // 50,000 files in 500 folders
constexpr int kRounds = 2;

void MakeTree(const std::wstring& root) { bench::MakeTree(root, kShape); }

bool RunCommand(std::wstring commandLine, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          folder.c_str(), &startup, &started)) {
        return false;
    }
    const win32::KernelHandle process(started.hProcess);
    const win32::KernelHandle thread(started.hThread);
    return ::WaitForSingleObject(process.Get(), INFINITE) == WAIT_OBJECT_0;
}

}  // namespace

int main(int argc, char** argv) {
    const bench::RealPorts ports;
    const std::wstring root = bench::TempFolder() + L"MorvaneBench-purge-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring tree = root + L"\\tree";
    ::CreateDirectoryW(root.c_str(), nullptr);

    // Two rounds, the turns swapped in the second, the best of each kept: the machine is shared.
    // Each contestant gets a tree made just before its turn.
    double made = 0, purge = 1e300, bare = 1e300;
    bool whole = true;
    for (int round = 0; round < kRounds; ++round) {
        for (const bool engineTurn : {round % 2 == 0, round % 2 != 0}) {
            made += Seconds([&] { MakeTree(tree); });
            if (engineTurn) {
                engine::DeleteTally tally;
                const double seconds = Seconds([&] { engine::PurgeFolderContents(win32::Narrow(tree), tally); });
                std::printf("round %d: PurgeFolderContents %.3f s\n", round + 1, seconds);
                purge = std::min(purge, seconds);
                whole = whole && tally.removedItems == static_cast<std::uint64_t>(kShape.Files() + kShape.Folders()) &&
                        tally.keptItems == 0;
            } else {
                const double seconds = Seconds([&] { BareWalk(tree); });
                std::printf("round %d: bare walk %.3f s\n", round + 1, seconds);
                bare = std::min(bare, seconds);
            }
            whole = whole && IsEmptyFolder(tree);
        }
    }
    made += Seconds([&] { MakeTree(tree); });
    const double rd = Seconds([&] { RunCommand(L"cmd /c rd /s /q \"" + tree + L"\"", root); });
    whole = whole && ::GetFileAttributesW(tree.c_str()) == INVALID_FILE_ATTRIBUTES;
    ::RemoveDirectoryW(tree.c_str());
    ::RemoveDirectoryW(root.c_str());
    if (!whole) {
        std::fprintf(stderr, "bench_purge: a tree was not emptied\n");
        return 1;
    }
    std::printf("made %d trees of %d files in %d folders in %.1f s\n", 2 * kRounds + 1, kShape.Files(), kShape.Folders(),
                made);

    std::printf("PurgeFolderContents: %.3f s (best of %d)\n", purge, kRounds);
    std::printf("bare FindFirstFileW/DeleteFileW/RemoveDirectoryW walk: %.3f s (best of %d)\n", bare, kRounds);
    std::printf("cmd /c rd /s /q: %.3f s\n", rd);
    std::printf("ratio %.2f against the bare walk (target at most 1.3)\n", purge / bare);
    std::printf("ratio %.2f against rd /s /q (%.1fx faster)\n", purge / rd, rd / purge);

    if (argc > 1) {
        const std::wstring kept = Widen(argv[1]);
        if (::GetFileAttributesW(kept.c_str()) != INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "bench_purge: %s exists already\n", argv[1]);
            return 1;
        }
        MakeTree(kept);
        std::printf("left an identical tree in %s\n", argv[1]);
    }
    return 0;
}
