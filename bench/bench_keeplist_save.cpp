// Saving a keep-list of 1,001 entries with SaveInternetKeepList (read the settings it carries
// over, build the file, replace it atomically) against one whole-file write of the same content.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/SettingsBench.h"
#include "engine/KeepLists.h"
#include "forms/Application.h"
#include "platform/fake/FakeDesktop.h"

int main() {
    bench::SettingsBench bench;
    fake::FakeDesktop desktop;
    forms::Application application(desktop);
    bench.Ports().fileSystem->ReplaceWholeFile(bench.Ini(), bench::SettingsBench::FullKeepListFile());

    // Two lists in turn, so that every save changes the file.
    std::vector<std::string> lists[2];
    for (int i = 0; i <= 1000; ++i) {
        lists[0].push_back("Cookie:ann@site" + std::to_string(i) + ".example.com/");
        lists[1].push_back("Cookie:bob@site" + std::to_string(i) + ".example.com/");
    }
    engine::SaveInternetKeepList(bench.Ports(), lists[0]);
    const auto content = bench.Ports().fileSystem->ReadWholeFile(bench.Ini(), 1 << 20);
    if (!content || settings::ReadKeepList(bench.Ports(), "Internet") != lists[0]) {
        std::fprintf(stderr, "bench_keeplist_save: the keep-list did not read back whole\n");
        return 1;
    }

    const auto times = bench::SettingsBench::Microseconds(
        20, {[&](int i) { engine::SaveInternetKeepList(bench.Ports(), lists[i % 2]); },
             [&](int) { bench.Ports().fileSystem->ReplaceWholeFile(bench.Copy(), *content); }});
    std::printf("SaveInternetKeepList (%s): %.1f us, whole-file write of %zu bytes %.1f us (medians)\n",
                bench::SettingsBench::Side(), bench::Median(times[0]), content->size(), bench::Median(times[1]));
#ifdef _WIN32
    bench::AtMost("SaveInternetKeepList / one whole-file write", bench::RatioOf(times[0], times[1]), 2);
#else
    std::printf("no ratio: on the fakes a write is a copy in memory, so this is the save's own work\n");
    bench::Shown("SaveInternetKeepList, its own work", bench::SpreadOf(times[0]), " us", "%.1f");
#endif
    return 0;
}
