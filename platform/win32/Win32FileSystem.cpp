#include "platform/win32/Win32FileSystem.h"

#include <algorithm>
#include <atomic>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32FolderHandle.h"

namespace win32 {

using platform::FsError;

namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsDriveAbsolute(std::wstring_view path) {
    return path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
           path[1] == L':' && path[2] == L'\\';
}

FsError LastError() { return FsErrorOf(::GetLastError()); }

std::wstring FullPathName(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return {};
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

std::optional<DWORD> RawAttributes(const std::wstring& apiPath) {
    const DWORD attributes = ::GetFileAttributesW(apiPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size(), 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0) return false;
        content.remove_prefix(written);
    }
    return true;
}

// A new, empty file beside the target whose name no other writer uses.
std::optional<std::wstring> CreateTemporaryBeside(const std::wstring& target, KernelHandle& file) {
    static std::atomic<unsigned> counter{0};  // writers may run beside the windows too
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::wstring name = target + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++counter) + L".tmp";
        file.Reset(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
        if (file) return name;
        if (::GetLastError() != ERROR_FILE_EXISTS) return std::nullopt;
    }
    return std::nullopt;
}

// Whether the process with this id still runs. This process's own id on a leftover only
// means that an earlier process had it.
bool ProcessRuns(DWORD id) {
    if (id == ::GetCurrentProcessId()) return false;
    const KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) return ::GetLastError() != ERROR_INVALID_PARAMETER;  // denied: it exists
    DWORD code = 0;
    return ::GetExitCodeProcess(process.Get(), &code) && code == STILL_ACTIVE;
}

// Removes the temporary files that writers which no longer run left beside the target, each
// through a handle checked to be that file.
void RemoveLeftoversBeside(const std::wstring& apiTarget) {
    const std::size_t cut = apiTarget.rfind(L'\\');
    const std::string targetName = Narrow(std::wstring_view(apiTarget).substr(cut + 1));
    WIN32_FIND_DATAW found;
    const FindHandle search(::FindFirstFileExW((apiTarget + L".*.tmp").c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr, 0));
    if (!search) return;
    std::vector<platform::FileEntry> leftovers;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        std::string name = Narrow(found.cFileName);
        const auto writer = platform::TemporaryFileWriter(name, targetName);
        if (writer && !ProcessRuns(*writer)) leftovers.push_back({std::move(name), 0, found.dwFileAttributes, 0});
    } while (::FindNextFileW(search.Get(), &found));
    if (leftovers.empty()) return;
    std::wstring folder = apiTarget.substr(0, cut);
    if (folder.back() == L':') folder += L'\\';  // a drive root
    if (const auto holder = OpenFolderHandle(folder, platform::FolderUse::kEmpty)) {
        for (const platform::FileEntry& leftover : leftovers) holder->DeleteEntry(leftover);
    }
}

std::optional<std::string> DosDeviceOf(std::string_view name) {
    if (name.empty()) return std::nullopt;  // would list every name
    std::wstring target(1024, L'\0');
    for (;;) {
        const DWORD length = ::QueryDosDeviceW(Widen(name).c_str(), target.data(), static_cast<DWORD>(target.size()));
        if (length != 0) return Narrow(target.c_str());  // the first of its targets
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || target.size() >= 65536) return std::nullopt;
        target.resize(target.size() * 4);
    }
}

}  // namespace

std::optional<std::wstring> ApiPath(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
    // Device, NT and GLOBALROOT spellings of a drive path or a share are read as that path, so
    // that every spelling of a folder meets the same decisions; whatever else lies in those
    // namespaces ("\\?\unix\", disks, pipes) is refused.
    const std::optional<std::string> plain = platform::PlainPath(path, DosDeviceOf);
    if (!plain) return std::nullopt;
    std::wstring wide = Widen(*plain);
    if (wide.empty()) return std::nullopt;
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    const std::wstring full = FullPathName(wide);
    if (IsDriveAbsolute(full)) return std::wstring(kLongPrefix) + full;
    // A network path "\\server\share\..."; device names such as "C:\x\NUL" come back as
    // "\\.\NUL" and are refused with the other prefixed forms.
    if (!StartsWith(full, L"\\\\")) return std::nullopt;
    const std::wstring_view server = std::wstring_view(full).substr(2, full.find(L'\\', 2) - 2);
    if (server.empty() || server == L"." || server == L"?") return std::nullopt;
    return std::wstring(kLongUncPrefix) + full.substr(2);
}

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return std::nullopt;
    // Share everything: a file another program has open for writing is still read.
    const KernelHandle file(::CreateFileW(apiPath->c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        return std::nullopt;
    }
    // Read straight into the result, as much as there is in one call (under Wine each call is a
    // round trip: a 1 MB file took twice as long in 64 KB pieces); one byte more than the size,
    // so that a file that grew meanwhile shows it.
    std::string content(static_cast<std::size_t>(size.QuadPart) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == content.size()) content.resize(content.size() + 64 * 1024);
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(content.size() - filled, 1u << 30));
        DWORD read = 0;
        if (!::ReadFile(file.Get(), content.data() + filled, wanted, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        filled += read;
        if (filled > maxBytes) return std::nullopt;  // grew while being read
    }
    content.resize(filled);
    return content;
}

