// The resident start of the real Morvane.exe: the start-up shortcut, the recorded folder, the
// first-run screens, the notification-area icon, and each item of the icon's menu, chosen the
// way a user chooses it. The icon's clicks are posted to the hidden main window as the shell
// posts them; whether the icon is there is asked of the notification area itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <set>

#include "platform/win32/WideText.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/E2eWorld.h"
#include "tests/win32/world/TestFiles.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

namespace e2e {
namespace {

using win32::Narrow;
using win32::Widen;

constexpr UINT kIconMessage = WM_USER + 1;
constexpr UINT kIconId = 125;
constexpr int kStartMs = 20000;
constexpr int kEndMs = 10000;

// The menu's items by their position among those that are not separators. While a clean runs,
// Stop Clean stands above them.
enum MenuItem : int { kChangeConfiguration, kCleanNow, kExit, kRemoveAllPaths, kAbout };
constexpr int kStopClean = 0;
constexpr int WhileCleaning(MenuItem item) { return item + 1; }

const std::string kStartPage = "  Kavlon Tarnwick----Main Start Page";
const std::string kAboutScreen = "  Kavlon Tarnwick----About File";
const std::string kOptionsScreen = "  Kavlon Tarnwick----Choose The Folders You Want To Clean";
const std::vector<std::string> kStartPageBar = {"View Paths", "Options", "View Cookies", "User Folder",
                                                "Help",       "About",   "Close"};
const std::vector<std::string> kOptionsBar = {"View Paths", "View Cookies", "User Folder", "Clean Now",
                                              "Help",       "About",        "Close",       "All Targets"};

std::string StartUpFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return Narrow(path);
}

std::string ReadSetting(const std::string& ini, const char* section, const char* key) {
    wchar_t value[MAX_PATH] = {};
    ::GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"(absent)", value, MAX_PATH,
                               Widen(ini).c_str());
    return Narrow(value);
}

std::optional<FILETIME> LastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return data.ftLastWriteTime;
}

// Whether the notification area holds the icon: an icon can be modified only while it is there,
// and a change of nothing leaves it as it was.
bool IconShown(HWND owner) {
    NOTIFYICONDATAW probe = {};
    probe.cbSize = sizeof(probe);
    probe.hWnd = owner;
    probe.uID = kIconId;
    return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

// Takes the icon out of the notification area, as a notification area that restarts has lost it.
bool ForgetIcon(HWND owner) {
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = owner;
    icon.uID = kIconId;
    return ::Shell_NotifyIconW(NIM_DELETE, &icon) != FALSE;
}

template <class Condition>
bool WaitUntil(Condition condition, int milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (!condition()) {
        if (::GetTickCount64() >= end) return false;
        Wait(25);
    }
    return true;
}

// A tree of many small files in folders of a hundred, every tenth file read-only; the paths of
// the files.
std::vector<std::string> MakeManyFiles(const std::string& folder, int files) {
    std::vector<std::string> paths;
    for (int i = 0; i < files; ++i) {
        const std::string sub = folder + "\\part-" + std::to_string(i / 100);
        if (i % 100 == 0) ::CreateDirectoryW(Widen("\\\\?\\" + sub).c_str(), nullptr);
        paths.push_back(sub + "\\file-" + std::to_string(i) + ".tmp");
        const win32::KernelHandle file(::CreateFileW(Widen("\\\\?\\" + paths.back()).c_str(), GENERIC_WRITE, 0,
                                                     nullptr, CREATE_ALWAYS,
                                                     i % 10 == 0 ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL,
                                                     nullptr));
        DWORD written = 0;
        ::WriteFile(file.Get(), paths.back().data(), static_cast<DWORD>(paths.back().size()), &written, nullptr);
    }
    return paths;
}

// How long a window takes to answer a message it is sent, in milliseconds; nullopt when it did
// not answer within a second.
std::optional<ULONGLONG> AnswerTime(HWND window) {
    const ULONGLONG sent = ::GetTickCount64();
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result)) return std::nullopt;
    return ::GetTickCount64() - sent;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += "\n  " + line;
    return out.empty() ? " none" : out;
}

