// Today's targets through the real Morvane.exe: the caches of Chromium browsers and Firefox in
// folders of the test's own (LOCALAPPDATA and APPDATA point there), one browser held running as
// it holds itself, and the Recycle Bin, which is the prefix's own trash below build/. Then the
// screen of every target, as a user opens it.
#include <gtest/gtest.h>

#include <map>

#include "platform/win32/WideText.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/E2eWorld.h"
#include "tests/win32/world/TestFiles.h"

#include <shellapi.h>

namespace e2e {
namespace {

using Bar = std::vector<std::string>;
using testing_support::Long;

constexpr int kRunLimitMs = 60000;
constexpr int kStepMs = 10000;

const std::string kStartPage = "  Kavlon Tarnwick----Main Start Page";
const std::string kOptions = "  Kavlon Tarnwick----Choose The Folders You Want To Clean";
const std::string kTargets = "  Kavlon Tarnwick----Everything A Clean Can Clean";
const Bar kStartBar = {"View Paths", "Options", "View Cookies", "User Folder", "Help", "About", "Close"};
const Bar kOptionsBar = {"View Paths", "View Cookies", "User Folder", "Clean Now", "Help", "About", "Close", "All Targets"};
const Bar kTargetsBar = {"Options", "Close"};

// What a record says a target removed ("N items removed") or would remove ("would remove N items").
std::string Count(const std::string& log, const std::string& line, const std::string& before, const std::string& after) {
    const std::size_t at = log.find(line);
    if (at == std::string::npos) return "(no line " + line + ")";
    const std::size_t end = log.find('\n', at + line.size());
    const std::string text = log.substr(at, end - at);
    const std::size_t from = before.empty() ? text.find(": ") + 2 : text.find(before) + before.size();
    return text.substr(from, text.find(after, from) - from);
}

bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

std::optional<SHQUERYRBINFO> BinHolds() {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof(info);
    if (FAILED(::SHQueryRecycleBinW(nullptr, &info))) return std::nullopt;
    return info;
}

class Browsers : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(world.InstallMorvane(program)) << "Morvane.exe must lie beside this test program"; }

    std::map<std::string, std::string> Variables() const { return {{"LOCALAPPDATA", local}, {"APPDATA", roaming}}; }

    std::optional<DWORD> Run(const std::string& arguments) {
        MorvaneRun run(program + "\\Morvane.exe", arguments, temp, false, Variables());
        EXPECT_TRUE(run.Started());
        if (!run.WaitForEnd(kRunLimitMs)) {
            ADD_FAILURE() << "Morvane.exe " << arguments << " still ran after " << kRunLimitMs << " ms";
            return std::nullopt;
        }
        return run.ExitCode();
    }
    std::string Log() { return world.ReadBytes(program + "\\Morvane.log").value_or(""); }

