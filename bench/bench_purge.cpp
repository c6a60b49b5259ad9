// Purging a Temp folder of 3,000 files in 30 folders. The contestants, each on a copy of one
// tree made and flushed to the disk just before its turn, in turns over 5 rounds:
// - PurgeFolderContents, the engine's purge;
// - the lean sound walk (bench/LeanWalk.h): the least a purge that never deletes a link's target
//   does under Wine, and so the reference of the engine (target: at most 1.05x);
// - the bare unchecked walk (FindFirstFileW / DeleteFileW / RemoveDirectoryW), which a Unix link
//   would lead astray: what soundness costs;
// - under Wine, native `rm -rf` of the tree, timed on the Linux side.
//
// Usage: bench_purge [rd]  -- "rd" adds `cmd /c rd /s /q` as a contestant (slow under Wine).
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BareFiles.h"
#include "bench/LeanWalk.h"
#include "bench/Timing.h"
#include "bench/Trees.h"
#include "engine/Purges.h"
#include "platform/win32/WideText.h"
#include "settings/KnownFolders.h"

namespace {

const bench::TreeShape kShape{3, 9, 100};  // 3,000 files in 30 folders
constexpr int kRounds = 5;
constexpr double kTarget = 1.05;

// What the walk pays for the link count of a read-only file, asked before its deletion: the
// question as it was asked (GetFileInformationByHandle: under Wine its name, searched against
// the drives, and the volume's serial from the mount manager) against FileStandardInformation
// (one fstat), each over the same 1,000 open files, in turns.
void LinkCountCost(const std::wstring& root) {
    constexpr int kFiles = 1000;
    const std::wstring folder = root + L"\\links";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<win32::KernelHandle> files;
    for (int i = 0; i < kFiles; ++i) {
        files.emplace_back(::CreateFileW((folder + L"\\f" + std::to_wstring(i)).c_str(), GENERIC_READ | GENERIC_WRITE,
                                         0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    }
    DWORD links = 0;
    const auto times = bench::InRounds(
        kRounds,
        {{"GetFileInformationByHandle",
          [&] {
              return bench::Seconds([&] {
                  for (const auto& file : files) {
                      BY_HANDLE_FILE_INFORMATION info{};
                      if (::GetFileInformationByHandle(file.Get(), &info)) links += info.nNumberOfLinks;
                  }
              });
          }},
         {"FileStandardInformation", [&] {
              return bench::Seconds([&] {
                  for (const auto& file : files) {
                      FILE_STANDARD_INFO info{};
                      if (::GetFileInformationByHandleEx(file.Get(), FileStandardInfo, &info, sizeof(info))) {
                          links += info.NumberOfLinks;
                      }
                  }
              });
          }}},
        "s");
    files.clear();
    ::RemoveDirectoryW(folder.c_str());
    if (links != 2u * kRounds * kFiles) std::printf("the link counts disagree (%lu)\n", static_cast<unsigned long>(links));
    std::printf("link count of a file: GetFileInformationByHandle %.1f us, FileStandardInformation %.1f us\n",
                1e6 * bench::Median(times[0]) / kFiles, 1e6 * bench::Median(times[1]) / kFiles);
    bench::Shown("link count: GetFileInformationByHandle / FileStandardInformation", bench::RatioOf(times[0], times[1]),
                 "", "%.0f");
}

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
    const bool withRd = argc > 1 && std::string(argv[1]) == "rd";
    bench::RealPorts ports;
    const bench::WorkFolder work(bench::TempFolder() + L"MorvaneBench-purge-" +
                                 std::to_wstring(::GetCurrentProcessId()));
    const std::wstring& root = work.path;
    const std::wstring tree = root + L"\\tree";
    bool whole = true;
    {
        bench::FreshTrees trees(root, [](const std::wstring& at) { bench::MakeTree(at, kShape); });
        const auto ready = [&] { whole = trees.Make(tree) && whole; };
        // After each turn the tree is empty (or gone) and its folder goes, for the next copy.
        const auto emptied = [&] {
            whole = whole && (::GetFileAttributesW(tree.c_str()) == INVALID_FILE_ATTRIBUTES ||
                              bench::IsEmptyFolder(tree));
            ::RemoveDirectoryW(tree.c_str());
        };
        const auto timed = [&](auto work) {
            return [&, work] {
                const double seconds = bench::Seconds(work);
                emptied();
                return seconds;
            };
        };
        std::vector<bench::Contestant> contestants = {
            {"PurgeFolderContents", timed([&] {
                 engine::DeleteTally tally;
                 engine::PurgeFolderContents(ports.Ports(), win32::Narrow(tree), tally);
                 whole = whole && tally.removedItems == static_cast<std::uint64_t>(kShape.Files() + kShape.Folders());
             }),
             ready},
            {"lean sound walk", timed([&] { bench::LeanWalk(tree); }), ready},
            {"bare walk", timed([&] { bench::BareWalk(tree); }), ready},
        };
        if (bench::UnderWine()) {
            contestants.push_back({"rm -rf", [&] {
                                       const std::optional<double> seconds = bench::RemoveNatively(tree, root);
                                       whole = whole && seconds.has_value();
                                       emptied();
                                       return seconds.value_or(0);
                                   },
                                   ready});
        }
        if (withRd) {
            contestants.push_back(
                {"rd /s /q", timed([&] { RunCommand(L"cmd /c rd /s /q \"" + tree + L"\"", root); }), ready});
        }
        std::printf("%d files in %d folders, each contestant on a fresh copy flushed to the disk (seconds):\n",
                    kShape.Files(), kShape.Folders());
        const auto times = bench::InRounds(kRounds, contestants, "s");
        if (!whole) {
            std::fprintf(stderr, "bench_purge: a tree was not made or not emptied\n");
            return 1;
        }
        for (size_t c = 0; c < contestants.size(); ++c) {
            std::printf("%s: %s\n", contestants[c].name.c_str(), bench::Text(bench::SpreadOf(times[c]), "%.3f", " s").c_str());
        }
        if (!bench::AtMost("purge / lean sound walk", bench::RatioOf(times[0], times[1]), kTarget)) {
            // The purge's fixed work beside the walk: above all the protected-folder decision.
            std::vector<double> decisions;
            for (int i = 0; i < 5; ++i) {
                decisions.push_back(bench::Seconds([&] { settings::CheckUserFolder(ports.Ports(), win32::Narrow(root)); }));
            }
            char share[64];
            std::snprintf(share, sizeof(share), "%.0f ms, %.1f%%", 1000 * bench::Median(decisions),
                          100 * bench::Median(decisions) / bench::Median(times[0]));
            bench::Why("purge / lean sound walk",
                       std::string("the purge walks as the lean walk does, and decides on the folder by identity "
                                   "first (") +
                           share + " of the purge); the rest is within this machine's noise between turns (see "
                                   "the range)");
        }
        bench::Shown("purge / bare unchecked walk", bench::RatioOf(times[0], times[2]));
        bench::Shown("lean sound walk / bare unchecked walk", bench::RatioOf(times[1], times[2]));
        if (contestants.size() > 3 && contestants[3].name == "rm -rf") {
            bench::Shown("purge / native rm -rf", bench::RatioOf(times[0], times[3]));
        }
        if (withRd) bench::Shown("purge / rd /s /q", bench::RatioOf(times[0], times.back()));
    }
    LinkCountCost(root);
    return 0;
}
