#include "engine/Purges.h"

#include <cctype>

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
    const auto folder = files.OpenFolder(folderPath);
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

// The purge itself, of a folder opened by path (null: it could not be), when what it is may be
// purged and, given found, is still the folder found.
void PurgeOpened(const platform::Ports& ports, const settings::ProtectedIdentities& protectedFolders,
                 platform::FolderHandle* base, const std::string& folder, const platform::FileIdentity* found,
                 DeleteTally& tally, CleanProgress* progress, CleanMode mode) {
    // Decided on the open folder itself, so that nothing renamed or linked in since any earlier
    // look at the path can slip past. A folder that cannot be listed is not cleaned either.
    if (!base || protectedFolders.Verdict(base->Identity()) != settings::FolderVerdict::kAllowed ||
        (found && base->Identity() != *found)) {
        ++tally.foldersNotCleaned;
    } else if (!RemoveEntries(*base, folder, [](const FileEntry&) { return true; }, ProgramsOwnFiles(ports), tally,
                              progress, mode)) {
        ++tally.foldersNotCleaned;
        ++tally.foldersNotListed;
    }
}

}  // namespace

void PurgeFolderContents(const platform::Ports& ports, const std::string& folder, DeleteTally& tally, CleanProgress* progress, CleanMode mode) {
    if (progress && progress->StopRequested()) {
        tally.stopped = true;
        return;
    }
    platform::FileSystem& files = *ports.fileSystem;
    const auto base = IsPurgeableBase(files, folder) ? files.OpenFolder(folder) : nullptr;
    if (!base) {
        ++tally.foldersNotCleaned;
        return;
    }
    PurgeOpened(ports, settings::ProtectedIdentities::Read(ports), base.get(), folder, nullptr, tally, progress, mode);
}

void PurgeFoundFolder(const platform::Ports& ports, const settings::ProtectedIdentities& protectedFolders,
                      const std::string& folder, const platform::FileIdentity& found, DeleteTally& tally,
                      CleanProgress* progress, CleanMode mode) {
    if (progress && progress->StopRequested()) {
        tally.stopped = true;
        return;
    }
    platform::FileSystem& files = *ports.fileSystem;
    const auto base = IsPurgeableBase(files, folder) ? files.OpenFolder(folder) : nullptr;
    PurgeOpened(ports, protectedFolders, base.get(), folder, &found, tally, progress, mode);
}

}  // namespace engine
