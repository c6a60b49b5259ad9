// What only the real desktop has: pixels and twips, the native menu bar and popup menus, the
// message hook and the notification-area icon, the notifications of the native controls, what
// the screen shows (the backdrop's gradient included), decoded pictures, the cursors and the
// message boxes' owner.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "screens/Backdrop.h"
#include "forms/Application.h"
#include "platform/win32/ControlIds.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Gdi.h"
#include "platform/win32/Win32Desktop.h"
#include "tests/win32/world/DesktopDriver.h"

#include <shellapi.h>

namespace {

using platform::TwipRect;
using Strings = std::vector<std::string>;

struct WindowRecorder : platform::WindowEvents {
    Strings events;
    std::vector<int> menus;
    void OnActivated() override { events.push_back("activated"); }
    void OnDeactivated() override { events.push_back("deactivated"); }
    void OnResized() override { events.push_back("resized"); }
    void OnCloseRequest() override { events.push_back("close"); }
    void OnMenu(int id) override { menus.push_back(id); }
    void OnTimer(int) override {}
};

struct ControlRecorder : platform::ControlEvents {
    Strings events;
    void OnDblClick() override { events.push_back("dblclick"); }
    void OnSelect(int index) override { events.push_back("select " + std::to_string(index)); }
    void OnCheckedByUser(bool checked) override { events.push_back(checked ? "checked" : "cleared"); }
};

HWND Of(platform::WindowPeer& window) { return reinterpret_cast<HWND>(window.NativeHandle()); }

HWND ChildOfClass(HWND parent, const wchar_t* className) {
    return ::FindWindowExW(parent, nullptr, className, nullptr);
}

std::string MenuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return win32::Narrow(text);
}

platform::Image Picture(int width, int height, std::uint32_t left, std::uint32_t right) {
    platform::Image image{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.pixels.push_back(x < width / 2 ? left : right);
    }
    return image;
}

// What the screen shows of a window's client area, as 0x00RRGGBB.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    // Pixels of a rectangle that are not the colour expected there.
    int Differing(const RECT& area, const std::function<std::uint32_t(int x)>& expected) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) count += At(x, y) != expected(x) ? 1 : 0;
        }
        return count;
    }
};

Capture CaptureClient(HWND window) {
    Capture capture;
    RECT client = {};
    ::GetClientRect(window, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(window, &origin);
    capture.width = client.right;
    capture.height = client.bottom;
    const platform::Image blank{capture.width, capture.height,
                                std::vector<std::uint32_t>(static_cast<size_t>(capture.width * capture.height))};
    const win32::GdiBitmap bitmap = win32::BitmapFromImage(blank);
    const win32::WindowDc screen(nullptr);
    const win32::MemoryDc memory(::CreateCompatibleDC(screen.Get()));
    {
        const win32::Selection selection(memory.Get(), bitmap.Get());
        ::BitBlt(memory.Get(), 0, 0, capture.width, capture.height, screen.Get(), origin.x, origin.y, SRCCOPY);
    }
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), capture.width, -capture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    capture.pixels.resize(static_cast<size_t>(capture.width * capture.height));
    ::GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(capture.height), capture.pixels.data(), &info,
                DIB_RGB_COLORS);
    for (std::uint32_t& pixel : capture.pixels) pixel &= 0x00FFFFFF;
    return capture;
}

class Win32DesktopTest : public testing::Test {
protected:
    // A window at a place on the screen, in pixels.
    std::unique_ptr<platform::WindowPeer> MakeWindow(int left, int top, int width, int height,
                                                     platform::WindowStyle style = {}) {
        auto window = desktop.CreateWindowPeer("Test", style, recorder);
        window->SetBounds({left * Tpp(), top * Tpp(), width * Tpp(), height * Tpp()});
        return window;
    }
    double Tpp() { return desktop.Screen().twipsPerPixelX; }

    win32::Win32Desktop desktop;
    testing_support::DesktopDriver driver{desktop};
    WindowRecorder recorder;
};

// ---- Geometry

