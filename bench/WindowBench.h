#pragma once
// What the benchmarks on the real desktop share: the clock, a pump that delivers what waits
// and hands every drawing to the display, and a watch on how long a window takes to answer.
#include <algorithm>
#include <atomic>
#include <thread>

#include "bench/Timing.h"
#include "platform/win32/Win32.h"

namespace bench {

// Delivers every message that waits, without waiting for more, then flushes GDI.
inline void PumpUntilIdle() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::GdiFlush();
}

// The longest answer of the window to WM_NULL sent from another thread every 20 ms, while it lives.
class AnswerWatch {
public:
    explicit AnswerWatch(HWND window)
        : thread_([this, window] {
              while (!done_) {
                  const double took = Milliseconds([&] {
                      DWORD_PTR result = 0;
                      ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
                  });
                  longest_ = std::max(longest_.load(), took);
                  ::Sleep(20);
              }
          }) {}
    ~AnswerWatch() {
        done_ = true;
        thread_.join();
    }
    double Longest() const { return longest_; }

private:
    std::atomic<bool> done_{false};
    std::atomic<double> longest_{0};
    std::thread thread_;
};

}  // namespace bench
