// The reference of bench_resident: the least a resident program does, one hidden window and one
// notification-area icon, then it waits for messages. It carries the same icon record as
// Morvane's (identifier 125, callback message 1025), so the bench sees both icons the same way.
#include <windows.h>
#include <shellapi.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"BareTray";
    ::RegisterClassExW(&windowClass);
    const HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"BareTray", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                          nullptr, instance, nullptr);
    if (!window) return 1;

    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window;
    icon.uID = 125;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_USER + 1;
    icon.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(icon.szTip, L"Bare tray", ARRAYSIZE(icon.szTip));
    if (!::Shell_NotifyIconW(NIM_ADD, &icon)) return 1;

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}
