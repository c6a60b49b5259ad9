#include "settings/KnownFolders.h"

#include <algorithm>
#include <set>

#include "platform/Ports.h"
#include "platform/Text.h"

namespace settings {
namespace {

// The folders whose identity is protected, lookups that failed left out.
std::vector<std::string> FoldersToProtect(platform::Folders& lookups) {
    std::vector<std::string> folders = ProtectedFolders(lookups);
    folders.erase(folders.begin());  // the root, which has its own verdict
    if (const std::string windows = folders.front(); !windows.empty()) {
        folders.push_back(windows + "\\Sysnative");
        folders.push_back(windows + "\\SysWOW64");
    }
    for (std::string& native : lookups.NativeProgramFolders()) folders.push_back(std::move(native));
    std::erase(folders, std::string());
    return folders;
}

// The folder that holds a path, as text ("" above a drive's root).
std::string ParentFolder(const std::string& path) {
    if (path.size() <= 3) return {};
    std::string parent = text::FolderOf(path);
    return parent.size() >= 3 ? parent : std::string();
}

}  // namespace

std::string GetSpecialFolderPath(platform::Folders& folders, int csidl) { return folders.FolderPath(csidl); }

std::vector<std::string> ProtectedFolders(platform::Folders& lookups) {
    std::vector<std::string> folders{"C:\\"};
    for (const int id : kProtectedFolderIds) folders.push_back(GetSpecialFolderPath(lookups, id));
    return folders;
}

std::string NormaliseAppFolder(std::string folder) { return text::WithTrailingBackslash(std::move(folder)); }

std::string AppFolder(platform::Environment& env) { return NormaliseAppFolder(env.ProgramFolder()); }

std::string TempFolder(platform::Environment& env) { return env.Variable("Temp").value_or(""); }

ProtectedIdentities ProtectedIdentities::Read(const platform::Ports& ports) {
    platform::FileSystem& files = *ports.fileSystem;
    ProtectedIdentities identities;
    if (const auto root = files.Identify("C:\\")) identities.root_ = root->identity;
    std::set<std::string> walked;  // folders identified already, with the ones above them
    // A protected folder and every folder that holds it: purging one of those would empty the
    // protected folder along with the rest. Each holder is reached from what the folder is, so
    // that links in its path lead to the folders that really hold it.
    const auto walkUp = [&](std::string folder) {
        while (!folder.empty() && walked.insert(text::ToUpper(folder)).second) {
            const auto found = files.Identify(folder);
            if (!found) return;
            identities.refused_.push_back(found->identity);
            folder = found->parent;
        }
    };
    for (const std::string& folder : FoldersToProtect(*ports.folders)) {
        walkUp(folder);
        // And as the lookup names it: under Wine a drive letter that stands for a folder on the
        // way names the folder from that drive, whose root has nothing above it.
        for (std::string up = ParentFolder(folder); !up.empty(); up = ParentFolder(up)) walkUp(up);
    }
    return identities;
}

FolderVerdict ProtectedIdentities::Verdict(const platform::FileIdentity& folder) const {
    if (root_ && folder == *root_) return FolderVerdict::kRoot;
    if (std::find(refused_.begin(), refused_.end(), folder) != refused_.end()) return FolderVerdict::kSystem;
    return FolderVerdict::kAllowed;
}

FolderVerdict CheckUserFolder(const platform::Ports& ports, const std::string& candidate) {
    if (candidate.empty()) {
        const std::vector<std::string> folders = ProtectedFolders(*ports.folders);
        const bool failedLookup = std::any_of(std::next(folders.begin()), folders.end(),
                                              [](const std::string& f) { return f.empty(); });
        return failedLookup ? FolderVerdict::kSystem : FolderVerdict::kUnreachable;
    }
    // "C:" alone means the drive's root here, not the drive's current folder.
    const bool bareDrive = candidate.size() == 2 && candidate[1] == ':';
    const auto found = ports.fileSystem->Identify(bareDrive ? candidate + "\\" : candidate);
    if (!found) return FolderVerdict::kUnreachable;
    return ProtectedIdentities::Read(ports).Verdict(found->identity);
}

}  // namespace settings
