// What `Morvane.exe A` deletes, tried as a hostile user would: a protected folder in every
// spelling (the protected folder is one of the test's own, placed there as the machine's common
// StartUp folder, so that a refusal that failed would lose nothing of the machine), links and
// deep trees inside the purge, a folder swapped for a link while the purge runs, a long folder,
// the program's own folder, and the exit codes that tell what happened.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/win32/WideText.h"
#include "tests/e2e/E2eWorld.h"
#include "tests/win32/world/WinePrefix.h"

namespace e2e {
namespace {

constexpr int kRunLimitMs = 120000;
const char* const kSystemRefusal = "You have selected a system file to clean\r\rThis program will not continue !!!!";
const char* const kRootRefusal = "You have selected the root file to clean\r\rThis program will not continue !!!!";


class Safety : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(world.InstallMorvane(program)) << "Morvane.exe must lie beside this test program";
        world.MakeFolder(temp);
    }

    void WriteSettings(const std::string& userFolder, bool user, bool temp) {
        const auto option = [](bool chosen) { return chosen ? "Yes" : "No"; };
        world.MakeFile(program + "\\Clean.ini", "[User]\r\nsFile0=" + userFolder + "\r\n[Delete]\r\nUser=" +
                                                    option(user) + "\r\nTemp=" + option(temp) +
                                                    "\r\nTemporary Internet Files=No\r\n");
    }

    // `Morvane.exe A` to its end; nullopt when it had to be stopped.
    std::optional<DWORD> RunUnattended(const std::string& tempFolder) {
        MorvaneRun run(program + "\\Morvane.exe", "A", tempFolder);
        EXPECT_TRUE(run.Started());
        if (!run.WaitForEnd(kRunLimitMs)) {
            ADD_FAILURE() << "Morvane.exe A still ran after " << kRunLimitMs << " ms";
            return std::nullopt;
        }
        return run.ExitCode();
    }
    std::optional<DWORD> RunUnattended() { return RunUnattended(temp); }

    struct Refusal {
        std::string text;  // "" when no refusal showed
        std::optional<DWORD> exitCode;
    };
    // `Morvane.exe A` when a refusal is expected: the message is answered, the folder picker
    // that follows is closed as the user would close it.
    Refusal RunRefused(const std::string& tempFolder) {
        MorvaneRun run(program + "\\Morvane.exe", "A", tempFolder);
        EXPECT_TRUE(run.Started());
        Refusal refusal;
        const auto text = run.AnswerMessageBox(L"Kavlon Info.....", kRunLimitMs);
        if (!text) {
            refusal.exitCode = run.WaitForEnd(kRunLimitMs) ? run.ExitCode() : std::nullopt;
            return refusal;
        }
        refusal.text = *text;
        run.WaitForWindow(nullptr, L"Kavlon Tarnwick-----User Designated Folder To Clean", 10000);
        run.CloseWindows();
        if (run.WaitForEnd(10000)) refusal.exitCode = run.ExitCode();
        return refusal;
    }

    E2eWorld world;
    const std::string program = world.Path("Program");
    const std::string temp = world.Path("Temp");
};

