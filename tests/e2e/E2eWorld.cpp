#include "tests/e2e/E2eWorld.h"

#include <algorithm>
#include <cwctype>

#include "platform/win32/WideText.h"
#include "tests/e2e/Driver.h"
#include "tests/win32/world/TestFiles.h"
#include "tests/win32/world/UnixLinks.h"

#include <wininet.h>

namespace e2e {
namespace {

using win32::Narrow;
using win32::Widen;
using testing_support::Long;
using testing_support::RemoveTree;

void Walk(const std::wstring& folder, const std::string& relative, std::vector<std::string>& out) {
    WIN32_FIND_DATAW found;
    const win32::FindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::string path = relative + Narrow(name);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            out.push_back(path + " (link)");
        } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            out.push_back(path + "\\");
            Walk(folder + L"\\" + name, path + "\\", out);
        } else {
            out.push_back(path);
        }
    } while (::FindNextFileW(search.Get(), &found));
}

struct CacheSearchTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::FindCloseUrlCache(handle); }
};

// Each name not met before is told to met, in the order listed.
void CacheNamesUnder(const char* pattern, std::set<std::string>& names,
                     const std::function<void(const std::string&)>& met = {}) {
    std::vector<std::uint64_t> storage(64 * 1024 / sizeof(std::uint64_t));
    auto* record = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(storage.data());
    DWORD size = static_cast<DWORD>(storage.size() * sizeof(std::uint64_t));
    const win32::UniqueHandle<CacheSearchTraits> search(::FindFirstUrlCacheEntryA(pattern, record, &size));
    if (!search) return;
    do {
        if (names.insert(record->lpszSourceUrlName).second && met) met(record->lpszSourceUrlName);
        size = static_cast<DWORD>(storage.size() * sizeof(std::uint64_t));
    } while (::FindNextUrlCacheEntryA(search.Get(), record, &size));
}

// The one name in after that is not in before; "" when there is not exactly one.
std::string NewName(const std::set<std::string>& before, const std::set<std::string>& after) {
    std::vector<std::string> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
    return added.size() == 1 ? added.front() : std::string();
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\'));
}

// This process's environment with Temp set to the folder: every spelling of the name goes,
// since Windows finds a variable whatever its case.
std::wstring EnvironmentWithTemp(const std::string& temp) {
    std::wstring block;
    wchar_t* strings = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        std::wstring name(entry, std::wcschr(entry + 1, L'=') ? std::wcschr(entry + 1, L'=') - entry : 0);
        std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return std::towupper(c); });
        if (name == L"TEMP") continue;
        block += entry;
        block += L'\0';
    }
    ::FreeEnvironmentStringsW(strings);
    block += L"Temp=" + Widen(temp);
    block += L'\0';
    block += L'\0';
    return block;
}

}  // namespace

std::string TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

E2eWorld::E2eWorld() {
    static int worlds = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    marker_ = "morvane-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++worlds);
    root_ = Narrow(temp) + marker_;
    ::CreateDirectoryW(Long(root_).c_str(), nullptr);
}

E2eWorld::~E2eWorld() {
    // The Unix links go first, through the side that made them: Windows cannot remove them.
    for (const std::string& link : unixLinks_) testing_support::LinuxUnlink(link);
    RemoveTree(Long(root_));
    for (const std::string& name : cacheEntries_) ::DeleteUrlCacheEntryA(name.c_str());
}

void E2eWorld::MakeFolder(const std::string& path) {
    if (!testing_support::IsInside(path, root_)) return;
    for (size_t cut = path.find('\\', root_.size() + 1); cut != std::string::npos; cut = path.find('\\', cut + 1)) {
        ::CreateDirectoryW(Long(path.substr(0, cut)).c_str(), nullptr);
    }
    ::CreateDirectoryW(Long(path).c_str(), nullptr);
}

