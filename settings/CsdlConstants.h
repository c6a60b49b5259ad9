#pragma once
// Folder locations: shell folders by CSIDL number, the application folder, the Temp folder,
// and the decision whether a folder may be purged at all.
#include <array>
#include <string>
#include <vector>

namespace settings {

// CSIDL numbers the program uses.
inline constexpr int kCsidlStartup = 7;
inline constexpr int kCsidlRecent = 8;
inline constexpr int kCsidlDesktopDirectory = 16;
inline constexpr int kCsidlCommonStartMenu = 22;
inline constexpr int kCsidlInternetCache = 32;
inline constexpr int kCsidlCookies = 33;

// The system folders a user folder is checked against, in the order they are checked:
// Windows, System, Program Files, common Programs, common AppData, common Program Files,
// common Start Menu, common StartUp, common Desktop, AppData, alternate StartUp.
inline constexpr std::array<int, 11> kProtectedFolderIds = {36, 37, 38, 23, 35, 43, 22, 24, 25, 26, 29};

// SHGetFolderPath for the identifier: the path without a trailing "\", "" on failure.
std::string GetSpecialFolderPath(int csidl);

// "C:\" followed by the eleven protected folders in the order above ("" where a lookup failed).
std::vector<std::string> ProtectedFolders();

// Appends "\" to a folder path that does not already end in one.
std::string NormaliseAppFolder(std::string folder);
// The folder of the running program, normalised.
std::string AppFolder();
// The value of the environment variable Temp, unchanged; "" when unset.
std::string TempFolder();

enum class FolderVerdict {
    kAllowed,
    kRoot,    // the root of drive C:, in any spelling
    kSystem,  // a protected folder, or a folder that contains one
};

// Whether a user folder may be purged. Both sides are compared as folders, not as spellings:
// full path, "/" as "\", "." and ".." resolved, trailing separators and a "\\?\" prefix
// removed, short names expanded, case ignored. A subfolder of a protected folder is allowed,
// and so is the root of any drive but C: that holds no protected folder.
FolderVerdict CheckUserFolder(const std::string& candidate);

}  // namespace settings
