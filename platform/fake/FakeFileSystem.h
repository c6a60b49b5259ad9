#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace fake {

// An in-memory file system with drive letters, attributes, open-file locks and links, answering
// the way Windows does. Paths are matched without regard to case. Every file and folder has an
// identity of its own; a drive letter can stand for a folder (as subst makes one), and
// "\\localhost\c$\..." and "\\127.0.0.1\c$\..." name this machine's drives.
class FakeFileSystem : public platform::FileSystem {
public:
    enum class Lock {
        kNone,
        kInUse,      // open by another process: reads work, delete and replace fail
        kExclusive,  // open without sharing: reads fail too
    };
    // The one process id a leftover temporary file of ReplaceWholeFile may name and still be
    // running; any other is over.
    static constexpr unsigned kRunningProcess = 4;

    FakeFileSystem();  // drive C: exists

    // Set-up helpers for tests; each creates the missing parent folders.
    void AddDrive(char letter);
    void AddFolder(const std::string& path, std::uint32_t attributes = 0);
    void AddFile(const std::string& path, const std::string& content = {}, std::uint32_t attributes = 0);
    // A folder link at path that leads to target (a folder elsewhere in the fake): listed as a
    // reparse point, removed as a link.
    void AddLink(const std::string& path, const std::string& target);
    // A link to a file that looks like the file itself, as a Unix link does under Wine: listed
    // as a plain file, and no handle can tell it from its target, so it cannot be deleted.
    void AddFileLink(const std::string& path, const std::string& target);
    // Another name of the file target (a hard link): the two share content, attributes and
    // identity, and the file goes with its last name.
    void AddHardLink(const std::string& path, const std::string& target);
    // From now on the drive letter stands for the folder.
    void MapDrive(char letter, const std::string& folder);
    // Removes a file, a link or a folder with everything below it, as another program would.
    void Erase(const std::string& path);
    void SetAttributes(const std::string& path, std::uint32_t attributes);
    // When the item was last written (a FILETIME), as its listing reports it.
    void SetWriteTime(const std::string& path, std::uint64_t fileTime);
    void SetLock(const std::string& path, Lock lock);
    void SetCurrentFolder(const std::string& folder) { currentFolder_ = folder; }
    // When set, writes fail (a full disk or a read-only medium).
    void SetWritesFail(bool fail) { writesFail_ = fail; }
    // From now on the platform refuses the item at path with this error (a damaged disk, say):
    // a folder handle's deletion of it fails so, and a folder opens but cannot be listed.
    void FailWith(const std::string& path, platform::FsError error) { failures_[Resolve(path, true)] = error; }
    // Called with a child's path just before a folder handle opens it: lets a test change the
    // world under a walk, as a program racing it would.
    std::function<void(const std::string& path)> beforeOpen;

    // Whether another program could open the item now, and close it at once: to read it, sharing
    // only reading, or (toDelete) to delete or rename it, sharing everything. A folder that a
    // handle of ours holds to be emptied, or that is the current folder, is kept from the latter.
    bool OpensAsAnotherProgram(const std::string& path, bool toDelete) const;

    std::optional<std::string> Content(const std::string& path) const;
    // Every path below a folder (files and folders), as stored, in sorted order.
    std::vector<std::string> Tree(const std::string& folder) const;
    std::vector<std::string> Drives() const;

    std::optional<std::string> ReadWholeFile(const std::string& path, std::uint64_t maxBytes) override;
    platform::FsError TryReplaceWholeFile(const std::string& path, std::string_view content) override;
    std::optional<std::uint64_t> AppendToFile(const std::string& path, std::string_view content) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    std::optional<std::vector<platform::FileEntry>> ListFolder(const std::string& folder) override;
    platform::FsError CreateFolder(const std::string& path) override;
    platform::FsError MoveFile(const std::string& from, const std::string& to) override;
    std::string FullPath(const std::string& path) override;
    std::optional<Identified> Identify(const std::string& path) override;
    // A folder link as itself; a file link, which no handle tells from its target, as the target.
    std::optional<Item> IdentifyItself(const std::string& path) override;
    std::unique_ptr<platform::FolderHandle> OpenFolder(const std::string& path, platform::FolderUse use,
                                                       platform::FsError* why = nullptr) override;
    // A file locked kInUse cannot be opened for deletion, one locked kExclusive not at all.
    platform::FsError TryOpen(const std::string& path, OpenIntent intent) override;
    // A drive is the volume "\Device\HarddiskVolume<n>", C: the first; a mapped drive names its
    // folder as subst does ("\??\C:\Folder").
    std::optional<std::string> DosDevice(std::string_view name) override { return DeviceOf(name); }

private:
    friend class FakeFolderHandle;

    struct Node {
        std::string path;  // full path with the letter case it was created with
        bool isFolder = false;
        std::string content;
        std::uint32_t attributes = 0;
        Lock lock = Lock::kNone;
        std::string linkTarget;  // key of what a link leads to
        std::uint64_t id = 0;
        std::uint64_t lastWrite = 0;

        bool Has(std::uint32_t attr) const { return (attributes & attr) != 0; }
        bool IsLink() const { return !linkTarget.empty(); }
    };

    // Normalised absolute path ("C:\A\B", "C:\" for a root), or "" when not absolute.
    std::string Normalise(const std::string& path) const;
    std::optional<std::string> DeviceOf(std::string_view name) const;
    static std::string Key(const std::string& normalised);
    // Follows mapped drives, and links in every component but the last one when keepLast is true.
    std::string Resolve(const std::string& path, bool keepLast) const;
    Node* Find(const std::string& key);
    const Node* Find(const std::string& key) const;
    bool HasChildren(const std::string& key) const;
    // How many names the file of this identity has.
    int NamesOf(std::uint64_t id) const;
    void Insert(const std::string& normalised, Node node);
    // The entry a listing shows for a node: a file link shows what it leads to.
    platform::FileEntry EntryOf(const Node& node) const;
    void RemoveLeftoversBeside(const std::string& key);

    std::map<std::string, Node> nodes_;  // by Key()
    std::map<char, std::string> mappedDrives_;  // letter -> key of the folder
    std::map<std::string, platform::FsError> failures_;  // by key
    std::map<std::string, int> heldAgainstDeletion_;     // folders our handles hold to empty, by key
    std::string currentFolder_ = "C:\\";
    bool writesFail_ = false;
    std::uint64_t nextId_ = 1;
};

}  // namespace fake
