#include "platform/fake/FakeFolders.h"

#include "platform/Text.h"

namespace fake {

std::string FakeFolders::FolderPath(int csidl) {
    const auto it = folders_.find(csidl);
    return it == folders_.end() ? std::string() : it->second;
}

std::string FakeFolders::ShellFolderLocation(int csidl) {
    const auto it = shellLocations_.find(csidl);
    return it == shellLocations_.end() ? FolderPath(csidl) : it->second;
}

std::string FakeFolders::LogicalDriveStrings() {
    std::string out;
    for (const std::string& root : files_.Drives()) {
        out += root;
        out += '\0';
    }
    return out;
}

int FakeFolders::GetDriveType(const std::string& root) {
    if (root.empty()) return platform::kDriveNoRootDir;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
    if (const auto it = driveTypes_.find(letter); it != driveTypes_.end()) return it->second;
    for (const std::string& drive : files_.Drives()) {
        if (drive[0] == letter) return platform::kDriveFixed;
    }
    return platform::kDriveNoRootDir;
}

bool FakeFolders::FindFirstExists(const std::string& path) {
    if (path.empty() || text::EndsWith(path, "\\")) return false;  // FindFirstFile refuses these
    const std::string_view name = text::FileNameOf(path);
    if (name.find_first_of("*?") == std::string_view::npos) return files_.Exists(path);
    const std::string folder = std::string(text::ParentOf(path)) + "\\";
    const auto entries = files_.ListFolder(folder);
    if (!entries) return false;
    for (const auto& entry : *entries) {
        if (text::WildcardMatch(name, entry.name)) return true;
    }
    // Every folder but a drive root also holds "." and "..", and FindFirstFile finds them.
    const bool root = folder.size() == 3;
    return !root && (text::WildcardMatch(name, ".") || text::WildcardMatch(name, ".."));
}

void FakeFolders::AddToRecentDocs(const std::string& path) {
    recentDocs.push_back(path);
    if (!recentFolder.empty()) files_.AddFile(text::JoinPath(recentFolder, recentShortcutName), "link to " + path);
}

bool FakeFolders::CreateShellLink(const std::string& linkPath, const std::string& target) {
    return files_.ReplaceWholeFile(linkPath, "link to " + target);
}

}  // namespace fake
