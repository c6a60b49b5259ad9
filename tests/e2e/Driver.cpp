#include "tests/e2e/Driver.h"

#include <algorithm>

#include "platform/win32/ControlIds.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Gdi.h"

namespace e2e {

using win32::Narrow;
using win32::Widen;

namespace {

struct Search {
    DWORD processId;
    std::wstring caption;
    bool anyCaption;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !::IsWindowVisible(window)) return TRUE;
    if (!search.anyCaption) {
        wchar_t text[512] = {};
        ::GetWindowTextW(window, text, 512);
        if (search.caption != text) return TRUE;
    }
    search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopWindows(DWORD processId, const std::string* caption) {
    Search search{processId, caption ? Widen(*caption) : std::wstring(), caption == nullptr, {}};
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectAny(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId) search.found.push_back(window);
    return TRUE;
}

// Every top-level window of a class, of any process.
std::vector<HWND> WindowsOfClass(const wchar_t* className) {
    std::vector<HWND> found;
    for (HWND window = ::FindWindowExW(nullptr, nullptr, className, nullptr); window;
         window = ::FindWindowExW(nullptr, window, className, nullptr)) {
        found.push_back(window);
    }
    return found;
}

// The text of a shown tooltip of the shell, a balloon or not.
std::string ShownTooltip(bool balloon) {
    for (HWND tooltip : WindowsOfClass(L"tooltips_class32")) {
        const bool isBalloon = (::GetWindowLongW(tooltip, GWL_STYLE) & 0x40) != 0;  // TTS_BALLOON
        if (!::IsWindowVisible(tooltip) || isBalloon != balloon) continue;
        wchar_t text[512] = {};
        DWORD_PTR copied = 0;
        if (::SendMessageTimeoutW(tooltip, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 1000, &copied)) {
            return Narrow(text);
        }
    }
    return {};
}

BOOL CALLBACK CollectTrayIcon(HWND window, LPARAM param) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (std::wstring_view(name).find(L"tray_icon") != std::wstring_view::npos) {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    }
    return TRUE;
}

// How long an action's effect is waited for before the driver gives up on it.
constexpr int kEffectMs = 3000;

// A key pressed and released, as the menu loop of the other thread reads it from its queue.
// The queue keeps the order, so the keys need no pause between them.
void Key(HWND window, WPARAM key) {
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

int IndexOf(const std::vector<std::string>& captions, const std::string& caption) {
    for (size_t i = 0; i < captions.size(); ++i) {
        if (captions[i] == caption) return static_cast<int>(i);
    }
    return -1;
}

// The items of a list box or a combo box. The other process may change the list between two
// calls and the text call takes no buffer size, so the buffer is larger than any item can be.
std::vector<std::string> ItemsOf(HWND list) {
    constexpr size_t kLongestItem = 32768;
    std::vector<std::string> items;
    const bool combo = ClassOf(list) == "ComboBox";
    const LRESULT count = ::SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    std::wstring item(kLongestItem + 1, L'\0');
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT copied = ::SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                                              reinterpret_cast<LPARAM>(item.data()));
        if (copied < 0) continue;
        items.push_back(Narrow(item.substr(0, std::min(static_cast<size_t>(copied), kLongestItem))));
    }
    return items;
}

int FindListItem(HWND list, const std::string& text) {
    const std::vector<std::string> items = ItemsOf(list);
    for (size_t i = 0; i < items.size(); ++i) {
        const size_t first = items[i].find_first_not_of(' ');
        if (first != std::string::npos && items[i].substr(first) == text) return static_cast<int>(i);
    }
    return -1;
}

LPARAM PointOf(HWND list, int index) {
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
}

}  // namespace

std::vector<HWND> VisibleTopLevelWindows(DWORD processId) { return TopWindows(processId, nullptr); }

std::vector<HWND> TopLevelWindows(DWORD processId) {
    Search search{processId, {}, true, {}};
    ::EnumWindows(CollectAny, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ClassOf(HWND window) {
    wchar_t name[256] = {};  // the longest a class name can be
    ::GetClassNameW(window, name, 256);
    return Narrow(name);
}

HWND MainWindow(DWORD processId) {
    for (HWND window : TopLevelWindows(processId)) {
        RECT rect = {};
        ::GetWindowRect(window, &rect);
        if (!::IsWindowVisible(window) && ClassOf(window) == "MorvaneForm" && ReadText(window).empty() &&
            rect.left < -1000 && rect.top < -1000) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForBackdrop(DWORD processId, int milliseconds) {
    const std::string none;
    HWND backdrop = nullptr;
    WaitFor(
        [&] {
            for (HWND window : TopWindows(processId, &none)) {
                if (ClassOf(window) == "MorvaneForm") backdrop = window;
            }
            return backdrop != nullptr;
        },
        milliseconds);
    return backdrop;
}

HWND OpenPopupMenu(DWORD processId) {
    for (HWND window : TopLevelWindows(processId)) {
        if (::IsWindowVisible(window) && ClassOf(window) == "#32768") return window;
    }
    return nullptr;
}

void Wait(int milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (::GetTickCount64() < end) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(10);
    }
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount64() >= end) return false;
        Wait(20);
    }
}

std::string ScreenshotFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"MORVANE_SCREENSHOTS", folder, MAX_PATH + 1);
    return length == 0 || length > MAX_PATH ? std::string() : Narrow(folder);
}

