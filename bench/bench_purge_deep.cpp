// Depth against breadth: PurgeFolderContents on a tree of 2,000 folders inside one another with a
// file in each, against the same purge of 2,000 files side by side in one folder. For what a
// folder costs the platform as such, a bare walk (FindFirstFileW, DeleteFileW, RemoveDirectoryW)
// of 2,000 folders side by side with a file in each, against bare DeleteFileW of 2,000 files. With "bare",
// also against a bare recursive FindFirstFileW / DeleteFileW / RemoveDirectoryW walk of an
// identical deep tree (under Wine every open resolves its whole path, so that walk's time grows
// with the cube of the depth: minutes for 2,000 levels).
//
// Usage: bench_purge_deep [levels [bare]]  -- 2,000 levels unless given.
//
// The trees lie in a folder of the bench's own at the root of C:, so that the deepest path
// stays within what the Linux side of Wine can name (4,096 bytes).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BareFiles.h"
#include "bench/Timing.h"
#include "engine/ListFiles.h"
#include "platform/win32/WideText.h"

namespace {

using bench::Seconds;

std::wstring Long(const std::wstring& path) { return L"\\\\?\\" + path; }

void MakeFile(const std::wstring& path) {
    const win32::KernelHandle file(
        ::CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), "cached", 6, &written, nullptr);
}

// levels folders "d" inside one another, with a file in each; the number of levels made. The
// folders are made side by side and then moved into one another from the innermost out, so
// that no path used is deeper than two folders (under Wine every deeper one costs its depth).
int MakeDeep(const std::wstring& top, int levels) {
    ::CreateDirectoryW(Long(top).c_str(), nullptr);
    const auto level = [&](int i) { return top + L"\\level-" + std::to_wstring(i); };
    for (int i = 0; i < levels; ++i) {
        ::CreateDirectoryW(Long(level(i)).c_str(), nullptr);
        MakeFile(level(i) + L"\\f.tmp");
    }
    for (int i = levels - 1; i > 0; --i) {
        if (!::MoveFileW(Long(level(i)).c_str(), Long(level(i - 1) + L"\\d").c_str())) return 0;
    }
    return ::MoveFileW(Long(level(0)).c_str(), Long(top + L"\\d").c_str()) ? levels : 0;
}

void MakeFlat(const std::wstring& top, int files) {
    ::CreateDirectoryW(Long(top).c_str(), nullptr);
    for (int i = 0; i < files; ++i) MakeFile(top + L"\\f" + std::to_wstring(i) + L".tmp");
}

// folders side by side, a file in each.
void MakeFolders(const std::wstring& top, int folders) {
    ::CreateDirectoryW(Long(top).c_str(), nullptr);
    for (int i = 0; i < folders; ++i) {
        const std::wstring folder = top + L"\\d" + std::to_wstring(i);
        ::CreateDirectoryW(Long(folder).c_str(), nullptr);
        MakeFile(folder + L"\\f.tmp");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int levels = argc > 1 ? std::atoi(argv[1]) : 2000;
    const bool withBare = argc > 2 && std::string(argv[2]) == "bare";
    const bench::RealPorts ports;

    const std::wstring root = L"C:\\MorvaneBench-deep-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring flat = root + L"\\flat";
    const std::wstring deep = root + L"\\deep";
    const std::wstring bareDeep = root + L"\\bare";

    MakeFlat(flat, levels);
    engine::DeleteTally flatTally;
    const double flatSeconds = Seconds([&] { engine::PurgeFolderContents(win32::Narrow(flat), flatTally); });

    const int made = MakeDeep(deep, levels);
    engine::DeleteTally deepTally;
    const double deepSeconds = Seconds([&] { engine::PurgeFolderContents(win32::Narrow(deep), deepTally); });

    // What folders cost as such: bare calls on folders side by side against bare calls on files.
    const std::wstring bareFlat = root + L"\\bare-flat";
    const std::wstring bareFolders = root + L"\\bare-folders";
    MakeFlat(bareFlat, levels);
    MakeFolders(bareFolders, levels);
    const double bareFlatSeconds = Seconds([&] { bench::BareWalk(Long(bareFlat)); });
    const double bareFoldersSeconds = Seconds([&] { bench::BareWalk(Long(bareFolders)); });

    double bareSeconds = 0;
    if (withBare) {
        MakeDeep(bareDeep, made);
        bareSeconds = Seconds([&] { bench::BareWalk(Long(bareDeep)); });
    }

    const auto empty = [](const std::wstring& folder) { return bench::IsEmptyFolder(Long(folder)); };
    const bool whole = empty(flat) && empty(deep) && (!withBare || empty(bareDeep)) && empty(bareFlat) &&
                       empty(bareFolders) &&
                       flatTally.removedItems == static_cast<std::uint64_t>(levels) &&
                       deepTally.removedItems == 2u * static_cast<std::uint64_t>(made) && deepTally.keptItems == 0;
    for (const std::wstring& top : {flat, deep, bareDeep, bareFlat, bareFolders}) ::RemoveDirectoryW(top.c_str());
    ::RemoveDirectoryW(root.c_str());
    if (!whole) {
        std::fprintf(stderr, "bench_purge_deep: a tree was not emptied\n");
        return 1;
    }
    std::printf("PurgeFolderContents of %d files in one folder: %.3f s\n", levels, flatSeconds);
    std::printf("PurgeFolderContents of %d folders inside one another, a file in each: %.3f s\n", made, deepSeconds);
    std::printf("ratio %.2f deep against flat (target at most 2)\n", deepSeconds / flatSeconds);
    std::printf("bare walk of %d folders side by side, a file in each: %.3f s; of %d files: %.3f s; ratio %.2f "
                "(what a folder costs here)\n",
                levels, bareFoldersSeconds, levels, bareFlatSeconds, bareFoldersSeconds / bareFlatSeconds);
    if (withBare) {
        std::printf("bare FindFirstFileW/DeleteFileW/RemoveDirectoryW walk of the same deep tree: %.3f s\n",
                    bareSeconds);
        std::printf("ratio %.2f deep against the bare walk of the deep tree\n", deepSeconds / bareSeconds);
    }
    return 0;
}
