#include "tests/win32/world/DesktopDriver.h"

#include <chrono>

#include "platform/win32/WideText.h"

namespace testing_support {
namespace {

unsigned long long NowMs() {
    return static_cast<unsigned long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now().time_since_epoch())
                                               .count());
}

std::string TextOf(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return win32::Narrow(text);
}

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

HWND FindMessageBox() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

DesktopDriver::DesktopDriver(win32::Win32Desktop& desktop)
    : window_(desktop.CreateWindowPeer("DesktopDriver", {}, *this)) {}

DesktopDriver::~DesktopDriver() {
    window_.reset();
    // A quit left in the queue would close the next message box at once.
    MSG message;
    while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void DesktopDriver::PumpFor(int milliseconds) {
    const unsigned long long end = NowMs() + static_cast<unsigned long long>(milliseconds);
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        const unsigned long long now = NowMs();
        if (now >= end) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

void DesktopDriver::Answer(int result, int waitMs) {
    answers_.push_back({result, waitMs});
    window_->StartTimer(kPollTimer, 10);
}

bool DesktopDriver::RunLoopWithin(forms::Application& app, int limitMs) {
    guardFired_ = false;
    window_->StartTimer(kGuardTimer, limitMs);
    app.Run();
    window_->StopTimer(kGuardTimer);
    return !guardFired_;
}

void DesktopDriver::After(int milliseconds, std::function<void()> action) {
    later_.push_back({NowMs() + static_cast<unsigned long long>(milliseconds), std::move(action)});
    window_->StartTimer(kLaterTimer, 10);
}

void DesktopDriver::OnTimer(int id) {
    if (id == kLaterTimer) {
        const unsigned long long now = NowMs();
        std::vector<Later> due;
        for (auto it = later_.begin(); it != later_.end();) {
            if (it->due <= now) {
                due.push_back(std::move(*it));
                it = later_.erase(it);
            } else {
                ++it;
            }
        }
        if (later_.empty()) window_->StopTimer(kLaterTimer);
        for (Later& later : due) later.action();
        return;
    }
    if (id == kGuardTimer) {
        window_->StopTimer(kGuardTimer);
        guardFired_ = true;
        ::PostQuitMessage(0);
        return;
    }
    Poll();
}

void DesktopDriver::Poll() {
    if (answers_.empty()) {
        window_->StopTimer(kPollTimer);
        return;
    }
    const HWND box = FindMessageBox();
    if (box != current_) {
        current_ = box;
        seenAt_ = NowMs();
        if (box) {
            const HWND text = ::GetDlgItem(box, 0xFFFF);  // the message's static, as MessageBox numbers it
            boxes_.push_back({text ? TextOf(text) : std::string(), TextOf(box), ::GetWindow(box, GW_OWNER)});
        }
    }
    if (!current_ || NowMs() - seenAt_ < static_cast<unsigned long long>(answers_.front().waitMs)) return;
    ::PostMessageW(current_, WM_COMMAND, static_cast<WPARAM>(answers_.front().result), 0);
    answers_.pop_front();
    current_ = nullptr;
}

}  // namespace testing_support
