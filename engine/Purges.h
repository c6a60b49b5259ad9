#pragma once
// Deletion: one path or pattern, and the purge that empties a folder but keeps it. Everything is
// permanent, never asks, goes through the handle walk of DeleteWalk.h (never through a link:
// junction, symbolic link, mount point or Unix link; the link itself goes where the platform
// allows it, what it points at stays), and goes on after a failure.
#include <string>

#include "engine/DeleteWalk.h"
#include "platform/Ports.h"
#include "settings/KnownFolders.h"

namespace engine {

// Removes a file, a folder with everything in it, or the entries of a folder that match a
// pattern ("folder\*.*": every file and folder in it). Read-only items go too.
void ShellDelete(platform::FileSystem& files, const std::string& path);
void ShellDelete(platform::FileSystem& files, const std::string& path, DeleteTally& tally);

// Whether a path may be purged at all: absolute (a drive path or a share, in any spelling of
// the device or NT namespaces), not empty, not the unset value "0" and not a lone separator.
bool IsPurgeableBase(platform::FileSystem& files, const std::string& folder);

// Empties a folder and keeps it: everything that can be removed goes, read-only items included;
// a read-only folder that stays keeps its mark. The folder is opened once and decided on by what
// it is (settings::ProtectedIdentities): a drive root of C: or a protected folder, in any
// spelling, is not purged. Where the walk meets the program's own folder, the program's files
// stay. A folder that is not purged at all counts in tally.foldersNotCleaned. With progress, what
// goes is reported there as it goes, and a stop it asks for ends the purge after the item in hand
// (tally.stopped); asked before, the folder is not even opened.
// In preview mode it deletes nothing and counts what it would delete. With keep, what it keeps
// back stays (a folder that is a kept path or lies in one keeps everything) and is counted so.
void PurgeFolderContents(const platform::Ports& ports, const std::string& folder, DeleteTally& tally, CleanProgress* progress = nullptr,
                         CleanMode mode = CleanMode::kClean, const KeepBack* keep = nullptr);

// The same purge of a folder found earlier by handle (a browser's cache folder, which was no
// link when found): purged only while its path still leads to the folder it was, by identity,
// and decided on with protected folders read once by the caller for all its folders.
void PurgeFoundFolder(const platform::Ports& ports, const settings::ProtectedIdentities& protectedFolders,
                      const std::string& folder, const platform::FileIdentity& found, DeleteTally& tally,
                      CleanProgress* progress = nullptr, CleanMode mode = CleanMode::kClean,
                      const KeepBack* keep = nullptr);

}  // namespace engine
