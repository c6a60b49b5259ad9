#pragma once
// Deletion: one path, a folder tree, and the purge that empties a folder but keeps it.
// Everything is permanent, never asks, never follows a link (junction, symbolic link, mount
// point: the link itself goes, what it points at stays), and goes on after a failure.
#include <cstdint>
#include <string>

namespace engine {

// What a deletion removed, and what it found it could not remove.
struct DeleteTally {
    std::uint64_t removedItems = 0;
    std::uint64_t removedBytes = 0;
    std::uint64_t keptItems = 0;
    std::uint64_t keptBytes = 0;

    DeleteTally& operator+=(const DeleteTally& other);
};

// Removes a file, a folder with everything in it, or the entries of a folder that match a
// pattern ("folder\*.*": every file and folder in it). Read-only items go too.
void ShellDelete(const std::string& path);
void ShellDelete(const std::string& path, DeleteTally& tally);

// Shell-deletes every file of a folder and, with recurse, of its subfolders (links are not
// followed). False, and nothing deleted, when the folder cannot be opened.
bool DeleteFilesInTree(const std::string& folder, bool recurse, DeleteTally& tally);

// Whether a path may be purged at all: absolute (a drive path or a share), not empty, not the
// unset value "0" and not a lone separator.
bool IsPurgeableBase(const std::string& folder);

// Empties a folder in three passes, each on what the one before left: everything it can
// remove; what remains of each subfolder, read-only items spared; then every file still there,
// one by one. The folder itself stays. What remains afterwards is counted as kept.
void PurgeFolderContents(const std::string& folder, DeleteTally& tally);

// The purge of the Temp folder (the environment variable Temp) and of the user folder (as
// stored in Clean.ini at the moment of the call). A base that is not purgeable, the root of
// drive C: or a protected system folder (or one that holds such a folder) is passed over; the
// root of another drive is purged like any folder.
void PurgeTempFolder(DeleteTally& tally);
void PurgeUserFolder(DeleteTally& tally);

}  // namespace engine