FsError Win32FileSystem::TryReplaceWholeFile(const std::string& path, std::string_view content) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return {FsError::kOther, ERROR_INVALID_NAME};
    // Windows refuses to rename over a read-only file; Wine does not, so ask first.
    if (const auto existing = RawAttributes(*apiPath);
        existing && (*existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return {FsError::kAccessDenied, ERROR_ACCESS_DENIED};
    }
    RemoveLeftoversBeside(*apiPath);
    KernelHandle file;
    const auto temporary = CreateTemporaryBeside(*apiPath, file);
    if (!temporary) return LastError();
    FsError failure;
    if (!WriteAll(file.Get(), content) || !::FlushFileBuffers(file.Get())) failure = LastError();
    file.Reset();
    if (failure == FsError::kNone &&
        ::MoveFileExW(temporary->c_str(), apiPath->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return FsError::kNone;
    }
    if (failure == FsError::kNone) failure = LastError();
    // A rename over a file another program holds open is refused as access denied: that the
    // target is in use is what an open of it to be deleted tells.
    if (failure == FsError::kAccessDenied) {
        const KernelHandle probe(::CreateFileW(apiPath->c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!probe && ::GetLastError() == ERROR_SHARING_VIOLATION) failure = {FsError::kInUse, ERROR_SHARING_VIOLATION};
    }
    ::DeleteFileW(temporary->c_str());
    // A failure the system gave no code for still failed.
    return failure == FsError::kNone ? FsError(FsError::kOther) : failure;
}

std::optional<std::uint64_t> Win32FileSystem::AppendToFile(const std::string& path, std::string_view content) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return std::nullopt;
    // Append access alone writes at the end whatever others append meanwhile. A link is opened
    // as itself where Windows can, and refused below; a new file is made only where nothing
    // stands, not even a link that leads nowhere (whose target would be made instead).
    constexpr DWORD kAccess = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;  // not delete: a replace waits
    KernelHandle file;
    for (int attempt = 0; attempt < 3 && !file; ++attempt) {
        file.Reset(::CreateFileW(apiPath->c_str(), kAccess, kShare, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (file || ::GetLastError() != ERROR_FILE_NOT_FOUND) break;
        file.Reset(::CreateFileW(apiPath->c_str(), kAccess, kShare, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (!file) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    // Wine lets its own user write a read-only file; Windows would not. A file with another name
    // (a hard link) may be anyone's, as a link's target may.
    constexpr DWORD kRefused = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if (!::GetFileInformationByHandle(file.Get(), &info) || (info.dwFileAttributes & kRefused) != 0 ||
        info.nNumberOfLinks > 1 || !IsNoUnixLink(file.Get(), *apiPath) || !WriteAll(file.Get(), content)) {
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::uint32_t> Win32FileSystem::Attributes(const std::string& path) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return std::nullopt;
    return RawAttributes(*apiPath);
}

std::optional<std::vector<platform::FileEntry>> Win32FileSystem::ListFolder(const std::string& folder) {
    const auto apiPath = ApiPath(folder);
    if (!apiPath) return std::nullopt;
    std::wstring pattern = *apiPath;
    if (pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found;
    const FindHandle search(
        ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    std::vector<platform::FileEntry> entries;
    if (!search) {
        // An empty drive root has not even "." to list; any other failure means no folder.
        const DWORD error = ::GetLastError();
        const auto attributes = RawAttributes(*apiPath);
        if (error == ERROR_FILE_NOT_FOUND && attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return entries;
        }
        return std::nullopt;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        platform::FileEntry entry;
        entry.name = Narrow(name);
        entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entry.attributes = found.dwFileAttributes;
        entry.lastWrite = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                          found.ftLastWriteTime.dwLowDateTime;
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(search.Get(), &found));
    if (::GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
    return entries;
}

FsError Win32FileSystem::CreateFolder(const std::string& path) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return FsError::kOther;
    return ::CreateDirectoryW(apiPath->c_str(), nullptr) ? FsError() : LastError();
}

FsError Win32FileSystem::MoveFile(const std::string& from, const std::string& to) {
    const auto apiFrom = ApiPath(from);
    const auto apiTo = ApiPath(to);
    if (!apiFrom || !apiTo) return FsError::kOther;
    return ::MoveFileExW(apiFrom->c_str(), apiTo->c_str(), MOVEFILE_COPY_ALLOWED) ? FsError() : LastError();
}

std::string Win32FileSystem::FullPath(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (wide.empty()) return {};
    return Narrow(FullPathName(wide));
}

std::optional<platform::FileSystem::Identified> Win32FileSystem::Identify(const std::string& path) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return std::nullopt;
    return IdentifyPath(*apiPath);
}

std::optional<platform::FileSystem::Item> Win32FileSystem::IdentifyItself(const std::string& path) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return std::nullopt;
    return IdentifyPathItself(*apiPath);
}

std::optional<std::string> Win32FileSystem::DosDevice(std::string_view name) { return DosDeviceOf(name); }

std::unique_ptr<platform::FolderHandle> Win32FileSystem::OpenFolder(const std::string& path, platform::FolderUse use,
                                                                    FsError* why) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) {
        if (why) *why = {FsError::kOther, ERROR_INVALID_NAME};
        return nullptr;
    }
    return OpenFolderHandle(*apiPath, use, why);
}

FsError Win32FileSystem::TryOpen(const std::string& path, OpenIntent intent) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return FsError::kOther;
    // Every sharing mode of ours: only what the holder's open forbids can refuse it. The
    // handle is closed unused, so that nothing of the file changes.
    const DWORD access = intent == OpenIntent::kDelete ? DELETE | FILE_READ_ATTRIBUTES : GENERIC_READ;
    const KernelHandle file(::CreateFileW(apiPath->c_str(), access,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return LastError();
    return FsError::kNone;
}

}  // namespace win32