// The protected folder, the folder above it, and the ways of naming either.
TEST_F(Safety, AProtectedFolderIsRefusedInEverySpelling) {
    const std::string realm = world.Path("Realm");
    const std::string guarded = realm + "\\Guarded";
    world.MakeFile(guarded + "\\precious.txt", "precious");
    world.MakeFile(guarded + "\\inner\\more.txt", "more");
    const testing_support::ShellFolderAt commonStartup(L"Common Startup", guarded);
    const testing_support::ExtraDrive guardedDrive(guarded);
    const testing_support::ExtraDrive realmDrive(realm);
    const testing_support::LocalShares shares;
    ASSERT_TRUE(world.MakeFolderLink(world.Path("ToGuarded"), guarded));
    ASSERT_TRUE(world.MakeFolderLink(world.Path("Zone\\up"), realm));
    ASSERT_FALSE(guardedDrive.Drive().empty());
    ASSERT_FALSE(realmDrive.Drive().empty());
    ASSERT_TRUE(shares.Served());
    const auto before = world.Contents(realm);

    struct Case {
        const char* label;
        std::string folder;
        bool asTemp;  // the Temp folder, which is passed over without a message
        const char* refusal = kSystemRefusal;
    };
    wchar_t volume[MAX_PATH] = {};  // C:'s volume in the NT namespace: "\Device\HarddiskVolume1"
    ASSERT_TRUE(::QueryDosDeviceW(L"C:", volume, MAX_PATH));
    const Case cases[] = {
        {"the folder itself", guarded, false},
        {"the folder above it", realm, false},
        {"a network path", "\\\\localhost\\c$" + guarded.substr(2), false},
        {"a network path by address to the folder above", "\\\\127.0.0.1\\c$" + realm.substr(2), false},
        {"its own drive letter", guardedDrive.Drive() + "\\", false},
        {"the drive letter of the folder above", realmDrive.Drive() + "\\", false},
        {"a link to it", world.Path("ToGuarded"), false},
        {"a link on the way", world.Path("Zone\\up\\Guarded"), false},
        {"a link to it as the Temp folder", world.Path("ToGuarded"), true},
        {"a device path", "\\\\.\\" + guarded, false}, {"the NT namespace", "\\??\\" + guarded, false},
        {"through GLOBALROOT", "\\\\?\\GLOBALROOT\\??\\" + guarded, false},
        {"the volume's device name", "\\\\?\\GLOBALROOT" + win32::Narrow(volume) + guarded.substr(2), false},
        {"a device path to the share of the folder above", "\\\\.\\UNC\\localhost\\c$" + realm.substr(2), false},
        {"the drive root through GLOBALROOT", "\\\\?\\GLOBALROOT\\??\\C:\\", false, kRootRefusal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.label) + ": " + c.folder);
        WriteSettings(c.asTemp ? "0" : c.folder, !c.asTemp, c.asTemp);
        const Refusal refusal = RunRefused(c.asTemp ? c.folder : temp);
        if (c.asTemp) {
            EXPECT_EQ(refusal.text, "");
            EXPECT_EQ(refusal.exitCode, 1u) << "not cleaned, and said so";
        } else {
            EXPECT_EQ(refusal.text, c.refusal);
            EXPECT_EQ(refusal.exitCode, 2u);
        }
        EXPECT_EQ(world.Contents(realm), before);
    }
}

// Nothing is reached through a link, whatever it leads to, and a tree far deeper than a path
// of 260 characters goes whole.
TEST_F(Safety, LinksInsideThePurgeLeadNowhereAndDeepTreesGo) {
    const std::string user = world.Path("User");
    world.MakeFile(world.Path("Outside\\precious.txt"), "precious");
    world.MakeFile(world.Path("Outside\\Folder\\more.txt"), "more");
    ASSERT_TRUE(world.MakeFileLink(user + "\\file link.txt", world.Path("Outside\\precious.txt")));
    ASSERT_TRUE(world.MakeFolderLink(user + "\\folder link", world.Path("Outside\\Folder")));
    ASSERT_TRUE(world.MakeFolderLink(user + "\\nested\\up", world.Path("Outside")));
    const std::string deepest = world.MakeDeepTree(user + "\\deep", 500);
    ASSERT_TRUE(world.Exists(deepest + "\\f.tmp"));
    ASSERT_GT(deepest.size(), 1000u);
    const auto outside = world.Contents(world.Path("Outside"));
    WriteSettings(user, true, false);

    EXPECT_EQ(RunUnattended(), 1u) << "the links that Wine cannot remove stay, and are reported";
    EXPECT_EQ(world.Contents(world.Path("Outside")), outside);
    const std::vector<std::string> left = world.Tree(user);
    for (const std::string& item : left) {
        EXPECT_TRUE(item == "file link.txt" || item == "folder link (link)" || item == "nested\\" ||
                    item == "nested\\up (link)")
            << item;
    }
    EXPECT_FALSE(world.Exists(user + "\\deep"));
}

