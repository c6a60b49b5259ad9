// Writing the record of a run with 100 items that stayed (AppendRunRecord: format, append,
// rotate when due) into no log, a 900 KB log and a log that passes 1 MB with this record,
// against a bare append of the same bytes (CreateFileW with FILE_APPEND_DATA, one WriteFile).
// Target: under 5 ms in each case.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/SettingsBench.h"
#include "bench/Timing.h"
#include "engine/ListFiles.h"
#include "engine/RunLog.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace {

engine::RunRecord RecordOf100Stayed() {
    engine::RunRecord record;
    record.time = platform::Env().Now();
    record.options = {{"Your Selected Folder", "Yes", "D:\\Users\\ann\\Downloads", true, false, 51234, 1288490189, 100},
                      {"Temp Folder", "Yes", "C:\\Users\\ann\\AppData\\Local\\Temp", true, false, 2000, 81234567, 0},
                      {"Clean Cookie Files", "Yes", "", true, false, 9000, 0, 0}};
    record.outcome = "cleaned, something stayed";
    record.exitCode = 1;
    record.stayedTotal = 250;
    for (int i = 0; i < 100; ++i) {
        record.stayed.push_back({"D:\\Users\\ann\\Downloads\\Projects\\Archive " + std::to_string(i) +
                                     "\\installer-setup-package-" + std::to_string(i) + ".exe",
                                 i % 3 ? "in use" : "access denied"});
    }
    return record;
}

// Whole records of the same kind, up to `bytes`.
std::string LogOf(std::size_t bytes, const std::string& record) {
    std::string log = "\xEF\xBB\xBF" + record;
    while (log.size() + record.size() + 2 <= bytes) log += "\r\n" + record;
    return log;
}

void BareAppend(const std::string& path, const std::string& text) {
    const win32::KernelHandle file(::CreateFileW(win32::Widen(path).c_str(), FILE_APPEND_DATA,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

int main() {
    bench::SettingsBench bench;
    const std::string log = engine::RunLogPath();
    const std::string bare = log + ".bare";
    const engine::RunRecord record = RecordOf100Stayed();
    const std::string text = engine::FormatRunRecord(record);
    const std::string appended = "\r\n" + text;
    // A log that this record takes past the limit; rotation keeps half of it.
    const std::string nearFull = LogOf(engine::kRunLogLimit - text.size() / 2, text);
    const std::string large = LogOf(900 * 1024, text);

    struct Case {
        const char* name;
        const std::string* before;  // null: no log
        std::vector<double> times, bareTimes;
    };
    Case cases[] = {{"no log", nullptr, {}, {}}, {"900 KB log", &large, {}, {}}, {"log that rotates", &nearFull, {}, {}}};
    constexpr int kRuns = 60;
    bool rotated = true;
    for (int run = 0; run < kRuns; ++run) {
        for (Case& c : cases) {
            // The log as the case wants it, made beforehand and not timed.
            for (const std::string* path : {&log, &bare}) {
                if (c.before) {
                    platform::Files().ReplaceWholeFile(*path, *c.before);
                } else {
                    engine::ShellDelete(*path);
                }
            }
            bool written = false;
            c.times.push_back(bench::Milliseconds([&] { written = engine::AppendRunRecord(record); }));
            c.bareTimes.push_back(bench::Milliseconds([&] { BareAppend(bare, appended); }));
            if (!written) {
                std::fprintf(stderr, "bench_runlog: the record was not written (%s)\n", c.name);
                return 1;
            }
            if (c.before == &nearFull) {
                const auto after = platform::Files().ReadWholeFile(log, engine::kRunLogLimit);
                rotated = rotated && after && after->size() <= engine::kRunLogLimit / 2;
            }
        }
    }
    if (!rotated) {
        std::fprintf(stderr, "bench_runlog: the log did not rotate\n");
        return 1;
    }
    std::printf("AppendRunRecord of a record with 100 stayed items (%zu bytes), median of %d (target under 5 ms):\n",
                text.size(), kRuns);
    for (const Case& c : cases) {
        const double time = bench::Median(c.times);
        std::printf("  %-17s %.2f ms, bare append %.2f ms, ratio %.2f%s\n", c.name, time, bench::Median(c.bareTimes),
                    time / bench::Median(c.bareTimes), time < 5 ? "" : "  OVER TARGET");
    }
    return 0;
}
