// Reading a keep-list of 1,001 entries against one ReadINI of the same file: the list is read
// in one pass, so it should cost a few single reads, not a thousand.
#include <cstdio>

#include "bench/SettingsBench.h"

int main() {
    bench::SettingsBench bench;
    bench.Ports().fileSystem->ReplaceWholeFile(bench.Ini(), bench::SettingsBench::FullKeepListFile());
    if (settings::ReadKeepList(bench.Ports(), "Internet").size() != 1001) {
        std::fprintf(stderr, "bench_keeplist_read: the keep-list did not read back whole\n");
        return 1;
    }

    std::size_t sink = 0;
    // A key behind the list, so that the single read parses the whole file as the list does;
    // and the list's first entry, where a single read stops early.
    const auto times = bench::SettingsBench::Microseconds(
        100, {[&](int) { sink += settings::ReadKeepList(bench.Ports(), "Internet").size(); },
              [&](int) { sink += settings::ReadINI(bench.Ports(), bench.Ini(), "sAppPath", "ShortCut").size(); },
              [&](int) { sink += settings::ReadINI(bench.Ports(), bench.Ini(), "Internet", "sFile0").size(); }});
    std::printf("keep-list read (%s): ReadKeepList %.1f us, ReadINI sAppPath/ShortCut %.1f us, Internet/sFile0 %.1f us "
                "(medians)\n",
                bench::SettingsBench::Side(), bench::Median(times[0]), bench::Median(times[1]), bench::Median(times[2]));
    if (!bench::AtMost("ReadKeepList / a ReadINI that parses the whole file", bench::RatioOf(times[0], times[1]), 3)) {
#ifndef _WIN32
        bench::Why("ReadKeepList / a ReadINI that parses the whole file",
                   "on the fakes a file is read by a copy in memory, so both are their parsing alone and the list's "
                   "1,001 entries made into strings weigh the most; the Windows adapters' figure reads the file");
#endif
    }
    bench::Shown("ReadKeepList / a ReadINI that stops at the list's first entry", bench::RatioOf(times[0], times[2]));
    return sink == 0;
}
