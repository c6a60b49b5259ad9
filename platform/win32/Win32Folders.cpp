#include "platform/win32/Win32Folders.h"

#include "platform/win32/ComLibrary.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace win32 {

std::string Win32Folders::FolderPath(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
    return Narrow(path);
}

std::string Win32Folders::ShellFolderLocation(int csidl) {
    // The folder the item-id route (SHGetSpecialFolderLocation, then SHGetPathFromIDList) finds,
    // looked up by path: making an item-id list makes the shell load COM into the process for
    // good, 2.5 MB of a resident program's working set under Wine, for the same path.
    return FolderPath(csidl);
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
    // The path goes as ANSI text: Wine's shell writes whatever it is given into the shortcut as
    // ANSI, so a wide path would leave a shortcut to "C". A path the code page cannot hold
    // exactly is not added at all; the installer then writes the link itself.
    const auto ansi = ToAnsi(path, AnsiLoss::kRefuse);
    if (!ansi || ansi->empty()) return;
    ::SHAddToRecentDocs(SHARD_PATHA, ansi->c_str());
}

bool Win32Folders::CreateShellLink(const std::string& linkPath, const std::string& target) {
    const ComScope scope;
    const ComLibrary* com = scope.Get();
    if (!com) return false;
    IShellLinkW* rawLink = nullptr;
    if (FAILED(com->coCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&rawLink)))) {
        return false;
    }
    const ComPtr<IShellLinkW> link(rawLink);
    const std::wstring wideTarget = Widen(target);
    const std::wstring folder = wideTarget.substr(0, wideTarget.find_last_of(L'\\') + 1);
    if (FAILED(link.Get()->SetPath(wideTarget.c_str())) || FAILED(link.Get()->SetWorkingDirectory(folder.c_str()))) {
        return false;
    }
    IPersistFile* rawFile = nullptr;
    if (FAILED(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) return false;
    const ComPtr<IPersistFile> file(rawFile);
    return SUCCEEDED(file.Get()->Save(Widen(linkPath).c_str(), TRUE));
}

std::vector<std::string> Win32Folders::NativeProgramFolders() {
    BOOL wow64 = FALSE;
    if (!::IsWow64Process(::GetCurrentProcess(), &wow64) || !wow64) return {};
    // The 64-bit view of the registry names them; the 32-bit view would name the (x86) ones.
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                        KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return {};
    }
    std::vector<std::string> folders;
    for (const wchar_t* value : {L"ProgramFilesDir", L"CommonFilesDir"}) {
        wchar_t path[MAX_PATH] = {};
        DWORD size = sizeof(path) - sizeof(wchar_t);
        if (::RegGetValueW(key, nullptr, value, RRF_RT_REG_SZ, nullptr, path, &size) == ERROR_SUCCESS && path[0]) {
            folders.push_back(Narrow(path));
        }
    }
    ::RegCloseKey(key);
    return folders;
}

}  // namespace win32
