#pragma once
// The benchmarks' clock and how every figure is taken: contestants take turns within each round
// (the first turn moving one place a round), a ratio is the median of the per-round ratios with
// their range beside it, never a best-of (one lucky round says nothing of a shared machine), and
// each figure a bench claims is printed as a line of tools/bench's closing table.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
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
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A series by its median and range.
struct Spread {
    double median = 0;
    double low = 0;
    double high = 0;
    size_t rounds = 0;
};

inline Spread SpreadOf(const std::vector<double>& values) {
    if (values.empty()) return {};
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return {Median(values), *low, *high, values.size()};
}

// a[i] / b[i] round by round: the two met the same moment of the machine.
inline Spread RatioOf(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) ratios.push_back(a[i] / b[i]);
    return SpreadOf(ratios);
}

// "1.03 (median of 5 rounds, 0.98-1.10)" or "4.57 ms (median of 60 rounds, 4.12-5.10)", each
// number in the given printf format.
inline std::string Text(const Spread& spread, const char* format = "%.2f", const char* unit = "") {
    const std::string f = format;
    const std::string pattern = f + "%s (median of %zu rounds, " + f + "-" + f + ")";
    char text[160];
    std::snprintf(text, sizeof(text), pattern.c_str(), spread.median, unit, spread.rounds, spread.low, spread.high);
    return text;
}

// Calls turn(c) once for every contestant c in this round's order.
template <typename Turn>
void InTurns(int round, int contestants, Turn turn) {
    for (int i = 0; i < contestants; ++i) turn((round + i) % contestants);
}

struct Contestant {
    std::string name;
    std::function<double()> turn;   // its work, timed; returns the time it took (its own clock may time it)
    std::function<void()> ready{};  // untimed, just before each turn: a tree made and flushed, say
};

// Runs the rounds; each contestant's times, one per round. Each round's times are printed, in
// the unit the turns return.
inline std::vector<std::vector<double>> InRounds(int rounds, const std::vector<Contestant>& contestants,
                                                 const char* unit) {
    std::vector<std::vector<double>> times(contestants.size());
    double readying = 0;
    for (int round = 0; round < rounds; ++round) {
        InTurns(round, static_cast<int>(contestants.size()), [&](int c) {
            if (contestants[c].ready) readying += Seconds(contestants[c].ready);
            times[c].push_back(contestants[c].turn());
        });
        std::printf("round %d:", round + 1);
        for (size_t c = 0; c < contestants.size(); ++c) {
            std::printf("%s %s %.3f %s", c ? ";" : "", contestants[c].name.c_str(), times[c].back(), unit);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    if (readying > 0) std::printf("(the turns were made ready in %.1f s in all, untimed)\n", readying);
    return times;
}

// A row of tools/bench's closing table: "figure | what | value | target | met".
inline void Figure(const std::string& what, const std::string& value, const std::string& target, const char* met) {
    std::printf("figure | %s | %s | %s | %s\n", what.c_str(), value.c_str(), target.c_str(), met);
    std::fflush(stdout);
}

// A figure whose median must stay at most (or, strictly, under) a limit; whether it did.
inline bool AtMost(const std::string& what, const Spread& spread, double limit, const char* unit = "",
                   const char* format = "%.2f", bool strictly = false) {
    const bool met = strictly ? spread.median < limit : spread.median <= limit;
    char target[64];
    std::snprintf(target, sizeof(target), "%s %g%s", strictly ? "under" : "at most", limit, unit);
    Figure(what, Text(spread, format, unit), target, met ? "met" : "NOT MET");
    return met;
}

// Why a figure is what it is, shown under the closing table.
inline void Why(const std::string& what, const std::string& reason) {
    std::printf("why | %s | %s\n", what.c_str(), reason.c_str());
    std::fflush(stdout);
}

// A figure shown for what it tells, with no target of its own.
inline void Shown(const std::string& what, const Spread& spread, const char* unit = "", const char* format = "%.2f") {
    Figure(what, Text(spread, format, unit), "-", "-");
}

}  // namespace bench