void E2eWorld::MakeFile(const std::string& path, const std::string& content, DWORD attributes) {
    if (!testing_support::IsInside(path, root_)) return;
    MakeFolder(path.substr(0, path.rfind('\\')));
    const win32::KernelHandle file(
        ::CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    if (attributes != FILE_ATTRIBUTE_NORMAL) ::SetFileAttributesW(Long(path).c_str(), attributes);
}

std::string E2eWorld::MakeDeepTree(const std::string& folder, int levels) {
    if (!testing_support::IsInside(folder, root_)) return {};
    MakeFolder(folder);
    std::string deep = folder;
    for (int level = 0; level < levels; ++level) {
        deep += "\\d";
        ::CreateDirectoryW(Long(deep).c_str(), nullptr);
        const win32::KernelHandle file(::CreateFileW(Long(deep + "\\f.tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return deep;
}

std::optional<std::string> E2eWorld::ReadBytes(const std::string& path) {
    const win32::KernelHandle file(::CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) content.append(buffer, read);
    return content;
}

bool E2eWorld::Exists(const std::string& path) {
    return ::GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool E2eWorld::MakeLink(const std::string& link, const std::string& target) {
    if (!testing_support::IsInside(link, root_) || !testing_support::IsInside(target, root_)) return false;
    MakeFolder(link.substr(0, link.rfind('\\')));
    std::string unixLink = testing_support::MakeUnixLink(link, target);
    if (unixLink.empty()) return false;
    unixLinks_.push_back(std::move(unixLink));
    return true;
}

bool E2eWorld::MakeFolderLink(const std::string& link, const std::string& target) {
    if (!MakeLink(link, target)) return false;
    const DWORD attributes = ::GetFileAttributesW(Long(link).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool E2eWorld::MakeFileLink(const std::string& link, const std::string& target) {
    return MakeLink(link, target) && ReadBytes(link) == ReadBytes(target);
}

bool E2eWorld::SwapFolderForLink(const std::string& path, const std::string& movedTo, const std::string& target) {
    if (!testing_support::IsInside(path, root_) || !testing_support::IsInside(movedTo, root_)) return false;
    const std::string unixPath = testing_support::UnixNameOfPath(path);
    const std::string unixMoved = testing_support::UnixNameOfPath(movedTo);
    return !unixPath.empty() && !unixMoved.empty() && testing_support::LinuxRename(unixPath, unixMoved) == 0 &&
           MakeLink(path, target);
}

win32::KernelHandle E2eWorld::HoldOpen(const std::string& path) {
    return win32::KernelHandle(
        ::CreateFileW(Long(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

std::vector<std::string> E2eWorld::Tree(const std::string& folder) {
    std::vector<std::string> out;
    Walk(Long(folder), "", out);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> E2eWorld::FilesInWalkOrder(const std::string& folder) {
    std::vector<std::string> items, files;
    Walk(Long(folder), "", items);
    for (const std::string& item : items) {
        if (item.back() != '\\' && !item.ends_with(" (link)")) files.push_back(folder + "\\" + item);
    }
    return files;
}

std::map<std::string, std::string> E2eWorld::Contents(const std::string& folder) {
    std::map<std::string, std::string> contents;
    for (const std::string& item : Tree(folder)) {
        if (item.back() == '\\' || item.ends_with(" (link)")) continue;
        contents[item] = ReadBytes(folder + "\\" + item).value_or("(unreadable)");
    }
    return contents;
}

std::set<std::string> E2eWorld::CacheNames() {
    std::set<std::string> names;
    for (const char* pattern : {static_cast<const char*>(nullptr), "cookie:", "Cookie:"}) {
        CacheNamesUnder(pattern, names);
    }
    return names;
}

std::string E2eWorld::CommitCacheEntry(const std::wstring& url) {
    const std::set<std::string> before = CacheNames();
    wchar_t file[MAX_PATH + 1] = {};
    if (::CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0)) {
        {
            const win32::KernelHandle handle(
                ::CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            if (handle) ::WriteFile(handle.Get(), "<p>cached</p>", 13, &written, nullptr);
        }
        const FILETIME never{};
        ::CommitUrlCacheEntryW(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr);
    }
    const std::string name = NewName(before, CacheNames());
    if (!name.empty()) cacheEntries_.insert(name);
    return name;
}

std::vector<std::string> E2eWorld::CommitCacheEntries(int count) {
    std::set<std::string> made, listed;
    for (int i = 0; i < count; ++i) {
        const std::string url = "http://" + marker_ + ".example/many/" + std::to_string(i);
        char file[MAX_PATH + 1] = {};
        const FILETIME never{};
        if (::CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0) &&
            ::CloseHandle(::CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)) &&
            ::CommitUrlCacheEntryA(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr)) {
            made.insert(url);
        }
    }
    cacheEntries_.insert(made.begin(), made.end());
    std::vector<std::string> order;  // as a clean lists them: under no pattern, then the cookie prefixes
    for (const char* pattern : {static_cast<const char*>(nullptr), "cookie:", "Cookie:"}) {
        CacheNamesUnder(pattern, listed, [&](const std::string& name) { if (made.count(name)) order.push_back(name); });
    }
    return order;
}

bool E2eWorld::CacheEntryExists(const std::string& name) {
    DWORD size = 0;
    return ::GetUrlCacheEntryInfoA(name.c_str(), nullptr, &size) || ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

std::size_t GoneSoFar(const std::vector<std::string>& order, const std::function<bool(const std::string&)>& exists) {
    return std::partition_point(order.begin(), order.end(), [&](const std::string& item) { return !exists(item); }) -
           order.begin();
}

std::string E2eWorld::SetCookie(const std::wstring& host) {
    const std::set<std::string> before = CacheNames();
    // Only a cookie with an expiry date is kept in the cache.
    ::InternetSetCookieW((L"http://" + host + L"/").c_str(), L"visitor",
                         L"42; expires=Fri, 31 Dec 2099 23:59:59 GMT");
    const std::string name = NewName(before, CacheNames());
    if (!name.empty()) cacheEntries_.insert(name);
    return name;
}

bool E2eWorld::InstallMorvane(const std::string& folder) {
    MakeFolder(folder);
    return ::CopyFileW((ProgramFolder() + L"\\Morvane.exe").c_str(), Long(folder + "\\Morvane.exe").c_str(), FALSE) !=
           FALSE;
}

MorvaneRun::MorvaneRun(const std::string& exe, const std::string& arguments, const std::string& temp,
                       bool suspended, HANDLE output) {
    std::wstring commandLine = L"\"" + Widen(exe) + L"\" " + Widen(arguments);
    std::wstring environment = EnvironmentWithTemp(temp);
    const std::wstring folder = Widen(exe.substr(0, exe.rfind('\\')));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const bool inherits = output && output != INVALID_HANDLE_VALUE;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = inherits ? output : nullptr;
    }
    PROCESS_INFORMATION started{};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, inherits ? TRUE : FALSE,
                         CREATE_UNICODE_ENVIRONMENT | (suspended ? CREATE_SUSPENDED : 0), environment.data(),
                         folder.c_str(), &startup, &started)) {
        thread_.Reset(started.hThread);
        process_.Reset(started.hProcess);
        id_ = started.dwProcessId;
    }
}

MorvaneRun::~MorvaneRun() {
    if (process_ && !WaitForEnd(0)) Terminate();
}

bool MorvaneRun::WaitForEnd(int milliseconds) {
    return process_ && ::WaitForSingleObject(process_.Get(), static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

std::optional<DWORD> MorvaneRun::ExitCode() {
    DWORD code = 0;
    if (!process_ || !::GetExitCodeProcess(process_.Get(), &code) || code == STILL_ACTIVE) return std::nullopt;
    return code;
}

void MorvaneRun::Terminate() {
    ::TerminateProcess(process_.Get(), 99);
    ::WaitForSingleObject(process_.Get(), 10000);
}

HWND MorvaneRun::WaitForWindow(const wchar_t* className, const wchar_t* caption, int milliseconds) {
    const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    do {
        if (HWND window = ::FindWindowW(className, caption)) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == id_ && ::IsWindowVisible(window)) return window;
        }
        ::Sleep(50);
    } while (::GetTickCount64() < until && !WaitForEnd(0));
    return nullptr;
}

std::vector<std::string> MorvaneRun::VisibleWindows() {
    std::vector<std::string> windows;
    for (HWND window : VisibleTopLevelWindows(id_)) windows.push_back(ClassOf(window) + ": " + TextOf(window));
    return windows;
}

void MorvaneRun::CloseWindows() {
    for (HWND window : VisibleTopLevelWindows(id_)) ::PostMessageW(window, WM_CLOSE, 0, 0);
}

std::optional<std::string> MorvaneRun::AnswerMessageBox(const wchar_t* caption, int milliseconds) {
    const HWND box = WaitForWindow(L"#32770", caption, milliseconds);
    if (!box) return std::nullopt;
    const std::string text = TextOf(::GetDlgItem(box, 0xFFFF));  // the message's static, as MessageBox numbers it
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
    return text;
}

}  // namespace e2e