class Resident : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(world.InstallMorvane(program)) << "Morvane.exe must lie beside this test program";
        world.MakeFolder(temp);
        ASSERT_FALSE(StartUpFolder().empty());
        // The program's own shortcut, which an earlier run may have left.
        ::DeleteFileW(Widen(shortcut).c_str());
    }
    void TearDown() override {
        if (run) run.reset();
        ::DeleteFileW(Widen(shortcut).c_str());
    }

    // Starts Morvane.exe without arguments and waits until its icon is there; the main window.
    HWND Start() {
        run.emplace(program + "\\Morvane.exe", "", temp);
        EXPECT_TRUE(run->Started());
        HWND main = nullptr;
        WaitUntil([&] { return (main = MainWindow(run->Id())) != nullptr && IconShown(main); }, kStartMs);
        EXPECT_NE(main, nullptr) << "no hidden main window; the program " << (run->WaitForEnd(0) ? "ended" : "runs");
        if (main) {
            EXPECT_TRUE(IconShown(main)) << "no icon in the notification area";
        }
        // The shortcut follows, once the shell has had its pauses beside the windows.
        EXPECT_TRUE(WaitUntil([&] { return world.Exists(shortcut); }, kStartMs)) << "no start-up shortcut";
        return main;
    }

    // Posts the icon's message for a mouse message as the notification area does; the popup menu
    // that opened, or nullptr.
    HWND Click(HWND main, UINT mouse) {
        ::PostMessageW(main, kIconMessage, kIconId, static_cast<LPARAM>(mouse));
        HWND menu = nullptr;
        WaitUntil([&] { return (menu = OpenPopupMenu(run->Id())) != nullptr; }, 5000);
        return menu;
    }

    void Choose(HWND main, int position) {
        ASSERT_NE(Click(main, WM_RBUTTONUP), nullptr) << "no popup menu";
        ASSERT_TRUE(ChoosePopupItem(position));
        EXPECT_TRUE(WaitUntil([&] { return OpenPopupMenu(run->Id()) == nullptr; }, 5000)) << "the menu stays open";
    }

    // The screen, to the folder MORVANE_SCREENSHOTS names, when it names one.
    static void TakeScreenshot(const char* name) {
        wchar_t folder[MAX_PATH] = {};
        if (::GetEnvironmentVariableW(L"MORVANE_SCREENSHOTS", folder, MAX_PATH) == 0) return;
        EXPECT_TRUE(CaptureScreen(Narrow(folder) + "\\" + name)) << name;
    }

    // Only the Temp folder is chosen; a keep-list entry spares the question about cookies, unless
    // asked.
    void ChooseTempOnly(bool keepList = true) {
        world.MakeFile(ini, std::string("[Delete]\r\nUser=No\r\nTemp=Yes\r\nTemporary Internet Files=No\r\n") +
                                (keepList ? "[Internet]\r\nsFile0=http://kept.example/\r\n" : ""));
    }

    // The options screen, reached from the icon's Change Configuration and the start page.
    HWND OpenOptions(HWND main) {
        Choose(main, kChangeConfiguration);
        const HWND start = WaitForWindow(run->Id(), kStartPage, 5000);
        EXPECT_NE(start, nullptr);
        if (!start || !ChooseMenu(start, kStartPageBar, "Options")) return nullptr;
        return WaitForWindow(run->Id(), kOptionsScreen, 5000);
    }

    // The process ends by itself within the time; its exit code.
    std::optional<DWORD> Ended() {
        if (!run->WaitForEnd(kEndMs)) {
            ADD_FAILURE() << "Morvane.exe still runs; its windows:" << Joined(run->VisibleWindows());
            return std::nullopt;
        }
        return run->ExitCode();
    }

    E2eWorld world;
    const std::string program = world.Path("Program");
    const std::string temp = world.Path("Temp");
    const std::string ini = program + "\\Clean.ini";
    const std::string shortcut = StartUpFolder() + "\\Tarnwick.lnk";
    std::optional<MorvaneRun> run;
};

