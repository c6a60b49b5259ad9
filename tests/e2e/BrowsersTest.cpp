// Today's targets through the real Morvane.exe: browsers' caches in folders of the test's own
// (LOCALAPPDATA and APPDATA point there), a browser held running as it holds itself, and the
// Recycle Bin, the prefix's own trash below build/.
#include <gtest/gtest.h>

#include "platform/win32/WideText.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/E2eWorld.h"
#include "tests/win32/world/TestFiles.h"

#include <shellapi.h>

namespace e2e {
namespace {

struct Browsers : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(world.InstallMorvane(program));
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", win32::Widen(local).c_str());  // Morvane.exe gets ours
        ::SetEnvironmentVariableW(L"APPDATA", win32::Widen(roaming).c_str());
    }
    // Morvane.exe with these arguments, to its end: its record.
    std::string Run(const std::string& arguments, DWORD exitCode) {
        MorvaneRun run(program + "\\Morvane.exe", arguments, world.Path("Temp"));
        EXPECT_TRUE(run.WaitForEnd(60000) && run.ExitCode() == exitCode) << arguments;
        const std::string log = world.ReadBytes(program + "\\Morvane.log").value_or("");
        ::DeleteFileW(testing_support::Long(program + "\\Morvane.log").c_str());
        return log;
    }
    E2eWorld world;
    const std::string program = world.Path("Program"), local = world.Path("Local"), roaming = world.Path("Roaming");
    const std::string chrome = local + "\\Google\\Chrome\\User Data", edge = local + "\\Microsoft\\Edge\\User Data",
                      firefox = local + "\\Mozilla\\Firefox\\Profiles\\";
};