bool SaveScreenshot(const std::string& name) {
    const std::string folder = ScreenshotFolder();
    if (folder.empty()) return true;
    // Nothing tells from outside when the other process has painted; it takes it far less.
    Wait(400);
    return CaptureScreen(folder + "\\" + name + ".bmp");
}

HWND WaitForWindow(DWORD processId, const std::string& caption, int milliseconds) {
    HWND window = nullptr;
    WaitFor(
        [&] {
            const std::vector<HWND> found = TopWindows(processId, &caption);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr;
        },
        milliseconds);
    return window;
}

bool WaitForWindowGone(DWORD processId, const std::string& caption, int milliseconds) {
    return WaitFor([&] { return TopWindows(processId, &caption).empty(); }, milliseconds);
}

std::vector<std::string> VisibleCaptions(DWORD processId) {
    std::vector<std::string> captions;
    for (HWND window : TopWindows(processId, nullptr)) captions.push_back(ReadText(window));
    return captions;
}

HWND Control(HWND window, const char* name) { return ::GetDlgItem(window, win32::ControlIdOf(name)); }

std::string ReadText(HWND window) {
    if (!window) return {};
    const LRESULT length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    // The text may grow meanwhile; the copy stops at the buffer's end.
    std::wstring text(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
    const LRESULT copied =
        ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return Narrow(text);
}

std::string ReadLabel(HWND window, const char* name) { return ReadText(Control(window, name)); }

std::vector<std::string> ReadList(HWND window, const char* name) {
    const HWND list = Control(window, name);
    return list ? ItemsOf(list) : std::vector<std::string>{};
}

bool IsChecked(HWND window, const char* name) {
    return ::SendMessageW(Control(window, name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool ClickCheckBox(HWND window, const char* name) {
    const HWND box = Control(window, name);
    if (!box) return false;
    const LRESULT before = ::SendMessageW(box, BM_GETCHECK, 0, 0);
    ::PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    // The box changes and tells its window in one go, so once it shows the change the click
    // handler has run.
    return WaitFor([&] { return ::SendMessageW(box, BM_GETCHECK, 0, 0) != before; }, kEffectMs);
}

bool SelectListItem(HWND window, const char* name, const std::string& text) {
    const HWND list = Control(window, name);
    const int index = list ? FindListItem(list, text) : -1;
    if (index < 0) return false;
    ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    const LPARAM point = PointOf(list, index);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(list, WM_LBUTTONUP, 0, point);
    return WaitFor([&] { return ::SendMessageW(list, LB_GETCURSEL, 0, 0) == index; }, kEffectMs);
}

int ListScrollWidth(HWND window, const char* name) {
    const HWND list = Control(window, name);
    if (!list) return 0;
    RECT client{};
    ::GetClientRect(list, &client);
    const LRESULT extent = ::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0);
    return extent > client.right ? static_cast<int>(extent - client.right) : 0;
}

bool ScrollListRight(HWND window, const char* name) {
    const HWND list = Control(window, name);
    if (!list) return false;
    ::PostMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);
    return true;
}

bool DoubleClickListItem(HWND window, const char* name, const std::string& text) {
    const HWND list = Control(window, name);
    const int index = list ? FindListItem(list, text) : -1;
    if (index < 0) return false;
    ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    const std::vector<std::string> before = ItemsOf(list);
    const LPARAM point = PointOf(list, index);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(list, WM_LBUTTONUP, 0, point);
    ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    ::PostMessageW(list, WM_LBUTTONUP, 0, point);
    // The click alone already moves the selection, so only a change of the items, or the list
    // going away with its screen, shows that the double click was handled.
    WaitFor([&] { return !::IsWindowVisible(list) || ItemsOf(list) != before; }, kEffectMs);
    return true;
}

void ClickAt(POINT point) {
    INPUT mouse[3] = {};
    for (INPUT& input : mouse) input.type = INPUT_MOUSE;
    mouse[0].mi.dx = static_cast<LONG>(MulDiv(point.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1));
    mouse[0].mi.dy = static_cast<LONG>(MulDiv(point.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1));
    mouse[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    mouse[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    mouse[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    // The pointer arrives first and rests a moment: a click that comes with the move that
    // brings the pointer into another program's window is lost under Wine.
    ::SendInput(1, mouse, sizeof(INPUT));
    WaitFor(
        [&] {
            POINT at = {};
            return ::GetCursorPos(&at) && at.x == point.x && at.y == point.y;
        },
        kEffectMs);
    Wait(100);
    ::SendInput(2, mouse + 1, sizeof(INPUT));
}

void PressKey(WORD key, bool shift) {
    std::vector<INPUT> keys;
    const auto add = [&](WORD code, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        keys.push_back(input);
    };
    if (shift) add(VK_SHIFT, false);
    add(key, false);
    add(key, true);
    if (shift) add(VK_SHIFT, true);
    ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!window || !::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

HWND TopLevelAt(POINT point) { return ::GetAncestor(::WindowFromPoint(point), GA_ROOT); }

bool ChooseMenu(HWND window, const std::vector<std::string>& menuBar, const std::string& item,
                const std::vector<std::string>& subMenu, const std::string& subItem) {
    const int position = IndexOf(menuBar, item);
    const int subPosition = subItem.empty() ? 0 : IndexOf(subMenu, subItem);
    if (!window || position < 0 || subPosition < 0) return false;
    ::SetForegroundWindow(window);
    // Alt alone: the menu bar takes the keyboard with its first item highlighted.
    ::PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
    for (int i = 0; i < position; ++i) Key(window, VK_RIGHT);
    if (subItem.empty()) {
        Key(window, VK_RETURN);
        return true;
    }
    Key(window, VK_DOWN);  // opens the sub-menu on its first item
    for (int i = 0; i < subPosition; ++i) Key(window, VK_DOWN);
    Key(window, VK_RETURN);
    return true;
}

bool ChoosePopupItem(int position, const std::function<void()>& atChoice) {
    // The open popup menu reads the keyboard of its thread, whose active window gets it.
    const HWND target = ::GetForegroundWindow();
    if (!target) return false;
    for (int i = 0; i <= position; ++i) Key(target, VK_DOWN);
    if (atChoice) {
        ::Sleep(40);  // the menu takes the keys that reach the item
        atChoice();
    }
    Key(target, VK_RETURN);
    return true;
}

bool PointAtTrayIcon(const std::string& tipStart) {
    std::vector<HWND> icons;
    for (const wchar_t* tray : {L"__winex11_standalone_tray", L"Shell_TrayWnd"}) {
        for (HWND window : WindowsOfClass(tray)) ::EnumChildWindows(window, CollectTrayIcon, reinterpret_cast<LPARAM>(&icons));
    }
    for (HWND icon : icons) {
        RECT place{};
        if (!::IsWindowVisible(icon) || !::GetWindowRect(icon, &place)) continue;
        ::SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
        // A move the tooltip sees: the pointer put there moves nothing by itself.
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        for (const LONG step : {1, -1}) {
            move.mi.dx = step;
            ::SendInput(1, &move, sizeof(move));
        }
        if (WaitFor([&] { return ShownTrayTip().rfind(tipStart, 0) == 0; }, 2000)) return true;
    }
    return false;
}

std::string ShownTrayTip() { return ShownTooltip(false); }

std::string ShownTrayBalloon() { return ShownTooltip(true); }

MessageBoxSeen WaitForMessageBox(DWORD processId, int milliseconds) {
    MessageBoxSeen seen;
    WaitFor(
        [&] {
            for (HWND window : TopWindows(processId, nullptr)) {
                if (ClassOf(window) != "#32770") continue;
                // The message is the box's static with the id 0xFFFF; its buttons have their results as ids.
                seen = {window, ReadText(window), ReadText(::GetDlgItem(window, 0xFFFF)), {}};
                for (const int result : {IDOK, IDYES, IDNO, IDCANCEL}) {
                    const HWND button = ::GetDlgItem(window, result);
                    if (button && ::IsWindowVisible(button)) seen.buttons.push_back(result);
                }
                return true;
            }
            return false;
        },
        milliseconds);
    return seen;
}

bool AnswerMessageBox(const MessageBoxSeen& box, int result) {
    const HWND button = box.window ? ::GetDlgItem(box.window, result) : nullptr;
    if (!button) return false;
    ::PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(result, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return WaitFor([&] { return !::IsWindow(box.window) || !::IsWindowVisible(box.window); }, kEffectMs);
}

bool CaptureScreen(const std::string& bmpPath) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    const win32::WindowDc screen(nullptr);
    const win32::MemoryDc memory(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const win32::GdiBitmap bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !memory || !bits) return false;
    {
        const win32::Selection selection(memory.Get(), bitmap.Get());
        ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    }
    const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    const win32::KernelHandle out(::CreateFileW(Widen(bmpPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    DWORD written = 0;
    return ::WriteFile(out.Get(), &file, sizeof(file), &written, nullptr) &&
           ::WriteFile(out.Get(), &info.bmiHeader, sizeof(BITMAPINFOHEADER), &written, nullptr) &&
           ::WriteFile(out.Get(), bits, imageSize, &written, nullptr);
}

}  // namespace e2e