TEST_F(Resident, AFirstStartMakesTheShortcutRecordsItsFolderShowsTheStartPageAndAddsTheIcon) {
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(world.Exists(shortcut));
    EXPECT_EQ(testing_support::ShortcutTarget(shortcut), program + "\\Morvane.exe");
    EXPECT_EQ(ReadSetting(ini, "sAppPath", "ShortCut"), program + "\\");

    const HWND start = WaitForWindow(run->Id(), kStartPage, 5000);
    EXPECT_NE(start, nullptr) << "no start page; the program's windows:" << Joined(run->VisibleWindows());
    const HWND backdrop = WaitForBackdrop(run->Id(), 5000);
    ASSERT_NE(backdrop, nullptr) << "no backdrop";
    EXPECT_EQ(ReadLabel(backdrop, "Label1"), "Kavlon Tarnwick");
    EXPECT_EQ(ReadLabel(backdrop, "Label6"), "Make a selection to get started!");

    // The menu opens on a left release as on a right one, at the mouse, here where a taskbar
    // keeps its notification area; Exit then closes the open screens too.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 60, ::GetSystemMetrics(SM_CYSCREEN) - 12);
    ASSERT_NE(Click(main, WM_LBUTTONUP), nullptr) << "a left release opened no menu";
    TakeScreenshot("popup-menu.bmp");
    EXPECT_NE(::GetForegroundWindow(), start) << "the menu takes the activation";
    ::PostMessageW(OpenPopupMenu(run->Id()), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return OpenPopupMenu(run->Id()) == nullptr; }, 5000)) << "the menu stays open";
    // Dismissed, it gives it back to the screen, and the screen's status line comes back.
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == start; }, 5000)) << "the start page stays inactive";
    EXPECT_TRUE(WaitUntil([&] { return ReadLabel(backdrop, "Label6") == "Make a selection to get started!"; }, 5000))
        << "the status line reads [" << ReadLabel(backdrop, "Label6") << "]";
    Choose(main, kExit);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_FALSE(IconShown(main)) << "the icon outlived the program";
    EXPECT_TRUE(world.Exists(shortcut)) << "Exit keeps the shortcut";
    EXPECT_EQ(ReadSetting(ini, "sAppPath", "ShortCut"), program + "\\") << "and the settings";
}

TEST_F(Resident, OnceSomethingIsChosenTheNextStartStaysHiddenAndChangeConfigurationOpensTheStartPage) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(WaitForWindow(run->Id(), kStartPage, 5000), nullptr);
    Choose(MainWindow(run->Id()), kExit);
    ASSERT_EQ(Ended(), 0u);
    // What the clean-options screen writes when the user turns everything off.
    for (const wchar_t* option : {L"User", L"Temp", L"Temporary Internet Files"}) {
        ::WritePrivateProfileStringW(L"Delete", option, L"No", Widen(ini).c_str());
    }
    const std::optional<FILETIME> made = LastWrite(shortcut);
    ASSERT_TRUE(made);

    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    Wait(1000);
    EXPECT_EQ(run->VisibleWindows(), std::vector<std::string>{}) << "the start stays in the notification area";
    const std::optional<FILETIME> now = LastWrite(shortcut);
    ASSERT_TRUE(now);
    EXPECT_EQ(::CompareFileTime(&*made, &*now), 0) << "the shortcut there is left alone";

    Choose(main, kChangeConfiguration);
    const HWND start = WaitForWindow(run->Id(), kStartPage, 5000);
    ASSERT_NE(start, nullptr) << "no start page; the program's windows:" << Joined(run->VisibleWindows());
    const HWND backdrop = WaitForBackdrop(run->Id(), 5000);
    ASSERT_NE(backdrop, nullptr) << "no backdrop";
    EXPECT_EQ(ReadLabel(backdrop, "Label6"), "Make a selection to get started!");
    // Chosen again while the start page lies minimised, the item brings it back.
    ::ShowWindow(start, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(start) != FALSE; }, 5000));
    Choose(main, kChangeConfiguration);
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(start) == FALSE; }, 5000)) << "the start page stays minimised";
    EXPECT_EQ(WaitForWindow(run->Id(), kStartPage, 1000), start) << "the same start page";
    Choose(main, kExit);
    EXPECT_EQ(Ended(), 0u);
}

TEST_F(Resident, CleanNowEmptiesTheTempFolderAndStaysResident) {
    world.MakeFile(temp + "\\loose.tmp", "loose");
    world.MakeFile(temp + "\\nested\\deeper\\leaf.txt", "leaf");
    world.MakeFile(temp + "\\readonly.txt", "read only", FILE_ATTRIBUTE_READONLY);
    ChooseTempOnly();
    const HWND main = Start();
    ASSERT_NE(main, nullptr);

    Choose(main, kCleanNow);
    EXPECT_TRUE(WaitUntil([&] { return world.Tree(temp).empty(); }, 10000))
        << "left in Temp:" << Joined(world.Tree(temp)) << "; windows:" << Joined(run->VisibleWindows())
        << "; the record:\n" << world.ReadBytes(program + "\\Morvane.log").value_or("(none)");
    EXPECT_TRUE(world.Exists(temp)) << "the folder itself stays";
    Wait(500);
    EXPECT_FALSE(run->WaitForEnd(0)) << "the program stays resident";
    EXPECT_EQ(run->VisibleWindows(), std::vector<std::string>{}) << "and hidden";
    EXPECT_TRUE(IconShown(main));
    Choose(main, kExit);
    EXPECT_EQ(Ended(), 0u);
}

