#pragma once
// The benchmarks' clock: how long a piece of work takes, and the median of a series.
#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

template <typename Work>
double Milliseconds(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

template <typename Work>
double Seconds(Work work) {
    return Milliseconds(work) / 1000;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace bench