TEST_F(Win32DesktopTest, TwipsFollowTheDisplaysPixelsPerInch) {
    const win32::WindowDc screen(nullptr);
    const platform::ScreenMetrics metrics = desktop.Screen();
    EXPECT_DOUBLE_EQ(metrics.twipsPerPixelX, 1440.0 / ::GetDeviceCaps(screen.Get(), LOGPIXELSX));
    EXPECT_DOUBLE_EQ(metrics.twipsPerPixelY, 1440.0 / ::GetDeviceCaps(screen.Get(), LOGPIXELSY));
    EXPECT_DOUBLE_EQ(metrics.widthTwips, ::GetSystemMetrics(SM_CXSCREEN) * metrics.twipsPerPixelX);
    EXPECT_DOUBLE_EQ(metrics.heightTwips, ::GetSystemMetrics(SM_CYSCREEN) * metrics.twipsPerPixelY);

    auto window = MakeWindow(100, 50, 400, 250);
    RECT outer = {};
    ::GetWindowRect(Of(*window), &outer);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 50);
    EXPECT_EQ(outer.right, 500) << "the bounds are the whole window, frame included";
    EXPECT_EQ(outer.bottom, 300);
    RECT client = {};
    ::GetClientRect(Of(*window), &client);
    EXPECT_DOUBLE_EQ(window->ClientArea().width, client.right * metrics.twipsPerPixelX);
    EXPECT_DOUBLE_EQ(window->ClientArea().height, client.bottom * metrics.twipsPerPixelY);
}

TEST_F(Win32DesktopTest, TheFrameExtraIsWhatEachStyleOfFrameTakesFromTheWindow) {
    struct Case {
        const char* name;
        platform::WindowStyle style;
    };
    const Case cases[] = {{"plain", {false, false, false}},
                          {"menu", {true, false, false}},
                          {"tool", {false, true, false}},
                          {"tool with menu", {true, true, false}},
                          {"popup", {false, false, true}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto window = MakeWindow(10, 10, 400, 300, c.style);
        if (c.style.hasMenu) window->SetMenu({{100, "File", true, true, {}}});
        const TwipRect frame = desktop.FrameExtra(c.style);
        EXPECT_DOUBLE_EQ(window->ClientArea().width, 400 * Tpp() - frame.width);
        EXPECT_DOUBLE_EQ(window->ClientArea().height, 300 * Tpp() - frame.height);
    }
    EXPECT_EQ(desktop.FrameExtra({false, false, true}).height, 0) << "a popup has no frame at all";
}

// ---- The window

TEST_F(Win32DesktopTest, TheMenuBarIsBuiltFromItsItemsWithOneLevelOfSubMenus) {
    auto window = MakeWindow(10, 10, 500, 300, {true, false, false});
    window->SetMenu({{100, "View Paths", true, true, {}},
                     {101, "Clean Now", true, true, {{102, "Are You Sure?", true, true, {}}}},
                     {103, "Hidden", true, false, {}},
                     {104, "Help", false, true, {}}});
    const HMENU bar = ::GetMenu(Of(*window));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(::GetMenuItemCount(bar), 3) << "an invisible item is left out";
    EXPECT_EQ(MenuText(bar, 0), "View Paths");
    EXPECT_EQ(::GetMenuItemID(bar, 0), 100u);
    EXPECT_EQ(MenuText(bar, 1), "Clean Now");
    const HMENU sub = ::GetSubMenu(bar, 1);
    ASSERT_NE(sub, nullptr);
    ASSERT_EQ(::GetMenuItemCount(sub), 1);
    EXPECT_EQ(MenuText(sub, 0), "Are You Sure?");
    EXPECT_EQ(::GetMenuItemID(sub, 0), 102u);
    EXPECT_EQ(MenuText(bar, 2), "Help");
    EXPECT_NE(::GetMenuState(bar, 2, MF_BYPOSITION) & MF_GRAYED, 0u);

    ::SendMessageW(Of(*window), WM_COMMAND, 102, 0);
    EXPECT_EQ(recorder.menus, std::vector<int>{102});

    window->SetMenu({{105, "Close", true, true, {}}});
    EXPECT_EQ(::GetMenuItemCount(::GetMenu(Of(*window))), 1);
    EXPECT_FALSE(::IsMenu(bar)) << "the replaced menu bar is destroyed";
}

TEST_F(Win32DesktopTest, TheCloseBoxAsksTheFormInsteadOfClosing) {
    auto window = MakeWindow(10, 10, 300, 200);
    window->Show();
    driver.PumpPending();
    recorder.events.clear();
    ::SendMessageW(Of(*window), WM_SYSCOMMAND, SC_CLOSE, 0);
    driver.PumpPending();
    EXPECT_EQ(recorder.events, Strings{"close"});
    EXPECT_TRUE(::IsWindowVisible(Of(*window))) << "closing is the form's decision";
}

TEST_F(Win32DesktopTest, AMessageHookSeesTheWindowsMessagesFirstAndPassesOnWhatItLeaves) {
    auto window = MakeWindow(10, 10, 300, 200);
    recorder.events.clear();
    std::vector<platform::WindowMessage> seen;
    window->SetMessageHook([&](const platform::WindowMessage& message) -> std::optional<std::intptr_t> {
        if (message.message != WM_USER + 1) return std::nullopt;
        seen.push_back(message);
        return 7;
    });
    EXPECT_TRUE(window->HasMessageHook());
    EXPECT_EQ(::SendMessageW(Of(*window), WM_USER + 1, 3, 514), 7);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].window, window->NativeHandle());
    EXPECT_EQ(seen[0].wParam, 3u);
    EXPECT_EQ(seen[0].lParam, 514);
    ::SendMessageW(Of(*window), WM_CLOSE, 0, 0);
    EXPECT_EQ(recorder.events, Strings{"close"}) << "a message the hook leaves reaches the window";

    window->SetMessageHook({});
    EXPECT_FALSE(window->HasMessageHook());
    ::SendMessageW(Of(*window), WM_USER + 1, 0, 0);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(Win32DesktopTest, APopupMenuReturnsTheItemTheUserChoseAndNothingWhenDismissed) {
    auto window = MakeWindow(100, 100, 300, 200);
    window->Show();
    driver.PumpPending();
    const std::vector<platform::MenuSpec> items = {{1000, "Change Configuration", true, true, {}},
                                                   {0, "", true, true, {}, true},
                                                   {1001, "Clean Now", true, true, {}}};
    const HWND owner = Of(*window);
    const auto press = [owner](WPARAM key) { ::PostMessageW(owner, WM_KEYDOWN, key, 0); };
    driver.After(100, [press] {
        press(VK_DOWN);
        press(VK_DOWN);  // over the separator
        press(VK_RETURN);
    });
    // Told of the choice while the menu is still open.
    std::vector<bool> toldWhileOpen;
    const auto told = [&](int id) { toldWhileOpen.push_back(id == 1001 && ::FindWindowW(L"#32768", nullptr)); };
    EXPECT_EQ(window->TrackPopupMenu(items, told), 1001);
    EXPECT_EQ(toldWhileOpen, std::vector<bool>{true});
    driver.After(100, [press] { press(VK_ESCAPE); });
    EXPECT_EQ(window->TrackPopupMenu(items, told), 0);
    EXPECT_EQ(toldWhileOpen.size(), 1u);
}

