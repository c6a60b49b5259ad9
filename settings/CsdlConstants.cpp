#include "settings/CsdlConstants.h"

#include <algorithm>

#include "platform/Ports.h"
#include "platform/Text.h"

namespace settings {
namespace {

// The folder a path names, in one spelling: absolute, "\" only, no long-path prefix, no
// trailing separator, long names, upper case. Falls back to the upper-cased text when the
// platform cannot make the path absolute.
std::string FolderKey(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    if (text::StartsWith(p, "\\\\?\\") || text::StartsWith(p, "\\\\.\\")) {
        p.erase(0, 4);
        if (text::EqualsNoCase(p.substr(0, 4), "UNC\\")) p.replace(0, 4, "\\\\");
    }
    // Runs of separators name the same folder as one; the two that open a network path stay.
    std::string collapsed;
    collapsed.reserve(p.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (i >= 2 && p[i] == '\\' && collapsed.back() == '\\') continue;
        collapsed += p[i];
    }
    // "C:" alone means the drive's root here, not the drive's current folder.
    if (collapsed.size() == 2 && collapsed[1] == ':') collapsed += '\\';

    std::string full = platform::Files().FullPath(collapsed);
    if (full.empty()) return text::ToUpper(path);
    const auto dropTrailing = [](std::string& s) {
        while (s.size() > 3 && s.back() == '\\') s.pop_back();
    };
    dropTrailing(full);
    std::string longPath = platform::Files().LongPath(full);
    dropTrailing(longPath);
    return text::ToUpper(longPath);
}

// Whether folder lies below ancestor (both keys).
bool IsInside(const std::string& folder, const std::string& ancestor) {
    const std::string prefix = text::WithTrailingBackslash(ancestor);
    return folder.size() > prefix.size() && text::StartsWith(folder, prefix);
}

}  // namespace

std::string GetSpecialFolderPath(int csidl) { return platform::Shell().FolderPath(csidl); }

std::vector<std::string> ProtectedFolders() {
    std::vector<std::string> folders{"C:\\"};
    for (const int id : kProtectedFolderIds) folders.push_back(GetSpecialFolderPath(id));
    return folders;
}

std::string NormaliseAppFolder(std::string folder) { return text::WithTrailingBackslash(std::move(folder)); }

std::string AppFolder() { return NormaliseAppFolder(platform::Env().ProgramFolder()); }

std::string TempFolder() { return platform::Env().Variable("Temp").value_or(""); }

FolderVerdict CheckUserFolder(const std::string& candidate) {
    const std::vector<std::string> folders = ProtectedFolders();
    const auto systemFolders = std::next(folders.begin());
    if (candidate.empty()) {
        // Equal, as text, to a system folder whose lookup failed; there is no folder to compare.
        const bool failedLookup = std::any_of(systemFolders, folders.end(), [](const std::string& f) { return f.empty(); });
        return failedLookup ? FolderVerdict::kSystem : FolderVerdict::kAllowed;
    }
    const std::string key = FolderKey(candidate);
    if (key == FolderKey(folders.front())) return FolderVerdict::kRoot;
    for (auto it = systemFolders; it != folders.end(); ++it) {
        if (it->empty()) continue;
        const std::string folder = FolderKey(*it);
        // Purging an ancestor would empty the system folder along with it.
        if (folder == key || IsInside(folder, key)) return FolderVerdict::kSystem;
    }
    return FolderVerdict::kAllowed;
}

}  // namespace settings
