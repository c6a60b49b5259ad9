// Morvane.exe on the desktop `tools/run` sets up (a Wine desktop whose task bar holds the icon),
// used with the keyboard alone once the icon is clicked: every screen that opens, by any route,
// must be in front with the keyboard. Clicks and keys go through X (xdotool, run on the Linux
// side), as a user's do: under Wine's desktop the X focus decides who hears a key, which
// SendInput would bypass. tools/lib/run-check.sh runs it there; elsewhere it is skipped.
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

// Keys by their X names, a moment apart.
void Keys(const std::string& names) { Xdotool("key --delay 150 " + names); }

// The window is in front and has the keyboard, on itself or on one of its controls.
::testing::AssertionResult HasKeyboard(HWND window) {
    if (WaitFor([&] {
            const HWND focus = FocusOf(window);
            return ::GetForegroundWindow() == window && focus && (focus == window || ::IsChild(window, focus));
        }, kStepMs)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "[" << ReadText(window) << "] has not the keyboard; ["
                                         << ReadText(::GetForegroundWindow()) << "] has";
}

TEST(Keyboard, FromTheIconsChangeConfigurationToACleanAndBackWithTheKeysAlone) {
    HWND taskBar = nullptr;  // by its class among all windows: Wine's FindWindow misses it here
    WaitFor([&] {
        ::EnumWindows([](HWND window, LPARAM found) -> BOOL CALLBACK {
            // Without a desktop of its own Wine's shell keeps one too, never shown.
            if (ClassOf(window) == "Shell_TrayWnd" && ::IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(found) = window;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&taskBar));
        return taskBar != nullptr;
    }, 5000);
    if (!taskBar) GTEST_SKIP() << "no task bar: run in the prefix tools/run made";
    E2eWorld world;
    const std::string program = world.Path("program"), temp = world.Path("temp");
    ASSERT_TRUE(world.InstallMorvane(program));
    world.MakeFile(temp + "\\left-over.tmp", "x");
    world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nUser=No\r\nTemp=Yes\r\nTemporary Internet Files=No\r\n");
    MorvaneRun run(program + "\\Morvane.exe", "", temp);
    ASSERT_TRUE(WaitFor([&] {  // the icon can be changed once it is there
        NOTIFYICONDATAW icon = {sizeof(icon), MainWindow(run.Id()), 125};
        return icon.hWnd && ::Shell_NotifyIconW(NIM_MODIFY, &icon);
    }, kStepMs));
    // The icon: the first one added, at the task bar's right end, a small icon and a border wide.
    RECT bar = {};
    ::GetWindowRect(taskBar, &bar);
    const int icon = ::GetSystemMetrics(SM_CXSMICON) + 4;
    const auto fromIcon = [&](const std::string& keys) {
        Xdotool("search --name Wine.desktop mousemove --window %1 " + std::to_string(bar.right - icon / 2) + " " +
                std::to_string(bar.top + icon / 2) + " click 1");
        ASSERT_TRUE(WaitFor([&] { return OpenPopupMenu(run.Id()) != nullptr; }, kStepMs)) << "no menu at the icon";
        Keys(keys);
    };
    const auto screen = [&](const char* caption) { return WaitForWindow(run.Id(), caption, kStepMs); };
    const auto allGone = [&] { return WaitFor([&] { return VisibleTopLevelWindows(run.Id()).empty(); }, kStepMs); };

    fromIcon("Down Return");  // Change Configuration
    const HWND start = screen("  Kavlon Tarnwick----Main Start Page");
    ASSERT_TRUE(HasKeyboard(start));
    Keys("alt+o");  // Options, by its access key
    const HWND options = screen("  Kavlon Tarnwick----Choose The Folders You Want To Clean");
    ASSERT_TRUE(HasKeyboard(options));
    EXPECT_EQ(FocusOf(options), Control(options, "Check1")) << "its first box has the keyboard";
    Keys("F10 Right Right Right Down Return");  // Clean Now, Are You Sure?
    for (const char* text : {"You have not saved any Cookies", "All Files Cleaned!"}) {
        const MessageBoxSeen box = WaitForMessageBox(run.Id(), kStepMs);
        ASSERT_NE(box.window, nullptr) << text;
        EXPECT_NE(box.text.find(text), std::string::npos) << box.text;
        EXPECT_TRUE(HasKeyboard(box.window));
        Keys("Return");
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box.window); }, kStepMs));
    }
    EXPECT_TRUE(allGone()) << "resident again";
    EXPECT_FALSE(world.Exists(temp + "\\left-over.tmp"));

    // And back: the start page, the icon's About over it (its access key A), Esc, and Exit from
    // the icon at once after the last screen went.
    fromIcon("Down Return");
    ASSERT_TRUE(HasKeyboard(screen("  Kavlon Tarnwick----Main Start Page")));
    fromIcon("a");
    ASSERT_TRUE(HasKeyboard(screen("  Kavlon Tarnwick----About File")));
    Keys("Escape");
    EXPECT_TRUE(allGone()) << "Esc closes it";
    fromIcon("Down Down Down Return");
    EXPECT_TRUE(run.WaitForEnd(kStepMs)) << "Exit; [" << ReadText(::GetForegroundWindow()) << "] has the keyboard";
    EXPECT_EQ(run.ExitCode(), 0u);
}

}  // namespace
}  // namespace e2e
