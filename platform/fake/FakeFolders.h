#pragma once
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "platform/Folders.h"
#include "platform/fake/FakeFileSystem.h"

namespace fake {

// Shell folders from a table the test fills; drives and existence from a FakeFileSystem.
class FakeFolders : public platform::Folders {
public:
    explicit FakeFolders(FakeFileSystem& files) : files_(files) {}

    // Both lookups answer the same path for an identifier unless SetShellLocation differs.
    void SetFolder(int csidl, const std::string& path) { folders_[csidl] = path; }
    void SetShellLocation(int csidl, const std::string& path) { shellLocations_[csidl] = path; }
    void SetDriveType(char letter, int type) { driveTypes_[static_cast<char>(std::toupper(letter))] = type; }

    std::vector<std::string> recentDocs;  // every AddToRecentDocs call, in order

    std::string FolderPath(int csidl) override;
    std::string ShellFolderLocation(int csidl) override;
    std::string LogicalDriveStrings() override;
    int GetDriveType(const std::string& root) override;
    bool FindFirstExists(const std::string& path) override;
    void AddToRecentDocs(const std::string& path) override;
    bool CreateShellLink(const std::string& linkPath, const std::string& target) override;
    std::vector<std::string> NativeProgramFolders() override { return nativeProgramFolders; }

    // What NativeProgramFolders answers (a 32-bit system: nothing).
    std::vector<std::string> nativeProgramFolders;

    // Where AddToRecentDocs makes its shortcut, as the shell would (empty: it makes none),
    // and the name it gives it.
    std::string recentFolder;
    std::string recentShortcutName = "Morvane.exe.lnk";

private:
    FakeFileSystem& files_;
    std::map<int, std::string> folders_;
    std::map<int, std::string> shellLocations_;
    std::map<char, int> driveTypes_;
};

}  // namespace fake