// Read back cut to 254 characters, this folder named its parent, which the purge then emptied.
TEST_F(Safety, ALongUserFolderIsPurgedItselfNotItsParent) {
    const std::string parent = world.Root() + "\\" + std::string(252 - world.Root().size(), 'p');
    ASSERT_EQ(parent.size(), 253u);
    const std::string chosen = parent + "\\chosen";
    world.MakeFile(parent + "\\sibling.txt", "sibling");
    world.MakeFile(chosen + "\\old.tmp", "old");
    WriteSettings(chosen, true, false);
    EXPECT_EQ(RunUnattended(), 0u);
    EXPECT_EQ(world.Tree(parent), (std::vector<std::string>{"chosen\\", "sibling.txt"}));
}

// A purge that meets the program's folder leaves the program, its settings, the temporary files
// of its writes and its log, and removes everything else.
TEST_F(Safety, TheProgramsOwnFilesStay) {
    const std::vector<std::string> own = {"Clean.ini", "Clean.ini.999999999-1.tmp", "Morvane.exe", "Morvane.log"};
    for (const std::string& user : {program, world.Root()}) {
        SCOPED_TRACE(user);
        world.MakeFile(program + "\\Clean.ini.999999999-1.tmp", "left by a killed write");
        world.MakeFile(program + "\\Morvane.log", "log");
        world.MakeFile(program + "\\junk.txt", "junk");
        world.MakeFile(program + "\\Cache\\entry.tmp", "cached");
        world.MakeFile(world.Path("Beside\\other.txt"), "other");
        WriteSettings(user, true, false);
        EXPECT_EQ(RunUnattended(), 0u);
        EXPECT_EQ(world.Tree(program), own);
        EXPECT_EQ(world.Exists(world.Path("Beside")), user == program);
    }
}

TEST_F(Safety, TheExitCodeTellsWhatHappened) {
    world.MakeFile(temp + "\\t.tmp", "t");
    WriteSettings(world.Path("Gone"), true, true);
    EXPECT_EQ(RunUnattended(), 1u) << "the chosen folder is gone: not all was cleaned";
    EXPECT_FALSE(world.Exists(temp + "\\t.tmp")) << "the Temp folder was cleaned all the same";
    WriteSettings("\\\\.\\PhysicalDrive0", true, false);
    EXPECT_EQ(RunUnattended(), 1u) << "a disk is no folder: it cannot be reached, and is not refused";

    world.MakeFile(temp + "\\t.tmp", "t");
    WriteSettings(temp, true, true);
    {
        const win32::KernelHandle held = world.HoldOpen(program + "\\Clean.ini");
        ASSERT_TRUE(held.IsValid());
        EXPECT_EQ(RunUnattended(), 3u) << "Clean.ini exists but cannot be read";
    }
    EXPECT_TRUE(world.Exists(temp + "\\t.tmp"));
}

// Another program swaps the purged folder's subfolders for links to a folder outside while the
// purge runs through them.
TEST_F(Safety, AFolderSwappedForALinkDuringThePurgeLeadsNowhere) {
    const std::string user = world.Path("Race");
    const std::string outside = world.Path("Outside");
    constexpr int kFolders = 60;
    for (int i = 0; i < 40; ++i) world.MakeFile(outside + "\\precious-" + std::to_string(i) + ".txt", "precious");
    for (int i = 0; i < kFolders; ++i) {
        for (int f = 0; f < 25; ++f) {
            world.MakeFile(user + "\\s" + std::to_string(i) + "\\f" + std::to_string(f) + ".tmp", "x");
        }
    }
    const auto before = world.Contents(outside);
    WriteSettings(user, true, false);

    MorvaneRun run(program + "\\Morvane.exe", "A", temp);
    ASSERT_TRUE(run.Started());
    int swapped = 0;
    std::thread racer([&] {
        for (int i = 0; i < kFolders && !run.WaitForEnd(0); ++i) {
            const std::string folder = user + "\\s" + std::to_string(i);
            if (world.SwapFolderForLink(folder, user + "\\moved" + std::to_string(i), outside)) ++swapped;
            ::Sleep(3);
        }
    });
    const bool ended = run.WaitForEnd(kRunLimitMs);
    racer.join();
    ASSERT_TRUE(ended);
    EXPECT_GT(swapped, 0);
    EXPECT_EQ(world.Contents(outside), before);
}

}  // namespace
}  // namespace e2e
