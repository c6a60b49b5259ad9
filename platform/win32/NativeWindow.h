#pragma once
// The one base of every window class of ours: a static window procedure finds the object that
// a window belongs to (stored at WM_NCCREATE, cleared at WM_NCDESTROY) and hands it the message.
// Nothing thrown leaves the procedure.
#include <memory>

#include "platform/win32/Win32.h"

namespace win32 {

// Peers report events that run the program's handlers, and a handler may destroy the very peer
// that reported it. A peer watches its token across such a call and touches nothing of itself
// afterwards when the token has gone.
class LifeToken {
public:
    class Watch {
    public:
        explicit Watch(const std::shared_ptr<char>& token) : token_(token) {}
        bool Alive() const { return !token_.expired(); }

    private:
        std::weak_ptr<char> token_;
    };
    Watch Watcher() const { return Watch(token_); }

private:
    std::shared_ptr<char> token_ = std::make_shared<char>();
};

class NativeWindow {
public:
    NativeWindow() = default;
    virtual ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    HWND Hwnd() const { return hwnd_; }

    // Registers a window class whose windows are run by this base (once per process).
    static void RegisterWindowClass(const wchar_t* className, UINT classStyle, HICON icon);

protected:
    bool Create(DWORD exStyle, const wchar_t* className, DWORD style, int x, int y, int width, int height,
                HWND parent, HMENU menuOrId, const wchar_t* text = L"");
    // A derived class destroys its window in its own destructor, while it can still answer
    // the messages that destruction sends.
    void Destroy();
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    // May destroy this object; touch nothing of it after an event that runs a handler.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace win32
