#pragma once
// What the benchmarks on the real desktop share: a timer, the median of a series, and a pump
// that delivers what waits and hands every drawing to the display.
#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/win32/Win32.h"

namespace bench {

template <typename Work>
double Milliseconds(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

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
