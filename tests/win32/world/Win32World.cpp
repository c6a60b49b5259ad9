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
#include "tests/contract/ContractWorld.h"

namespace contract {
namespace {

using win32::Narrow;
using win32::Widen;

std::wstring Long(const std::string& path) { return L"\\\\?\\" + Widen(path); }

bool StartsInside(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '\\';
}

// Wine's own bridge to the Unix side, present only under Wine.
using UnixNameOf = char*(__cdecl*)(const wchar_t*);
UnixNameOf WineUnixNameFunction() {
    return reinterpret_cast<UnixNameOf>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

std::string UnixNameOfPath(const std::string& path) {
    const UnixNameOf unixName = WineUnixNameFunction();
    if (!unixName) return {};
    char* name = unixName(Widen(path).c_str());
    if (!name) return {};
    std::string out(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return out;
}

// Wine cannot make a link itself (CreateSymbolicLinkW does nothing there), and a Unix link is
// what a Wine user has, so the world asks Linux directly. i386 system calls 83 and 10.
long LinuxSymlink(const char* target, const char* link) {
#if defined(__i386__)
    long result;
    asm volatile("int $0x80" : "=a"(result) : "a"(83), "b"(target), "c"(link) : "memory");
    return result;
#else
    (void)target;
    (void)link;
    return -1;
#endif
}

long LinuxUnlink(const char* path) {
#if defined(__i386__)
    long result;
    asm volatile("int $0x80" : "=a"(result) : "a"(10), "b"(path) : "memory");
    return result;
#else
    (void)path;
    return -1;
#endif
}

// Empties and removes a folder without following links: a link is removed as a link.
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
        for (const std::string& link : unixLinks_) LinuxUnlink(link.c_str());
        RemoveTree(Long(scratch_));
    }

    platform::Environment& Env() override { return environment_; }
    platform::Folders& Shell() override { return folders_; }
    platform::FileSystem& Files() override { return files_; }

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
        if (!StartsInside(link, scratch_) || !StartsInside(target, scratch_)) return false;
        // Windows: a symbolic link, where the user may make one. Wine answers TRUE and makes
        // nothing, hence the check.
        ::CreateSymbolicLinkW(Widen(link).c_str(), Widen(target).c_str(),
                              SYMBOLIC_LINK_FLAG_DIRECTORY | kAllowUnprivilegedCreate);
        if (IsLink(link)) return true;
        const std::string unixLink = UnixNameOfPath(link);
        const std::string unixTarget = UnixNameOfPath(target);
        if (unixLink.empty() || unixTarget.empty() || LinuxSymlink(unixTarget.c_str(), unixLink.c_str()) != 0) {
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

private:
    static constexpr DWORD kAllowUnprivilegedCreate = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE

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
    std::wstring temp_;
    std::string scratch_;
    std::wstring previousFolder_;
    std::map<std::string, std::optional<std::string>> previousVariables_;
    std::vector<std::string> unixLinks_;
};

}  // namespace

std::unique_ptr<ContractWorld> MakeWorld() { return std::make_unique<Win32World>(); }

}  // namespace contract
