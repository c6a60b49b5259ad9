#include "platform/win32/Win32FolderHandle.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/win32/LateBound.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

#include <winternl.h>

// Links under Wine 8 (what this was written against):
// - A Unix link to a folder is listed with FILE_ATTRIBUTE_REPARSE_POINT; a Unix link to a file
//   is listed as the file it leads to (its attributes, size and file id).
// - Opening either, even with FILE_OPEN_REPARSE_POINT, opens what it leads to, and deleting
//   through that handle deletes the target. The handle's object name is the target's path.
// - Every open, relative or not, costs Wine a resolution of the whole path, and so does a query
//   of the object name; the file id (FileInternalInformation) is cheap at any depth.
// So under Wine a child folder is checked by its file id against the listing (a link to a folder
// is marked there, and a folder swapped for one afterwards has another id), and a child file or
// link by its object name, which only a handle on the child itself has.
//
// What Wine 8 pays for the questions a walk asks of a handle: GetFileInformationByHandle asks for
// FileAllInformation (its name: a search of the path against the drives) and the volume's serial
// (the mount manager, and another search), where FileInternalInformation, FileStandardInformation
// and FileAttributeTagInformation are each one fstat of the handle's file.

namespace win32 {

using platform::FileEntry;
using platform::FileIdentity;
using platform::FsError;

namespace {

constexpr ULONG kFileOpen = 1;
constexpr ULONG kDirectoryFile = 0x1;
constexpr ULONG kSynchronousIo = 0x20;
constexpr ULONG kNonDirectoryFile = 0x40;
constexpr ULONG kOpenForBackup = 0x4000;
constexpr ULONG kOpenReparsePoint = 0x200000;
constexpr ULONG kFileInternalInformation = 6;
constexpr ULONG kObjectNameInformation = 1;
constexpr NTSTATUS kStatusDeletePending = static_cast<NTSTATUS>(0xC0000056);
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A folder that a clean walks cannot be renamed or deleted by another program meanwhile, so that
// no folder above a file can be swapped for a link before the file is deleted. A preview shares
// everything: looking takes nothing from anyone.
constexpr DWORD kShareFolder = FILE_SHARE_READ | FILE_SHARE_WRITE;
// A folder is held to be listed; it conflicts with no other program's reading or writing.
constexpr ACCESS_MASK kListFolder = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

DWORD FolderShare(platform::FolderUse use) { return use == platform::FolderUse::kLook ? kShareAll : kShareFolder; }

// The few ntdll calls the handles need, and whether this is Wine (ntdll says so itself).
struct Ntdll {
    using CreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                          ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
    using QueryObjectFn = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    using QueryInformationFileFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
    using StatusToErrorFn = ULONG(NTAPI*)(NTSTATUS);

    CreateFileFn createFile = nullptr;
    QueryObjectFn queryObject = nullptr;
    QueryInformationFileFn queryInformationFile = nullptr;
    StatusToErrorFn statusToError = nullptr;
    bool wine = false;
    bool complete = false;
};

const Ntdll& Nt() {
    static const Ntdll nt = [] {
        Ntdll calls;
        const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        calls.complete = ntdll && Resolve(ntdll, "NtCreateFile", calls.createFile) &&
                         Resolve(ntdll, "NtQueryObject", calls.queryObject) &&
                         Resolve(ntdll, "NtQueryInformationFile", calls.queryInformationFile) &&
                         Resolve(ntdll, "RtlNtStatusToDosError", calls.statusToError);
        calls.wine = ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
        return calls;
    }();
    return nt;
}

FsError FsErrorOfStatus(NTSTATUS status) {
    if (status >= 0) return FsError::kNone;
    if (status == kStatusDeletePending) return FsError::kNotFound;  // on its way out already
    return {FsErrorOf(Nt().statusToError(status)), static_cast<std::uint32_t>(status)};
}

std::optional<std::uint64_t> FileIndexOf(HANDLE handle) {
    IO_STATUS_BLOCK io{};
    LARGE_INTEGER index{};
    if (Nt().queryInformationFile(handle, &io, &index, sizeof(index), kFileInternalInformation) < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(index.QuadPart);
}

// The handle's NT path ("\??\C:\..."), into a buffer kept for the thread: a walk asks for one
// name per file.
std::optional<std::wstring_view> ObjectNameOf(HANDLE handle) {
    thread_local std::vector<std::uint64_t> buffer(8 * 1024);
    for (int attempt = 0; attempt < 2; ++attempt) {
        ULONG needed = 0;
        const auto bytes = static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t));
        const NTSTATUS status = Nt().queryObject(handle, kObjectNameInformation, buffer.data(), bytes, &needed);
        if (status >= 0) {
            const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
            return std::wstring_view(name->Buffer, name->Length / sizeof(wchar_t));
        }
        if (needed <= bytes) return std::nullopt;
        buffer.resize(needed / sizeof(std::uint64_t) + 1);
    }
    return std::nullopt;
}

std::optional<DWORD> AttributesOf(HANDLE handle) {
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof(info))) return std::nullopt;
    return info.FileAttributes;
}

