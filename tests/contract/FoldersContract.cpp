// What the Folders port promises, on every side.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/Text.h"
#include "tests/contract/ContractWorld.h"

namespace contract {
namespace {

class FoldersContract : public ::testing::Test {
protected:
    std::unique_ptr<ContractWorld> world = MakeWorld();
    platform::Folders& shell = world->Shell();

    std::string InScratch(const std::string& name) { return text::JoinPath(world->Scratch(), name); }
};

// The roots of the drive list, without the NUL separators.
std::vector<std::string> Roots(const std::string& list) {
    std::vector<std::string> roots;
    size_t start = 0;
    for (size_t end; (end = list.find('\0', start)) != std::string::npos; start = end + 1) {
        roots.push_back(list.substr(start, end - start));
    }
    EXPECT_EQ(start, list.size()) << "the last root ends in NUL";
    return roots;
}

TEST_F(FoldersContract, KnownFolderResolvesAlikeThroughBothLookups) {
    const std::string path = shell.FolderPath(kCsidlWindows);
    ASSERT_GT(path.size(), 3u);
    EXPECT_EQ(path.substr(1, 2), ":\\");
    EXPECT_FALSE(text::EndsWith(path, "\\"));
    EXPECT_TRUE(world->Files().Exists(path));
    EXPECT_EQ(shell.ShellFolderLocation(kCsidlWindows), path);
}

TEST_F(FoldersContract, UnknownFolderIsEmptyText) {
    constexpr int kNoSuchFolder = 0xFF;
    EXPECT_EQ(shell.FolderPath(kNoSuchFolder), "");
    EXPECT_EQ(shell.ShellFolderLocation(kNoSuchFolder), "");
}

TEST_F(FoldersContract, DriveListHoldsTheScratchDriveAsAFixedDrive) {
    const std::vector<std::string> roots = Roots(shell.LogicalDriveStrings());
    for (const std::string& root : roots) {
        SCOPED_TRACE(root);
        ASSERT_EQ(root.size(), 3u);
        EXPECT_EQ(root.substr(1), ":\\");
        EXPECT_GE(shell.GetDriveType(root), platform::kDriveRemovable);
        EXPECT_LE(shell.GetDriveType(root), platform::kDriveRamDisk);
    }
    const std::string drive = world->Scratch().substr(0, 3);
    EXPECT_NE(std::find(roots.begin(), roots.end(), drive), roots.end());
    for (const std::string& root : {drive, drive.substr(0, 2), text::ToLower(drive)}) {
        SCOPED_TRACE(root);
        EXPECT_EQ(shell.GetDriveType(root), platform::kDriveFixed);
    }
}

TEST_F(FoldersContract, LetterMissingFromTheDriveListHasNoRoot) {
    const std::string list = shell.LogicalDriveStrings();
    char missing = 'Z';
    while (missing > 'D' && list.find(std::string(1, missing) + ":\\") != std::string::npos) --missing;
    ASSERT_GT(missing, 'D') << "every letter is taken";
    EXPECT_EQ(shell.GetDriveType(std::string(1, missing) + ":\\"), platform::kDriveNoRootDir);
}

TEST_F(FoldersContract, FindFirstFindsWhatIsThereAndNothingElse) {
    world->MakeFile(InScratch("note.txt"), "x");
    ASSERT_EQ(world->Files().CreateFolder(InScratch("Sub")), platform::FsError::kNone);
    struct Case {
        const char* name;
        bool found;
    };
    const Case cases[] = {
        {"note.txt", true},   {"NOTE.TXT", true},      {"Sub", true},         {"*.txt", true},
        {"n?te.*", true},     {"*.zzz", false},        {"missing.txt", false}, {"Sub\\", false},
        {"note.txt\\", false}, {"Missing\\*", false},  {"Sub\\*", true},      // "." and ".." of Sub
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(shell.FindFirstExists(InScratch(c.name)), c.found);
    }
}

}  // namespace
}  // namespace contract