// The clean runs beside the windows: the backdrop answers at once throughout, and its progress
// line tells how far the clean has got while the status line says it is cleaning.
TEST_F(Resident, ACleanFromTheOptionsKeepsTheWindowsAnsweringAndShowsItsProgress) {
    MakeManyFiles(temp, 6000);
    ChooseTempOnly();
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    const HWND options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    const ULONGLONG opened = ::GetTickCount64();
    const HWND backdrop = WaitForBackdrop(run->Id(), 5000);
    ASSERT_NE(backdrop, nullptr);
    // First the line tells what a clean now would remove, counted as the clean counts, worked out
    // while the windows answer; it counts as it goes.
    const std::string all = "A clean now would remove 6,060 items, ";
    std::vector<ULONGLONG> previewWaits;
    std::optional<ULONGLONG> firstCount;
    EXPECT_TRUE(WaitUntil(
        [&] {
            if (const std::optional<ULONGLONG> took = AnswerTime(backdrop)) previewWaits.push_back(*took);
            const std::string line = ReadLabel(backdrop, "Label7");
            // A walk over before the line's first tick shows its whole count at once.
            const bool counting = line.find(", counting: ") != std::string::npos && line.find(": 0 items") == std::string::npos;
            if (!firstCount && (counting || line.rfind(all, 0) == 0)) {
                firstCount = ::GetTickCount64() - opened;
            }
            return line.rfind(all, 0) == 0;
        },
        30000))
        << "the preview line reads [" << ReadLabel(backdrop, "Label7") << "]";
    ASSERT_TRUE(firstCount) << "no count showed";
    EXPECT_LE(*firstCount, 500u) << "ms from the options screen to the first count";
    std::printf("measure | the options screen shown to the preview line's first count, 6,060 items | %llu ms\n",
                static_cast<unsigned long long>(*firstCount));
    std::sort(previewWaits.begin(), previewWaits.end(), std::greater<>());
    ASSERT_FALSE(previewWaits.empty());
    EXPECT_LE(previewWaits[previewWaits.size() / 100], 50u) << "ms, of " << previewWaits.size() << " answers";
    EXPECT_NE(ReadLabel(backdrop, "Label7").find(": Temp Folder 6,060 items, "), std::string::npos);
    SaveScreenshot("options-preview");
    // A box clicked is answered from what was worked out, with no walk.
    for (const auto& [label, answer] : {std::pair{"cleared", "A clean now would remove nothing: nothing is chosen"},
                                        std::pair{"ticked", all.c_str()}}) {
        const ULONGLONG clicked = ::GetTickCount64();
        ASSERT_TRUE(ClickCheckBox(options, "Check2")) << label;
        EXPECT_TRUE(WaitUntil([&] { return ReadLabel(backdrop, "Label7").rfind(answer, 0) == 0; }, 5000))
            << label << ": the preview line reads [" << ReadLabel(backdrop, "Label7") << "]";
        const ULONGLONG took = ::GetTickCount64() - clicked;
        EXPECT_LE(took, 100u) << "ms from the click on a box " << label << " to the line";
        std::printf("measure | a box %s to the preview line's answer, 6,060 items worked out | %llu ms\n", label,
                    static_cast<unsigned long long>(took));
    }
    ASSERT_TRUE(ChooseMenu(options, kOptionsBar, "Clean Now", {"Are You Sure?"}, "Are You Sure?"));

    // Every request of every Wine process goes through one wineserver, which deletes a file in
    // the same request that closes it: when the disk is busy elsewhere, one such request can hold
    // up everyone's messages, ours included. One answer in a hundred may wait for that, not for
    // the program; a clean on the window thread would keep every answer waiting for seconds.
    std::vector<ULONGLONG> waits;
    std::vector<std::string> progress;
    bool photographed = false;
    MessageBoxSeen finished;
    const ULONGLONG end = ::GetTickCount64() + 60000;
    while (!finished.window && ::GetTickCount64() < end) {
        const std::optional<ULONGLONG> took = AnswerTime(backdrop);
        ASSERT_TRUE(took) << "the backdrop did not answer within a second";
        waits.push_back(*took);
        if (ReadLabel(backdrop, "Label6") == "Cleaning Files Now !") {
            const std::string line = ReadLabel(backdrop, "Label7");
            if (!line.empty() && (progress.empty() || progress.back() != line)) progress.push_back(line);
            if (progress.size() == 3 && !photographed) photographed = SaveScreenshot("progress-during");
        }
        finished = WaitForMessageBox(run->Id(), 5);
    }
    ASSERT_NE(finished.window, nullptr) << "the clean did not finish";
    EXPECT_EQ(finished.text, "All Files Cleaned!");
    std::sort(waits.begin(), waits.end(), std::greater<>());
    ASSERT_GE(waits.size(), 20u);
    EXPECT_LE(waits[waits.size() / 100], 50u) << "ms, of " << waits.size() << " answers";
    EXPECT_LE(waits.front(), 250u) << "ms, the slowest of " << waits.size() << " answers";
    EXPECT_GE(progress.size(), 3u) << "the progress line, as it was read:" << Joined(progress);
    EXPECT_NE(progress.front().find(" removed - "), std::string::npos) << progress.front();
    EXPECT_NE(progress.front().find(" of 6,060 items, "), std::string::npos) << "against the preview: " << progress.front();
    EXPECT_EQ(ReadLabel(backdrop, "Label6"), "All Finished Cleaning Files !");
    const std::string totals = ReadLabel(backdrop, "Label7");
    EXPECT_EQ(totals.rfind("6,060 items, ", 0), 0u) << "6,000 files in 60 folders: " << totals;
    EXPECT_NE(totals.find(" freed"), std::string::npos) << totals;
    SaveScreenshot("progress-after");
    ASSERT_TRUE(AnswerMessageBox(finished, IDOK));
    EXPECT_TRUE(world.Tree(temp).empty());
    Choose(main, kExit);
    EXPECT_EQ(Ended(), 0u);
}