bool IsRealFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// Clears the read-only mark through the handle; the attributes to put back, or nullopt when
// the mark could not be cleared.
std::optional<FILE_BASIC_INFO> ClearReadOnly(HANDLE handle) {
    FILE_BASIC_INFO before{};
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &before, sizeof(before))) return std::nullopt;
    FILE_BASIC_INFO cleared = before;
    cleared.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (cleared.FileAttributes == 0) cleared.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileInformationByHandle(handle, FileBasicInfo, &cleared, sizeof(cleared))) return std::nullopt;
    return before;
}

bool SetBasic(HANDLE handle, FILE_BASIC_INFO& basic) {
    return ::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof(basic)) != FALSE;
}

bool SetDisposition(HANDLE handle, bool remove) {
    FILE_DISPOSITION_INFO dispose{remove};  // its one member, DeleteFile, is renamed by <windows.h>
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &dispose, sizeof(dispose)) != FALSE;
}

// Whether the file has names other than the one the handle was opened by (hard links). A folder
// has none, whatever Wine counts for it (a Unix folder's link count).
bool HasOtherNames(HANDLE handle) {
    FILE_STANDARD_INFO info{};
    return ::GetFileInformationByHandleEx(handle, FileStandardInfo, &info, sizeof(info)) && !info.Directory &&
           info.NumberOfLinks > 1;
}

// Marks what the handle holds for deletion when it closes; a read-only mark is taken off first
// and put back when the deletion is refused. The mark belongs to the file, not to the name: a
// file whose other names stay gets it back at once, and if it cannot, the name stays too.
FsError DeleteThrough(HANDLE handle, bool readOnly) {
    std::optional<FILE_BASIC_INFO> restore;
    if (readOnly) restore = ClearReadOnly(handle);
    const bool shared = restore && HasOtherNames(handle);
    if (SetDisposition(handle, true)) {
        if (!shared || SetBasic(handle, *restore)) return FsError::kNone;
        const DWORD error = ::GetLastError();
        SetDisposition(handle, false);
        SetBasic(handle, *restore);
        return FsErrorOf(error);
    }
    const DWORD error = ::GetLastError();
    if (restore) SetBasic(handle, *restore);
    return FsErrorOf(error);
}

struct HandleFacts {
    FileIdentity identity;
    DWORD attributes = 0;
};

// Under Wine the volume serial number belongs to the drive letter a path is reached by, not to
// the volume, so the file id alone stands for the file there, and the serial is not asked for.
std::optional<HandleFacts> FactsOf(HANDLE handle) {
    if (Nt().wine) {
        const std::optional<std::uint64_t> index = FileIndexOf(handle);
        const std::optional<DWORD> attributes = AttributesOf(handle);
        if (!index || !attributes) return std::nullopt;
        return HandleFacts{{0, *index}, *attributes};
    }
    BY_HANDLE_FILE_INFORMATION info{};  // not reached under Wine
    if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
    const std::uint64_t file = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return HandleFacts{{info.dwVolumeSerialNumber, file}, info.dwFileAttributes};
}

