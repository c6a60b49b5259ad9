#include "platform/win32/NativeWindow.h"

namespace win32 {

NativeWindow::~NativeWindow() {
    // Reached with a live window only when a derived class did not destroy it: its part of the
    // object is gone already, so the window is cut off from it before it goes.
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        const HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        ::DestroyWindow(hwnd);
    }
}

void NativeWindow::RegisterWindowClass(const wchar_t* className, UINT classStyle, HICON icon) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = &NativeWindow::Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hIcon = icon;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    // A second registration (a second desktop in one process) fails harmlessly.
    ::RegisterClassExW(&windowClass);
}

bool NativeWindow::Create(DWORD exStyle, const wchar_t* className, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menuOrId, const wchar_t* text) {
    ::CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menuOrId,
                      ::GetModuleHandleW(nullptr), this);
    return hwnd_ != nullptr;
}

void NativeWindow::Destroy() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK NativeWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    NativeWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<NativeWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<NativeWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // The object may be gone by now; only the handle is used.
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace win32