TEST_F(Browsers, CachesGoARunningBrowserAndAProfileInUseStayAndEveryOtherFileStaysByteForByte) {
    for (const std::string& cache : {chrome + "\\Default\\Cache", edge + "\\Default\\Cache", edge + "\\Profile 2\\GPUCache",
                                     firefox + "a.default-release\\cache2", firefox + "b.dev\\cache2"}) {
        world.MakeFile(cache + "\\data\\f_1", "12345");
        world.MakeFile(cache.substr(0, cache.rfind('\\')) + "\\Cookies", "mine");
    }
    // Chrome runs in the background as it runs: its lockfile held with write access, reading shared,
    // deleted on close. Firefox uses one profile: its parent.lock held with nothing shared.
    const win32::KernelHandle chromeLock(::CreateFileW(testing_support::Long(chrome + "\\lockfile").c_str(),
                                                       GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                                       FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    world.MakeFile(world.Path("Temp\\t.tmp"), "temporary");
    const std::string lock = roaming + "\\Mozilla\\Firefox\\Profiles\\a.default-release\\parent.lock";
    world.MakeFile(lock, "");
    const win32::KernelHandle firefoxLock = world.HoldOpen(lock);
    ASSERT_TRUE(chromeLock.IsValid() && firefoxLock.IsValid());
    {  // The screen of every target, from a first start through the options' menu bar by keyboard.
        MorvaneRun run(program + "\\Morvane.exe", "", world.Path("Temp"));
        const HWND start = WaitForWindow(run.Id(), "  Kavlon Tarnwick----Main Start Page", 30000);
        ASSERT_TRUE(start && ChooseMenu(start, {"View Paths", "Options"}, "Options"));
        const HWND options = WaitForWindow(run.Id(), "  Kavlon Tarnwick----Choose The Folders You Want To Clean", 10000);
        ASSERT_TRUE(options && ChooseMenu(options, {"View Paths", "View Cookies", "User Folder", "Clean Now", "Help",
                                                    "About", "Close", "All Targets"}, "All Targets"));
        const HWND screen = WaitForWindow(run.Id(), "  Kavlon Tarnwick----Everything A Clean Can Clean", 10000);
        ASSERT_TRUE(screen && WaitFor([&] { return !ReadLabel(screen, "TargetLabel8").starts_with("working it out"); }, 60000));
        EXPECT_EQ(ReadLabel(screen, "TargetCheck4") + ReadLabel(screen, "TargetLabel4"), "Chrome Cacheskipped: Chrome is running");
        EXPECT_TRUE(ClickCheckBox(screen, "TargetCheck5") && ReadLabel(screen, "TotalLabel").ends_with("4 items, 10 bytes."));
        EXPECT_TRUE(SaveScreenshot("targets"));
    }
    world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nChrome Cache=Yes\r\nEdge Cache=Yes\r\nFirefox Cache=Yes\r\n");
    auto expected = world.Contents(world.Root());
    EXPECT_NE(Run("preview", 1).find("In all: would remove 6 items, 15 bytes"), std::string::npos);  // as the clean ends
    EXPECT_EQ(world.Contents(world.Root()), expected) << "the preview changed something";
    const std::string log = Run("A", 1);  // a browser left running is something that stayed
    for (const std::string& line : std::vector<std::string>{
             "\r\nChrome Cache = Yes: skipped, Chrome is running\r\n", "\r\nIn all: 6 items removed, 15 bytes;",
             "\r\nSkipped: Chrome Cache, " + chrome + ": Chrome is running\r\n",
             "\r\nSkipped: Firefox Cache, " + firefox + "a.default-release: Firefox profile a.default-release is in use"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << log;
    }
    for (const std::string& gone : {edge + "\\Default\\Cache\\", edge + "\\Profile 2\\GPUCache\\", firefox + "b.dev\\cache2\\"}) {
        std::erase_if(expected, [&](const auto& item) { return item.first.starts_with(gone.substr(world.Root().size() + 1)); });
    }
    EXPECT_EQ(world.Contents(world.Root()), expected) << "all but what the emptied caches held is as it was";
}

TEST_F(Browsers, TheRecycleBinIsPreviewedAndEmptiedThroughTheShellAndNoOtherTrashIsTouched) {
    // Only the prefix's own bin: the trash below XDG_DATA_HOME, which the test tools keep in build/.
    if (!::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") || !::_wgetenv(L"XDG_DATA_HOME")) GTEST_SKIP();
    const std::string elsewhere = world.Path("Elsewhere\\.local\\share\\Trash");  // a trash that is nobody's bin
    world.MakeFile(elsewhere + "\\files\\keep.txt", "keep");
    world.MakeFile(elsewhere + "\\info\\keep.txt.trashinfo", "[Trash Info]\nPath=/keep.txt\n");
    const auto untouched = world.Contents(elsewhere);
    SHQUERYRBINFO bin{sizeof(bin)};
    const auto holds = [&] { return SUCCEEDED(::SHQueryRecycleBinW(nullptr, &bin)) ? bin.i64NumItems : -1; };
    ASSERT_EQ(holds(), 0) << "the shell reads the prefix's bin, empty at first";
    for (const char* name : {"first.txt", "second.txt"}) world.MakeFile(world.Path(name), "12345");
    const std::wstring deleted = win32::Widen(world.Path("first.txt") + '\0' + world.Path("second.txt")) + L'\0';
    SHFILEOPSTRUCTW deletion{nullptr, FO_DELETE, deleted.c_str()};
    deletion.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_TRUE(::SHFileOperationW(&deletion) == 0 && holds() == 2);
    world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nRecycle Bin=Yes\r\n");
    EXPECT_NE(Run("preview", 0).find("\r\nRecycle Bin = Yes: would remove 2 items, 10 bytes\r\n"), std::string::npos);
    EXPECT_NE(Run("A", 0).find("\r\nRecycle Bin = Yes: held 2 items, 10 bytes, then 0 items, 0 bytes; 2 items removed"),
              std::string::npos);
    EXPECT_EQ(holds(), 0);
    EXPECT_EQ(world.Contents(elsewhere), untouched);
}

}  // namespace
}  // namespace e2e