TEST_F(Win32DesktopTest, ATrayIconComesBackWhenTheNotificationAreaRestarts) {
    auto window = MakeWindow(10, 10, 300, 200);
    const platform::TrayIconSpec icon{125, "Kavlon Tarnwick", WM_USER + 1, 7};
    const auto present = [&] {
        NOTIFYICONDATAW data = {};
        data.cbSize = sizeof(data);
        data.hWnd = Of(*window);
        data.uID = 125;
        data.uFlags = NIF_TIP;
        return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;  // only an icon that is there changes
    };
    ASSERT_EQ(desktop.AddTrayIcon(*window, icon), 1);
    EXPECT_TRUE(present());

    NOTIFYICONDATAW lost = {};
    lost.cbSize = sizeof(lost);
    lost.hWnd = Of(*window);
    lost.uID = 125;
    ::Shell_NotifyIconW(NIM_DELETE, &lost);
    ASSERT_FALSE(present());
    ::SendMessageW(Of(*window), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(present());

    desktop.DeleteTrayIcon(*window, icon);
    EXPECT_FALSE(present());
    ::SendMessageW(Of(*window), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(present()) << "a deleted icon stays away";
}

TEST_F(Win32DesktopTest, PicturesAreDecodedFromTheirFilesBytes) {
    // A 2 x 2 picture file, 24 bits, bottom row first, rows padded to 4 bytes.
    const unsigned char bmp[] = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                                // file header
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0,   // info header
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0xFF, 0, 0, 0, 0xFF, 0, 0, 0,              // bottom row: blue, green (B, G, R)
        0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};       // top row: red, white
    const std::optional<platform::Image> image = win32::DecodePicture(bmp, sizeof(bmp));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0xFF0000, 0xFFFFFF, 0x0000FF, 0x00FF00})) << "top row first";

    const unsigned char junk[] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(win32::DecodePicture(junk, sizeof(junk)));
    EXPECT_FALSE(desktop.LoadPicture("NOSUCHPICTURE")) << "this test program has no pictures built in";
}

// ---- Controls

