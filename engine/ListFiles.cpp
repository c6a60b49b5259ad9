#include "engine/ListFiles.h"

#include <vector>

#include "platform/Ports.h"
#include "platform/Text.h"
#include "settings/CsdlConstants.h"
#include "settings/INISettings.h"

namespace engine {

using platform::FileEntry;
using platform::FsError;

DeleteTally& DeleteTally::operator+=(const DeleteTally& other) {
    removedItems += other.removedItems;
    removedBytes += other.removedBytes;
    keptItems += other.keptItems;
    keptBytes += other.keptBytes;
    return *this;
}

namespace {

// Read-only items are removed only when forced, as the shell removes them and a plain
// folder deletion does not.
enum class Force { kNo, kYes };

bool ClearReadOnly(const std::string& path, std::uint32_t attributes) {
    return platform::Files().SetAttributes(path, attributes & ~platform::kAttrReadOnly);
}

void RemoveEntry(const std::string& folder, const FileEntry& entry, Force force, DeleteTally& tally);

// Removes what a folder holds, then the folder.
void RemoveTree(const std::string& path, std::uint32_t attributes, Force force, DeleteTally& tally) {
    if (const auto entries = platform::Files().ListFolder(path)) {
        for (const FileEntry& entry : *entries) RemoveEntry(path, entry, force, tally);
    }
    if ((attributes & platform::kAttrReadOnly) != 0) {
        if (force == Force::kNo) return;
        ClearReadOnly(path, attributes);
    }
    if (platform::Files().RemoveFolder(path) == FsError::kNone) ++tally.removedItems;
}

void RemoveFile(const std::string& path, const FileEntry& entry, Force force, DeleteTally& tally) {
    if (entry.Has(platform::kAttrReadOnly)) {
        if (force == Force::kNo) return;
        ClearReadOnly(path, entry.attributes);
    }
    if (platform::Files().DeleteFile(path) == FsError::kNone) {
        ++tally.removedItems;
        tally.removedBytes += entry.size;
    } else if (entry.Has(platform::kAttrReadOnly)) {
        platform::Files().SetAttributes(path, entry.attributes);  // leave it as it was found
    }
}

void RemoveEntry(const std::string& folder, const FileEntry& entry, Force force, DeleteTally& tally) {
    const std::string path = text::JoinPath(folder, entry.name);
    if (entry.IsReparsePoint()) {
        // The link itself, never what it leads to.
        const FsError result = entry.IsDirectory() ? platform::Files().RemoveFolder(path)
                                                   : platform::Files().DeleteFile(path);
        if (result == FsError::kNone) ++tally.removedItems;
    } else if (entry.IsDirectory()) {
        RemoveTree(path, entry.attributes, force, tally);
    } else {
        RemoveFile(path, entry, force, tally);
    }
}

bool HasWildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

// The parent folder of a path, a root keeping its backslash.
std::string FolderOf(const std::string& path) {
    std::string folder(text::ParentOf(path));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

// What is left below a folder: files and links, and folders that hold nothing left.
void CountRemains(const std::string& folder, DeleteTally& tally) {
    const auto entries = platform::Files().ListFolder(folder);
    if (!entries) return;
    for (const FileEntry& entry : *entries) {
        const std::string path = text::JoinPath(folder, entry.name);
        if (entry.IsDirectory() && !entry.IsReparsePoint()) {
            const std::uint64_t before = tally.keptItems;
            CountRemains(path, tally);
            if (tally.keptItems == before) ++tally.keptItems;
        } else {
            ++tally.keptItems;
            if (!entry.IsDirectory()) tally.keptBytes += entry.size;
        }
    }
}

}  // namespace

void ShellDelete(const std::string& path) {
    DeleteTally ignored;
    ShellDelete(path, ignored);
}

void ShellDelete(const std::string& path, DeleteTally& tally) {
    const std::string_view name = text::FileNameOf(path);
    if (HasWildcard(name)) {
        const std::string folder = FolderOf(path);
        const auto entries = platform::Files().ListFolder(folder);
        if (!entries) return;
        for (const FileEntry& entry : *entries) {
            if (text::WildcardMatch(name, entry.name)) RemoveEntry(folder, entry, Force::kYes, tally);
        }
        return;
    }
    // One path: its attributes say what it is; its size is not needed outside a purge.
    const auto attributes = platform::Files().Attributes(path);
    if (!attributes || name.empty()) return;
    RemoveEntry(FolderOf(path), FileEntry{std::string(name), 0, *attributes}, Force::kYes, tally);
}

bool DeleteFilesInTree(const std::string& folder, bool recurse, DeleteTally& tally) {
    const auto entries = platform::Files().ListFolder(folder);
    if (!entries) return false;
    for (const FileEntry& entry : *entries) {
        if (!entry.IsDirectory()) RemoveEntry(folder, entry, Force::kYes, tally);
    }
    if (recurse) {
        for (const FileEntry& entry : *entries) {
            if (entry.IsDirectory() && !entry.IsReparsePoint()) {
                DeleteFilesInTree(text::JoinPath(folder, entry.name), true, tally);
            }
        }
    }
    return true;
}

bool IsPurgeableBase(const std::string& folder) {
    if (folder.size() < 3) return false;  // "", "0", "\", "C:" and the like
    const bool drivePath = std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' &&
                           (folder[2] == '\\' || folder[2] == '/');
    const bool share = text::StartsWith(folder, "\\\\") && folder.size() > 2 && folder[2] != '\\' &&
                       folder[2] != '?' && folder[2] != '.';
    return drivePath || share;
}

void PurgeFolderContents(const std::string& folder, DeleteTally& tally) {
    if (!IsPurgeableBase(folder)) return;
    const std::string base = text::WithTrailingBackslash(folder);
    // Pass 1: everything that can go.
    ShellDelete(base + "*.*", tally);
    // Pass 2: what remains of each subfolder, read-only items spared.
    if (const auto entries = platform::Files().ListFolder(base)) {
        for (const FileEntry& entry : *entries) {
            if (entry.IsDirectory()) RemoveEntry(base, entry, Force::kNo, tally);
        }
    }
    // Pass 3: every file still there, one by one.
    DeleteFilesInTree(base, true, tally);
    CountRemains(base, tally);
}

namespace {
bool MayPurge(const std::string& folder) {
    return IsPurgeableBase(folder) && settings::CheckUserFolder(folder) == settings::FolderVerdict::kAllowed;
}
}  // namespace

void PurgeTempFolder(DeleteTally& tally) {
    const std::string temp = settings::TempFolder();
    if (MayPurge(temp)) PurgeFolderContents(temp, tally);
}

void PurgeUserFolder(DeleteTally& tally) {
    const std::string user = settings::ReadINI(settings::IniFilePath(), "User", "sFile0", "0");
    if (MayPurge(user)) PurgeFolderContents(user, tally);
}

}  // namespace engine
