#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Ports.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeFolders.h"
#include "settings/KnownFolders.h"

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
    platform::Ports ports{&env, &folders, &files};

    FoldersTest() {
        for (const auto& [id, path] : kMachine) {
            folders.SetFolder(id, path);
            files.AddFolder(path);
        }
        files.AddFolder("C:\\Windows\\System32\\drivers");
        files.AddFolder("C:\\Windows\\Sysnative");
        files.AddFolder("C:\\Windows\\SysWOW64");
        files.AddFolder("C:\\Windows2");
        files.AddFolder("C:\\Users\\Ann\\Documents");
        files.AddFolder("C:\\Program Files\\Morvane");
        files.AddFolder("D:\\Windows");
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
    EXPECT_EQ(settings::ProtectedFolders(folders), expected);
}

struct FolderCase {
    const char* candidate;
    FolderVerdict verdict;
};

// Every way of naming a folder reaches the same verdict: letter case, separators, "." and "..",
// the long-path prefix, another drive letter for it (subst), this machine's network shares,
// and links at the end or in the middle of the path.
TEST_F(FoldersTest, CheckUserFolderDecidesOnWhatTheFolderIs) {
    files.MapDrive('R', "C:\\");
    files.MapDrive('P', "C:\\Users\\Public");
    files.MapDrive('M', "C:\\Users\\Ann\\Documents");
    files.AddFolder("L:\\Windows");  // volume 10, whose device name begins with volume 1's
    files.AddLink("C:\\zone\\up", "C:\\");
    files.AddLink("C:\\Data\\sys", "C:\\Windows");
    files.AddLink("C:\\Data\\mine", "C:\\Users\\Ann\\Documents");
    folders.SetFolder(38, "C:\\Program Files (x86)");
    files.AddFolder("C:\\Program Files (x86)");
    folders.nativeProgramFolders = {"C:\\Program Files", "C:\\Program Files\\Common Files"};
    const FolderCase cases[] = {
        // The root of C:.
        {"C:\\", FolderVerdict::kRoot}, {"c:", FolderVerdict::kRoot}, {"C:/", FolderVerdict::kRoot},
        {"C:\\\\", FolderVerdict::kRoot}, {"\\\\?\\C:\\", FolderVerdict::kRoot}, {"//?/c:/", FolderVerdict::kRoot},
        {"C:\\Windows\\..", FolderVerdict::kRoot}, {"R:\\", FolderVerdict::kRoot},
        {"\\\\localhost\\c$", FolderVerdict::kRoot}, {"\\\\127.0.0.1\\C$\\", FolderVerdict::kRoot},
        {"C:\\zone\\up", FolderVerdict::kRoot}, {"\\\\.\\C:", FolderVerdict::kRoot},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1", FolderVerdict::kRoot}, {"\\\\?\\GLOBALROOT\\??\\R:\\", FolderVerdict::kRoot},
        // A protected folder.
        {"c:\\windows", FolderVerdict::kSystem}, {"C:/Windows//", FolderVerdict::kSystem},
        {"\\\\?\\C:\\Windows", FolderVerdict::kSystem}, {"C:\\Windows.", FolderVerdict::kSystem},
        {"R:\\Windows", FolderVerdict::kSystem}, {"\\\\localhost\\c$\\ProgramData", FolderVerdict::kSystem},
        {"C:\\Data\\sys", FolderVerdict::kSystem}, {"C:\\zone\\up\\Users\\Public\\Desktop", FolderVerdict::kSystem},
        {"..", FolderVerdict::kSystem},
        {"\\\\.\\C:\\Windows", FolderVerdict::kSystem}, {"\\??\\c:\\windows", FolderVerdict::kSystem}, {"//./P:/", FolderVerdict::kSystem},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\Windows", FolderVerdict::kSystem},
        {"\\\\?\\GLOBALROOT\\Device\\Mup\\127.0.0.1\\c$\\Windows", FolderVerdict::kSystem},
        // The native twins a 32-bit program's lookups leave out.
        {"C:\\Program Files", FolderVerdict::kSystem}, {"C:\\Windows\\Sysnative", FolderVerdict::kSystem},
        {"C:\\Windows\\SysWOW64", FolderVerdict::kSystem},
        // Purging a folder that holds one would empty it too.
        {"C:\\Users", FolderVerdict::kSystem}, {"C:\\users\\ann\\", FolderVerdict::kSystem},
        {"C:\\ProgramData\\Microsoft", FolderVerdict::kSystem}, {"P:\\", FolderVerdict::kSystem},
        {"\\\\127.0.0.1\\c$\\users\\Public", FolderVerdict::kSystem},
        {"C:\\zone\\up\\Users\\Public", FolderVerdict::kSystem},
        // Below, beside, on another volume, or holding only a link to a protected folder.
        {"C:\\Windows\\System32\\drivers", FolderVerdict::kAllowed}, {"C:\\Windows2", FolderVerdict::kAllowed},
        {"C:\\Users\\Ann\\Documents", FolderVerdict::kAllowed}, {"M:\\", FolderVerdict::kAllowed},
        {"C:\\Data\\mine", FolderVerdict::kAllowed}, {"C:\\Program Files\\Morvane", FolderVerdict::kAllowed},
        {"D:\\", FolderVerdict::kAllowed}, {"d:", FolderVerdict::kAllowed}, {"D:\\Windows", FolderVerdict::kAllowed},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume2\\Windows", FolderVerdict::kAllowed},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume10\\Windows", FolderVerdict::kAllowed},
        {"C:\\zone", FolderVerdict::kAllowed}, {"C:\\Data", FolderVerdict::kAllowed},
        // Nothing there to purge.
        {"C:\\Missing", FolderVerdict::kUnreachable}, {"Q:\\", FolderVerdict::kUnreachable},
        {"\\\\server\\share", FolderVerdict::kUnreachable}, {"\\\\.\\PhysicalDrive0", FolderVerdict::kUnreachable},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume3\\Windows", FolderVerdict::kUnreachable},
        // Equal, as text, to the folder whose lookup failed.
        {"", FolderVerdict::kSystem},
    };
    for (const FolderCase& c : cases) EXPECT_EQ(CheckUserFolder(ports, c.candidate), c.verdict) << "[" << c.candidate << "]";
}

TEST_F(FoldersTest, FailedLookupsProtectNothingButTheEmptyPath) {
    folders.SetFolder(29, "C:\\Users\\Ann\\Start");
    EXPECT_EQ(CheckUserFolder(ports, ""), FolderVerdict::kUnreachable);
    for (const auto& [id, path] : kMachine) folders.SetFolder(id, "");
    EXPECT_EQ(CheckUserFolder(ports, "C:\\Windows"), FolderVerdict::kAllowed);
    EXPECT_EQ(CheckUserFolder(ports, "C:\\"), FolderVerdict::kRoot);
    EXPECT_EQ(CheckUserFolder(ports, ""), FolderVerdict::kSystem);
}

TEST_F(FoldersTest, ProtectedFoldersAreFoldersInWhateverSpellingTheLookupGives) {
    folders.SetFolder(38, "c:\\program files\\");
    folders.SetFolder(36, "D:\\Windows");
    EXPECT_EQ(CheckUserFolder(ports, "C:\\Program Files"), FolderVerdict::kSystem);
    EXPECT_EQ(CheckUserFolder(ports, "D:\\"), FolderVerdict::kSystem);  // holds the Windows folder now
}

}  // namespace
