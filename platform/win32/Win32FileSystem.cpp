#include "platform/win32/Win32FileSystem.h"

#include <algorithm>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

// Links under Wine 8 (what the adapter was written against):
// - CreateSymbolicLinkW is a stub that answers TRUE and makes nothing; FSCTL_SET_REPARSE_POINT
//   is not supported. The links a Wine user meets are Unix symbolic links.
// - A Unix link to a folder is reported with FILE_ATTRIBUTE_REPARSE_POINT (0x410) by
//   GetFileAttributesW and FindFirstFileExW. A handle opened on it, even with
//   FILE_FLAG_OPEN_REPARSE_POINT, is the target folder: its attribute tag shows no reparse point.
// - RemoveDirectoryW on such a link fails with ERROR_DIR_NOT_EMPTY when the target has entries,
//   and removes the *target* when the target is empty; the link stays.
// - A Unix link to a file looks like the file itself, and DeleteFileW removes the target.
// So a link is removed only through a handle that Windows confirms to be the link itself.

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

FsError ErrorFrom(DWORD code) {
    switch (code) {
        case ERROR_SUCCESS:
            return FsError::kNone;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return FsError::kNotFound;
        case ERROR_ACCESS_DENIED:
            return FsError::kAccessDenied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FsError::kInUse;
        default:
            return FsError::kOther;
    }
}

FsError LastError() { return ErrorFrom(::GetLastError()); }

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

// The plain form of a prefixed path, as callers wrote it.
std::string WithoutPrefix(std::wstring_view path) {
    if (StartsWith(path, kLongUncPrefix)) return "\\\\" + Narrow(path.substr(kLongUncPrefix.size()));
    if (StartsWith(path, kLongPrefix)) return Narrow(path.substr(kLongPrefix.size()));
    return Narrow(path);
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
    static unsigned counter = 0;  // one thread: the user interface's
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

// Removes a folder, or a link to a folder without touching its target. The path is checked
// again after the handle is open, so a folder swapped for a link in between is caught.
FsError RemoveFolderByHandle(const std::wstring& apiPath) {
    const KernelHandle folder(::CreateFileW(apiPath.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                            nullptr));
    if (!folder) return LastError();
    const std::optional<DWORD> byPath = RawAttributes(apiPath);
    FILE_ATTRIBUTE_TAG_INFO opened{};
    if (!byPath || !::GetFileInformationByHandleEx(folder.Get(), FileAttributeTagInfo, &opened, sizeof(opened))) {
        return LastError();
    }
    if ((opened.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return FsError::kOther;
    // The path is a link but the handle is not: the handle is the target (a Unix link under
    // Wine). Deleting through it would remove what the link points at.
    if ((*byPath & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && (opened.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return FsError::kAccessDenied;
    }
    FILE_DISPOSITION_INFO dispose{TRUE};  // its one member, DeleteFile, is renamed by <windows.h>
    if (!::SetFileInformationByHandle(folder.Get(), FileDispositionInfo, &dispose, sizeof(dispose))) {
        return LastError();
    }
    return FsError::kNone;
}

}  // namespace

std::optional<std::wstring> ApiPath(std::string_view path) {
    std::wstring wide = Widen(path);
    if (wide.empty() || wide.find(L'\0') != std::wstring::npos) return std::nullopt;
    // Windows reads "/" as "\" before it looks at the prefix, so "//?/unix/..." is "\\?\unix\...".
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (StartsWith(wide, L"\\\\?\\") || StartsWith(wide, L"\\\\.\\") || StartsWith(wide, L"\\??\\")) {
        // Of the prefixed forms only the two long-path ones are accepted; they are unwrapped and
        // normalised like any other path. Everything else ("\\?\unix\", devices, volume GUIDs,
        // the NT namespace) is refused.
        if (StartsWith(wide, kLongUncPrefix)) {
            wide = L"\\\\" + wide.substr(kLongUncPrefix.size());
        } else if (StartsWith(wide, kLongPrefix) && IsDriveAbsolute(std::wstring_view(wide).substr(kLongPrefix.size()))) {
            wide.erase(0, kLongPrefix.size());
        } else {
            return std::nullopt;
        }
    }
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
    std::string content;
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        content.append(buffer, read);
        if (content.size() > maxBytes) return std::nullopt;  // grew while being read
    }
    return content;
}

bool Win32FileSystem::ReplaceWholeFile(const std::string& path, std::string_view content) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return false;
    // Windows refuses to rename over a read-only file; Wine does not, so ask first.
    if (const auto existing = RawAttributes(*apiPath);
        existing && (*existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    KernelHandle file;
    const auto temporary = CreateTemporaryBeside(*apiPath, file);
    if (!temporary) return false;
    const bool written = WriteAll(file.Get(), content) && ::FlushFileBuffers(file.Get());
    file.Reset();
    if (written &&
        ::MoveFileExW(temporary->c_str(), apiPath->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    ::DeleteFileW(temporary->c_str());
    return false;
}

std::optional<std::uint32_t> Win32FileSystem::Attributes(const std::string& path) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return std::nullopt;
    return RawAttributes(*apiPath);
}

bool Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return false;
    // SetFileAttributesW follows a link and would change its target.
    const auto current = RawAttributes(*apiPath);
    if (!current || (*current & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return false;
    // The kind of an entry is not an attribute one sets.
    DWORD settable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
    if (settable == 0) settable = FILE_ATTRIBUTE_NORMAL;
    if (settable != FILE_ATTRIBUTE_NORMAL) settable &= ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL);
    return ::SetFileAttributesW(apiPath->c_str(), settable) != 0;
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
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(search.Get(), &found));
    if (::GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
    return entries;
}

FsError Win32FileSystem::DeleteFile(const std::string& path) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return FsError::kOther;
    return ::DeleteFileW(apiPath->c_str()) ? FsError::kNone : LastError();
}

FsError Win32FileSystem::RemoveFolder(const std::string& path) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return FsError::kOther;
    return RemoveFolderByHandle(*apiPath);
}

FsError Win32FileSystem::CreateFolder(const std::string& path) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return FsError::kOther;
    return ::CreateDirectoryW(apiPath->c_str(), nullptr) ? FsError::kNone : LastError();
}

FsError Win32FileSystem::MoveFile(const std::string& from, const std::string& to) {
    const auto apiFrom = ApiPath(from);
    const auto apiTo = ApiPath(to);
    if (!apiFrom || !apiTo) return FsError::kOther;
    return ::MoveFileExW(apiFrom->c_str(), apiTo->c_str(), MOVEFILE_COPY_ALLOWED) ? FsError::kNone : LastError();
}

std::string Win32FileSystem::FullPath(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (wide.empty()) return {};
    return Narrow(FullPathName(wide));
}

std::string Win32FileSystem::LongPath(const std::string& path) {
    const auto apiPath = ApiPath(path);
    if (!apiPath) return path;
    // Wine hands a prefixed path back unexpanded, so the prefix is used only where it is needed.
    const std::wstring plain = Widen(WithoutPrefix(*apiPath));
    const std::wstring& query = plain.size() < MAX_PATH ? plain : *apiPath;
    std::wstring expanded(query.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetLongPathNameW(query.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (length == 0) return path;
        if (length < expanded.size()) {
            expanded.resize(length);
            return WithoutPrefix(expanded);
        }
        expanded.resize(length);
    }
}

}  // namespace win32