// Exit or Remove All Paths while a clean from the icon's menu runs, with the options screen open
// when it started, in the folder purge and in the cache's deletions: the screen cannot be used
// meanwhile, the stop comes first, so that little more than the item in hand goes after the
// choice, the program ends promptly with the code of its record, and every file that is left is
// whole, its read-only mark included.
TEST_F(Resident, ExitOrRemoveAllPathsDuringACleanStopsItFirst) {
    const std::set<std::string> prefixEntries = world.CacheNames();  // kept
    for (const MenuItem item : {kExit, kRemoveAllPaths}) {
        for (const bool cache : {false, true}) {
            const std::string cause = item == kExit ? "Exit" : "Remove All Paths";
            SCOPED_TRACE(cause + (cache ? " in the cache" : " in the purge"));
            std::vector<std::string> files, order;  // order: as the clean deletes them
            if (cache) {
                std::string settings = "[Delete]\r\nTemporary Internet Files=Yes\r\n[Internet]\r\nsFile0=x\r\n";
                int kept = 1;
                for (const std::string& name : prefixEntries) settings += "sFile" + std::to_string(kept++) + "=" + name + "\r\n";
                world.MakeFile(ini, settings);
                order = world.CommitCacheEntries(3000);
            } else {
                files = MakeManyFiles(temp, 6000);
                order = world.FilesInWalkOrder(temp);
                ChooseTempOnly();
            }
            const auto exists = [&](const std::string& it) { return cache ? world.CacheEntryExists(it) : world.Exists(it); };
            const HWND main = Start();
            ASSERT_NE(main, nullptr);
            const HWND options = OpenOptions(main);
            ASSERT_NE(options, nullptr);
            Choose(main, kCleanNow);
            ASSERT_TRUE(WaitUntil([&] { return !exists(order.front()); }, 20000)) << "the clean did not start";
            EXPECT_FALSE(::IsWindowVisible(options)) << "the options screen could start another clean";
            ASSERT_NE(Click(main, WM_RBUTTONUP), nullptr) << "no popup menu";
            std::size_t goneAtChoice = 0;
            ULONGLONG chosen = 0;
            ASSERT_TRUE(ChoosePopupItem(WhileCleaning(item),
                                        [&] { goneAtChoice = GoneSoFar(order, exists), chosen = ::GetTickCount64(); }));
            EXPECT_EQ(Ended(), 1u) << "the clean was stopped";
            EXPECT_LE(::GetTickCount64() - chosen, 3000u) << "ms from the choice to the end of the program";
            const std::size_t gone = GoneSoFar(order, exists);
            std::size_t outOfOrder = 0;
            for (std::size_t i = 0; i < order.size(); ++i) outOfOrder += exists(order[i]) != (i >= gone);
            EXPECT_EQ(outOfOrder, 0u) << "not deleted in the order listed: the count below says nothing";
            // The item in hand, and what goes while the menu reads the key (the cache goes at several
            // entries a millisecond). Before the stop came first, seconds' worth.
            EXPECT_LE(gone - goneAtChoice, 20u) << "went after the choice, of " << order.size();
            for (size_t i = 0; i < files.size(); ++i) {
                if (!world.Exists(files[i])) continue;
                EXPECT_EQ(world.ReadBytes(files[i]), files[i]) << "changed";
                const DWORD attributes = ::GetFileAttributesW(Widen("\\\\?\\" + files[i]).c_str());
                EXPECT_EQ((attributes & FILE_ATTRIBUTE_READONLY) != 0, i % 10 == 0) << files[i];
            }
            const std::string log = world.ReadBytes(program + "\\Morvane.log").value_or("");
            EXPECT_NE(log.find("exit code 1  ended "), std::string::npos) << log;
            EXPECT_NE(log.find("Outcome: stopped by " + cause + "\r\n"), std::string::npos) << log;
            EXPECT_EQ(world.Exists(ini), item == kExit);
            run.reset();
            ::DeleteFileW(Widen(program + "\\Morvane.log").c_str());
        }
    }
}

