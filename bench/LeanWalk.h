#pragma once
// The reference of the purge: the least a walk that deletes nothing a link leads to must do
// under Wine, written bare. Each entry is opened relative to its folder's handle (NtCreateFile
// with the folder as root, links not followed), a folder checked by its file id against the
// listing, a file by the handle's object name against the folder's name and its own (under Wine
// a Unix link opens as its target, and only the name tells), and deleted through that handle
// with the disposition. A folder is held only to be listed, taking nothing from other programs
// but its renaming: once emptied it is closed and opened anew beside its folder with the right
// to delete it, checked by its file id again, and removed through that handle. No tally, no
// progress, no protected folders, no error handling beyond leaving what fails. Every cheaper
// check tried deleted a link's target under Wine 8.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/LateBound.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

#include <winternl.h>

namespace bench {

namespace lean {

using CreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                      ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using QueryObjectFn = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
using QueryInformationFileFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);

struct Calls {
    CreateFileFn createFile;
    QueryObjectFn queryObject;
    QueryInformationFileFn queryInformationFile;
};

inline const Calls& Nt() {
    static const Calls calls = [] {
        const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        Calls nt{};
        win32::Resolve(ntdll, "NtCreateFile", nt.createFile);
        win32::Resolve(ntdll, "NtQueryObject", nt.queryObject);
        win32::Resolve(ntdll, "NtQueryInformationFile", nt.queryInformationFile);
        return nt;
    }();
    return calls;
}

inline bool NameIs(HANDLE handle, const std::wstring& expected) {
    thread_local std::vector<std::uint64_t> buffer(8 * 1024);
    ULONG needed = 0;
    if (Nt().queryObject(handle, 1 /* ObjectNameInformation */, buffer.data(),
                         static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)), &needed) < 0) {
        return false;
    }
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    return std::wstring_view(name->Buffer, name->Length / sizeof(wchar_t)) == expected;
}

inline HANDLE OpenChild(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG options) {
    UNICODE_STRING objectName;
    objectName.Buffer = const_cast<PWSTR>(name.c_str());
    objectName.Length = objectName.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE opened = nullptr;
    constexpr ULONG kOpen = 1, kSynchronousIo = 0x20, kForBackup = 0x4000, kReparsePoint = 0x200000;
    if (Nt().createFile(&opened, access, &attributes, &io, nullptr, 0, share, kOpen,
                        options | kReparsePoint | kForBackup | kSynchronousIo, nullptr, 0) < 0) {
        return nullptr;
    }
    return opened;
}

inline void DeleteThrough(HANDLE handle) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    ::SetFileInformationByHandle(handle, FileDispositionInfo, &dispose, sizeof(dispose));
}

struct Entry {
    std::wstring name;
    DWORD attributes;
    std::uint64_t fileId;
};

inline std::vector<Entry> List(HANDLE folder) {
    std::vector<std::uint64_t> buffer(64 * 1024 / sizeof(std::uint64_t));
    std::vector<Entry> entries;
    for (FILE_INFO_BY_HANDLE_CLASS query = FileIdBothDirectoryRestartInfo;; query = FileIdBothDirectoryInfo) {
        if (!::GetFileInformationByHandleEx(folder, query, buffer.data(),
                                            static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t)))) {
            return entries;
        }
        for (const char* bytes = reinterpret_cast<const char*>(buffer.data());;) {
            const auto* found = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes);
            std::wstring name(found->FileName, found->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                entries.push_back({std::move(name), found->FileAttributes,
                                   static_cast<std::uint64_t>(found->FileId.QuadPart)});
            }
            if (found->NextEntryOffset == 0) break;
            bytes += found->NextEntryOffset;
        }
    }
}

// Empties the folder open as `folder`, whose object name is `ntPath`; with remove false, opens
// and checks every entry as for its deletion and deletes nothing (the least a preview does).
inline void Empty(HANDLE folder, const std::wstring& ntPath, bool remove) {
    constexpr ULONG kDirectory = 0x1, kNonDirectory = 0x40;
    for (const Entry& entry : List(folder)) {
        const std::wstring path = ntPath + L"\\" + entry.name;
        const bool isFolder = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                              (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
        if (isFolder) {
            // Held without FILE_SHARE_DELETE while emptied, so that it cannot be swapped for a link.
            const auto open = [&](ACCESS_MASK access) {
                win32::KernelHandle child(
                    OpenChild(folder, entry.name, access | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, kDirectory));
                IO_STATUS_BLOCK io{};
                LARGE_INTEGER index{};
                if (child && (Nt().queryInformationFile(child.Get(), &io, &index, sizeof(index), 6 /* Internal */) < 0 ||
                              static_cast<std::uint64_t>(index.QuadPart) != entry.fileId)) {
                    child.Reset();
                }
                return child;
            };
            if (win32::KernelHandle child = open(FILE_LIST_DIRECTORY | FILE_TRAVERSE)) {
                Empty(child.Get(), path, remove);
            } else {
                continue;
            }
            if (remove) {
                if (const win32::KernelHandle removed = open(DELETE)) DeleteThrough(removed.Get());
            }
        } else {
            const bool isFile = (entry.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
            const win32::KernelHandle child(OpenChild(folder, entry.name, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                      isFile ? kNonDirectory : 0));
            if (child && NameIs(child.Get(), path) && remove) DeleteThrough(child.Get());
        }
    }
}

}  // namespace lean

// Empties a folder given by its path ("C:\...") as the lean sound walk does; with remove
// false, only opens and checks.
inline void LeanWalk(const std::wstring& folder, bool remove = true) {
    const win32::KernelHandle top(::CreateFileW(folder.c_str(),
                                                FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!top) return;
    // Its object name ("\??\C:\..."), from which every child's expected name is built.
    std::vector<std::uint64_t> buffer(8 * 1024);
    ULONG needed = 0;
    if (lean::Nt().queryObject(top.Get(), 1, buffer.data(), static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)),
                               &needed) < 0) {
        return;
    }
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    lean::Empty(top.Get(), std::wstring(name->Buffer, name->Length / sizeof(wchar_t)), remove);
}

}  // namespace bench
