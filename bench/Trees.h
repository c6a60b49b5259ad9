#pragma once
// The tree the purge benchmarks empty: top folders, each with subfolders, the same number of
// small files in every folder, as a browser's cache or a Temp folder fills up.
#include <string>

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

}  // namespace bench
