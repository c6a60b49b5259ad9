#include "platform/win32/Win32Folders.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace win32 {
namespace {

struct ItemIdListTraits {
    using Handle = LPITEMIDLIST;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::CoTaskMemFree(handle); }
};

}  // namespace

std::string Win32Folders::FolderPath(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
    return Narrow(path);
}

std::string Win32Folders::ShellFolderLocation(int csidl) {
    LPITEMIDLIST raw = nullptr;
    if (::SHGetSpecialFolderLocation(nullptr, csidl, &raw) != S_OK) return {};
    const UniqueHandle<ItemIdListTraits> list(raw);
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(list.Get(), path)) return {};
    return Narrow(path);
}

std::string Win32Folders::LogicalDriveStrings() {
    std::wstring roots(128, L'\0');
    for (;;) {
        const DWORD length = ::GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
        if (length == 0) return {};
        if (length < roots.size()) {
            // Every root keeps its terminating NUL; the list's own final NUL is not counted.
            roots.resize(length);
            return Narrow(roots);
        }
        roots.resize(length + 1);
    }
}

int Win32Folders::GetDriveType(const std::string& root) {
    std::wstring wideRoot = Widen(root);
    // Windows wants a root with its backslash; callers also pass the bare "C:".
    if (wideRoot.size() == 2 && wideRoot[1] == L':') wideRoot += L'\\';
    return static_cast<int>(::GetDriveTypeW(wideRoot.c_str()));
}

bool Win32Folders::FindFirstExists(const std::string& path) {
    WIN32_FIND_DATAW found;
    const FindHandle search(::FindFirstFileW(Widen(path).c_str(), &found));
    return search.IsValid();
}

void Win32Folders::AddToRecentDocs(const std::string& path) {
    ::SHAddToRecentDocs(SHARD_PATHW, Widen(path).c_str());
}

bool Win32Folders::CreateShellLink(const std::string& linkPath, const std::string& target) {
    const HRESULT started = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool made = false;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link)))) {
        const std::wstring wideTarget = Widen(target);
        link->SetPath(wideTarget.c_str());
        const std::wstring folder = wideTarget.substr(0, wideTarget.find_last_of(L'\\') + 1);
        link->SetWorkingDirectory(folder.c_str());
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            made = SUCCEEDED(file->Save(Widen(linkPath).c_str(), TRUE));
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(started)) ::CoUninitialize();
    return made;
}

}  // namespace win32
