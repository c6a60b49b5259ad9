#include "engine/Purges.h"

#include <cctype>

#include "engine/KeptBack.h"
#include "platform/Ports.h"
#include "platform/Text.h"
#include "settings/KnownFolders.h"

namespace engine {

using platform::FileEntry;

namespace {

std::optional<OwnFiles> ProgramsOwnFiles(const platform::Ports& ports) {
    const auto found = ports.fileSystem->Identify(settings::AppFolder(*ports.environment));
    if (!found) return std::nullopt;
    return OwnFiles{found->identity};
}

}  // namespace

void ShellDelete(platform::FileSystem& files, const std::string& path) {
    DeleteTally ignored;
    ShellDelete(files, path, ignored);
}

void ShellDelete(platform::FileSystem& files, const std::string& path, DeleteTally& tally) {
    const std::string pattern(text::FileNameOf(path));
    if (pattern.empty()) return;
    const std::string folderPath = text::FolderOf(path);
    const auto folder = files.OpenFolder(folderPath, platform::FolderUse::kEmpty);
    if (!folder) return;
    RemoveEntries(
        *folder, folderPath, [&](const FileEntry& entry) { return text::WildcardMatch(pattern, entry.name); },
        std::nullopt, tally);
}

bool IsPurgeableBase(platform::FileSystem& files, const std::string& spelled) {
    // A device or NT spelling counts as the drive path or share it names.
    const std::optional<std::string> plain = files.PlainPath(spelled);
    if (!plain) return false;
    const std::string& folder = *plain;
    if (folder.size() < 3) return false;  // "", "0", "\", "C:" and the like
    const bool drivePath = std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' &&
                           (folder[2] == '\\' || folder[2] == '/');
    const bool share = text::StartsWith(folder, "\\\\") && folder.size() > 2 && folder[2] != '\\' &&
                       folder[2] != '?' && folder[2] != '.';
    return drivePath || share;
}

namespace {

// The purge of a folder opened by path, when what it is may be purged and, given found, is still
// the folder found. protectedFolders null: read here, once the folder is open.
void Purge(const platform::Ports& ports, const settings::ProtectedIdentities* protectedFolders,
           const std::string& folder, const platform::FileIdentity* found, DeleteTally& tally,
           CleanProgress* progress, CleanMode mode, const KeepBack* keep) {
    if (progress && progress->StopRequested()) {
        tally.stopped = true;
        return;
    }
    platform::FileSystem& files = *ports.fileSystem;
    const auto use = mode == CleanMode::kPreview ? platform::FolderUse::kLook : platform::FolderUse::kEmpty;
    platform::FsError why(platform::FsError::kNotFound);  // not a path that could name a folder
    const auto base = IsPurgeableBase(files, folder) ? files.OpenFolder(folder, use, &why) : nullptr;
    const auto allowed = [&] {
        const platform::FileIdentity identity = base->Identity();
        if (found && identity != *found) return false;
        return (protectedFolders ? protectedFolders->Verdict(identity)
                                 : settings::ProtectedIdentities::Read(ports).Verdict(identity)) ==
               settings::FolderVerdict::kAllowed;
    };
    // Decided on the open folder itself, so that nothing renamed or linked in since any earlier
    // look at the path can slip past. A folder that cannot be listed is not cleaned either.
    if (!base || !allowed()) {
        ++tally.foldersNotCleaned;
        if (!base) tally.openError = why;
    } else {
        // A folder that is a kept path or lies in one keeps everything.
        std::optional<KeepBack> whole;
        if (const auto keptIn = keep ? KeptWhole(files, folder, base->Identity(), *keep) : std::nullopt) {
            whole = *keep;
            whole->paths[base->Identity()] = *keptIn;
        }
        if (!RemoveEntries(*base, folder, [](const FileEntry&) { return true; }, ProgramsOwnFiles(ports), tally,
                           progress, mode, whole ? &*whole : keep)) {
            ++tally.foldersNotCleaned;
            ++tally.foldersNotListed;
        }
    }
}

}  // namespace

void PurgeFolderContents(const platform::Ports& ports, const std::string& folder, DeleteTally& tally, CleanProgress* progress, CleanMode mode,
                         const KeepBack* keep) {
    Purge(ports, nullptr, folder, nullptr, tally, progress, mode, keep);
}

void PurgeFoundFolder(const platform::Ports& ports, const settings::ProtectedIdentities& protectedFolders,
                      const std::string& folder, const platform::FileIdentity& found, DeleteTally& tally,
                      CleanProgress* progress, CleanMode mode, const KeepBack* keep) {
    Purge(ports, &protectedFolders, folder, &found, tally, progress, mode, keep);
}

}  // namespace engine
