// The contract world of the real adapters, run under Windows or Wine. The scratch folder lies
// in the Temp folder of the (Wine) user; nothing outside it is made, changed or removed.
#include <cctype>
#include <map>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32RecycleBin.h"
#include "platform/win32/Win32UrlCache.h"
#include "tests/contract/ContractWorld.h"
#include "tests/win32/world/TestFiles.h"
#include "tests/win32/world/UnixLinks.h"
#include "tests/win32/world/WinePrefix.h"

#include <shellapi.h>
#include <tlhelp32.h>
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
        drives_.clear();
        shares_.reset();
        // The Unix links go first, through the side that made them: Windows cannot remove them.
        for (const std::string& link : unixLinks_) testing_support::LinuxUnlink(link);
        RemoveTree(Long(scratch_));
        for (const std::string& name : cacheEntries_) ::DeleteUrlCacheEntryA(name.c_str());
    }

    platform::Environment& Env() override { return environment_; }
    platform::Folders& Shell() override { return folders_; }
    platform::FileSystem& Files() override { return files_; }
    platform::UrlCache& Cache() override { return cache_; }
    platform::RecycleBin& Bin() override { return bin_; }

    std::string Scratch() override { return scratch_; }

    void MakeFile(const std::string& path, const std::string& content) override {
        const win32::KernelHandle file(
            ::CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file) ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    }

    void SetAttributes(const std::string& path, std::uint32_t attributes) override {
        ::SetFileAttributesW(Long(path).c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
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
                                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    }

    bool OpensAsAnotherProgram(const std::string& path, bool toDelete) override {
        return win32::KernelHandle(::CreateFileW(Long(path).c_str(), toDelete ? DELETE : GENERIC_READ,
                                                 toDelete ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                                                          : FILE_SHARE_READ,
                                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr))
            .IsValid();
    }

    bool MakeFolderLink(const std::string& link, const std::string& target) override {
        return MakeLink(link, target, true) && IsLink(link);
    }

    bool MakeFileLink(const std::string& link, const std::string& target) override {
        return MakeLink(link, target, false);
    }

    bool MakeHardLink(const std::string& link, const std::string& target) override {
        return testing_support::IsInside(link, scratch_) && testing_support::IsInside(target, scratch_) &&
               ::CreateHardLinkW(Long(link).c_str(), Long(target).c_str(), nullptr);
    }

    bool SwapForLink(const std::string& path, const std::string& target) override {
        if (!testing_support::IsInside(path, scratch_)) return false;
        const DWORD attributes = ::GetFileAttributesW(Long(path).c_str());
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && attributes != INVALID_FILE_ATTRIBUTES) {
            RemoveTree(Long(path));
        } else {
            ::DeleteFileW(Long(path).c_str());
        }
        const DWORD targetAttributes = ::GetFileAttributesW(Long(target).c_str());
        return MakeLink(path, target, (targetAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    }

    std::optional<std::string> MapDrive(const std::string& folder) override {
        if (!testing_support::IsInside(folder, scratch_) && folder != scratch_) return std::nullopt;
        drives_.push_back(std::make_unique<testing_support::ExtraDrive>(folder));
        if (drives_.back()->Drive().empty()) return std::nullopt;
        return drives_.back()->Drive();
    }

    std::optional<std::string> NetworkForm(const std::string& path) override {
        if (!shares_) shares_ = std::make_unique<testing_support::LocalShares>();
        if (!shares_->Served() || path.size() < 3 || path[1] != ':') return std::nullopt;
        return "\\\\localhost\\" + std::string(1, static_cast<char>(std::tolower(path[0]))) + "$" + path.substr(2);
    }

    std::uint32_t RunningProcessId() override {
        const win32::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W process{};
        process.dwSize = sizeof(process);
        for (BOOL more = ::Process32FirstW(snapshot.Get(), &process); more;
             more = ::Process32NextW(snapshot.Get(), &process)) {
            if (process.th32ProcessID != ::GetCurrentProcessId() && process.th32ProcessID != 0) {
                return process.th32ProcessID;
            }
        }
        return 0;
    }

    bool Trash(const std::string& path) override {  // only to Wine's bin, the prefix's own trash
        const std::wstring from = Widen(path) + L'\0';  // the shell reads a list, twice ended
        SHFILEOPSTRUCTW deletion{nullptr, FO_DELETE, from.c_str(), nullptr, FOF_ALLOWUNDO | FOF_NO_UI};
        return testing_support::IsInside(path, scratch_) && !testing_support::UnixNameOfPath(scratch_).empty() &&
               ::SHFileOperationW(&deletion) == 0;
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

    // A link of the kind this side's user has: a Windows symbolic link where one may be made,
    // else a Unix link (Wine answers CreateSymbolicLinkW with TRUE and makes nothing).
    bool MakeLink(const std::string& link, const std::string& target, bool folder) {
        if (!testing_support::IsInside(link, scratch_) || !testing_support::IsInside(target, scratch_)) return false;
        const bool wine = !testing_support::UnixNameOfPath(scratch_).empty();
        if (!wine) {
            return ::CreateSymbolicLinkW(Widen(link).c_str(), Widen(target).c_str(),
                                         (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | kAllowUnprivilegedCreate) != 0;
        }
        std::string unixLink = testing_support::MakeUnixLink(link, target);
        if (unixLink.empty()) return false;
        unixLinks_.push_back(std::move(unixLink));
        return true;
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
    win32::Win32RecycleBin bin_;
    std::wstring temp_;
    std::string scratch_;
    std::wstring previousFolder_;
    std::map<std::string, std::optional<std::string>> previousVariables_;
    std::vector<std::string> unixLinks_;
    std::vector<std::unique_ptr<testing_support::ExtraDrive>> drives_;
    std::unique_ptr<testing_support::LocalShares> shares_;
    std::vector<std::string> cacheEntries_;  // ANSI names
};

}  // namespace

std::unique_ptr<ContractWorld> MakeWorld() { return std::make_unique<Win32World>(); }

}  // namespace contract