TEST_F(Win32DesktopTest, ListsReportTheUsersClicksAndDoubleClicksButNotTheProgramsChoices) {
    auto window = MakeWindow(10, 10, 300, 200);
    ControlRecorder events;
    auto list = window->CreateControl(platform::ControlType::kListBox, "List1", events);
    list->SetBounds({0, 0, 200 * Tpp(), 150 * Tpp()});
    list->SetVisible(true);
    list->SetItems({"zero", "one", "two"});
    window->Show();
    driver.PumpPending();
    const HWND box = ChildOfClass(Of(*window), L"ListBox");
    ASSERT_NE(box, nullptr);

    list->SetSelected(2);
    EXPECT_TRUE(events.events.empty()) << "a selection from code is no user action";
    RECT item = {};
    ::SendMessageW(box, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, item.top + 2);
    ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(box, WM_LBUTTONUP, 0, at);
    ::SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageW(box, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(events.events, (Strings{"select 1", "select 1", "dblclick"}));
}

TEST_F(Win32DesktopTest, TheDriveListAndCheckBoxesReportWhatTheUserChanged) {
    auto window = MakeWindow(10, 10, 300, 200);
    ControlRecorder driveEvents;
    auto drives = window->CreateControl(platform::ControlType::kDriveList, "Drive1", driveEvents);
    drives->SetBounds({0, 0, 150 * Tpp(), 21 * Tpp()});
    drives->SetItems({"C:", "D:"});
    drives->SetSelected(0);
    drives->SetVisible(true);
    ControlRecorder checkEvents;
    auto check = window->CreateControl(platform::ControlType::kCheckBox, "Check1", checkEvents);
    check->SetBounds({0, 40 * Tpp(), 150 * Tpp(), 20 * Tpp()});
    check->SetText("Temp Folder");
    check->SetVisible(true);
    window->Show();
    driver.PumpPending();

    const HWND combo = ChildOfClass(Of(*window), L"ComboBox");
    ASSERT_NE(combo, nullptr);
    ::SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(driveEvents.events, Strings{"select 1"});

    const HWND button = ChildOfClass(Of(*window), L"Button");
    ASSERT_NE(button, nullptr);
    check->SetChecked(true);
    EXPECT_EQ(::SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);
    ::SendMessageW(button, BM_CLICK, 0, 0);
    ::SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(checkEvents.events, (Strings{"cleared", "checked"})) << "the state after the user's click";
}

TEST_F(Win32DesktopTest, AListFilledByAHandlerRedrawsOnceTheHandlerHasReturned) {
    auto window = MakeWindow(10, 10, 300, 200);
    ControlRecorder events;
    auto list = window->CreateControl(platform::ControlType::kListBox, "List1", events);
    list->SetBounds({0, 0, 200 * Tpp(), 100 * Tpp()});
    list->SetVisible(true);
    window->Show();
    driver.PumpPending();
    const HWND box = ChildOfClass(Of(*window), L"ListBox");

    for (int i = 0; i < 200; ++i) list->AddItem("item " + std::to_string(i));
    EXPECT_EQ(::SendMessageW(box, LB_GETCOUNT, 0, 0), 200);
    driver.PumpPending();
    // The scroll bar is brought up to date only while the list redraws.
    SCROLLINFO scroll = {sizeof(scroll), SIF_RANGE, 0, 0, 0, 0, 0};
    ASSERT_TRUE(::GetScrollInfo(box, SB_VERT, &scroll));
    EXPECT_EQ(scroll.nMax, 199);

    list->SetItems({"only"});
    driver.PumpPending();
    EXPECT_EQ(::SendMessageW(box, LB_GETCOUNT, 0, 0), 1) << "the items are replaced, not added to";
}

TEST_F(Win32DesktopTest, AListScrollsSidewaysAsFarAsItsLongestItemAndNoFurther) {
    auto window = MakeWindow(10, 10, 300, 200);
    ControlRecorder events;
    auto list = window->CreateControl(platform::ControlType::kListBox, "List1", events);
    list->SetBounds({0, 0, 120 * Tpp(), 100 * Tpp()});
    list->SetFont({"MS Sans Serif", 12, true, false});
    list->SetVisible(true);
    window->Show();
    driver.PumpPending();
    const HWND box = ChildOfClass(Of(*window), L"ListBox");
    const std::string path = "C:\\Users\\Someone\\AppData\\Local\\Microsoft\\Windows\\INetCache";
    const auto textWidth = [&](const std::string& text) {
        const win32::WindowDc dc(box);
        const win32::Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(box, WM_GETFONT, 0, 0)));
        SIZE size = {};
        const std::wstring wide = win32::Widen(text);
        ::GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        return static_cast<LRESULT>(size.cx);
    };
    RECT client = {};

    list->AddItem("C:\\Temp");
    list->AddItem(path);
    list->AddItem("C:\\Cookies");
    driver.PumpPending();
    ::GetClientRect(box, &client);
    EXPECT_GE(::SendMessageW(box, LB_GETHORIZONTALEXTENT, 0, 0), textWidth(path));
    EXPECT_GT(::SendMessageW(box, LB_GETHORIZONTALEXTENT, 0, 0), client.right);

    list->SetItems({"C:\\Temp"});
    driver.PumpPending();
    ::GetClientRect(box, &client);
    EXPECT_LT(::SendMessageW(box, LB_GETHORIZONTALEXTENT, 0, 0), client.right) << "nothing left to scroll to";
    list->ClearItems();
    driver.PumpPending();  // the range follows once the handler that emptied the list is done
    EXPECT_EQ(::SendMessageW(box, LB_GETHORIZONTALEXTENT, 0, 0), 0);
}

