#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace fake {

// An in-memory file system with drive letters, attributes, open-file locks and links
// (reparse points), answering the way Windows does. Paths are matched without regard to case.
class FakeFileSystem : public platform::FileSystem {
public:
    enum class Lock {
        kNone,
        kInUse,      // open by another process: reads work, delete and replace fail
        kExclusive,  // open without sharing: reads fail too
    };

    FakeFileSystem();  // drive C: exists

    // Set-up helpers for tests; each creates the missing parent folders.
    void AddDrive(char letter);
    void AddFolder(const std::string& path, std::uint32_t attributes = 0);
    void AddFile(const std::string& path, const std::string& content = {}, std::uint32_t attributes = 0);
    // A folder link at path that leads to target (a folder elsewhere in the fake).
    void AddLink(const std::string& path, const std::string& target);
    void SetLock(const std::string& path, Lock lock);
    // Makes LongPath expand shortPath (a full path) to longPath.
    void AddShortName(const std::string& shortPath, const std::string& longPath);
    void SetCurrentFolder(const std::string& folder) { currentFolder_ = folder; }
    // When set, writes fail (a full disk or a read-only medium).
    void SetWritesFail(bool fail) { writesFail_ = fail; }

    std::optional<std::string> Content(const std::string& path) const;
    // Every path below a folder (files and folders), as stored, in sorted order.
    std::vector<std::string> Tree(const std::string& folder) const;
    std::vector<std::string> Drives() const;

    std::optional<std::string> ReadWholeFile(const std::string& path, std::uint64_t maxBytes) override;
    bool ReplaceWholeFile(const std::string& path, std::string_view content) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    std::optional<std::vector<platform::FileEntry>> ListFolder(const std::string& folder) override;
    platform::FsError DeleteFile(const std::string& path) override;
    platform::FsError RemoveFolder(const std::string& path) override;
    platform::FsError CreateFolder(const std::string& path) override;
    platform::FsError MoveFile(const std::string& from, const std::string& to) override;
    std::string FullPath(const std::string& path) override;
    std::string LongPath(const std::string& path) override;

private:
    struct Node {
        std::string path;  // full path with the letter case it was created with
        bool isFolder = false;
        std::string content;
        std::uint32_t attributes = 0;
        Lock lock = Lock::kNone;
        std::string linkTarget;  // key of the target folder for a link

        bool Has(std::uint32_t attr) const { return (attributes & attr) != 0; }
    };

    // Normalised absolute path ("C:\A\B", "C:\" for a root), or "" when not absolute.
    std::string Normalise(const std::string& path) const;
    static std::string Key(const std::string& normalised);
    // Follows links in every component but the last one when keepLast is true.
    std::string Resolve(const std::string& path, bool keepLast) const;
    Node* Find(const std::string& key);
    const Node* Find(const std::string& key) const;
    bool HasChildren(const std::string& key) const;
    void Insert(const std::string& normalised, Node node);

    std::map<std::string, Node> nodes_;  // by Key()
    std::map<std::string, std::string> shortNames_;
    std::string currentFolder_ = "C:\\";
    bool writesFail_ = false;
};

}  // namespace fake
