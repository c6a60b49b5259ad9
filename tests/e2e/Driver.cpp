#include "tests/e2e/Driver.h"

#include "platform/win32/ControlIds.h"
#include "platform/win32/WideText.h"

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

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return Narrow(name);
}

// A key pressed and released, as the menu loop of the other thread reads it from its queue.
void Key(HWND window, WPARAM key) {
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    Wait(60);
}

int IndexOf(const std::vector<std::string>& captions, const std::string& caption) {
    for (size_t i = 0; i < captions.size(); ++i) {
        if (captions[i] == caption) return static_cast<int>(i);
    }
    return -1;
}

int FindListItem(HWND list, const std::string& text) {
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<size_t>(length));
        const size_t first = item.find_first_not_of(L' ');
        if (first != std::wstring::npos && Narrow(item.substr(first)) == text) return static_cast<int>(i);
    }
    return -1;
}

LPARAM PointOf(HWND list, int index) {
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
}

}  // namespace

void Wait(int milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (::GetTickCount64() < end) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(10);
    }
}

HWND WaitForWindow(DWORD processId, const std::string& caption, int milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    do {
        const std::vector<HWND> found = TopWindows(processId, &caption);
        if (!found.empty()) return found.front();
        Wait(25);
    } while (::GetTickCount64() < end);
    return nullptr;
}

bool WaitForWindowGone(DWORD processId, const std::string& caption, int milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    do {
        if (TopWindows(processId, &caption).empty()) return true;
        Wait(25);
    } while (::GetTickCount64() < end);
    return false;
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
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return Narrow(text);
}

std::string ReadLabel(HWND window, const char* name) { return ReadText(Control(window, name)); }

std::vector<std::string> ReadList(HWND window, const char* name) {
    std::vector<std::string> items;
    const HWND list = Control(window, name);
    if (!list) return items;
    const bool combo = ClassOf(list) == "ComboBox";
    const LRESULT count = ::SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length =
            ::SendMessageW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring item(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
        ::SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<size_t>(length < 0 ? 0 : length));
        items.push_back(Narrow(item));
    }
    return items;
}

bool IsChecked(HWND window, const char* name) {
    return ::SendMessageW(Control(window, name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool ClickCheckBox(HWND window, const char* name) {
    const HWND box = Control(window, name);
    if (!box) return false;
    ::PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    Wait(150);
    return true;
}

bool SelectListItem(HWND window, const char* name, const std::string& text) {
    const HWND list = Control(window, name);
    const int index = list ? FindListItem(list, text) : -1;
    if (index < 0) return false;
    ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    const LPARAM point = PointOf(list, index);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(list, WM_LBUTTONUP, 0, point);
    Wait(100);
    return true;
}

bool DoubleClickListItem(HWND window, const char* name, const std::string& text) {
    const HWND list = Control(window, name);
    const int index = list ? FindListItem(list, text) : -1;
    if (index < 0) return false;
    ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    const LPARAM point = PointOf(list, index);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(list, WM_LBUTTONUP, 0, point);
    ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    ::PostMessageW(list, WM_LBUTTONUP, 0, point);
    Wait(200);
    return true;
}

bool ChooseMenu(HWND window, const std::vector<std::string>& menuBar, const std::string& item,
                const std::vector<std::string>& subMenu, const std::string& subItem) {
    const int position = IndexOf(menuBar, item);
    const int subPosition = subItem.empty() ? 0 : IndexOf(subMenu, subItem);
    if (!window || position < 0 || subPosition < 0) return false;
    ::SetForegroundWindow(window);
    // Alt alone: the menu bar takes the keyboard with its first item highlighted.
    ::PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
    Wait(150);
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

bool ChoosePopupItem(int position) {
    // The open popup menu reads the keyboard of its thread, whose active window gets it.
    const HWND target = ::GetForegroundWindow();
    if (!target) return false;
    for (int i = 0; i <= position; ++i) Key(target, VK_DOWN);
    Key(target, VK_RETURN);
    return true;
}

MessageBoxSeen WaitForMessageBox(DWORD processId, int milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    do {
        for (HWND window : TopWindows(processId, nullptr)) {
            if (ClassOf(window) != "#32770") continue;
            return {window, ReadText(window), ReadText(::GetDlgItem(window, 0xFFFF))};
        }
        Wait(25);
    } while (::GetTickCount64() < end);
    return {};
}

bool AnswerMessageBox(const MessageBoxSeen& box, int result) {
    const HWND button = box.window ? ::GetDlgItem(box.window, result) : nullptr;
    if (!button) return false;
    ::PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(result, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    Wait(150);
    return true;
}

bool CaptureScreen(const std::string& bmpPath) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        ::GdiFlush();
        const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
        const DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + imageSize;
        const HANDLE out = ::CreateFileW(Widen(bmpPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            saved = ::WriteFile(out, &file, sizeof(file), &written, nullptr) &&
                    ::WriteFile(out, &info.bmiHeader, sizeof(BITMAPINFOHEADER), &written, nullptr) &&
                    ::WriteFile(out, bits, imageSize, &written, nullptr);
            ::CloseHandle(out);
        }
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return saved;
}

}  // namespace e2e
