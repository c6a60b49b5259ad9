#pragma once
// The trees the purge benchmarks empty: top folders, each with subfolders, the same number of
// small files in every folder, as a browser's cache or a Temp folder fills up; and a fresh copy
// of one for every turn, flushed to the disk.
#include <functional>
#include <string>

#include "bench/BareFiles.h"
#include "bench/LinuxSide.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace bench {

struct TreeShape {
    int topFolders = 50;
    int subFolders = 9;  // in each top folder
    int filesPerFolder = 100;

    int Folders() const { return topFolders * (1 + subFolders); }
    int Files() const { return Folders() * filesPerFolder; }
};

inline std::wstring LongForm(const std::wstring& path) { return L"\\\\?\\" + path; }

inline void MakeFiles(const std::wstring& folder, int files) {
    ::CreateDirectoryW(LongForm(folder).c_str(), nullptr);
    const std::string content(200, 'x');
    for (int i = 0; i < files; ++i) {
        const std::wstring path = folder + L"\\cache-entry-" + std::to_wstring(i) + L".tmp";
        const win32::KernelHandle file(::CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    }
}

inline void MakeTree(const std::wstring& root, const TreeShape& shape) {
    ::CreateDirectoryW(LongForm(root).c_str(), nullptr);
    for (int top = 0; top < shape.topFolders; ++top) {
        const std::wstring folder = root + L"\\site-" + std::to_wstring(top);
        MakeFiles(folder, shape.filesPerFolder);
        for (int sub = 0; sub < shape.subFolders; ++sub) {
            MakeFiles(folder + L"\\part-" + std::to_wstring(sub), shape.filesPerFolder);
        }
    }
}

// A work folder of the bench's own, made at once and removed (emptied by then) at the end.
struct WorkFolder {
    explicit WorkFolder(std::wstring folder) : path(std::move(folder)) { ::CreateDirectoryW(path.c_str(), nullptr); }
    ~WorkFolder() { ::RemoveDirectoryW(path.c_str()); }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::wstring path;
};

// Every file written so far on the disk. Under Wine, `sync` from the Linux side; on Windows,
// FlushFileBuffers on the volume (which needs an administrator there).
inline bool FlushToDisk(const std::wstring& workFolder) {
    if (UnderWine()) return FlushAll(workFolder);
    const win32::KernelHandle volume(::CreateFileW(L"\\\\.\\C:", GENERIC_READ | GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                   nullptr));
    return volume && ::FlushFileBuffers(volume.Get());
}

// Identical trees for the turns of a purge bench, each made and flushed just before its turn:
// one is made as `make` makes it, and each turn gets a copy of it (under Wine a native `cp -r`,
// a few times quicker than the Wine calls that made the first; on Windows `make` again). All of
// it lies in the bench's own work folder.
class FreshTrees {
public:
    FreshTrees(std::wstring work, std::function<void(const std::wstring&)> make, const std::wstring& name = L"model")
        : work_(std::move(work)), make_(std::move(make)), wine_(UnderWine()), model_(work_ + L"\\" + name) {
        if (wine_) make_(model_);
    }
    ~FreshTrees() {
        if (wine_ && !RemoveNatively(model_, work_)) {
            BareWalk(LongForm(model_));
            ::RemoveDirectoryW(LongForm(model_).c_str());
        }
    }
    FreshTrees(const FreshTrees&) = delete;
    FreshTrees& operator=(const FreshTrees&) = delete;

    // A tree at `tree` (inside the work folder, not there yet), everything flushed to the disk.
    bool Make(const std::wstring& tree) {
        if (wine_) return CopyAndFlush(model_, tree, work_);
        make_(tree);
        return FlushToDisk(work_);
    }

private:
    std::wstring work_;
    std::function<void(const std::wstring&)> make_;
    bool wine_;
    std::wstring model_;  // the tree every turn's is a copy of
};

}  // namespace bench
