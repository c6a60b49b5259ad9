// The contract world of the real adapters, run under Windows or Wine. The scratch folder lies
// in the Temp folder of the (Wine) user; nothing outside it is made, changed or removed.
#include <map>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32UrlCache.h"
#include "tests/contract/ContractWorld.h"
#include "tests/win32/world/TestFiles.h"
#include "tests/win32/world/UnixLinks.h"

#include <wininet.h>

namespace contract {
namespace {

using win32::Narrow;
using win32::Widen;
using testing_support::Long;
using testing_support::RemoveTree;

std::string AnsiOf(const std::string& utf8) {
    const std::wstring wide = Widen(utf8);
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string ansi(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), needed, nullptr,
                          nullptr);
    return ansi;
}

bool IsAscii(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// A cache entry retrieved as a reader of its file retrieves it: in use until unlocked.
class Win32HeldCacheEntry : public HeldCacheEntry {
public:
    explicit Win32HeldCacheEntry(std::string ansiName) : name_(std::move(ansiName)) {
        std::vector<char> buffer(4096);
        for (int attempt = 0; attempt < 4 && !held_; ++attempt) {
            DWORD size = static_cast<DWORD>(buffer.size());
            auto* record = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
            held_ = ::RetrieveUrlCacheEntryFileA(name_.c_str(), record, &size, 0) != FALSE;
            if (!held_ && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) buffer.resize(size);
        }
    }
    ~Win32HeldCacheEntry() override {
        if (held_) ::UnlockUrlCacheEntryFileA(name_.c_str(), 0);
    }

private:
    std::string name_;
    bool held_ = false;
};

class Win32HeldFile : public HeldFile {
public:
    explicit Win32HeldFile(HANDLE file) : file_(file) {}

private:
    win32::KernelHandle file_;
};

class Win32World : public ContractWorld {
public:
    Win32World() {
        static int worlds = 0;
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        temp_ = temp;
        scratch_ = Narrow(temp) + "MorvaneContract-" + std::to_string(::GetCurrentProcessId()) + "-" +
                   std::to_string(++worlds);
        ::CreateDirectoryW(Long(scratch_).c_str(), nullptr);
        wchar_t current[MAX_PATH + 1] = {};
        ::GetCurrentDirectoryW(MAX_PATH + 1, current);
        previousFolder_ = current;
    }

    ~Win32World() override {
        // The scratch folder cannot go while it is the current folder, and the previous one
        // may be out of reach (a Unix folder outside every drive), so step out first.
        ::SetCurrentDirectoryW(temp_.c_str());
        ::SetCurrentDirectoryW(previousFolder_.c_str());
        for (const auto& [name, value] : previousVariables_) {
            ::SetEnvironmentVariableW(Widen(name).c_str(), value ? Widen(*value).c_str() : nullptr);
        }
        // The Unix links go first, through the side that made them: Windows cannot remove them.
        for (const std::string& link : unixLinks_) testing_support::LinuxUnlink(link);
        RemoveTree(Long(scratch_));
        for (const std::string& name : cacheEntries_) ::DeleteUrlCacheEntryA(name.c_str());
    }

    platform::Environment& Env() override { return environment_; }
    platform::Folders& Shell() override { return folders_; }
    platform::FileSystem& Files() override { return files_; }
    platform::UrlCache& Cache() override { return cache_; }

    std::string Scratch() override { return scratch_; }

    void MakeFile(const std::string& path, const std::string& content) override {
        const win32::KernelHandle file(
            ::CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file) ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    }

    void SetVariable(const std::string& name, const std::string& value) override {
        Remember(name);
        ::SetEnvironmentVariableW(Widen(name).c_str(), Widen(value).c_str());
    }

    void UnsetVariable(const std::string& name) override {
        Remember(name);
        ::SetEnvironmentVariableW(Widen(name).c_str(), nullptr);
    }

    void SetCurrentFolder(const std::string& folder) override { ::SetCurrentDirectoryW(Widen(folder).c_str()); }

    std::unique_ptr<HeldFile> HoldOpen(const std::string& path, bool exclusive) override {
        const DWORD share = exclusive ? 0 : FILE_SHARE_READ;
        return std::make_unique<Win32HeldFile>(::CreateFileW(Long(path).c_str(), GENERIC_READ | GENERIC_WRITE, share,
                                                             nullptr, OPEN_EXISTING, 0, nullptr));
    }

    bool MakeFolderLink(const std::string& link, const std::string& target) override {
        if (!testing_support::IsInside(link, scratch_) || !testing_support::IsInside(target, scratch_)) return false;
        // Windows: a symbolic link, where the user may make one. Wine answers TRUE and makes
        // nothing, hence the check.
        ::CreateSymbolicLinkW(Widen(link).c_str(), Widen(target).c_str(),
                              SYMBOLIC_LINK_FLAG_DIRECTORY | kAllowUnprivilegedCreate);
        if (IsLink(link)) return true;
        const std::string unixLink = testing_support::UnixNameOfPath(link);
        const std::string unixTarget = testing_support::UnixNameOfPath(target);
        if (unixLink.empty() || unixTarget.empty() || testing_support::LinuxSymlink(unixTarget, unixLink) != 0) {
            return false;
        }
        unixLinks_.push_back(unixLink);
        return IsLink(link);
    }

    std::optional<std::string> ShortFormOf(const std::string& path) override {
        wchar_t shortPath[MAX_PATH + 1] = {};
        const DWORD length = ::GetShortPathNameW(Widen(path).c_str(), shortPath, MAX_PATH + 1);
        if (length == 0 || length > MAX_PATH) return std::nullopt;
        std::string result = Narrow(shortPath);
        if (result == path) return std::nullopt;
        return result;
    }

    void CommitCacheEntry(const std::string& name) override {
        const std::string ansi = AnsiOf(name);
        cacheEntries_.push_back(ansi);
        const FILETIME never{};
        // The wide calls, as a browser makes them; under Wine they store a name beyond ASCII as
        // UTF-8, so such a name goes through the ANSI calls to be held as its ANSI bytes.
        if (IsAscii(name)) {
            const std::wstring url = Widen(name);
            wchar_t file[MAX_PATH + 1] = {};
            if (!::CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0)) return;
            WriteCacheFile(file);
            ::CommitUrlCacheEntryW(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr);
        } else {
            char file[MAX_PATH + 1] = {};
            if (!::CreateUrlCacheEntryA(ansi.c_str(), 0, "htm", file, 0)) return;
            WriteCacheFile(Widen(file));
            ::CommitUrlCacheEntryA(ansi.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr);
        }
    }

    std::string SetCookie(const std::string& host) override {
        wchar_t user[256] = {};
        DWORD length = 256;
        ::GetUserNameW(user, &length);
        // The platform names the entry after the user, the host and the cookie's path.
        const std::string name = "Cookie:" + Narrow(user) + "@" + host + "/";
        cacheEntries_.push_back(AnsiOf(name));
        ::InternetSetCookieW(Widen("http://" + host + "/").c_str(), L"morvane",
                             L"kept; expires=Fri, 31 Dec 2099 23:59:59 GMT");
        return name;
    }

    std::unique_ptr<HeldCacheEntry> HoldCacheEntry(const std::string& name) override {
        return std::make_unique<Win32HeldCacheEntry>(AnsiOf(name));
    }

private:
    static constexpr DWORD kAllowUnprivilegedCreate = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE

    static void WriteCacheFile(const std::wstring& file) {
        const win32::KernelHandle handle(
            ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (handle) ::WriteFile(handle.Get(), "<p>cached</p>", 13, &written, nullptr);
    }

    static bool IsLink(const std::string& path) {
        const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    }

    void Remember(const std::string& name) {
        if (previousVariables_.count(name)) return;
        std::wstring value(32767, L'\0');  // the largest value Windows holds
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length = ::GetEnvironmentVariableW(Widen(name).c_str(), value.data(), 32767);
        if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
            previousVariables_[name] = std::nullopt;
        } else {
            previousVariables_[name] = Narrow(std::wstring_view(value.data(), length));
        }
    }

    win32::Win32Environment environment_;
    win32::Win32Folders folders_;
    win32::Win32FileSystem files_;
    win32::Win32UrlCache cache_;
    std::wstring temp_;
    std::string scratch_;
    std::wstring previousFolder_;
    std::map<std::string, std::optional<std::string>> previousVariables_;
    std::vector<std::string> unixLinks_;
    std::vector<std::string> cacheEntries_;  // ANSI names
};

}  // namespace

std::unique_ptr<ContractWorld> MakeWorld() { return std::make_unique<Win32World>(); }

}  // namespace contract
