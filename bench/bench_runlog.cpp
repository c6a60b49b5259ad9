// Writing the record of a run with 100 items that stayed (AppendRunRecord: format, append,
// rotate when due) into no log, a 900 KB log and a log that passes 1 MB with this record,
// against a bare append of the same bytes (CreateFileW with FILE_APPEND_DATA, one WriteFile),
// taking turns over 60 rounds. Target: under 5 ms in each case. A log that rotates is also
// measured against a bare rotation: the append, one read of the whole log and the kept half
// written to a file beside it, flushed and moved over the log (as any rotation that never
// leaves a broken log must), since its time is then the disk's flush.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/SettingsBench.h"
#include "bench/Timing.h"
#include "engine/Purges.h"
#include "engine/RunLog.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace {

engine::RunRecord RecordOf100Stayed(platform::Environment& env) {
    engine::RunRecord record;
    record.time = env.Now();
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

void BareRotatingAppend(const std::string& path, const std::string& text) {
    BareAppend(path, text);
    std::string log(engine::kRunLogLimit * 2, '\0');
    DWORD read = 0;
    {
        const win32::KernelHandle file(::CreateFileW(win32::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ::ReadFile(file.Get(), log.data(), static_cast<DWORD>(log.size()), &read, nullptr);
    }
    const std::string kept = log.substr(read - engine::kRunLogLimit / 2, engine::kRunLogLimit / 2);
    const std::wstring temporary = win32::Widen(path + ".new");
    {
        const win32::KernelHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ::WriteFile(file.Get(), kept.data(), static_cast<DWORD>(kept.size()), &written, nullptr);
        ::FlushFileBuffers(file.Get());
    }
    ::MoveFileExW(temporary.c_str(), win32::Widen(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

}  // namespace

int main() {
    bench::SettingsBench bench;
    const std::string log = engine::RunLogPath(*bench.Ports().environment);
    const std::string bare = log + ".bare";
    const engine::RunRecord record = RecordOf100Stayed(*bench.Ports().environment);
    const std::string text = engine::FormatRunRecord(record);
    const std::string appended = "\r\n" + text;
    // A log that this record takes past the limit (as many whole records as fit in it, so one
    // more does not); rotation keeps half of it.
    const std::string nearFull = LogOf(engine::kRunLogLimit, text);
    const std::string large = LogOf(900 * 1024, text);

    struct Case {
        const char* name;
        const std::string* before;  // null: no log
        std::vector<double> times, bareTimes;
    };
    Case cases[] = {{"no log", nullptr, {}, {}}, {"900 KB log", &large, {}, {}}, {"log that rotates", &nearFull, {}, {}}};
    std::vector<double> bareRotations;
    constexpr int kRuns = 60;
    bool rotated = true;
    bool allWritten = true;
    // The logs as a case wants them, made beforehand and not timed.
    const auto prepare = [&](const std::string& path, const std::string* before) {
        if (before) {
            bench.Ports().fileSystem->ReplaceWholeFile(path, *before);
        } else {
            engine::ShellDelete(*bench.Ports().fileSystem, path);
        }
    };
    for (int run = 0; run < kRuns; ++run) {
        for (Case& c : cases) {
            const bool rotates = c.before == &nearFull;
            bench::InTurns(run, rotates ? 3 : 2, [&](int turn) {
                if (turn == 0) {
                    prepare(log, c.before);
                    bool written = false;
                    c.times.push_back(bench::Milliseconds([&] { written = engine::AppendRunRecord(bench.Ports(), record); }));
                    allWritten = allWritten && written;
                    if (rotates) {
                        const auto after = bench.Ports().fileSystem->ReadWholeFile(log, engine::kRunLogLimit);
                        rotated = rotated && after && after->size() <= engine::kRunLogLimit / 2;
                    }
                } else if (turn == 1) {
                    prepare(bare, c.before);
                    c.bareTimes.push_back(bench::Milliseconds([&] { BareAppend(bare, appended); }));
                } else {
                    prepare(bare, c.before);
                    bareRotations.push_back(bench::Milliseconds([&] { BareRotatingAppend(bare, appended); }));
                }
            });
        }
    }
    if (!allWritten || !rotated) {
        std::fprintf(stderr, "bench_runlog: %s\n", allWritten ? "the log did not rotate" : "a record was not written");
        return 1;
    }
    std::printf("AppendRunRecord of a record with 100 stayed items (%zu bytes):\n", text.size());
    for (Case& c : cases) {
        std::printf("  %-17s %s; bare append %s\n", c.name, bench::Text(bench::SpreadOf(c.times), "%.2f", " ms").c_str(),
                    bench::Text(bench::SpreadOf(c.bareTimes), "%.2f", " ms").c_str());
        if (!bench::AtMost(std::string("AppendRunRecord, ") + c.name, bench::SpreadOf(c.times), 5, " ms", "%.2f",
                           true) &&
            c.before == &nearFull) {
            bench::Why(std::string("AppendRunRecord, ") + c.name,
                       "the rotation flushes the kept half of the log to the disk before it replaces the log, so "
                       "that no crash leaves it broken; a bare rotation doing the same takes " +
                           bench::Text(bench::SpreadOf(bareRotations), "%.2f", " ms"));
        }
    }
    std::printf("  bare rotation     %s\n", bench::Text(bench::SpreadOf(bareRotations), "%.2f", " ms").c_str());
    bench::Shown("AppendRunRecord that rotates / bare rotation", bench::RatioOf(cases[2].times, bareRotations));
    return 0;
}
