#pragma once
// Shell folders and drives.
#include <string>
#include <vector>

namespace platform {

// Drive types as GetDriveTypeA reports them.
enum DriveType : int {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

class Folders {
public:
    virtual ~Folders() = default;

    // SHGetFolderPath for a CSIDL number: the folder's path without a trailing "\",
    // "" when the folder cannot be resolved.
    virtual std::string FolderPath(int csidl) = 0;
    // SHGetSpecialFolderLocation + SHGetPathFromIDList: the path as the shell gives it
    // (no trailing "\"), "" when either call fails.
    virtual std::string ShellFolderLocation(int csidl) = 0;
    // GetLogicalDriveStrings: "C:\<NUL>D:\<NUL>", roots separated by NUL characters.
    virtual std::string LogicalDriveStrings() = 0;
    // GetDriveType of a root such as "C:\".
    virtual int GetDriveType(const std::string& root) = 0;
    // FindFirstFile on the path finds something (a file, a folder or a wildcard match).
    virtual bool FindFirstExists(const std::string& path) = 0;
    // SHAddToRecentDocs with a path: the shell makes a shortcut in the Recent folder.
    virtual void AddToRecentDocs(const std::string& path) = 0;
    // Writes a shell link at linkPath that starts target; false when it could not be made.
    virtual bool CreateShellLink(const std::string& linkPath, const std::string& target) = 0;
    // On a 64-bit system, the native Program Files and Common Files folders, which the lookups
    // of a 32-bit program give in their 32-bit form; empty on a 32-bit system.
    virtual std::vector<std::string> NativeProgramFolders() = 0;
};

}  // namespace platform
