#include "app/StartupShortcut.h"

#include <array>

#include "forms/Application.h"
#include "platform/Ports.h"
#include "platform/Text.h"
#include "settings/KnownFolders.h"

namespace app {


int GetDriveKind(platform::Folders& folders, const std::string& path) {
    const std::string_view trimmed = text::Trim(path, " ");
    if (trimmed.empty()) return 0;
    const std::string root = text::ToUpper(trimmed.substr(0, 1)) + ":\\";
    const int kind = folders.GetDriveType(root);
    return (kind >= 1 && kind <= 6) ? kind : 0;
}

std::string GetDriveList(platform::Folders& folders) {
    // The list as a buffer of 104 characters would hold it.
    std::string list = folders.LogicalDriveStrings().substr(0, 104);
    return std::string(text::Trim(list, " "));
}

bool ItemExists(platform::Folders& folders, const std::string& path) {
    std::string item(text::Trim(path, " "));
    if (text::EndsWith(item, "\\")) item.pop_back();
    if (item.empty()) return false;
    const std::string first = text::ToLower(item.substr(0, 1));
    if (text::ToLower(GetDriveList(folders)).find(first) == std::string::npos) return false;
    if (GetDriveKind(folders, first) == 0) return false;
    if (item.size() == 2) return true;
    return folders.FindFirstExists(item);
}

std::string GetShellFolderPath(platform::Folders& folders, int csidl) {
    const std::string folder = folders.ShellFolderLocation(csidl);
    return folder.empty() ? std::string() : folder + "\\";
}

namespace {

constexpr const char* kFailureText = "Error creating Startup shortcut. ";
constexpr const char* kFailureCaption = "Create Shortcut";

int FolderForKeyword(const std::string& location) {
    if (location == "StartUp") return settings::kCsidlStartup;
    if (location == "RecentFolder") return settings::kCsidlRecent;
    if (location == "CommonStartUp") return settings::kCsidlCommonStartMenu;
    if (location == "DeskTop") return settings::kCsidlDesktopDirectory;
    return -1;
}

}  // namespace

void CreateShortcut(forms::Application& app, const platform::Ports& ports, const std::string& target, const std::string& name, const std::string& location) {
    const std::string shortcutName = name + ".lnk";
    const std::string recent = GetShellFolderPath(*ports.folders, settings::kCsidlRecent);
    const int folderId = FolderForKeyword(location);
    const std::string destinationFolder = folderId < 0 ? std::string() : GetShellFolderPath(*ports.folders, folderId);
    if (destinationFolder.empty()) {
        app.SetMousePointer(platform::kPointerDefault);
        return;
    }
    ports.folders->AddToRecentDocs(target);
    ports.environment->Sleep(500);  // the shell writes its shortcut meanwhile
    const std::string targetName(text::FileNameOf(target));
    const std::string destination = destinationFolder + shortcutName;
    const std::array<std::string, 3> candidates = {targetName, "Morvane.lnk", "Morvane.exe"};
    std::string source = "Morvane.exe.lnk";
    for (const std::string& candidate : candidates) {
        if (!candidate.empty() && ItemExists(*ports.folders, recent + candidate)) {
            source = candidate;
            break;
        }
    }
    ports.environment->Sleep(500);
    // A move that fails is not reported by itself: a shell that keeps executables out of its
    // recent documents makes no shortcut to move, and the link is then written directly.
    const bool moved = !recent.empty() && ports.fileSystem->MoveFile(recent + source, destination) == platform::FsError::kNone;
    ports.environment->Sleep(500);
    if (!moved && !ItemExists(*ports.folders, destination) && !ports.folders->CreateShellLink(destination, target)) {
        // Neither way made the shortcut: say so once; the next start tries again.
        app.MsgBox(std::string(kFailureText) + "Error creating Startup shortcut.", 48, kFailureCaption);
        return;
    }
    app.SetMousePointer(platform::kPointerDefault);
}

}  // namespace app
