// The preview of a clean of a Temp folder of 10,000 files in 100 folders (PurgeFolderContents in
// preview mode: every item opened and checked as its deletion would check it, nothing deleted),
// against a bare recursive FindFirstFileW listing walk of the same tree (target: at most 1.3),
// and against the lean sound walk's checks without the deletions (bench/LeanWalk.h), the least
// an exact preview does under Wine. The tree is made once and flushed to the disk; nothing
// deletes it, so all walk the same one, in turns over 5 rounds.
//
// Then previews again while another thread, as another program would, opens the tree's folders
// one after another for reading, sharing only reading, until it has tried 10,000 times: a preview
// takes nothing from others, so none of them may fail (target: 0).
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench/BareFiles.h"
#include "bench/LeanWalk.h"
#include "bench/Timing.h"
#include "bench/Trees.h"
#include "engine/Purges.h"
#include "platform/win32/WideText.h"

namespace {

const bench::TreeShape kShape{10, 9, 100};  // 10,000 files in 100 folders
constexpr int kRounds = 5;
constexpr double kTarget = 1.3;

// The reference: every entry of the tree listed, nothing opened.
std::uint64_t BareListing(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const win32::FindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search) return 0;
    std::uint64_t items = 0;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        ++items;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) items += BareListing(folder + L"\\" + found.cFileName);
    } while (::FindNextFileW(search.Get(), &found));
    return items;
}

constexpr int kReads = 10000;

// Every folder below folder.
void FoldersBelow(const std::wstring& folder, std::vector<std::wstring>& folders) {
    WIN32_FIND_DATAW found;
    const win32::FindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && found.cFileName[0] != L'.') {
            const std::wstring inner = folder + L"\\" + found.cFileName;
            folders.push_back(inner);
            FoldersBelow(inner, folders);
        }
    } while (::FindNextFileW(search.Get(), &found));
}

// Previews the tree over and over while another thread opens its folders in turn for reading,
// sharing only reading, kReads times; how many of those opens were refused.
std::uint64_t RefusedReaders(const platform::Ports& ports, const std::wstring& tree) {
    std::vector<std::wstring> folders;
    FoldersBelow(tree, folders);
    if (folders.empty()) return kReads;
    std::atomic<bool> done{false};
    std::uint64_t refused = 0;
    std::thread reader([&] {
        for (int i = 0; i < kReads; ++i) {
            const win32::KernelHandle folder(::CreateFileW(folders[i % folders.size()].c_str(), GENERIC_READ,
                                                           FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
            refused += !folder;
        }
        done = true;
    });
    while (!done) {
        engine::DeleteTally tally;
        engine::PurgeFolderContents(ports, win32::Narrow(tree), tally, nullptr, engine::CleanMode::kPreview);
    }
    reader.join();
    return refused;
}

}  // namespace

int main() {
    bench::RealPorts ports;
    const bench::WorkFolder work(bench::TempFolder() + L"MorvaneBench-preview-" +
                                 std::to_wstring(::GetCurrentProcessId()));
    const std::wstring tree = work.path + L"\\tree";
    bench::MakeTree(tree, kShape);
    bool exact = bench::FlushToDisk(work.path);
    const std::uint64_t expected = static_cast<std::uint64_t>(kShape.Files() + kShape.Folders());

    std::printf("%d files in %d folders, flushed to the disk (seconds):\n", kShape.Files(), kShape.Folders());
    const auto times = bench::InRounds(kRounds,
                                       {{"preview",
                                         [&] {
                                             engine::DeleteTally tally;
                                             const double seconds = bench::Seconds([&] {
                                                 engine::PurgeFolderContents(ports.Ports(), win32::Narrow(tree), tally, nullptr,
                                                                             engine::CleanMode::kPreview);
                                             });
                                             exact = exact && tally.removedItems == expected;
                                             return seconds;
                                         }},
                                        {"bare listing",
                                         [&] {
                                             std::uint64_t listed = 0;
                                             const double seconds = bench::Seconds([&] { listed = BareListing(tree); });
                                             exact = exact && listed == expected;
                                             return seconds;
                                         }},
                                        {"lean checks", [&] { return bench::Seconds([&] { bench::LeanWalk(tree, false); }); }}},
                                       "s");
    const std::uint64_t refused = RefusedReaders(ports.Ports(), tree);
    bench::BareWalk(tree);
    ::RemoveDirectoryW(tree.c_str());
    if (!exact) {
        std::printf("the preview did not count every item of the tree\n");
        return 1;
    }
    const bench::Spread lean = bench::RatioOf(times[0], times[2]);
    if (!bench::AtMost("preview / bare listing walk", bench::RatioOf(times[0], times[1]), kTarget)) {
        bench::Why("preview / bare listing walk",
                   "an exact preview opens and checks every entry as its deletion would (an open and a query of "
                   "its name, each a call to the Wine server), where a listing reads many entries a call; the "
                   "lean walk's checks alone cost as much (preview / them " +
                       bench::Text(lean) + ")");
    }
    bench::Shown("preview / lean sound walk's checks", lean);
    char failed[64];
    std::snprintf(failed, sizeof(failed), "%llu of %d", static_cast<unsigned long long>(refused), kReads);
    bench::Figure("another program's read-only opens of the folders refused during previews", failed, "0",
                  refused == 0 ? "met" : "NOT MET");
    return 0;
}
