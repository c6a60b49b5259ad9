#pragma once
// Files and folders by absolute path (Windows form, UTF-8). The real adapter reaches paths
// longer than 260 characters and Unicode names.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// File attributes, with the platform's bit values.
enum FileAttribute : std::uint32_t {
    kAttrReadOnly = 0x1,
    kAttrHidden = 0x2,
    kAttrSystem = 0x4,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrNormal = 0x80,
    kAttrReparsePoint = 0x400,
};

struct FileEntry {
    std::string name;  // the name only, never "." or ".."
    std::uint64_t size = 0;
    std::uint32_t attributes = 0;

    bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
    bool IsReparsePoint() const { return (attributes & kAttrReparsePoint) != 0; }
    bool Has(std::uint32_t attr) const { return (attributes & attr) != 0; }
};

// Why a file operation failed, as far as the caller needs to know.
enum class FsError {
    kNone,
    kNotFound,
    kAccessDenied,
    kInUse,  // sharing violation: another process holds the file open
    kOther,
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole content, or nullopt when the file is missing or cannot be read (locked,
    // denied) or is larger than maxBytes.
    virtual std::optional<std::string> ReadWholeFile(const std::string& path,
                                                     std::uint64_t maxBytes) = 0;
    // Writes the content to a temporary file beside the target, then renames it over the
    // target. The old file stays whole when anything fails.
    virtual bool ReplaceWholeFile(const std::string& path, std::string_view content) = 0;

    // Attributes of a file or folder; nullopt when it does not exist.
    virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
    bool Exists(const std::string& path) { return Attributes(path).has_value(); }
    // false for a link: through it the attributes would land on its target.
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

    // The entries directly in a folder; nullopt when the folder cannot be listed.
    virtual std::optional<std::vector<FileEntry>> ListFolder(const std::string& folder) = 0;

    // A read-only file or a folder: kAccessDenied; a file held open elsewhere: kInUse.
    virtual FsError DeleteFile(const std::string& path) = 0;
    // Removes an empty folder, or a reparse point (the link, never its target). A folder with
    // entries: kOther; a read-only folder: kAccessDenied. Where the platform cannot remove a link
    // without reaching its target (a Unix link under Wine), kAccessDenied and both stay.
    virtual FsError RemoveFolder(const std::string& path) = 0;
    virtual FsError CreateFolder(const std::string& path) = 0;
    virtual FsError MoveFile(const std::string& from, const std::string& to) = 0;

    // GetFullPathName: absolute form with "." and ".." resolved and "/" read as "\".
    virtual std::string FullPath(const std::string& path) = 0;
    // GetLongPathName: short 8.3 components expanded; the path unchanged when it does not
    // exist.
    virtual std::string LongPath(const std::string& path) = 0;
};

}  // namespace platform
