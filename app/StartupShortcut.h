#pragma once
// Drives, existence, shell folders and the start-up shortcut.
#include <string>

namespace app {

// The drive type (0 to 6) of the path's drive letter; 0 for an empty or blank path and for
// any type outside 1 to 6.
int GetDriveKind(const std::string& path);
// The logical drive roots, separated by NUL characters, without surrounding blanks.
std::string GetDriveList();
// Whether a file or folder exists: the drive must be in the drive list with a known type; a
// bare drive ("C:" or "C:\") exists without a search.
bool ItemExists(const std::string& path);
// A shell folder's path followed by "\", or "" when it cannot be resolved.
std::string GetShellFolderPath(int csidl);

// Where CreateShortcut may put a shortcut.
inline constexpr const char* kStartUpKeyword = "StartUp";

// Makes a shortcut named name + ".lnk" to target in the folder the location keyword selects
// ("StartUp", "RecentFolder", "CommonStartUp", "DeskTop"): the shell makes one in the Recent
// folder for the target, which is then moved and renamed. Returns at once: the pauses the
// shell is given run beside the windows, and the shortcut is made later, on this thread.
void CreateShortcut(const std::string& target, const std::string& name, const std::string& location);
// The program ends: a shortcut still being made is not made.
void GiveUpShortcut();

}  // namespace app
