#pragma once
// Drives, existence, shell folders and the start-up shortcut.
#include <atomic>
#include <memory>
#include <string>

#include "forms/Application.h"
#include "platform/Ports.h"

namespace app {

// The drive type (0 to 6) of the path's drive letter; 0 for an empty or blank path and for
// any type outside 1 to 6.
int GetDriveKind(platform::Folders& folders, const std::string& path);
// The logical drive roots, separated by NUL characters, without surrounding blanks.
std::string GetDriveList(platform::Folders& folders);
// Whether a file or folder exists: the drive must be in the drive list with a known type; a
// bare drive ("C:" or "C:\") exists without a search.
bool ItemExists(platform::Folders& folders, const std::string& path);
// A shell folder's path followed by "\", or "" when it cannot be resolved.
std::string GetShellFolderPath(platform::Folders& folders, int csidl);

// Where a shortcut may be put.
inline constexpr const char* kStartUpKeyword = "StartUp";

// Makes a shortcut named name + ".lnk" to target in the folder the location keyword selects
// ("StartUp", "RecentFolder", "CommonStartUp", "DeskTop"): the shell makes one in the Recent
// folder for the target, which is then moved and renamed. The pauses the shell is given run
// beside the windows; what changes the folders runs on the window thread, and nothing more once
// the maker is given up (or gone).
class ShortcutMaker {
public:
    explicit ShortcutMaker(const platform::Ports& ports) : ports_(ports) {}
    ~ShortcutMaker() { GiveUp(); }
    ShortcutMaker(const ShortcutMaker&) = delete;
    ShortcutMaker& operator=(const ShortcutMaker&) = delete;

    // Returns at once; the shortcut is made later, by the application's windows.
    void Make(forms::Application& app, const std::string& target, const std::string& name, const std::string& location);
    // The program ends: a shortcut still being made is not made.
    void GiveUp();

private:
    platform::Ports ports_;
    std::shared_ptr<std::atomic<bool>> wanted_;  // the shortcut being made now is still wanted
};

}  // namespace app
