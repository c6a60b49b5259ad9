#include "app/StartupShortcut.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>

#include "engine/Purges.h"
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

using Wanted = std::shared_ptr<std::atomic<bool>>;

// One of the shell's pauses, in steps, so that a program that ends meanwhile is not held up.
void Pause(platform::Environment& env, const Wanted& want) {
    constexpr int kPauseMs = 500;
    constexpr int kStepMs = 50;
    for (int paused = 0; paused < kPauseMs && *want; paused += kStepMs) env.Sleep(kStepMs);
}

// The names the shell may give its shortcut to target in the Recent folder, in the order they are
// looked for; the last is taken whether it is there or not.
std::array<std::string, 4> Candidates(const std::string& target) {
    return {std::string(text::FileNameOf(target)), "Morvane.lnk", "Morvane.exe", "Morvane.exe.lnk"};
}

// The name under which the shell made its shortcut to target in the Recent folder.
std::string RecentShortcut(platform::Folders& folders, const std::string& recent, const std::string& target) {
    const auto candidates = Candidates(target);
    for (std::size_t i = 0; i + 1 < candidates.size(); ++i) {
        if (!candidates[i].empty() && ItemExists(folders, recent + candidates[i])) return candidates[i];
    }
    return candidates.back();
}

// What an earlier start left in the Recent folder under those names (it ended before its move):
// taken for this start's, it would put a shortcut to another copy of the program in place, and
// the shell would give this one another name.
void RemoveLeftovers(const platform::Ports& ports, const std::string& recent, const std::string& target) {
    if (recent.empty()) return;  // the names alone would be relative to the current folder
    for (const std::string& name : Candidates(target)) {
        const std::string path = recent + name;
        if (!name.empty() && !text::EqualsNoCase(path, target) && ItemExists(*ports.folders, path)) {
            engine::ShellDelete(*ports.fileSystem, path);
        }
    }
}

// Waits beside the windows, which go on answering, then goes on here unless the shortcut was
// given up meanwhile.
void ThenHere(forms::Application& app, const Wanted& want, std::function<void()> wait, std::function<void()> then) {
    app.Desktop().StartBeside(std::move(wait), 0, {}, [&app, want, then = std::move(then)] {
        if (*want) app.Dispatch(then);
    });
}

}  // namespace

void ShortcutMaker::Make(forms::Application& app, const std::string& target, const std::string& name,
                         const std::string& location) {
    const platform::Ports ports = ports_;
    const std::string shortcutName = name + ".lnk";
    const std::string recent = GetShellFolderPath(*ports.folders, settings::kCsidlRecent);
    const int folderId = FolderForKeyword(location);
    const std::string destinationFolder = folderId < 0 ? std::string() : GetShellFolderPath(*ports.folders, folderId);
    if (destinationFolder.empty()) {
        app.SetMousePointer(platform::kPointerDefault);
        return;
    }
    const std::string destination = destinationFolder + shortcutName;
    // The shell writes its shortcut in its own time. The waits for it run beside the windows;
    // what changes the folders runs here, in turn with the icon's menu, so that nothing is made
    // once Exit or Remove All Paths has given the shortcut up.
    GiveUp();
    const Wanted want = wanted_ = std::make_shared<std::atomic<bool>>(true);
    const auto source = std::make_shared<std::string>();
    ThenHere(
        app, want,
        [ports, want, target, recent, source] {
            RemoveLeftovers(ports, recent, target);
            ports.folders->AddToRecentDocs(target);
            Pause(*ports.environment, want);  // the shell writes its shortcut meanwhile
            *source = RecentShortcut(*ports.folders, recent, target);
            Pause(*ports.environment, want);
        },
        [&app, ports, want, target, recent, destination, source] {
            // A move that fails is not reported by itself: a shell that keeps executables out of
            // its recent documents makes no shortcut to move, and the link is then written directly.
            const bool moved = !recent.empty() &&
                               ports.fileSystem->MoveFile(recent + *source, destination) == platform::FsError::kNone;
            ThenHere(
                app, want, [ports, want] { Pause(*ports.environment, want); },
                [&app, ports, target, destination, moved] {
                    if (!moved && !ItemExists(*ports.folders, destination) &&
                        !ports.folders->CreateShellLink(destination, target)) {
                        // Neither way made the shortcut: say so once; the next start tries again.
                        app.MsgBox(std::string(kFailureText) + "Error creating Startup shortcut.", 48, kFailureCaption);
                        return;
                    }
                    app.SetMousePointer(platform::kPointerDefault);
                });
        });
}

void ShortcutMaker::GiveUp() {
    if (wanted_) *wanted_ = false;
    wanted_.reset();
}

}  // namespace app
