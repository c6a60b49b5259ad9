#pragma once
// What the purge benchmarks share: the real ports installed, the Temp folder, and the reference
// every purge is measured against, a folder emptied as plain code would empty it.
#include <string>

#include "platform/Ports.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"

namespace bench {

// The real adapters installed as the program's ports for the life of the object.
struct RealPorts {
    win32::Win32Environment environment;
    win32::Win32Folders folders;
    win32::Win32FileSystem files;
    platform::Ports Ports() { return {&environment, &folders, &files}; }
};

// The Temp folder, with its trailing "\".
inline std::wstring TempFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    return temp;
}

// The reference: a recursive FindFirstFileW / DeleteFileW / RemoveDirectoryW walk, with the
// path as given (long-path prefix or not).
inline void BareWalk(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const win32::FindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search) return;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            BareWalk(path);
            ::RemoveDirectoryW(path.c_str());
        } else {
            ::DeleteFileW(path.c_str());
        }
    } while (::FindNextFileW(search.Get(), &found));
}

inline bool IsEmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const win32::FindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search) return false;
    int entries = 0;
    do {
        ++entries;
    } while (::FindNextFileW(search.Get(), &found));
    return entries == 2;  // "." and ".."
}

}  // namespace bench
