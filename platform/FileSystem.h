#pragma once
// Files and folders by absolute path (Windows form, UTF-8), and deletion through handles. The
// real adapter reaches paths longer than 260 characters and Unicode names.
#include <cstdint>
#include <functional>
#include <memory>
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
    std::uint64_t fileId = 0;  // as a listing from a FolderHandle reports it; 0 from ListFolder
    // When it was last written, UTC in 100-ns units since 1601 (a FILETIME, comparable with
    // Environment::FileTimeNow); 0 when the listing did not say.
    std::uint64_t lastWrite = 0;

    bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
    bool IsReparsePoint() const { return (attributes & kAttrReparsePoint) != 0; }
    bool Has(std::uint32_t attr) const { return (attributes & attr) != 0; }
};

// Why a file operation failed, as far as the caller needs to know, and the platform's own code
// for it (an NTSTATUS or a Win32 error; 0 where the platform gave none), for the record. It
// compares, and switches, as its kind.
class FsError {
public:
    enum Kind {
        kNone,
        kNotFound,
        kAccessDenied,
        kInUse,  // sharing violation: another process holds the file open
        kLink,   // a link where the platform cannot remove it without reaching what it leads to
        kOther,
    };
    constexpr FsError(Kind kind = kNone, std::uint32_t code = 0) : kind_(kind), code_(code) {}
    constexpr operator Kind() const { return kind_; }
    constexpr std::uint32_t Code() const { return code_; }

private:
    Kind kind_;
    std::uint32_t code_;
};

// What a file or folder is, whatever path reached it: its volume and its file id there.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// How a folder is held open. To be emptied (a clean): others may read it and write in it, but not
// rename or delete it while the walk is in it. Only to look (a preview): others may do anything
// with it meanwhile, and nothing can be deleted through the handle. Either way a handle holds the
// folder only to list it: the right to delete a folder is taken for its removal alone.
enum class FolderUse { kEmpty, kLook };

// A folder held open: listed, entered and emptied through its handle, never through a path, so
// that nothing renamed or swapped for a link after the listing can redirect a deletion. Every
// child is opened relative to this folder without following a link and checked on the handle
// that deletes it: where the platform does not mark links (Unix links under Wine), the handle's
// final path must be this folder's followed by the name.
class FolderHandle {
public:
    virtual ~FolderHandle() = default;

    // nullopt when the folder cannot be listed.
    virtual std::optional<std::vector<FileEntry>> List() = 0;
    virtual FileIdentity Identity() = 0;

