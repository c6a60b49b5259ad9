#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace win32 {

// Files and folders through the wide-character API with long-path prefixes, so that Unicode
// names and paths longer than 260 characters are reached like any other. Folder handles open
// children relative to themselves through ntdll's NtCreateFile (looked up at run time).
class Win32FileSystem : public platform::FileSystem {
public:
    std::optional<std::string> ReadWholeFile(const std::string& path, std::uint64_t maxBytes) override;
    platform::FsError TryReplaceWholeFile(const std::string& path, std::string_view content) override;
    std::optional<std::uint64_t> AppendToFile(const std::string& path, std::string_view content) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    std::optional<std::vector<platform::FileEntry>> ListFolder(const std::string& folder) override;
    platform::FsError CreateFolder(const std::string& path) override;
    platform::FsError MoveFile(const std::string& from, const std::string& to) override;
    std::string FullPath(const std::string& path) override;
    std::optional<Identified> Identify(const std::string& path) override;
    std::optional<Item> IdentifyItself(const std::string& path) override;
    std::unique_ptr<platform::FolderHandle> OpenFolder(const std::string& path, platform::FolderUse use,
                                                       platform::FsError* why = nullptr) override;
    platform::FsError TryOpen(const std::string& path, OpenIntent intent) override;
    std::optional<std::string> DosDevice(std::string_view name) override;
};

// The form every file operation passes to Windows: the full path behind "\\?\" (a drive path)
// or "\\?\UNC\" (a network path), device, NT and GLOBALROOT spellings read as the path they
// name (platform::PlainPath). nullopt for a path that must not be touched: an empty one, or one
// that names a device or reaches past the drive letters ("\\.\PhysicalDrive0", "\\?\unix\"...).
std::optional<std::wstring> ApiPath(std::string_view path);

}  // namespace win32
