// The real Morvane.exe on the desktop `tools/run` gives it (a Wine desktop with a task bar and
// its notification area), used with the keyboard alone once the icon is clicked: every screen
// that opens is in front and has the keyboard, by any route. Nothing here brings a window
// forward or posts to it: every key goes through the input queue to whichever window has the
// keyboard, as a user's keys do. Run by tools/lib/run-check.sh in the prefix that `tools/run`
// made; elsewhere (no task bar) it is skipped.
#include <gtest/gtest.h>

#include <optional>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/E2eWorld.h"

#include <shellapi.h>

namespace e2e {
namespace {

constexpr int kStepMs = 15000;

const std::string kStartPage = "  Kavlon Tarnwick----Main Start Page";
const std::string kAbout = "  Kavlon Tarnwick----About File";
const std::string kOptions = "  Kavlon Tarnwick----Choose The Folders You Want To Clean";

// Where the icon sits: the notification area fills the task bar's right end with one icon a
// small icon's size and a border wide, the first one added at the very right, at the top.
POINT IconPoint(HWND taskBar) {
    RECT bar = {};
    ::GetWindowRect(taskBar, &bar);
    const int size = ::GetSystemMetrics(SM_CXSMICON) + 4;
    return {bar.right - size / 2, bar.top + size / 2};
}

// The foreground window's caption and the class of the control with the keyboard.
std::string WhoHasKeys() {
    const HWND front = ::GetForegroundWindow();
    const HWND focus = FocusOf(front);
    return "[" + ReadText(front) + "] focus " + (focus ? ClassOf(focus) : std::string("none"));
}

// Whether the window is in front with the keyboard, on itself or on one of its controls.
bool HasKeyboard(HWND window) {
    return WaitFor(
        [&] {
            const HWND focus = FocusOf(window);
            return ::GetForegroundWindow() == window && focus && (focus == window || ::IsChild(window, focus));
        },
        kStepMs);
}

// Keys and clicks as the X server delivers a user's: xdotool on the Linux side, run through
// Wine's `start /unix`. Under Wine's desktop the keys reach the program only while one of its
// windows has the X input focus; SendInput would reach the foreground window whatever that is.
void Xdotool(const std::string& arguments) {
    std::wstring command = win32::Widen("start.exe /unix /usr/bin/xdotool " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                                 &startup, &started));
    const win32::KernelHandle process(started.hProcess), thread(started.hThread);
    ::WaitForSingleObject(process.Get(), 10000);
    Wait(300);  // start does not wait for what it started
}

// Keys by their X names ("F10", "Return"), a moment apart.
void Keys(const std::string& names) { Xdotool("key --delay 150 " + names); }

// The desktop's task bar; nullptr for none. By its class among every window: Wine's FindWindow
// does not find it from a process that started the desktop.
HWND TaskBar() {
    HWND found = nullptr;
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL CALLBACK {
            if (ClassOf(window) == "Shell_TrayWnd") *reinterpret_cast<HWND*>(param) = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        // The desktop's shell may still be starting.
        WaitFor([&] { return (taskBar = TaskBar()) != nullptr; }, 5000);
        if (!taskBar) GTEST_SKIP() << "no task bar: run in the prefix tools/run made";
        ASSERT_TRUE(world.InstallMorvane(program));
        world.MakeFolder(temp);
        world.MakeFile(temp + "\\left-over.tmp", "x");
        world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nUser=No\r\nTemp=Yes\r\nTemporary Internet Files=No\r\n");
        run.emplace(program + "\\Morvane.exe", "", temp);
        ASSERT_TRUE(run->Started());
        ASSERT_TRUE(WaitFor(
            [&] {
                // The icon can be changed once it is there.
                NOTIFYICONDATAW icon = {};
                icon.cbSize = sizeof(icon);
                icon.hWnd = MainWindow(run->Id());
                icon.uID = 125;
                return icon.hWnd && ::Shell_NotifyIconW(NIM_MODIFY, &icon);
            },
            kStepMs));
    }

    // The icon's menu, opened by a click on the icon, and its item chosen with the keyboard.
    void ChooseFromIcon(int downs, const std::string& key = "Return") {
        const POINT icon = IconPoint(taskBar);
        // The Wine desktop's own X window: the program's screen coordinates are relative to it.
        Xdotool("search --name Wine.desktop mousemove --window %1 " + std::to_string(icon.x) + " " +
                std::to_string(icon.y) + " click 1");
        ASSERT_TRUE(WaitFor([&] { return OpenPopupMenu(run->Id()) != nullptr; }, kStepMs)) << "no menu at the icon";
        std::string keys;
        for (int i = 0; i < downs; ++i) keys += "Down ";
        Keys(keys + key);
    }

    E2eWorld world;
    const std::string program = world.Path("program");
    const std::string temp = world.Path("temp");
    HWND taskBar = nullptr;
    std::optional<MorvaneRun> run;
};

TEST_F(Keyboard, FromTheIconsChangeConfigurationToACleanAndBackWithTheKeysAlone) {
    ChooseFromIcon(1);
    const HWND start = WaitForWindow(run->Id(), kStartPage, kStepMs);
    ASSERT_NE(start, nullptr);
    ASSERT_TRUE(HasKeyboard(start)) << "the start page opened from the icon: " << WhoHasKeys();

    // Options by its access key, its caption unchanged.
    Keys("alt+o");
    const HWND options = WaitForWindow(run->Id(), kOptions, kStepMs);
    ASSERT_NE(options, nullptr) << WhoHasKeys();
    ASSERT_TRUE(HasKeyboard(options)) << "the options: " << WhoHasKeys();
    EXPECT_EQ(FocusOf(options), Control(options, "Check1")) << "its first box has the keyboard";

    // F10 reaches the menu bar: to Clean Now (fourth), down into its "Are You Sure?", and Enter.
    Keys("F10 Right Right Right Down Return");
    MessageBoxSeen question = WaitForMessageBox(run->Id(), kStepMs);
    ASSERT_NE(question.window, nullptr) << "no question about the cookies; " << WhoHasKeys();
    EXPECT_TRUE(HasKeyboard(question.window)) << WhoHasKeys();
    Keys("Return");  // Yes
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(question.window); }, kStepMs));
    const MessageBoxSeen finished = WaitForMessageBox(run->Id(), kStepMs);
    ASSERT_NE(finished.window, nullptr) << "no final message; " << WhoHasKeys();
    EXPECT_EQ(finished.text, "All Files Cleaned!");
    EXPECT_TRUE(HasKeyboard(finished.window)) << WhoHasKeys();
    Keys("Return");
    EXPECT_TRUE(WaitFor([&] { return VisibleTopLevelWindows(run->Id()).empty(); }, kStepMs)) << "resident again";
    EXPECT_FALSE(world.Exists(temp + "\\left-over.tmp"));

    // And back: the start page again from the icon; over it the icon's About (its access key A),
    // which Esc closes.
    ChooseFromIcon(1);
    const HWND again = WaitForWindow(run->Id(), kStartPage, kStepMs);
    ASSERT_NE(again, nullptr);
    ASSERT_TRUE(HasKeyboard(again)) << "the start page, a second time: " << WhoHasKeys();
    ChooseFromIcon(0, "a");
    const HWND about = WaitForWindow(run->Id(), kAbout, kStepMs);
    ASSERT_NE(about, nullptr) << "the icon's menu over a screen does not answer the keys: " << WhoHasKeys();
    ASSERT_TRUE(HasKeyboard(about)) << "the about screen: " << WhoHasKeys();
    Keys("Escape");
    EXPECT_TRUE(WaitFor([&] { return VisibleTopLevelWindows(run->Id()).empty(); }, kStepMs)) << "Esc closes it";

    // Exit, the third item, at once.
    ChooseFromIcon(3);
    EXPECT_TRUE(run->WaitForEnd(kStepMs)) << "the icon's menu, just after the last screen went: " << WhoHasKeys();
    EXPECT_EQ(run->ExitCode(), 0u);
}

}  // namespace
}  // namespace e2e
