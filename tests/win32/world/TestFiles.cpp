#include "tests/win32/world/TestFiles.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

#include <objbase.h>
#include <shlobj.h>

namespace testing_support {

using win32::Narrow;
using win32::Widen;

std::wstring Long(const std::string& path) { return L"\\\\?\\" + Widen(path); }

bool IsInside(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '\\';
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    {
        const win32::FindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
        if (search) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring path = folder + L"\\" + name;
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                    ::RemoveDirectoryW(path.c_str());  // a Windows link; never its target
                } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                    RemoveTree(path);
                } else {
                    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileW(path.c_str());
                }
            } while (::FindNextFileW(search.Get(), &found));
        }
    }
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(folder.c_str());
}

std::string ShortcutTarget(const std::string& path) {
    std::string target;
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t found[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(Widen(path).c_str(), STGM_READ)) &&
                link->GetPath(found, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK) {
                target = Narrow(found);
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return target;
}

}  // namespace testing_support