    // A Chromium profile as the browser leaves it: caches beside the user's own files.
    void Chromium(const std::string& profile) {
        world.MakeFile(profile + "\\Cache\\Cache_Data\\f_000001", "cached page");
        world.MakeFile(profile + "\\Cache\\Cache_Data\\index", "index");
        world.MakeFile(profile + "\\Code Cache\\js\\0a1b", "code");
        world.MakeFile(profile + "\\GPUCache\\data_0", "gpu");
        for (const char* own : {"Cookies", "History", "Login Data", "Preferences", "Bookmarks"}) {
            world.MakeFile(profile + "\\" + own, std::string(own) + " of the user");
        }
    }
    void Firefox(const std::string& name) {
        world.MakeFile(local + "\\Mozilla\\Firefox\\Profiles\\" + name + "\\cache2\\entries\\E1", "entry");
        world.MakeFile(local + "\\Mozilla\\Firefox\\Profiles\\" + name + "\\startupCache\\s.little", "start");
        world.MakeFile(local + "\\Mozilla\\Firefox\\Profiles\\" + name + "\\cookies.sqlite", "cookies");
        world.MakeFile(local + "\\Mozilla\\Firefox\\Profiles\\" + name + "\\places.sqlite", "places");
        world.MakeFile(roaming + "\\Mozilla\\Firefox\\Profiles\\" + name + "\\parent.lock", "");
    }
    // Chrome held running as Chrome holds itself (its lockfile: write access, reading shared,
    // deleted on close), with no window; Edge ended; Firefox with one profile in use.
    void Browsing() {
        Chromium(chrome + "\\Default");
        Chromium(edge + "\\Default");
        Chromium(edge + "\\Profile 2");
        world.MakeFile(edge + "\\ShaderCache\\s", "shader");
        world.MakeFile(edge + "\\Local State", "state");
        // A profile and a cache folder that are links: what they lead to stays whole.
        Chromium(world.Path("Outside\\Profile"));
        world.MakeFile(world.Path("Outside\\Documents\\thesis.doc"), "years of work");
        ASSERT_TRUE(world.MakeFolderLink(edge + "\\Profile 3", world.Path("Outside\\Profile")));
        world.MakeFile(edge + "\\Guest Profile\\Preferences", "guest");
        ASSERT_TRUE(world.MakeFolderLink(edge + "\\Guest Profile\\GPUCache", world.Path("Outside\\Documents")));
        Firefox("a.default-release");
        Firefox("b.dev");
        chromeLock = win32::KernelHandle(::CreateFileW(Long(chrome + "\\lockfile").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                       nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        ASSERT_TRUE(chromeLock.IsValid());
        firefoxLock = world.HoldOpen(roaming + "\\Mozilla\\Firefox\\Profiles\\a.default-release\\parent.lock");
        ASSERT_TRUE(firefoxLock.IsValid());
    }

    E2eWorld world;
    const std::string program = world.Path("Program");
    const std::string temp = world.Path("Temp");
    const std::string local = world.Path("Local");
    const std::string roaming = world.Path("Roaming");
    const std::string chrome = local + "\\Google\\Chrome\\User Data";
    const std::string edge = local + "\\Microsoft\\Edge\\User Data";
    win32::KernelHandle chromeLock, firefoxLock;
};

TEST_F(Browsers, CachesGoARunningBrowserAndAProfileInUseStayAndEveryOtherFileStaysByteForByte) {
    Browsing();
    world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nChrome Cache=Yes\r\nEdge Cache=Yes\r\nFirefox Cache=Yes\r\n");
    const auto before = world.Contents(world.Root());
    ASSERT_EQ(Run("preview"), 0u);
    const std::string preview = Log();
    EXPECT_NE(preview.find("\r\nChrome Cache = Yes: skipped, Chrome is running\r\n"), std::string::npos) << preview;
    ASSERT_TRUE(::DeleteFileW(Long(program + "\\Morvane.log").c_str()));
    EXPECT_EQ(world.Contents(world.Root()), before) << "the preview changed something";

    EXPECT_EQ(Run("A"), 1u) << "a browser left running is something that stayed";
    const std::string log = Log();
    for (const std::string& line : {std::string("\r\nChrome Cache = Yes: skipped, Chrome is running\r\n"),
                                    "\r\nSkipped: Chrome Cache, " + chrome + ": Chrome is running\r\n",
                                    "\r\nSkipped: Edge Cache, " + edge + "\\Profile 3: a link, left in place\r\n",
                                    "\r\nSkipped: Edge Cache, " + edge + "\\Guest Profile\\GPUCache: a link, left in place\r\n",
                                    "\r\nSkipped: Firefox Cache, " + local +
                                        "\\Mozilla\\Firefox\\Profiles\\a.default-release: Firefox profile "
                                        "a.default-release is in use\r\n"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << log;
    }
    for (const char* target : {"Edge Cache", "Firefox Cache"}) {
        EXPECT_EQ(Count(preview, std::string("\r\n") + target + " = Yes", "would remove ", " items"),
                  Count(log, std::string("\r\n") + target + " = Yes", "", " items removed"))
            << target << ": the preview counts what the clean removes";
    }
    // Everything but the contents of the caches that went is as it was, byte for byte.
    auto expected = before;
    for (const std::string& gone :
         {edge + "\\Default\\Cache\\", edge + "\\Default\\Code Cache\\", edge + "\\Default\\GPUCache\\",
          edge + "\\Profile 2\\Cache\\", edge + "\\Profile 2\\Code Cache\\", edge + "\\Profile 2\\GPUCache\\",
          edge + "\\ShaderCache\\", local + "\\Mozilla\\Firefox\\Profiles\\b.dev\\cache2\\",
          local + "\\Mozilla\\Firefox\\Profiles\\b.dev\\startupCache\\"}) {
        const std::string relative = gone.substr(world.Root().size() + 1);
        std::erase_if(expected, [&](const auto& item) { return item.first.starts_with(relative); });
        EXPECT_TRUE(world.Exists(gone.substr(0, gone.size() - 1))) << gone << " itself stays";
    }
    auto after = world.Contents(world.Root());
    after.erase("Program\\Morvane.log");
    EXPECT_EQ(after, expected);
}

TEST_F(Browsers, TheRecycleBinIsPreviewedAndEmptiedThroughTheShellAndNoOtherTrashIsTouched) {
    // Only the prefix's own bin, the trash below XDG_DATA_HOME that the test tools keep in build/.
    if (!UnderWine() || !::_wgetenv(L"XDG_DATA_HOME")) GTEST_SKIP() << "the bin here may be someone's";
    // A trash of the freedesktop kind outside the prefix's HOME: nobody's bin, so it stays.
    const std::string elsewhere = world.Path("Elsewhere\\.local\\share\\Trash");
    world.MakeFile(elsewhere + "\\files\\keep.txt", "keep");
    world.MakeFile(elsewhere + "\\info\\keep.txt.trashinfo", "[Trash Info]\nPath=/keep.txt\n");
    const auto untouched = world.Contents(elsewhere);
    const auto empty = BinHolds();
    ASSERT_TRUE(empty) << "the shell reads the prefix's bin";
    for (const char* name : {"first.txt", "second.txt"}) {
        world.MakeFile(world.Path(name), "12345");
        const std::wstring from = win32::Widen(world.Path(name)) + L'\0';
        SHFILEOPSTRUCTW deletion{};
        deletion.wFunc = FO_DELETE;
        deletion.pFrom = from.c_str();
        deletion.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        ASSERT_EQ(::SHFileOperationW(&deletion), 0);
    }
    const auto full = BinHolds();
    ASSERT_TRUE(full);
    ASSERT_EQ(full->i64NumItems, empty->i64NumItems + 2);
    const std::string held = std::to_string(full->i64NumItems);
    world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nRecycle Bin=Yes\r\n");

    ASSERT_EQ(Run("preview"), 0u);
    EXPECT_NE(Log().find("\r\nRecycle Bin = Yes: would remove " + held + " items, "), std::string::npos) << Log();
    EXPECT_EQ(BinHolds()->i64NumItems, full->i64NumItems) << "the preview emptied it";
    EXPECT_EQ(Run("A"), 0u) << Log();
    EXPECT_EQ(BinHolds()->i64NumItems, 0) << Log();
    EXPECT_NE(Log().find("\r\nRecycle Bin = Yes: held " + held + " items, "), std::string::npos) << Log();
    EXPECT_NE(Log().find("; " + held + " items removed, "), std::string::npos) << Log();
    EXPECT_FALSE(world.Exists(world.Path("first.txt"))) << "emptied, not put back";
    EXPECT_EQ(world.Contents(elsewhere), untouched);
}

TEST_F(Browsers, TheScreenOfEveryTargetTellsWhatEachWouldFreeAndWhy) {
    Browsing();
    MorvaneRun run(program + "\\Morvane.exe", "", temp, false, Variables());
    const HWND start = WaitForWindow(run.Id(), kStartPage, 30000);
    ASSERT_NE(start, nullptr);
    ASSERT_TRUE(ChooseMenu(start, kStartBar, "Options"));
    const HWND options = WaitForWindow(run.Id(), kOptions, kStepMs);
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(ChooseMenu(options, kOptionsBar, "All Targets")) << "the keyboard reaches it";
    const HWND targets = WaitForWindow(run.Id(), kTargets, kStepMs);
    ASSERT_NE(targets, nullptr);
    const auto line = [&](int row) { return ReadLabel(targets, ("TargetLabel" + std::to_string(row)).c_str()); };
    EXPECT_TRUE(WaitFor([&] { return line(8) != "working it out ..."; }, kRunLimitMs)) << line(8);
    EXPECT_EQ(ReadLabel(targets, "TargetCheck4"), "Chrome Cache");
    EXPECT_EQ(line(4), "skipped: Chrome is running");
    EXPECT_EQ(line(1), "no folder chosen");
    EXPECT_TRUE(line(5).starts_with("13 items, ")) << line(5);
    EXPECT_TRUE(ClickCheckBox(targets, "TargetCheck5"));
    wchar_t value[64] = {};
    ::GetPrivateProfileStringW(L"Delete", L"Edge Cache", L"(absent)", value, 64,
                               win32::Widen(program + "\\Clean.ini").c_str());
    EXPECT_EQ(win32::Narrow(value), "Yes");
    EXPECT_TRUE(ReadLabel(targets, "TotalLabel").starts_with("The chosen ones would free 13 items, "))
        << ReadLabel(targets, "TotalLabel");
    EXPECT_TRUE(SaveScreenshot("targets"));
    ASSERT_TRUE(ChooseMenu(targets, kTargetsBar, "Options"));
    EXPECT_NE(WaitForWindow(run.Id(), kOptions, kStepMs), nullptr);
}

}  // namespace
}  // namespace e2e
