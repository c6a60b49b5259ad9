#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Ports.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeFolders.h"
#include "settings/CsdlConstants.h"

namespace {

using settings::CheckUserFolder;
using settings::FolderVerdict;

// A usual machine; the alternate StartUp folder (29) does not resolve, as on most of them.
const std::map<int, std::string> kMachine = {
    {36, "C:\\Windows"},
    {37, "C:\\Windows\\system32"},
    {38, "C:\\Program Files"},
    {23, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
    {35, "C:\\ProgramData"},
    {43, "C:\\Program Files\\Common Files"},
    {22, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu"},
    {24, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
    {25, "C:\\Users\\Public\\Desktop"},
    {26, "C:\\Users\\Ann\\AppData\\Roaming"},
};

class FoldersTest : public testing::Test {
protected:
    fake::FakeEnvironment env;
    fake::FakeFileSystem files;
    fake::FakeFolders folders{files};
    platform::ScopedPorts ports{{&env, &folders, &files}};

    FoldersTest() {
        for (const auto& [id, path] : kMachine) {
            folders.SetFolder(id, path);
            files.AddFolder(path);
        }
        files.AddFolder("C:\\Windows\\System32\\drivers");
        files.AddFolder("D:\\Windows");
        files.AddShortName("C:\\PROGRA~1", "C:\\Program Files");
        files.SetCurrentFolder("C:\\Windows\\Temp");
    }
};

TEST_F(FoldersTest, ProtectedFoldersComeInTheirFixedOrder) {
    folders.SetFolder(25, "");  // a failed lookup keeps its place
    const std::vector<std::string> expected = {
        "C:\\",
        "C:\\Windows",
        "C:\\Windows\\system32",
        "C:\\Program Files",
        "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs",
        "C:\\ProgramData",
        "C:\\Program Files\\Common Files",
        "C:\\ProgramData\\Microsoft\\Windows\\Start Menu",
        "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp",
        "",
        "C:\\Users\\Ann\\AppData\\Roaming",
        "",
    };
    EXPECT_EQ(settings::ProtectedFolders(), expected);
}

struct FolderCase {
    const char* candidate;
    FolderVerdict verdict;
};

TEST_F(FoldersTest, CheckUserFolderComparesFoldersNotSpellings) {
    const FolderCase cases[] = {
        // The root of C:, however written.
        {"C:\\", FolderVerdict::kRoot}, {"c:\\", FolderVerdict::kRoot}, {"c:", FolderVerdict::kRoot},
        {"C:/", FolderVerdict::kRoot}, {"C:\\\\", FolderVerdict::kRoot}, {"\\\\?\\C:\\", FolderVerdict::kRoot},
        {"//?/c:/", FolderVerdict::kRoot}, {"C:\\Windows\\..", FolderVerdict::kRoot},
        // A protected folder, however written.
        {"C:\\Windows", FolderVerdict::kSystem}, {"c:\\windows", FolderVerdict::kSystem},
        {"C:\\WINDOWS\\", FolderVerdict::kSystem}, {"C:/Windows//", FolderVerdict::kSystem},
        {"\\\\?\\C:\\Windows", FolderVerdict::kSystem}, {"C:\\Windows\\System32\\..", FolderVerdict::kSystem},
        {"C:\\Windows.", FolderVerdict::kSystem}, {"C:\\PROGRA~1", FolderVerdict::kSystem},
        {"c:\\progra~1\\Common Files", FolderVerdict::kSystem}, {"..", FolderVerdict::kSystem},
        // Purging an ancestor would empty a protected folder.
        {"C:\\Users", FolderVerdict::kSystem}, {"C:\\users\\ann\\", FolderVerdict::kSystem},
        {"C:\\ProgramData\\Microsoft", FolderVerdict::kSystem},
        // Below, beside or on another drive.
        {"C:\\Windows\\System32\\drivers", FolderVerdict::kAllowed}, {"C:\\Windows2", FolderVerdict::kAllowed},
        {"C:\\Win", FolderVerdict::kAllowed}, {"C:\\Users\\Ann\\Documents", FolderVerdict::kAllowed},
        {"C:\\Program Files\\Morvane", FolderVerdict::kAllowed}, {"D:\\", FolderVerdict::kAllowed},
        {"d:", FolderVerdict::kAllowed}, {"D:\\Windows", FolderVerdict::kAllowed}, {"0", FolderVerdict::kAllowed},
        // Equal, as text, to the folder whose lookup failed.
        {"", FolderVerdict::kSystem},
    };
    for (const FolderCase& c : cases) EXPECT_EQ(CheckUserFolder(c.candidate), c.verdict) << "[" << c.candidate << "]";
}

TEST_F(FoldersTest, FailedLookupsProtectNothingButTheEmptyPath) {
    folders.SetFolder(29, "C:\\Users\\Ann\\Start");
    EXPECT_EQ(CheckUserFolder(""), FolderVerdict::kAllowed);
    for (const auto& [id, path] : kMachine) folders.SetFolder(id, "");
    EXPECT_EQ(CheckUserFolder("C:\\Windows"), FolderVerdict::kAllowed);
    EXPECT_EQ(CheckUserFolder("C:\\"), FolderVerdict::kRoot);
    EXPECT_EQ(CheckUserFolder(""), FolderVerdict::kSystem);
}

TEST_F(FoldersTest, ProtectedFoldersAreNormalisedToo) {
    folders.SetFolder(38, "c:\\progra~1\\");
    folders.SetFolder(36, "D:\\Windows");
    EXPECT_EQ(CheckUserFolder("C:\\Program Files"), FolderVerdict::kSystem);
    EXPECT_EQ(CheckUserFolder("D:\\"), FolderVerdict::kSystem);  // holds the Windows folder now
}

}  // namespace
