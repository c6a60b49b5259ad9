// Deletion and the purge on the fake file system: what goes, what stays and why, links, races,
// the program's own files, and the folders that are never purged.
#include <gtest/gtest.h>

#include "engine/CleanTargets.h"
#include "engine/Purges.h"
#include "platform/Text.h"
#include "support/HeadlessWorld.h"

namespace {

using engine::StayReason;
using platform::kAttrReadOnly;
using testing_support::HeadlessWorld;
using Paths = std::vector<std::string>;

class Purge : public testing::Test {
protected:
    Purge() {
        world.env.SetVariable("TEMP", kTemp);
        world.folders.SetFolder(36, "C:\\Windows");
        world.folders.SetFolder(38, "C:\\Program Files");
        world.files.AddFolder("C:\\Windows");
        world.files.AddFolder("C:\\Program Files");
        world.files.AddFolder(kTemp);
        world.env.programFolder = "C:\\Apps\\Morvane";
        world.files.AddFolder(world.env.programFolder);
    }
    Paths Tree(const std::string& folder) { return world.files.Tree(folder); }
    // The clean's user-folder (0) or Temp (1) target, from the settings as they are now.
    void Clean(std::size_t target, engine::DeleteTally& into, engine::CleanProgress* progress = nullptr) {
        const settings::IniSnapshot ini(world.ports, settings::IniFilePath(world.env));
        engine::CleanTargets()[target].clean(world.ports, engine::CleanSettings::Read(ini, world.env), into, progress, engine::CleanMode::kClean);
    }
    void PurgeUser(engine::DeleteTally& into) { Clean(0, into); }
    void PurgeTemp(engine::DeleteTally& into, engine::CleanProgress* progress = nullptr) {
        Clean(1, into, progress);
    }
    void StoreUserFolder(const std::string& folder) {
        world.files.AddFile("C:\\Apps\\Morvane\\Clean.ini", "[User]\r\nsFile0=" + folder + "\r\n");
    }
    static constexpr const char* kTemp = "C:\\Users\\me\\Temp";
    HeadlessWorld world;
    engine::DeleteTally tally;
};

TEST_F(Purge, EmptiesTheFolderKeepsItAndCountsWhatWent) {
    world.files.AddFile("C:\\Users\\me\\Temp\\a.tmp", "12345");
    world.files.AddFile("C:\\Users\\me\\Temp\\deep\\er\\b.tmp", "123");
    world.files.AddFile("C:\\Users\\me\\Temp\\ro.tmp", "1", kAttrReadOnly);
    world.files.AddFolder("C:\\Users\\me\\Temp\\rofolder", kAttrReadOnly);
    world.files.AddFile("C:\\Users\\me\\Temp\\rofolder\\x", "12", kAttrReadOnly);
    PurgeTemp(tally);
    EXPECT_TRUE(world.files.Exists(kTemp));
    EXPECT_TRUE(Tree(kTemp).empty());
    EXPECT_EQ(tally.removedItems, 7u);
    EXPECT_EQ(tally.removedBytes, 11u);
    EXPECT_EQ(tally.keptItems, 0u);
    EXPECT_EQ(tally.foldersNotCleaned, 0u);
}

TEST_F(Purge, AFileInUseStaysWithTheFoldersOnItsPathAndIsCountedWithItsReason) {
    world.files.AddFolder("C:\\Users\\me\\Temp\\open", kAttrReadOnly);
    world.files.AddFile("C:\\Users\\me\\Temp\\open\\inner\\held.log", "1234");
    world.files.AddFile("C:\\Users\\me\\Temp\\open\\inner\\free.log", "1");
    world.files.AddFile("C:\\Users\\me\\Temp\\other.log", "1");
    world.files.SetLock("C:\\Users\\me\\Temp\\open\\inner\\held.log", fake::FakeFileSystem::Lock::kInUse);
    PurgeTemp(tally);
    EXPECT_EQ(Tree(kTemp), (Paths{"C:\\Users\\me\\Temp\\open", "C:\\Users\\me\\Temp\\open\\inner",
                                  "C:\\Users\\me\\Temp\\open\\inner\\held.log"}));
    EXPECT_EQ(world.files.Attributes("C:\\Users\\me\\Temp\\open").value_or(0) & kAttrReadOnly, kAttrReadOnly)
        << "a read-only folder that stays keeps its mark";
    EXPECT_EQ(tally.keptItems, 1u);
    EXPECT_EQ(tally.keptBytes, 4u);
    EXPECT_EQ(tally.KeptFor(StayReason::kInUse), 1u);
    ASSERT_EQ(tally.stayed.size(), 1u);
    EXPECT_EQ(tally.stayed[0].path, "C:\\Users\\me\\Temp\\open\\inner\\held.log");
    EXPECT_EQ(tally.stayed[0].reason, StayReason::kInUse);
}

// Nothing is reached through a link: a folder link goes as a link, a file link that cannot be
// told from its target (a Unix link under Wine) stays, and what either leads to stays whole.
TEST_F(Purge, LinksNeverLeadTheDeletionOutside) {
    world.files.AddFile("C:\\Outside\\precious.doc", "keep me");
    world.files.AddFile("C:\\Outside\\Folder\\more.doc", "more");
    world.files.AddLink("C:\\Users\\me\\Temp\\shortcut", "C:\\Outside");
    world.files.AddLink("C:\\Users\\me\\Temp\\sub\\nested", "C:\\Outside\\Folder");
    world.files.AddFileLink("C:\\Users\\me\\Temp\\doc", "C:\\Outside\\precious.doc");
    PurgeTemp(tally);
    EXPECT_EQ(Tree(kTemp), Paths{"C:\\Users\\me\\Temp\\doc"});
    EXPECT_EQ(tally.KeptFor(StayReason::kLinkLeft), 1u);
    EXPECT_EQ(Tree("C:\\Outside"), (Paths{"C:\\Outside\\Folder", "C:\\Outside\\Folder\\more.doc",
                                          "C:\\Outside\\precious.doc"}));
    EXPECT_EQ(world.files.Content("C:\\Outside\\precious.doc"), "keep me");
}

// What the walk opens is swapped for a link just before it opens it, as a program racing the
// purge would: the swapped-in link leads nowhere.
TEST_F(Purge, AnItemSwappedForALinkUnderTheWalkLeadsNowhere) {
    struct Case {
        const char* swapped;
        bool folder;
    };
    for (const Case& c : {Case{"C:\\Users\\me\\Temp\\sub", true}, Case{"C:\\Users\\me\\Temp\\sub\\a.tmp", false}}) {
        SCOPED_TRACE(c.swapped);
        world.files.AddFile("C:\\Outside\\precious.doc", "keep me");
        world.files.AddFile("C:\\Users\\me\\Temp\\sub\\a.tmp", "a");
        world.files.AddFile("C:\\Users\\me\\Temp\\sub\\b.tmp", "b");
        world.files.beforeOpen = [&](const std::string& path) {
            if (!text::EqualsNoCase(path, c.swapped)) return;
            world.files.beforeOpen = nullptr;
            world.files.Erase(path);
            if (c.folder) {
                world.files.AddLink(path, "C:\\Outside");
            } else {
                world.files.AddFileLink(path, "C:\\Outside\\precious.doc");
            }
        };
        PurgeTemp(tally);
        EXPECT_EQ(world.files.Tree("C:\\Outside"), Paths{"C:\\Outside\\precious.doc"});
        EXPECT_EQ(world.files.Content("C:\\Outside\\precious.doc"), "keep me");
        world.files.Erase("C:\\Users\\me\\Temp\\sub");
    }
}

// Deep folders move up while they are emptied; what stays is found where it was.
TEST_F(Purge, ADeepTreeGoesWholeAndWhatStaysInItStaysWhereItWas) {
    std::string path = kTemp;
    std::string held;
    for (int level = 0; level < 2000; ++level) {
        path += "\\d";
        world.files.AddFile(path + "\\f.tmp", "x");
        if (level == 100) held = path + "\\f.tmp";
    }
    world.files.SetLock(held, fake::FakeFileSystem::Lock::kInUse);
    PurgeTemp(tally);
    const Paths left = Tree(kTemp);
    ASSERT_EQ(left.size(), 102u);
    EXPECT_EQ(left.back(), held);
    EXPECT_EQ(tally.removedItems, 4000u - 102u);
    world.files.SetLock(held, fake::FakeFileSystem::Lock::kNone);
    PurgeTemp(tally);
    EXPECT_TRUE(Tree(kTemp).empty());
}

// Asked to stop (the program is ending), the purge ends after the item in hand: what is left is
// whole, read-only marks included, and every folder is where it was.
TEST_F(Purge, AStopEndsThePurgeAfterTheItemInHandAndLeavesEveryFolderWhereItWas) {
    std::string path = kTemp;
    for (int level = 0; level < 40; ++level) {
        path += "\\d";
        world.files.AddFile(path + "\\f.tmp", "x", level % 2 ? std::uint32_t{kAttrReadOnly} : 0u);
    }
    world.files.AddFile("C:\\Users\\me\\Temp\\later.tmp", "later");
    engine::CleanProgress progress;
    int opened = 0;
    world.files.beforeOpen = [&](const std::string&) {
        if (++opened == 50) progress.RequestStop();
    };
    PurgeTemp(tally, &progress);
    const engine::CleanProgress::Snapshot seen = progress.Read();
    EXPECT_EQ(seen.items, tally.removedItems);
    EXPECT_GT(seen.items, 0u);
    EXPECT_NE(seen.place.find("\\d\\d\\d"), std::string::npos) << "the folder in hand: " << seen.place;
    // Some files went, the rest are whole.
    path = kTemp;
    int left = 0;
    for (int level = 0; level < 40; ++level) {
        path += "\\d";
        if (!world.files.Exists(path + "\\f.tmp")) continue;
        ++left;
        EXPECT_EQ(world.files.Content(path + "\\f.tmp"), "x");
        EXPECT_EQ((world.files.Attributes(path + "\\f.tmp").value_or(0) & kAttrReadOnly) != 0, level % 2 == 1) << level;
    }
    EXPECT_GT(left, 0);
    EXPECT_LT(left, 40);
    EXPECT_TRUE(world.files.Exists("C:\\Users\\me\\Temp\\later.tmp"));
    for (const std::string& item : Tree(kTemp)) EXPECT_EQ(item.find("~Morvane"), std::string::npos) << item;
}

// Wherever a purge meets the program's folder, in whatever spelling, the program's own files
// stay and everything else there goes.
TEST_F(Purge, TheProgramsOwnFilesStayWhereverThePurgeMeetsItsFolder) {
    const Paths own = {"C:\\Apps\\Morvane\\Clean.ini", "C:\\Apps\\Morvane\\Clean.ini.4242-7.tmp",
                       "C:\\Apps\\Morvane\\Morvane.exe", "C:\\Apps\\Morvane\\Morvane.log"};
    world.files.MapDrive('P', "C:\\Apps");
    for (const char* user : {"C:\\Apps\\Morvane", "C:\\Apps", "P:\\", "P:\\Morvane"}) {
        SCOPED_TRACE(user);
        for (const std::string& path : own) world.files.AddFile(path, "mine");
        world.files.AddFile("C:\\Apps\\Morvane\\junk.txt");
        world.files.AddFile("C:\\Apps\\Morvane\\Clean.ini.bak");
        world.files.AddFile("C:\\Apps\\Other\\x.txt");
        StoreUserFolder(user);
        engine::DeleteTally userTally;
        PurgeUser(userTally);
        Paths expected = own;
        expected.insert(expected.begin(), "C:\\Apps\\Morvane");
        if (std::string(user).find("Morvane") != std::string::npos) expected.push_back("C:\\Apps\\Other\\x.txt");
        Paths left = Tree("C:\\Apps");
        std::erase_if(left, [](const std::string& p) { return p == "C:\\Apps\\Other"; });
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(left, expected);
        EXPECT_EQ(userTally.keptItems, 0u) << "the program's files are not what a clean left behind";
        world.files.Erase("C:\\Apps\\Other");
    }
}

TEST_F(Purge, BadBasesAreNeverPurgedAndCountAsNotCleaned) {
    world.files.AddFile("C:\\victim.txt");
    world.files.AddFile("C:\\Windows\\0\\victim.txt");
    world.files.MapDrive('S', "C:\\Windows");
    const char* temps[] = {"",   "0",           "\\",  "/", "relative\\path", "C:", "C:relative", "C:\\", "c:/",
                           "S:\\", "C:\\Windows", "C:\\Program Files\\..\\Windows", "C:\\Missing"};
    for (const char* temp : temps) {
        world.env.SetVariable("Temp", temp);
        PurgeTemp(tally);
        EXPECT_TRUE(world.files.Exists("C:\\victim.txt")) << "Temp=" << temp;
        EXPECT_TRUE(world.files.Exists("C:\\Windows\\0\\victim.txt")) << "Temp=" << temp;
    }
    world.env.UnsetVariable("Temp");
    PurgeTemp(tally);
    const char* users[] = {"", "0", "\\", "C:\\", "c:\\windows"};
    for (const char* user : users) {
        StoreUserFolder(user);
        PurgeUser(tally);
        EXPECT_TRUE(world.files.Exists("C:\\Windows\\0\\victim.txt")) << "user folder " << user;
    }
    EXPECT_EQ(tally.removedItems, 0u);
    EXPECT_EQ(tally.foldersNotCleaned, std::size(temps) + 1 + std::size(users)) << "each one is reported";
}

TEST_F(Purge, TheUserFolderIsReadAtTheMomentOfThePurgeAndAnotherDrivesRootIsAllowed) {
    world.files.AddDrive('D');
    world.files.AddFile("D:\\Data\\x.txt");
    world.files.AddFile("D:\\y.txt");
    StoreUserFolder("D:\\Data");
    PurgeUser(tally);
    EXPECT_TRUE(world.files.Exists("D:\\Data"));
    EXPECT_FALSE(world.files.Exists("D:\\Data\\x.txt"));
    StoreUserFolder("D:\\");
    PurgeUser(tally);
    EXPECT_TRUE(world.files.Tree("D:\\").empty());
}

// Cut at 254 characters, the stored folder would name its parent.
TEST_F(Purge, ALongUserFolderIsPurgedItselfNotItsParent) {
    const std::string parent = "C:\\Data\\" + std::string(245, 'p');
    const std::string folder = parent + "\\chosen-folder";
    world.files.AddFile(parent + "\\sibling.txt", "stays");
    world.files.AddFile(folder + "\\old.tmp");
    StoreUserFolder(folder);
    PurgeUser(tally);
    EXPECT_EQ(Tree(parent), (Paths{folder, parent + "\\sibling.txt"}));
}

TEST(ShellDelete, FilesFoldersAndPatternsAndSilenceAboutWhatIsMissing) {
    HeadlessWorld world;
    world.files.AddFile("C:\\W\\one.txt", "", kAttrReadOnly);
    world.files.AddFile("C:\\W\\two.log");
    world.files.AddFile("C:\\W\\tree\\a\\b.txt");
    world.files.AddFile("C:\\W\\keep.dat");
    engine::ShellDelete(world.files, "C:\\W\\one.txt");
    EXPECT_FALSE(world.files.Exists("C:\\W\\one.txt")) << "read-only files go as the shell removes them";
    engine::ShellDelete(world.files, "C:\\W\\tree");
    EXPECT_FALSE(world.files.Exists("C:\\W\\tree"));
    engine::ShellDelete(world.files, "C:\\W\\*.log");
    EXPECT_EQ(world.files.Tree("C:\\W"), Paths{"C:\\W\\keep.dat"});
    engine::ShellDelete(world.files, "C:\\W\\missing.txt");
    engine::ShellDelete(world.files, "C:\\Nowhere\\*.*");
    EXPECT_EQ(world.files.Tree("C:\\W"), Paths{"C:\\W\\keep.dat"});
}

TEST(PurgeableBase, AbsoluteDrivePathsAndSharesOnlyInAnySpelling) {
    testing_support::FakePorts ports;
    for (const char* good : {"C:\\Temp", "D:\\", "c:/x", "\\\\server\\share\\dir", "\\\\.\\C:\\x",
                             "\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\x", "\\??\\UNC\\server\\share"}) {
        EXPECT_TRUE(engine::IsPurgeableBase(ports.files, good)) << good;
    }
    for (const char* bad : {"", "0", "\\", "/", "\\\\", "C:", "C:x", "x", "\\Temp", "\\\\?\\unix\\home",
                            "\\\\.\\PhysicalDrive0", "\\\\?\\GLOBALROOT\\Device\\Harddisk0\\x"}) {
        EXPECT_FALSE(engine::IsPurgeableBase(ports.files, bad)) << bad;
    }
}

}  // namespace