// The question about cookies closed by Exit is no Yes: nothing is deleted, from the icon's
// menu as from the options' Clean Now.
TEST_F(Resident, ExitWhileTheCookieQuestionIsUpDeletesNothing) {
    for (const bool fromOptions : {false, true}) {
        SCOPED_TRACE(fromOptions ? "from the options" : "from the icon's menu");
        world.MakeFile(temp + "\\kept.tmp", "kept");
        ChooseTempOnly(false);
        const HWND main = Start();
        ASSERT_NE(main, nullptr);
        if (fromOptions) {
            const HWND options = OpenOptions(main);
            ASSERT_NE(options, nullptr);
            ASSERT_TRUE(ChooseMenu(options, kOptionsBar, "Clean Now", {"Are You Sure?"}, "Are You Sure?"));
        } else {
            Choose(main, kCleanNow);
        }
        const MessageBoxSeen question = WaitForMessageBox(run->Id(), 5000);
        ASSERT_NE(question.window, nullptr) << "no question";
        EXPECT_EQ(question.caption, "For Your Information.....");
        Choose(main, WhileCleaning(kExit));
        EXPECT_EQ(Ended(), 1u) << "what was chosen was not cleaned";
        EXPECT_TRUE(world.Exists(temp + "\\kept.tmp")) << "deleted without a Yes";
        const std::string log = world.ReadBytes(program + "\\Morvane.log").value_or("");
        EXPECT_NE(log.find("exit code 1  ended "), std::string::npos) << log;
        EXPECT_NE(log.find("Outcome: not continued (the question was ended by Exit)\r\n"), std::string::npos) << log;
        ::DeleteFileW(Widen(program + "\\Morvane.log").c_str());
        run.reset();
    }
}

// A clean killed in the middle of a deep tree, or ended by the end of the session, leaves every
// file it did not delete where it was, whole; a later start moves nothing either.
TEST_F(Resident, AKilledOrLoggedOffCleanLeavesEveryFileWhereItWas) {
    for (const bool logoff : {false, true}) {
        SCOPED_TRACE(logoff ? "the end of the session" : "killed");
        std::string folder = temp;
        for (int level = 0; level < 40; ++level) {
            folder += "\\d";
            // Enough that the clean still runs when the session's end has started.
            for (int i = 0; i < 120; ++i) world.MakeFile(folder + "\\f" + std::to_string(i) + ".tmp", "whole");
        }
        const std::vector<std::string> before = world.Tree(temp);
        ChooseTempOnly();
        const HWND main = Start();
        ASSERT_NE(main, nullptr);
        Choose(main, kCleanNow);
        ASSERT_TRUE(WaitUntil([&] { return world.Tree(temp).size() < before.size() - 100; }, 20000));
        if (logoff) {
            // What the session's end sends every program, as a logoff does.
            MorvaneRun endSession("C:\\windows\\system32\\wineboot.exe", "--end-session", temp);
            ASSERT_TRUE(endSession.Started());
            EXPECT_EQ(Ended(), 1u) << "the code of the stopped clean's record";
            EXPECT_TRUE(endSession.WaitForEnd(20000));
            const std::string log = world.ReadBytes(program + "\\Morvane.log").value_or("");
            EXPECT_NE(log.find("Outcome: stopped by the end of the session\r\n"), std::string::npos) << log;
        } else {
            run->Terminate();
        }
        const auto stayed = [&] {
            std::vector<std::string> unknown;
            for (const std::string& path : world.Tree(temp)) {
                if (!std::binary_search(before.begin(), before.end(), path)) unknown.push_back(path);
            }
            return unknown;
        };
        EXPECT_EQ(stayed(), std::vector<std::string>{}) << "moved or renamed";
        for (const auto& [path, content] : world.Contents(temp)) EXPECT_EQ(content, "whole") << path;
        EXPECT_EQ(Start() != nullptr, true);
        Choose(MainWindow(run->Id()), kExit);
        EXPECT_EQ(Ended(), 0u);
        EXPECT_EQ(stayed(), std::vector<std::string>{}) << "moved by the next start";
        run.reset();
        ::DeleteFileW(Widen(program + "\\Morvane.log").c_str());
    }
}

