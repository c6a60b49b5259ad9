#pragma once
#include <string>

#include "platform/Folders.h"

namespace win32 {

// Shell folders and drives as the shell and kernel32 report them.
class Win32Folders : public platform::Folders {
public:
    std::string FolderPath(int csidl) override;
    std::string ShellFolderLocation(int csidl) override;
    std::string LogicalDriveStrings() override;
    int GetDriveType(const std::string& root) override;
    bool FindFirstExists(const std::string& path) override;
    void AddToRecentDocs(const std::string& path) override;
    bool CreateShellLink(const std::string& linkPath, const std::string& target) override;
    std::vector<std::string> NativeProgramFolders() override;
};

}  // namespace win32