    struct Opened {
        std::unique_ptr<FolderHandle> folder;  // null when error says why
        FsError error = FsError::kNone;        // kLink: a link stands there now
    };
    // A subfolder as this folder's listing showed it, held for the same use: still that folder,
    // and no link (an entry the listing marks as a link is not opened: kLink).
    virtual Opened OpenFolder(const FileEntry& entry) = 0;
    // Deletes a file, or a link of either kind as a link. A real folder is refused (kOther); a
    // read-only file loses its mark first and gets it back when it stays, or when it keeps
    // other names (hard links), which keep their mark and content. Held to look: kAccessDenied.
    virtual FsError DeleteEntry(const FileEntry& entry) = 0;
    // What DeleteEntry of a folder held to empty would answer, through the same open and the
    // same checks, deleting and changing nothing and keeping nothing open after it (a preview of
    // a clean decides as the clean does).
    virtual FsError CheckEntry(const FileEntry& entry) = 0;
    // Removes the subfolder the listing showed as entry, emptied by now through a handle that
    // found it to be `identity` and closed since: it is opened anew relative to this folder with
    // the right to delete, for the removal only, and removed only while it is still that folder
    // (kLink when something else stands there now). Not empty: kOther; held open by another
    // program that does not share its deletion: kInUse. A read-only folder loses its mark first
    // and gets it back when it stays. Held to look: kAccessDenied.
    virtual FsError RemoveFolder(const FileEntry& entry, const FileIdentity& identity) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole content, or nullopt when the file is missing or cannot be read (locked,
    // denied) or is larger than maxBytes.
    virtual std::optional<std::string> ReadWholeFile(const std::string& path,
                                                     std::uint64_t maxBytes) = 0;
    // Writes the content to a temporary file beside the target ("<name>.<process id>-<n>.tmp"),
    // then renames it over the target. The old file stays whole when anything fails, and the
    // answer says why (kAccessDenied for a read-only target or a folder that may not be written,
    // kInUse for a target another program holds, kNotFound for a missing folder), with the
    // platform's code; kNone once written. Temporary files that earlier writers left beside the
    // target (their process ended before the rename) are removed first.
    virtual FsError TryReplaceWholeFile(const std::string& path, std::string_view content) = 0;
    // The same, answering only whether the file was written.
    bool ReplaceWholeFile(const std::string& path, std::string_view content) {
        return TryReplaceWholeFile(path, content) == FsError::kNone;
    }
    // Adds the content at the end of the file in one write, creating the file when it is
    // missing (never its folder); others may read and append meanwhile. The file's size after
    // the write, or nullopt when nothing was written: the file is locked, read-only or a folder,
    // or a link to a file stands at the path or the file has another name (the write would land
    // in a file elsewhere).
    virtual std::optional<std::uint64_t> AppendToFile(const std::string& path, std::string_view content) = 0;

    // Attributes of a file or folder; nullopt when it does not exist.
    virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
    bool Exists(const std::string& path) { return Attributes(path).has_value(); }

    // The entries directly in a folder; nullopt when the folder cannot be listed.
    virtual std::optional<std::vector<FileEntry>> ListFolder(const std::string& folder) = 0;

    virtual FsError CreateFolder(const std::string& path) = 0;
    virtual FsError MoveFile(const std::string& from, const std::string& to) = 0;

    // GetFullPathName: absolute form with "." and ".." resolved and "/" read as "\".
    virtual std::string FullPath(const std::string& path) = 0;

    // What a path names, links and drive letters followed: its identity, and the folder that
    // holds it as reached from what it is ("" at the top). nullopt when it cannot be opened.
    struct Identified {
        FileIdentity identity;
        std::string parent;
    };
    virtual std::optional<Identified> Identify(const std::string& path) = 0;
    // What a path names with its last component as it stands (a link as the link itself, where
    // the platform opens one so; under Wine a Unix link opens as what it leads to), the folders
    // on the way followed: its identity and attributes. nullopt when it cannot be opened.
    struct Item {
        FileIdentity identity;
        std::uint32_t attributes = 0;
    };
    virtual std::optional<Item> IdentifyItself(const std::string& path) = 0;

    // Opens a folder (links followed: the caller names it) for listing, and emptying when that is
    // its use; null when it is no folder (kOther) or cannot be opened, and why into *why when
    // asked. The folder itself never goes.
    virtual std::unique_ptr<FolderHandle> OpenFolder(const std::string& path, FolderUse use, FsError* why = nullptr) = 0;

    // Whether another program holds a file open so that it cannot be opened for reading
    // (kRead) or for deletion (kDelete): the file is opened with that access and every sharing
    // mode and closed at once, changing nothing. kNone: it opened; kInUse: another program's
    // open forbids that access; kNotFound: nothing is there; anything else as it failed.
    enum class OpenIntent { kRead, kDelete };
    virtual FsError TryOpen(const std::string& path, OpenIntent intent) = 0;

    // What a name of the DOS device namespace ("C:", "Volume{...}") stands for in the NT
    // namespace, as QueryDosDevice answers ("\Device\HarddiskVolume1"; "\??\C:\Folder" for a
    // drive that subst made); nullopt when it names nothing.
    virtual std::optional<std::string> DosDevice(std::string_view name) = 0;
    // PlainPath (below) with this file system's devices.
    std::optional<std::string> PlainPath(std::string_view path);
};

// A path written through the device or NT namespaces, in the form of the drive path or share it
// names: "\\.\C:\x", "\??\C:\x", "\\?\C:\x", "\\?\GLOBALROOT\??\C:\x",
// "\\?\GLOBALROOT\Device\HarddiskVolume1\x" and "\\?\Volume{...}\x" give "C:\x" (a bare
// "\\.\C:" its root), "\\.\UNC\server\share" and "\\?\GLOBALROOT\Device\Mup\server\share"
// give "\\server\share"; "/" reads as "\". Any other path comes back as it is. nullopt for a
// path of those namespaces that names no drive path or share: a disk or a pipe, "\\?\unix\...".
std::optional<std::string> PlainPath(std::string_view path,
                                     const std::function<std::optional<std::string>(std::string_view)>& deviceOf);

// The process that wrote a temporary file of ReplaceWholeFile beside the file targetName, read
// from the temporary file's name; nullopt for any other name.
std::optional<std::uint32_t> TemporaryFileWriter(std::string_view name, std::string_view targetName);

}  // namespace platform