// The icon's menu left open during a clean from it: the progress line goes on moving, and the
// clean ends (its record written, the screens closed) without waiting for the menu.
TEST_F(Resident, AnOpenMenuHoldsUpNeitherTheProgressNorTheEndOfAClean) {
    MakeManyFiles(temp, 6000);
    ChooseTempOnly();
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    Choose(main, kChangeConfiguration);
    const HWND backdrop = WaitForBackdrop(run->Id(), 5000);
    ASSERT_NE(backdrop, nullptr);
    Choose(main, kCleanNow);
    ASSERT_NE(Click(main, WM_RBUTTONUP), nullptr) << "no popup menu";
    std::vector<std::string> seen;
    const std::string log = program + "\\Morvane.log";
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::string line = ReadLabel(backdrop, "Label7");
            if (!line.empty() && (seen.empty() || seen.back() != line)) seen.push_back(line);
            return world.ReadBytes(log).value_or("").find("Outcome: cleaned\r\n") != std::string::npos;
        },
        60000))
        << "the clean did not end while the menu was open";
    EXPECT_NE(OpenPopupMenu(run->Id()), nullptr) << "the menu was closed meanwhile";
    EXPECT_GE(seen.size(), 3u) << "the progress line, as it was read:" << Joined(seen);
    EXPECT_TRUE(world.Tree(temp).empty());
    ::PostMessageW(OpenPopupMenu(run->Id()), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return OpenPopupMenu(run->Id()) == nullptr; }, 5000));
    Choose(main, kExit);
    EXPECT_EQ(Ended(), 0u);
}

// A clean from the icon's menu shows itself on the icon, as the notification area shows it: the
// tip tells how far it has got and changes at least every 500 ms; Stop Clean, above the rest of
// the menu meanwhile, stops the clean and not the program; a balloon tells what the clean did,
// and why a folder was not cleaned. Before, there was nothing but a greyed menu.
TEST_F(Resident, ACleanFromTheIconShowsItselfOnTheIconAndStopCleanStopsOnlyIt) {
    const std::vector<std::string> files = MakeManyFiles(temp, 20000);
    ChooseTempOnly();
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    Choose(main, kCleanNow);
    const std::string cleaning = "Kavlon Tarnwick - cleaning: ";
    ASSERT_TRUE(PointAtTrayIcon(cleaning)) << "the tip reads [" << ShownTrayTip() << "]; the record:\n"
                                           << world.ReadBytes(program + "\\Morvane.log").value_or("(none)");
    std::vector<std::string> tips = {ShownTrayTip()};
    ULONGLONG last = ::GetTickCount64(), longest = 0;
    WaitUntil(
        [&] {
            const std::string tip = ShownTrayTip();
            const ULONGLONG now = ::GetTickCount64();
            if (tip.empty()) {
                // The tooltip went by itself: the time it was away does not count.
                PointAtTrayIcon(cleaning);
                last = ::GetTickCount64();
            } else if (tip != tips.back()) {
                longest = std::max(longest, now - last);
                last = now;
                tips.push_back(tip);
            }
            return tips.size() >= 5;
        },
        30000);
    EXPECT_GE(tips.size(), 5u) << "the tip, as it was read:" << Joined(tips);
    EXPECT_LE(longest, 500u) << "ms between two changes of the tip:" << Joined(tips);
    std::printf("measure | the icon's tip during a clean from the icon: longest time between two changes | %llu ms\n",
                static_cast<unsigned long long>(longest));

    Choose(main, kStopClean);
    const std::string log = program + "\\Morvane.log";
    EXPECT_TRUE(WaitUntil(
        [&] { return world.ReadBytes(log).value_or("").find("Outcome: stopped by Stop Clean\r\n") != std::string::npos; },
        10000))
        << world.ReadBytes(log).value_or("(no record)");
    EXPECT_TRUE(WaitUntil([&] { return ShownTrayBalloon().ends_with(" removed; the rest was not reached."); }, 10000))
        << "the balloon reads [" << ShownTrayBalloon() << "]";
    EXPECT_FALSE(run->WaitForEnd(0)) << "Stop Clean ended the program";
    EXPECT_TRUE(IconShown(main));
    EXPECT_TRUE(std::any_of(files.begin(), files.end(), [&](const std::string& f) { return world.Exists(f); }))
        << "the clean went on to its end";
    EXPECT_TRUE(PointAtTrayIcon("Kavlon Tarnwick"));
    EXPECT_EQ(ShownTrayTip(), "Kavlon Tarnwick");

    world.MakeFile(ini, "[User]\r\nsFile0=" + world.Path("Gone") +
                            "\r\n[Delete]\r\nUser=Yes\r\nTemp=No\r\n[Internet]\r\nsFile0=http://kept.example/\r\n");
    Choose(main, kCleanNow);
    const std::string notFound = "Your Selected Folder " + world.Path("Gone") + " could not be opened: not found.";
    EXPECT_TRUE(WaitUntil([&] { return ShownTrayBalloon().ends_with(notFound); }, 10000))
        << "the balloon reads [" << ShownTrayBalloon() << "]";
    Choose(main, kExit);
    EXPECT_EQ(Ended(), 0u);
}

