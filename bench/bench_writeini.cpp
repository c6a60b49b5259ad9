// One WriteINI into a Clean.ini that holds a keep-list of 1,001 entries, against writing that
// whole file once: the read-modify-replace should cost little more than the write itself.
#include <cstdio>

#include "bench/SettingsBench.h"

int main() {
    bench::SettingsBench bench;
    const std::string content = bench::SettingsBench::FullKeepListFile();
    bench.Ports().fileSystem->ReplaceWholeFile(bench.Ini(), content);

    // The key every interactive start writes; it sits behind the list. Alternating values make
    // every call a real write.
    const auto times = bench::SettingsBench::Microseconds(
        100, {[&](int i) {
                  settings::WriteINI(bench.Ports(), bench.Ini(), "sAppPath", "ShortCut",
                                     i % 2 ? "C:\\Program Files\\Morvane\\" : "C:\\Morvane\\");
              },
              [&](int) { bench.Ports().fileSystem->ReplaceWholeFile(bench.Copy(), content); }});
    if (settings::ReadKeepList(bench.Ports(), "Internet").size() != 1001) {
        std::fprintf(stderr, "bench_writeini: the keep-list did not survive the writes\n");
        return 1;
    }

    std::printf("WriteINI (%s): %.1f us, whole-file write of %zu bytes %.1f us (medians)\n", bench::SettingsBench::Side(),
                bench::Median(times[0]), content.size(), bench::Median(times[1]));
#ifdef _WIN32
    bench::AtMost("WriteINI / one whole-file write", bench::RatioOf(times[0], times[1]), 3);
#else
    std::printf("no ratio: on the fakes a write is a copy in memory, so this is the update's own work\n");
    bench::Shown("WriteINI, its own work", bench::SpreadOf(times[0]), " us", "%.1f");
#endif
    return 0;
}
