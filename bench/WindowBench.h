#pragma once
// What the benchmarks on the real desktop share: the clock, and a pump that delivers what waits
// and hands every drawing to the display.
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

}  // namespace bench
