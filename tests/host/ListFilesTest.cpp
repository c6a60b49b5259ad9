// Deletion and the three-pass purge on the fake file system.
#include <gtest/gtest.h>

#include "engine/ListFiles.h"
#include "support/HeadlessWorld.h"

namespace {

using platform::kAttrReadOnly;
using testing_support::HeadlessWorld;

class Purge : public testing::Test {
protected:
    Purge() {
        world.env.SetVariable("TEMP", "C:\\Users\\me\\Temp");
        world.folders.SetFolder(36, "C:\\Windows");
        world.folders.SetFolder(38, "C:\\Program Files");
        world.env.programFolder = "C:\\Apps\\Morvane";
    }
    std::vector<std::string> Tree(const std::string& folder) { return world.files.Tree(folder); }
    void StoreUserFolder(const std::string& folder) {
        world.files.AddFile("C:\\Apps\\Morvane\\Clean.ini", "[User]\r\nsFile0=" + folder + "\r\n");
    }
    HeadlessWorld world;
    engine::DeleteTally tally;
};

TEST_F(Purge, EmptiesTheFolderKeepsItAndCountsWhatWent) {
    world.files.AddFile("C:\\Users\\me\\Temp\\a.tmp", "12345");
    world.files.AddFile("C:\\Users\\me\\Temp\\deep\\er\\b.tmp", "123");
    world.files.AddFile("C:\\Users\\me\\Temp\\ro.tmp", "1", kAttrReadOnly);
    world.files.AddFolder("C:\\Users\\me\\Temp\\rofolder", kAttrReadOnly);
    world.files.AddFile("C:\\Users\\me\\Temp\\rofolder\\x", "12", kAttrReadOnly);
    engine::PurgeTempFolder(tally);
    EXPECT_TRUE(world.files.Exists("C:\\Users\\me\\Temp"));
    EXPECT_TRUE(Tree("C:\\Users\\me\\Temp").empty());
    EXPECT_EQ(tally.removedItems, 7u);
    EXPECT_EQ(tally.removedBytes, 11u);
    EXPECT_EQ(tally.keptItems, 0u);
}

TEST_F(Purge, AFileInUseStaysWithTheFoldersOnItsPathAndIsCounted) {
    world.files.AddFile("C:\\Users\\me\\Temp\\open\\inner\\held.log", "1234");
    world.files.AddFile("C:\\Users\\me\\Temp\\open\\inner\\free.log", "1");
    world.files.AddFile("C:\\Users\\me\\Temp\\other.log", "1");
    world.files.SetLock("C:\\Users\\me\\Temp\\open\\inner\\held.log", fake::FakeFileSystem::Lock::kInUse);
    engine::PurgeTempFolder(tally);
    EXPECT_EQ(Tree("C:\\Users\\me\\Temp"),
              (std::vector<std::string>{"C:\\Users\\me\\Temp\\open", "C:\\Users\\me\\Temp\\open\\inner",
                                        "C:\\Users\\me\\Temp\\open\\inner\\held.log"}));
    EXPECT_EQ(tally.keptItems, 1u);
    EXPECT_EQ(tally.keptBytes, 4u);
}

TEST_F(Purge, ALinkIsRemovedButWhatItPointsAtStays) {
    world.files.AddFile("C:\\Outside\\precious.doc", "keep me");
    world.files.AddLink("C:\\Users\\me\\Temp\\shortcut", "C:\\Outside");
    world.files.AddFolder("C:\\Users\\me\\Temp\\sub");
    world.files.AddLink("C:\\Users\\me\\Temp\\sub\\nested", "C:\\Outside");
    engine::PurgeTempFolder(tally);
    EXPECT_TRUE(Tree("C:\\Users\\me\\Temp").empty());
    EXPECT_EQ(world.files.Content("C:\\Outside\\precious.doc"), "keep me");
}

TEST_F(Purge, BadBasesAreNeverPurged) {
    world.files.AddFile("C:\\victim.txt");
    world.files.AddFile("C:\\Windows\\0\\victim.txt");
    for (const char* temp : {"", "0", "\\", "/", "relative\\path", "C:", "C:relative", "C:\\", "c:/",
                             "C:\\Windows", "C:\\Program Files\\..\\Windows"}) {
        world.env.SetVariable("Temp", temp);
        engine::PurgeTempFolder(tally);
        EXPECT_TRUE(world.files.Exists("C:\\victim.txt")) << "Temp=" << temp;
        EXPECT_TRUE(world.files.Exists("C:\\Windows\\0\\victim.txt")) << "Temp=" << temp;
    }
    world.env.UnsetVariable("Temp");
    engine::PurgeTempFolder(tally);
    for (const char* user : {"", "0", "\\", "C:\\", "c:\\windows"}) {
        StoreUserFolder(user);
        engine::PurgeUserFolder(tally);
        EXPECT_TRUE(world.files.Exists("C:\\Windows\\0\\victim.txt")) << "user folder " << user;
    }
    EXPECT_EQ(tally.removedItems, 0u);
}

TEST_F(Purge, TheUserFolderIsReadAtTheMomentOfThePurgeAndAnotherDrivesRootIsAllowed) {
    world.files.AddDrive('D');
    world.files.AddFile("D:\\Data\\x.txt");
    world.files.AddFile("D:\\y.txt");
    StoreUserFolder("D:\\Data");
    engine::PurgeUserFolder(tally);
    EXPECT_TRUE(world.files.Exists("D:\\Data"));
    EXPECT_FALSE(world.files.Exists("D:\\Data\\x.txt"));
    StoreUserFolder("D:\\");
    engine::PurgeUserFolder(tally);
    EXPECT_TRUE(world.files.Tree("D:\\").empty());
}

TEST(ShellDelete, FilesFoldersAndPatternsAndSilenceAboutWhatIsMissing) {
    HeadlessWorld world;
    world.files.AddFile("C:\\W\\one.txt", "", kAttrReadOnly);
    world.files.AddFile("C:\\W\\two.log");
    world.files.AddFile("C:\\W\\tree\\a\\b.txt");
    world.files.AddFile("C:\\W\\keep.dat");
    engine::ShellDelete("C:\\W\\one.txt");
    EXPECT_FALSE(world.files.Exists("C:\\W\\one.txt")) << "read-only files go as the shell removes them";
    engine::ShellDelete("C:\\W\\tree");
    EXPECT_FALSE(world.files.Exists("C:\\W\\tree"));
    engine::ShellDelete("C:\\W\\*.log");
    EXPECT_EQ(world.files.Tree("C:\\W"), std::vector<std::string>{"C:\\W\\keep.dat"});
    engine::ShellDelete("C:\\W\\missing.txt");
    engine::ShellDelete("C:\\Nowhere\\*.*");
    engine::DeleteTally tally;
    EXPECT_FALSE(engine::DeleteFilesInTree("C:\\Nowhere", true, tally));
}

TEST(PurgeableBase, AbsoluteDrivePathsAndSharesOnly) {
    for (const char* good : {"C:\\Temp", "D:\\", "c:/x", "\\\\server\\share\\dir"}) {
        EXPECT_TRUE(engine::IsPurgeableBase(good)) << good;
    }
    for (const char* bad : {"", "0", "\\", "/", "\\\\", "C:", "C:x", "x", "\\Temp", "\\\\?\\unix\\home",
                            "\\\\.\\C:\\x"}) {
        EXPECT_FALSE(engine::IsPurgeableBase(bad)) << bad;
    }
}

}  // namespace
