// The preview of a clean of a Temp folder of 50,000 files in 500 folders (PurgeFolderContents in
// preview mode: every item opened and checked as its deletion would check it, nothing deleted),
// against a bare recursive FindFirstFileW listing walk of the same tree. The tree stays as it is,
// so both walk the same one; they take turns within each round, and the ratio printed is the
// median of the per-round ratios (target: at most 1.3).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BareFiles.h"
#include "bench/Timing.h"
#include "bench/Trees.h"
#include "engine/ListFiles.h"
#include "platform/win32/WideText.h"

namespace {

const bench::TreeShape kShape;  // 50,000 files in 500 folders
constexpr int kRounds = 5;

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

}  // namespace

int main() {
    const bench::RealPorts ports;
    const std::wstring root = bench::TempFolder() + L"MorvaneBench-preview-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring tree = root + L"\\tree";
    ::CreateDirectoryW(root.c_str(), nullptr);
    bench::MakeTree(tree, kShape);
    const std::uint64_t expected = static_cast<std::uint64_t>(kShape.Files() + kShape.Folders());

    std::vector<double> ratios;
    bool exact = true;
    for (int round = 0; round < kRounds; ++round) {
        double preview = 0, bare = 0;
        for (const bool previewTurn : {round % 2 == 0, round % 2 != 0}) {
            if (previewTurn) {
                engine::DeleteTally tally;
                preview = bench::Seconds([&] {
                    engine::PurgeFolderContents(win32::Narrow(tree), tally, nullptr, engine::CleanMode::kPreview);
                });
                exact = exact && tally.removedItems == expected;
            } else {
                std::uint64_t listed = 0;
                bare = bench::Seconds([&] { listed = BareListing(tree); });
                exact = exact && listed == expected;
            }
        }
        ratios.push_back(preview / bare);
        std::printf("round %d: preview %.3f s, bare listing %.3f s, ratio %.2f\n", round + 1, preview, bare,
                    ratios.back());
    }
    bench::BareWalk(tree);
    ::RemoveDirectoryW(tree.c_str());
    ::RemoveDirectoryW(root.c_str());
    const double median = bench::Median(ratios);
    std::printf("preview of %d files in %d folders against a bare listing walk: ratio %.2f (median of %d rounds, "
                "range %.2f-%.2f; target at most 1.3: %s)\n",
                kShape.Files(), kShape.Folders(), median, kRounds, *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()), median <= 1.3 ? "met" : "not met");
    if (!exact) std::printf("the preview did not count every item of the tree\n");
    return exact ? 0 : 1;
}
