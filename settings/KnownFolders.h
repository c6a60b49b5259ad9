#pragma once
// Folder locations: shell folders by CSIDL number, the application folder, the Temp folder,
// and the decision whether a folder may be purged at all.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ports.h"

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
std::string GetSpecialFolderPath(platform::Folders& folders, int csidl);

// "C:\" followed by the eleven protected folders in the order above ("" where a lookup failed).
std::vector<std::string> ProtectedFolders(platform::Folders& folders);

// Appends "\" to a folder path that does not already end in one.
std::string NormaliseAppFolder(std::string folder);
// The folder of the running program, normalised.
std::string AppFolder(platform::Environment& env);
// The value of the environment variable Temp, unchanged; "" when unset.
std::string TempFolder(platform::Environment& env);

enum class FolderVerdict {
    kAllowed,
    kRoot,         // the root of drive C:
    kSystem,       // a protected folder, or a folder that holds one
    kUnreachable,  // no folder that can be opened: nothing to purge
};

// What a purge must never reach, by identity: the root of C:, and every protected folder (with
// the native twins a 32-bit program's lookups leave out on a 64-bit system: Program Files and
// Common Files, the system folder as <Windows>\Sysnative, <Windows>\SysWOW64) together with
// every folder that holds one, found by walking up from each as the platform reaches it. One
// reading serves one decision; a folder that cannot be opened protects nothing it could be.
class ProtectedIdentities {
public:
    static ProtectedIdentities Read(const platform::Ports& ports);
    FolderVerdict Verdict(const platform::FileIdentity& folder) const;

private:
    std::optional<platform::FileIdentity> root_;
    std::vector<platform::FileIdentity> refused_;
};

// Whether a user folder may be purged, decided on what the folder is, not on how it is written:
// every spelling, drive letter, network path and link of a folder gets the same answer. A
// subfolder of a protected folder is allowed, and so is the root of any other volume that holds
// no protected folder. The empty text is refused as a system folder when a lookup failed (it
// equals that folder's empty path).
FolderVerdict CheckUserFolder(const platform::Ports& ports, const std::string& candidate);

}  // namespace settings