TEST_F(Win32DesktopTest, TabMovesThroughTheControlsThatTakeTheFocusInTheOrderTheyWereMadeAndEnterIsADoubleClick) {
    auto window = MakeWindow(10, 10, 300, 300);
    ControlRecorder events;
    std::vector<std::unique_ptr<platform::ControlPeer>> controls;
    const auto make = [&](platform::ControlType type, const char* name, int top, bool visible) {
        auto control = window->CreateControl(type, name, events);
        control->SetBounds({10 * Tpp(), top * Tpp(), 200 * Tpp(), 30 * Tpp()});
        control->SetVisible(visible);
        controls.push_back(std::move(control));
        return ::GetDlgItem(Of(*window), win32::ControlIdOf(name));
    };
    make(platform::ControlType::kLabel, "Label1", 0, true);
    const HWND check1 = make(platform::ControlType::kCheckBox, "Check1", 40, true);
    make(platform::ControlType::kListBox, "List1", 80, false);
    const HWND check2 = make(platform::ControlType::kCheckBox, "Check2", 120, true);
    const HWND list2 = make(platform::ControlType::kListBox, "List2", 160, true);
    controls.back()->SetItems({"one", "two"});
    window->Show();
    driver.PumpPending();
    EXPECT_EQ(::GetFocus(), check1) << "a window shown gives the focus to its first control that takes it";

    const auto press = [&](WPARAM key, bool shift) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        const MSG message = {::GetFocus(), WM_KEYDOWN, key, 0, 0, {0, 0}};
        const bool handled = desktop.HandleDialogKey(message);
        keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
        return handled;
    };
    for (const HWND next : {check2, list2, check1}) {
        EXPECT_TRUE(press(VK_TAB, false));
        EXPECT_EQ(::GetFocus(), next) << "labels and hidden controls are passed over; the last wraps round";
    }
    EXPECT_TRUE(press(VK_TAB, true));
    EXPECT_EQ(::GetFocus(), list2) << "Shift+Tab goes back";

    ::SendMessageW(list2, LB_SETCURSEL, 1, 0);
    events.events.clear();
    EXPECT_TRUE(press(VK_RETURN, false));
    EXPECT_EQ(events.events, (Strings{"select 1", "dblclick"}));
    ::SetFocus(check2);
    EXPECT_FALSE(press(VK_RETURN, false)) << "a check box keeps its keys";

    // Left and come back to, the window gives the focus back where it was.
    auto other = MakeWindow(400, 10, 100, 100);
    other->Show();
    driver.PumpPending();
    window->Show();
    driver.PumpPending();
    EXPECT_EQ(::GetFocus(), check2);
}

