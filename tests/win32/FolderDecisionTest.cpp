// The protected-folder decision on the real machine (its shell folders, drive letters, network
// shares and WOW64 views), asked only: nothing here purges anything.
#include <gtest/gtest.h>

#include "platform/Ports.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"
#include "settings/KnownFolders.h"
#include "tests/win32/world/WinePrefix.h"

namespace {

using settings::FolderVerdict;

struct Case {
    std::string folder;
    FolderVerdict verdict;
};

// The drive root, the system folders a 32-bit program sees, the 64-bit ones it does not, and
// the folders above them, in the spellings Wine serves.
TEST(FolderDecision, TheMachinesOwnFoldersAreRefusedInEverySpelling) {
    win32::Win32Environment environment;
    win32::Win32Folders folders;
    win32::Win32FileSystem files;
    const platform::Ports ports{&environment, &folders, &files};
    const testing_support::LocalShares shares;
    const testing_support::ExtraDrive root("C:\\");
    const testing_support::ExtraDrive users("C:\\users");
    const std::string windows = settings::GetSpecialFolderPath(folders, 36);

    std::vector<Case> cases = {
        {"C:\\", FolderVerdict::kRoot},
        {windows, FolderVerdict::kSystem},
        {windows + "\\system32", FolderVerdict::kSystem},
        {windows + "\\SysWOW64", FolderVerdict::kSystem},
        {settings::GetSpecialFolderPath(folders, 38), FolderVerdict::kSystem},
        {"C:\\users", FolderVerdict::kSystem},
        {windows + "\\Fonts", FolderVerdict::kAllowed},
    };
    BOOL wow64 = FALSE;
    if (::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64) {
        cases.push_back({windows + "\\Sysnative", FolderVerdict::kSystem});
        cases.push_back({"C:\\Program Files", FolderVerdict::kSystem});
        cases.push_back({"C:\\Program Files\\Common Files", FolderVerdict::kSystem});
    }
    if (shares.Served()) {
        cases.push_back({"\\\\localhost\\c$", FolderVerdict::kRoot});
        cases.push_back({"\\\\127.0.0.1\\c$\\ProgramData", FolderVerdict::kSystem});
    }
    if (!root.Drive().empty()) cases.push_back({root.Drive() + "\\", FolderVerdict::kRoot});
    if (!users.Drive().empty()) cases.push_back({users.Drive() + "\\Public", FolderVerdict::kSystem});
    for (const Case& c : cases) EXPECT_EQ(settings::CheckUserFolder(ports, c.folder), c.verdict) << c.folder;
}

}  // namespace