class Win32FolderHandle final : public platform::FolderHandle {
public:
    Win32FolderHandle(KernelHandle handle, FileIdentity identity, std::wstring ntPath, platform::FolderUse use)
        : handle_(std::move(handle)), identity_(identity), ntPath_(std::move(ntPath)), use_(use) {}

    std::optional<std::vector<FileEntry>> List() override {
        std::vector<std::uint64_t> buffer(64 * 1024 / sizeof(std::uint64_t));
        std::vector<FileEntry> entries;
        for (FILE_INFO_BY_HANDLE_CLASS query = FileIdBothDirectoryRestartInfo;; query = FileIdBothDirectoryInfo) {
            if (!::GetFileInformationByHandleEx(handle_.Get(), query, buffer.data(),
                                                static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t)))) {
                if (::GetLastError() == ERROR_NO_MORE_FILES) return entries;
                return std::nullopt;
            }
            const auto* bytes = reinterpret_cast<const char*>(buffer.data());
            for (;;) {
                const auto* found = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes);
                const std::wstring_view name(found->FileName, found->FileNameLength / sizeof(wchar_t));
                if (name != L"." && name != L"..") {
                    entries.push_back({Narrow(name), static_cast<std::uint64_t>(found->EndOfFile.QuadPart),
                                       found->FileAttributes, static_cast<std::uint64_t>(found->FileId.QuadPart),
                                       static_cast<std::uint64_t>(found->LastWriteTime.QuadPart)});
                }
                if (found->NextEntryOffset == 0) break;
                bytes += found->NextEntryOffset;
            }
        }
    }

    FileIdentity Identity() override { return identity_; }

    Opened OpenFolder(const FileEntry& entry) override {
        if (entry.IsReparsePoint()) return {nullptr, FsError::kLink};
        if (!entry.IsDirectory()) return {nullptr, FsError::kOther};
        const std::wstring name = Widen(entry.name);
        KernelHandle child;
        if (const NTSTATUS status = OpenChild(name, kListFolder, kDirectoryFile, FolderShare(use_), child); status < 0) {
            return {nullptr, FsErrorOfStatus(status)};
        }
        const std::optional<std::uint64_t> index = FileIndexOf(child.Get());
        if (!index) return {nullptr, FsError::kOther};
        if (Nt().wine) {
            // What the listing said of this name is what the handle holds, or a link led elsewhere.
            const bool same = entry.fileId != 0 ? *index == entry.fileId : IsHere(child.Get(), name);
            if (!same) return {nullptr, FsError::kLink};
        } else {
            const std::optional<DWORD> attributes = AttributesOf(child.Get());
            if (!attributes) return {nullptr, FsError::kOther};
            if ((*attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return {nullptr, FsError::kLink};
            if (entry.fileId != 0 && *index != entry.fileId) return {nullptr, FsError::kOther};
        }
        std::wstring ntPath = Nt().wine ? ChildPath(name) : std::wstring();
        return {std::make_unique<Win32FolderHandle>(std::move(child), FileIdentity{identity_.volume, *index},
                                                    std::move(ntPath), use_),
                FsError::kNone};
    }

    FsError DeleteEntry(const FileEntry& entry) override {
        if (use_ == platform::FolderUse::kLook) return FsError::kAccessDenied;
        KernelHandle child;
        if (const FsError error = OpenToDelete(entry, child); error != FsError::kNone) return error;
        return DeleteThrough(child.Get(), entry.Has(platform::kAttrReadOnly));
    }

    FsError CheckEntry(const FileEntry& entry) override {
        KernelHandle child;
        return OpenToDelete(entry, child);
    }

    FsError RemoveFolder(const FileEntry& entry, const FileIdentity& identity) override {
        if (use_ == platform::FolderUse::kLook) return FsError::kAccessDenied;
        const bool readOnly = entry.Has(platform::kAttrReadOnly);
        const ACCESS_MASK access = DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE | (readOnly ? FILE_WRITE_ATTRIBUTES : 0);
        KernelHandle child;
        if (const NTSTATUS status = OpenChild(Widen(entry.name), access, kDirectoryFile, kShareFolder, child);
            status < 0) {
            return FsErrorOfStatus(status);
        }
        // The folder that was emptied, or what a Unix link there leads to (Wine), or a link
        // itself (Windows), or another folder put in its place: only the first goes.
        const std::optional<std::uint64_t> index = FileIndexOf(child.Get());
        if (!index) return FsError::kOther;
        if (*index != identity.file) return FsError::kLink;
        return DeleteThrough(child.Get(), readOnly);
    }

private:
    // Opens a file, or a link of either kind, to be deleted through the handle: as the listing
    // showed it, and no Unix link. The open itself changes nothing.
    FsError OpenToDelete(const FileEntry& entry, KernelHandle& child) const {
        const std::wstring name = Widen(entry.name);
        const bool listedAsFile = !entry.IsDirectory() && !entry.IsReparsePoint();
        const bool readOnly = entry.Has(platform::kAttrReadOnly);
        const ACCESS_MASK access = DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE | (readOnly ? FILE_WRITE_ATTRIBUTES : 0);
        if (const NTSTATUS status = OpenChild(name, access, listedAsFile ? kNonDirectoryFile : 0, kShareAll, child);
            status < 0) {
            return FsErrorOfStatus(status);
        }
        if (Nt().wine && !IsHere(child.Get(), name)) return FsError::kLink;
        if (!listedAsFile) {
            // A link as the listing said, or by now a real folder, which is not deleted whole.
            const std::optional<DWORD> attributes = AttributesOf(child.Get());
            if (!attributes || IsRealFolder(*attributes)) return FsError::kOther;
        }
        return FsError::kNone;
    }

    // The child of this folder, opened without following a link (where the platform can).
    NTSTATUS OpenChild(const std::wstring& name, ACCESS_MASK access, ULONG kind, DWORD share,
                       KernelHandle& child) const {
        UNICODE_STRING objectName;
        objectName.Buffer = const_cast<PWSTR>(name.c_str());
        objectName.Length = objectName.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
        OBJECT_ATTRIBUTES attributes;
        InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, handle_.Get(), nullptr);
        IO_STATUS_BLOCK io{};
        HANDLE opened = nullptr;
        const NTSTATUS status =
            Nt().createFile(&opened, access, &attributes, &io, nullptr, 0, share, kFileOpen,
                            kind | kOpenReparsePoint | kOpenForBackup | kSynchronousIo, nullptr, 0);
        if (status >= 0) child.Reset(opened);
        return status;
    }

    // Under Wine: whether the child's handle is where this folder's name says, not somewhere a
    // Unix link led.
    bool IsHere(HANDLE child, const std::wstring& name) const {
        const std::optional<std::wstring_view> actual = ObjectNameOf(child);
        return actual && *actual == ChildPath(name);
    }

    std::wstring ChildPath(const std::wstring& name) const {
        return !ntPath_.empty() && ntPath_.back() == L'\\' ? ntPath_ + name : ntPath_ + L"\\" + name;
    }

    KernelHandle handle_;
    FileIdentity identity_;
    std::wstring ntPath_;  // under Wine only: the handle's own NT path
    platform::FolderUse use_;
};