TEST_F(Win32DesktopTest, TheDirectoryListDrawsItsOpenFoldersOpenTheOthersClosedAndTheChosenOneHighlighted) {
    auto window = MakeWindow(50, 50, 300, 200, {false, false, true});
    ControlRecorder events;
    auto list = window->CreateControl(platform::ControlType::kDirList, "Dir1", events);
    list->SetBounds({0, 0, 250 * Tpp(), 150 * Tpp()});
    list->SetItems({"C:\\", "  Data", "    Old", "      Sub"});
    list->SetOpenItems(3);
    list->SetSelected(2);
    list->SetVisible(true);
    window->Show();
    driver.PumpFor(150);
    const HWND box = ChildOfClass(Of(*window), L"ListBox");
    ASSERT_NE(box, nullptr);
    wchar_t text[16] = {};
    ::SendMessageW(box, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(win32::Narrow(text), "      Sub") << "the items read as they were given";

    // Each row's picture: the square from its first pixel that is not the list's background.
    const Capture shown = CaptureClient(box);
    const COLORREF back = ::GetSysColor(COLOR_WINDOW);
    const std::uint32_t background = (GetRValue(back) << 16) | (GetGValue(back) << 8) | GetBValue(back);
    const auto picture = [&](int row) {
        RECT item = {};
        ::SendMessageW(box, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        const int size = item.bottom - item.top - 2;
        int left = item.left;
        const auto blank = [&](int x) {
            for (int y = item.top; y < item.bottom; ++y) {
                if (shown.At(x, y) != background) return false;
            }
            return true;
        };
        while (left < item.right && blank(left)) ++left;
        std::vector<std::uint32_t> pixels;
        for (int y = item.top + 1; y < item.top + 1 + size; ++y) {
            for (int x = left; x < left + size; ++x) pixels.push_back(shown.At(x, y));
        }
        return pixels;
    };
    EXPECT_EQ(picture(0), picture(1)) << "the root and the folders down to the open one are open";
    EXPECT_EQ(picture(1), picture(2));
    EXPECT_NE(picture(2), picture(3)) << "a subfolder of the open one is closed";

    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const std::uint32_t chosen = (GetRValue(highlight) << 16) | (GetGValue(highlight) << 8) | GetBValue(highlight);
    const auto highlighted = [&](int row) {
        RECT item = {};
        ::SendMessageW(box, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        int count = 0;
        for (int y = item.top; y < item.bottom; ++y) {
            for (int x = item.left; x < item.right; ++x) count += shown.At(x, y) == chosen ? 1 : 0;
        }
        return count;
    };
    EXPECT_GT(highlighted(2), 50) << "the open folder is the chosen one";
    EXPECT_EQ(highlighted(3), 0);
}

TEST_F(Win32DesktopTest, ALabelShowsItsTextAsGivenInItsFontAndIsReadableFromOutside) {
    auto window = MakeWindow(10, 10, 400, 200);
    ControlRecorder events;
    auto label = window->CreateControl(platform::ControlType::kLabel, "Label6", events);
    label->SetFont({"MS Sans Serif", 24, true, true});
    label->SetText("Größe: 12 & more");
    const HWND stat = ChildOfClass(Of(*window), L"Static");
    ASSERT_NE(stat, nullptr);

    wchar_t text[64] = {};
    ::GetWindowTextW(stat, text, 64);
    EXPECT_EQ(win32::Narrow(text), "Größe: 12 & more");
    EXPECT_NE(::GetWindowLongPtrW(stat, GWL_STYLE) & SS_NOPREFIX, 0) << "\"&\" is shown, not an access key";

    LOGFONTW font = {};
    ASSERT_NE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(stat, WM_GETFONT, 0, 0)), sizeof(font), &font), 0);
    const win32::WindowDc screen(nullptr);
    EXPECT_EQ(font.lfHeight, -::MulDiv(24, ::GetDeviceCaps(screen.Get(), LOGPIXELSY), 72));
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_TRUE(font.lfItalic);
    EXPECT_EQ(win32::Narrow(font.lfFaceName), "MS Sans Serif");

    label->SetColours(platform::kSystemHighlightText, platform::Rgb(64, 0, 64), false);
    const win32::MemoryDc dc(::CreateCompatibleDC(screen.Get()));
    ::SendMessageW(Of(*window), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(stat));
    EXPECT_EQ(::GetTextColor(dc.Get()), ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(::GetBkColor(dc.Get()), RGB(64, 0, 64));
}

// ---- What the screen shows

TEST_F(Win32DesktopTest, ATransparentLabelShowsThePictureBehindAndLeavesNoOldText) {
    constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00;
    auto window = MakeWindow(50, 50, 400, 300, {false, false, true});
    window->SetBackground(Picture(400, 300, kRed, kGreen));
    ControlRecorder events;
    auto label = window->CreateControl(platform::ControlType::kLabel, "Label1", events);
    label->SetBounds({100 * Tpp(), 100 * Tpp(), 200 * Tpp(), 60 * Tpp()});
    label->SetFont({"Arial", 24, true, false});
    label->SetColours(platform::Rgb(255, 255, 255), platform::Rgb(0, 0, 255), true);
    label->SetText("WWWWWWWW");
    label->SetVisible(true);
    window->Show();
    driver.PumpFor(150);

    const RECT box = {100, 100, 300, 160};
    const auto behind = [](int x) { return x < 200 ? kRed : kGreen; };
    Capture shown = CaptureClient(Of(*window));
    EXPECT_GT(shown.Differing(box, behind), 50) << "the text is drawn";
    EXPECT_EQ(shown.At(150, 158), kRed) << "the picture shows around the text, aligned with the window's";
    EXPECT_EQ(shown.At(250, 158), kGreen);

    label->SetText("");
    driver.PumpFor(150);
    shown = CaptureClient(Of(*window));
    EXPECT_EQ(shown.Differing(box, behind), 0) << "nothing of the old text remains";
}

TEST_F(Win32DesktopTest, AWindowThatCoveredThePictureLeavesNoHoleAndOpaqueLabelsFillTheirBox) {
    constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;
    auto back = MakeWindow(50, 50, 400, 300, {false, false, true});
    back->SetBackground(Picture(40, 30, kRed, kRed));  // stretched to the window
    back->Show();
    WindowRecorder frontEvents;
    auto front = desktop.CreateWindowPeer("Front", {false, false, true}, frontEvents);
    front->SetBounds({150 * Tpp(), 150 * Tpp(), 200 * Tpp(), 100 * Tpp()});
    front->SetBackColour(platform::Rgb(0, 0, 255));
    ControlRecorder events;
    auto label = front->CreateControl(platform::ControlType::kLabel, "Label1", events);
    label->SetBounds({0, 0, 100 * Tpp(), 50 * Tpp()});
    label->SetColours(platform::Rgb(0, 0, 0), platform::Rgb(0, 255, 0), false);
    label->SetVisible(true);
    front->Show();
    driver.PumpFor(150);
    const Capture covered = CaptureClient(Of(*back));
    EXPECT_EQ(covered.At(250, 150), kBlue);
    EXPECT_EQ(covered.At(110, 110), 0x00FF00u) << "an opaque label fills its box with its back colour";

    front->Hide();
    driver.PumpFor(150);
    const Capture uncovered = CaptureClient(Of(*back));
    EXPECT_EQ(uncovered.Differing({0, 0, 400, 300}, [](int) { return kRed; }), 0);
}

// A screen with a menu bar in front of the backdrop.
class MenuScreen : public forms::Form {
public:
    MenuScreen() : Form("MenuScreen", 4500, 3000) {
        SetCaption("In front of the backdrop");
        SetLeft(3000);
        SetTop(3000);
        AddMenu("mnuClose", "Close", [] {});
        AddMenu("mnuHelp", "Help", [] {});
    }
};

TEST_F(Win32DesktopTest, TheBackdropRunsFromPinkVioletToBlackUnderItsTitleAroundAScreenAndWhereOneWas) {
    forms::Application app(desktop);
    screens::Backdrop& form10 = app.Get<screens::Backdrop>();
    MenuScreen& screen = app.Show<MenuScreen>();
    driver.PumpFor(200);
    const HWND backdrop = reinterpret_cast<HWND>(form10.Handle());
    const Capture shown = CaptureClient(backdrop);
    ASSERT_GT(shown.height, 100);

    struct Rgb {
        double red, green, blue;
    };
    const auto within = [](std::uint32_t pixel, const Rgb& colour, int tolerance) {
        return std::abs(static_cast<int>(pixel >> 16) - colour.red) <= tolerance &&
               std::abs(static_cast<int>((pixel >> 8) & 255) - colour.green) <= tolerance &&
               std::abs(static_cast<int>(pixel & 255) - colour.blue) <= tolerance;
    };
    // What row y should show: each component on the line from (255, 128, 255) at the top to
    // black at the bottom, give or take a step of rounding.
    const auto row = [&](int y) {
        const double rest = 1.0 - static_cast<double>(y) / (shown.height - 1);
        return Rgb{255 * rest, 128 * rest, 255 * rest};
    };
    EXPECT_TRUE(within(shown.At(3, 0), {255, 128, 255}, 2)) << std::hex << shown.At(3, 0);
    EXPECT_TRUE(within(shown.At(3, shown.height - 1), {0, 0, 0}, 2)) << std::hex << shown.At(3, shown.height - 1);
    int offRows = 0;
    for (int y = 0; y < shown.height; ++y) offRows += within(shown.At(shown.width - 3, y), row(y), 2) ? 0 : 1;
    EXPECT_EQ(offRows, 0) << "every row shows its colour of the gradient";

    // The title: text in the system's highlighted-text colour on the gradient, in its top band.
    const int titleBottom = static_cast<int>(1210 / desktop.Screen().twipsPerPixelY);
    int textPixels = 0;
    for (int y = 0; y < titleBottom; ++y) {
        for (int x = 0; x < shown.width; ++x) textPixels += within(shown.At(x, y), row(y), 40) ? 0 : 1;
    }
    EXPECT_GT(textPixels, 500) << "the title is drawn";

    // The screen with its menu bar lies in front; once it is gone, the backdrop shows there.
    RECT front = {};
    ::GetWindowRect(reinterpret_cast<HWND>(screen.Handle()), &front);
    ::MapWindowPoints(nullptr, backdrop, reinterpret_cast<POINT*>(&front), 2);
    const int midX = (front.left + front.right) / 2, midY = (front.top + front.bottom) / 2;
    EXPECT_FALSE(within(shown.At(midX, midY), row(midY), 2)) << "the screen covers the backdrop";
    app.Hide(screen);
    driver.PumpFor(200);
    const Capture uncovered = CaptureClient(backdrop);
    int holes = 0;
    for (int y = front.top; y < front.bottom; ++y) {
        for (int x = front.left; x < front.right; ++x) holes += uncovered.At(x, y) == uncovered.At(3, y) ? 0 : 1;
    }
    EXPECT_EQ(holes, 0) << "each row is one colour where the screen was";
    app.Unload(screen);
    app.Unload(form10);
}

TEST_F(Win32DesktopTest, ControlsLieOnTopOfTheLabelsTheyOverlapAndTheLaterOfTwoLabelsOnTop) {
    constexpr std::uint32_t kGreen = 0x00FF00, kBlue = 0x0000FF;
    auto window = MakeWindow(50, 50, 400, 300, {false, false, true});
    ControlRecorder events;
    const auto label = [&](int left, platform::Colour back) {
        auto made = window->CreateControl(platform::ControlType::kLabel, "Label", events);
        made->SetBounds({left * Tpp(), 0, 200 * Tpp(), 100 * Tpp()});
        made->SetColours(platform::Rgb(0, 0, 0), back, false);
        made->SetVisible(true);
        return made;
    };
    auto before = label(0, platform::Rgb(0, 255, 0));
    auto list = window->CreateControl(platform::ControlType::kListBox, "List1", events);
    list->SetBounds({50 * Tpp(), 50 * Tpp(), 100 * Tpp(), 100 * Tpp()});
    list->SetVisible(true);
    auto after = label(100, platform::Rgb(0, 0, 255));
    window->Show();
    driver.PumpFor(150);

    const Capture shown = CaptureClient(Of(*window));
    const COLORREF listColour = ::GetSysColor(COLOR_WINDOW);
    const std::uint32_t listPixel =
        (GetRValue(listColour) << 16) | (GetGValue(listColour) << 8) | GetBValue(listColour);
    EXPECT_EQ(shown.At(70, 80), listPixel) << "over the label made before the list";
    EXPECT_EQ(shown.At(120, 80), listPixel) << "over the label made after the list";
    EXPECT_EQ(shown.At(20, 20), kGreen);
    EXPECT_EQ(shown.At(180, 20), kBlue) << "where two labels overlap, the later one";
}

// ---- Pointer and message boxes

TEST_F(Win32DesktopTest, ThePointerShowsItsCursorAtOnceAndOverEveryWindowOfTheProgram) {
    const struct {
        int pointer;
        LPCWSTR cursor;
    } cases[] = {{platform::kPointerHourglass, IDC_WAIT},
                 {platform::kPointerArrowHourglass, IDC_APPSTARTING},
                 {platform::kPointerDefault, IDC_ARROW}};
    for (const auto& c : cases) {
        desktop.SetPointer(c.pointer);
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, c.cursor)) << "pointer " << c.pointer;
    }

    auto window = MakeWindow(10, 10, 300, 200);
    ControlRecorder events;
    auto list = window->CreateControl(platform::ControlType::kListBox, "List1", events);
    list->SetVisible(true);
    const HWND box = ChildOfClass(Of(*window), L"ListBox");
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    desktop.SetPointer(platform::kPointerHourglass);
    ::SetCursor(nullptr);
    ::SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), overClient);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT)) << "over a control of the window too";
    desktop.SetPointer(platform::kPointerDefault);
    ::SetCursor(nullptr);
    ::SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), overClient);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW)) << "the control's own cursor again";
}

TEST_F(Win32DesktopTest, AMessageBoxBelongsToTheActiveVisibleWindowAndReturnsTheAnswer) {
    auto window = MakeWindow(10, 10, 300, 200);
    window->Show();
    driver.PumpPending();
    driver.Answer(platform::kResultNo, 50);
    EXPECT_EQ(desktop.MessageBox("First\r\rSecond", "For Your Information.....", 36), platform::kResultNo);
    window->Hide();
    driver.Answer(platform::kResultOk, 50);
    EXPECT_EQ(desktop.MessageBox("Alone", "Kavlon Info.....", 64), platform::kResultOk);

    ASSERT_EQ(driver.Boxes().size(), 2u);
    EXPECT_EQ(driver.Boxes()[0].text, "First\r\rSecond");
    EXPECT_EQ(driver.Boxes()[0].caption, "For Your Information.....");
    EXPECT_EQ(driver.Boxes()[0].owner, Of(*window));
    EXPECT_EQ(driver.Boxes()[1].owner, nullptr) << "a hidden window owns no box";
}

}  // namespace