// A box clicked while Clean.ini cannot be written: the user hears where and why, and the box
// shows again what is stored. Before, it showed the click, and the next clean did what the
// file still said.
TEST_F(Resident, ABoxClickedWhileTheSettingsCannotBeWrittenIsToldAndPutBack) {
    ChooseTempOnly();
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    const HWND options = OpenOptions(main);
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(IsChecked(options, "Check2"));
    ASSERT_TRUE(::SetFileAttributesW(Widen(ini).c_str(), FILE_ATTRIBUTE_READONLY));
    // Clicked as ClickCheckBox clicks, which would wait for a change the program takes back at once.
    const HWND box = Control(options, "Check2");
    ::PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    const MessageBoxSeen told = WaitForMessageBox(run->Id(), 5000);
    ASSERT_NE(told.window, nullptr) << "nothing was said";
    EXPECT_EQ(told.caption, "Kavlon Info.....");
    EXPECT_EQ(told.text, "Your setting could not be saved !\r\r" + ini +
                             " could not be written: access denied (0x00000005).\r\rThe file is read-only, or its "
                             "folder may not be written to (a folder under Program Files is one). Put the program in a "
                             "folder of your own, such as one in your Documents, so that its settings can be saved.");
    ASSERT_TRUE(AnswerMessageBox(told, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(options, "Check2"); }, 5000)) << "the box shows the click";
    EXPECT_EQ(ReadSetting(ini, "Delete", "Temp"), "Yes");
    ::SetFileAttributesW(Widen(ini).c_str(), FILE_ATTRIBUTE_NORMAL);
    Choose(main, kExit);
    EXPECT_EQ(Ended(), 0u);
}

TEST_F(Resident, AboutOpensTheAboutScreenOverTheBackdropAndChangeConfigurationTakesItsPlace) {
    world.MakeFile(ini, "[Delete]\r\nTemp=No\r\n");
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    Choose(main, kAbout);
    const HWND about = WaitForWindow(run->Id(), kAboutScreen, 5000);
    EXPECT_NE(about, nullptr) << "no about screen; the program's windows:" << Joined(run->VisibleWindows());
    EXPECT_EQ(ReadLabel(about, "Label1"), "Kavlon Tarnwick Utility");
    const HWND backdrop = WaitForBackdrop(run->Id(), 5000);
    ASSERT_NE(backdrop, nullptr) << "no backdrop";
    EXPECT_EQ(ReadLabel(backdrop, "Label6"), "About this program!");
    Choose(main, kChangeConfiguration);
    EXPECT_NE(WaitForWindow(run->Id(), kStartPage, 5000), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(about); }, 5000)) << "two screens at once";
    Choose(main, kExit);
    EXPECT_EQ(Ended(), 0u);
}

TEST_F(Resident, RemoveAllPathsTakesTheShortcutTheSettingsAndTheIconAndEnds) {
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(world.Exists(shortcut));
    ASSERT_TRUE(world.Exists(ini));
    Choose(main, kRemoveAllPaths);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_FALSE(world.Exists(shortcut));
    EXPECT_FALSE(world.Exists(ini));
    EXPECT_FALSE(IconShown(main));
    EXPECT_TRUE(world.Exists(program + "\\Morvane.exe")) << "the program itself stays";
}

TEST_F(Resident, ARestartedNotificationAreaGetsTheIconBackAndItStillOpensTheMenu) {
    world.MakeFile(ini, "[Delete]\r\nTemp=No\r\n");
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(ForgetIcon(main));
    ASSERT_FALSE(IconShown(main));
    // What the shell broadcasts when its notification area has started again.
    ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return IconShown(main); }, 5000)) << "the icon did not come back";
    Choose(main, kExit);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_FALSE(IconShown(main));
}

}  // namespace
}  // namespace e2e