// The path a handle has with its links resolved, in the form callers write ("C:\...",
// "\\server\share\...").
std::optional<std::wstring> FinalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            // Wine answers only within MAX_PATH; its object names ("\??\C:\...") are DOS paths.
            const std::optional<std::wstring_view> name = ObjectNameOf(handle);
            if (!name || name->substr(0, 4) != L"\\??\\") return std::nullopt;
            path = L"\\\\?\\" + std::wstring(name->substr(4));
            break;
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(length + 1);
    }
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
    return path;
}

}  // namespace

FsError FsErrorOf(DWORD code) {
    switch (code) {
        case ERROR_SUCCESS:
            return FsError::kNone;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return {FsError::kNotFound, code};
        case ERROR_ACCESS_DENIED:
            return {FsError::kAccessDenied, code};
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return {FsError::kInUse, code};
        default:
            return {FsError::kOther, code};
    }
}

bool IsNoUnixLink(HANDLE file, const std::wstring& apiPath) {
    if (!Nt().wine) return true;
    if (!Nt().complete) return false;
    const std::size_t cut = apiPath.rfind(L'\\');
    std::wstring folderPath = apiPath.substr(0, cut);
    if (folderPath.back() == L':') folderPath += L'\\';  // a drive root
    const KernelHandle folder(::CreateFileW(folderPath.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return false;
    const std::optional<std::wstring_view> folderName = ObjectNameOf(folder.Get());
    if (!folderName) return false;
    std::wstring expected(*folderName);  // the name's buffer serves the next query too
    if (expected.back() != L'\\') expected += L'\\';
    expected += std::wstring_view(apiPath).substr(cut + 1);
    const std::optional<std::wstring_view> actual = ObjectNameOf(file);
    // Without regard to case: the name on the disk may differ in case from the one asked for.
    return actual && ::CompareStringOrdinal(actual->data(), static_cast<int>(actual->size()), expected.data(),
                                            static_cast<int>(expected.size()), TRUE) == CSTR_EQUAL;
}

std::unique_ptr<platform::FolderHandle> OpenFolderHandle(const std::wstring& apiPath, platform::FolderUse use,
                                                         FsError* why) {
    const auto failed = [why](FsError error) -> std::unique_ptr<platform::FolderHandle> {
        if (why) *why = error == FsError::kNone ? FsError(FsError::kOther) : error;
        return nullptr;
    };
    if (!Nt().complete) return failed({FsError::kOther, ERROR_PROC_NOT_FOUND});
    KernelHandle folder(::CreateFileW(apiPath.c_str(), kListFolder, FolderShare(use), nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return failed(FsErrorOf(::GetLastError()));
    const std::optional<HandleFacts> facts = FactsOf(folder.Get());
    if (!facts) return failed(FsErrorOf(::GetLastError()));
    if (!IsRealFolder(facts->attributes)) return failed({FsError::kOther, ERROR_DIRECTORY});
    std::wstring ntPath;
    if (Nt().wine) {
        const std::optional<std::wstring_view> name = ObjectNameOf(folder.Get());
        if (!name) return failed(FsErrorOf(::GetLastError()));
        ntPath = *name;
    }
    return std::make_unique<Win32FolderHandle>(std::move(folder), facts->identity, std::move(ntPath), use);
}

std::optional<platform::FileSystem::Identified> IdentifyPath(const std::wstring& apiPath) {
    const KernelHandle opened(::CreateFileW(apiPath.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!opened) return std::nullopt;
    const std::optional<HandleFacts> facts = FactsOf(opened.Get());
    const std::optional<std::wstring> final = FinalPathOf(opened.Get());
    if (!facts || !final) return std::nullopt;
    if (final->size() == 3 && (*final)[1] == L':') return platform::FileSystem::Identified{facts->identity, ""};
    std::wstring parent = final->substr(0, final->find_last_of(L'\\'));
    if (parent.size() == 2 && parent[1] == L':') parent += L'\\';
    return platform::FileSystem::Identified{facts->identity, Narrow(parent)};
}

std::optional<platform::FileSystem::Item> IdentifyPathItself(const std::wstring& apiPath) {
    const KernelHandle opened(::CreateFileW(apiPath.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!opened) return std::nullopt;
    const std::optional<HandleFacts> facts = FactsOf(opened.Get());
    if (!facts) return std::nullopt;
    return platform::FileSystem::Item{facts->identity, facts->attributes};
}

}  // namespace win32
