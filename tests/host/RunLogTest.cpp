// The record of every run: its text, the log's rotation, a log that cannot be written, and the
// amounts as they are written for people.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/RunLog.h"
#include "support/HeadlessWorld.h"

namespace {

using engine::RunRecord;
using engine::RunVariant;
using testing_support::FakePorts;

constexpr const char* kLog = "C:\\Apps\\Morvane\\Morvane.log";
const std::string kBom = "\xEF\xBB\xBF";

// An unattended run that refused the Temp folder and left three items of the user folder.
RunRecord WithRefusalAndItemsInUse() {
    RunRecord record;
    record.time = {2026, 12, 7, 18, 30, 12};
    record.endTime = {2026, 12, 7, 18, 31, 2};
    record.durationMs = 49'960;
    record.variant = RunVariant::kAuto;
    record.options = {{"Your Selected Folder", "Yes", "D:\\Downloads", true, false, 51234, 1288490189, 3},
                      {"Temp Folder", "Yes", "C:\\Windows", true, true, 0, 0, 0},
                      {"Clean Cookie Files", "0", "", false, false, 0, 0, 0}};
    record.refusals = {"Temp Folder C:\\Windows is a protected folder"};
    record.outcome = "cleaned, something stayed";
    record.exitCode = 1;
    record.stayedTotal = 3;
    record.stayed = {{"D:\\Downloads\\setup.exe", "in use"},
                     {"D:\\Downloads\\Caf\xC3\xA9\\notes.txt", "in use"},
                     {"D:\\Downloads\\Kept", "read-only folder"}};
    return record;
}

// A record of about `bytes` bytes: its stayed paths make up the length.
RunRecord RecordOfSize(std::size_t bytes, int second) {
    RunRecord record = WithRefusalAndItemsInUse();
    record.time.second = second;
    record.stayed.clear();
    for (std::size_t i = 0; i < engine::kItemsNamed; ++i) {
        record.stayed.push_back({"D:\\Downloads\\" + std::string(bytes / engine::kItemsNamed, 'x'), "in use"});
    }
    record.stayedTotal = record.stayed.size();
    return record;
}

class RunLog : public testing::Test {
protected:
    RunLog() {
        ports.env.programFolder = "C:\\Apps\\Morvane";
        ports.files.AddFolder(ports.env.programFolder);
    }
    std::string Log() { return ports.files.Content(kLog).value_or("<missing>"); }

    FakePorts ports;
};

TEST_F(RunLog, ARecordWithARefusalAndItemsInUseReadsLineByLine) {
    EXPECT_EQ(engine::FormatRunRecord(WithRefusalAndItemsInUse()),
              "==== 2026-12-07 18:30:12  unattended clean  exit code 1  ended 2026-12-07 18:31:02 after 50.0 s\r\n"
              "Your Selected Folder = Yes, D:\\Downloads: 51,234 items removed, 1.2 GB (1,288,490,189 bytes), "
              "3 items left\r\n"
              "Temp Folder = Yes, C:\\Windows: could not be cleaned at all\r\n"
              "Clean Cookie Files = not set\r\n"
              "In all: 51,234 items removed, 1.2 GB; 3 items left\r\n"
              "Refused: Temp Folder C:\\Windows is a protected folder\r\n"
              "Outcome: cleaned, something stayed\r\n"
              "Left in place (3 of 3):\r\n"
              "  in use: D:\\Downloads\\setup.exe\r\n"
              "  in use: D:\\Downloads\\Caf\xC3\xA9\\notes.txt\r\n"
              "  read-only folder: D:\\Downloads\\Kept\r\n");
}

// One line of a record for each way a run can differ from the representative one.
TEST_F(RunLog, EachKindOfRunHasItsLine) {
    struct Case {
        const char* what;
        void (*change)(RunRecord&);
        const char* line;
    };
    const Case cases[] = {
        {"from the options",
         [](RunRecord& r) {
             r.variant = RunVariant::kOptions;
             r.exitCode = 0;
         },
         "==== 2026-12-07 18:30:12  clean from the options  exit code 0  ended"},
        {"from the icon",
         [](RunRecord& r) {
             r.variant = RunVariant::kTray;
             r.time = {2027, 1, 2, 3, 4, 5};
         },
         "==== 2027-01-02 03:04:05  clean from the icon's menu  exit code 1  ended"},
        {"minutes", [](RunRecord& r) { r.durationMs = 303'999; }, " after 5 min 3 s\r\n"},
        {"hours", [](RunRecord& r) { r.durationMs = 23'511'000; }, " after 6 h 31 min\r\n"},
        {"an empty option", [](RunRecord& r) { r.options[2].value = ""; }, "\r\nClean Cookie Files = not set\r\n"},
        {"chosen, not run", [](RunRecord& r) { r.options[1].ran = r.options[1].notCleaned = false; },
         "\r\nTemp Folder = Yes, not cleaned in this run\r\n"},
        {"the cache, small", [](RunRecord& r) { r.options[2] = {"Clean Cookie Files", "Yes", "", true, false, 1, 1023}; },
         "\r\nClean Cookie Files = Yes: 1 item removed, 1,023 bytes, 0 items left\r\n"},
        {"a line break in a name", [](RunRecord& r) { r.stayed[0].path = "D:\\a\r\n==== b"; },
         "\r\n  in use: D:\\a?" "?==== b\r\n"},
        {"more stayed than listed", [](RunRecord& r) { r.stayedTotal = 1234567; },
         "\r\nLeft in place (3 of 1,234,567):\r\n"},
        {"the list longer than the cap",
         [](RunRecord& r) {
             r.stayed.resize(engine::kItemsNamed + 5, {"D:\\x", "other"});
             r.stayedTotal = 0;
         },
         "\r\nLeft in place (100 of 105):\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunRecord record = WithRefusalAndItemsInUse();
        c.change(record);
        const std::string text = engine::FormatRunRecord(record);
        EXPECT_NE(text.find(c.line), std::string::npos) << text;
        EXPECT_EQ(text.find("\n==== ", 1), std::string::npos) << "one header per record";
        const auto listed = std::count(text.begin(), text.end(), '\n') - 8;
        EXPECT_EQ(listed, static_cast<long>(std::min(record.stayed.size(), engine::kItemsNamed)));
    }
}

TEST_F(RunLog, ANewLogStartsWithAByteOrderMarkAndRecordsFollowEachOther) {
    EXPECT_EQ(engine::RunLogPath(ports.env), kLog);
    const RunRecord first = WithRefusalAndItemsInUse();
    RunRecord second = first;
    second.time.minute = 45;
    ASSERT_TRUE(engine::AppendRunRecord(ports.ports, first));
    ASSERT_TRUE(engine::AppendRunRecord(ports.ports, second));
    EXPECT_EQ(Log(), kBom + engine::FormatRunRecord(first) + "\r\n" + engine::FormatRunRecord(second));

    ports.files.AddFile(kLog, "");  // a full disk cut its first write
    ASSERT_TRUE(engine::AppendRunRecord(ports.ports, first));
    EXPECT_EQ(Log(), kBom + engine::FormatRunRecord(first));
}

// Past 1 MB the log keeps its newest whole records within half of it, starting at a header and
// ending with the newest record, and loses nothing between them.
TEST_F(RunLog, ALogPastTheLimitKeepsItsNewerHalfInWholeRecords) {
    struct Case {
        const char* what;
        std::string before;
        RunRecord newest;
    };
    std::string records = kBom;
    for (int i = 0; records.size() + 12'000 <= engine::kRunLogLimit; ++i) {
        records += (i ? "\r\n" : "") + engine::FormatRunRecord(RecordOfSize(12'000, i % 60));
    }
    std::string lookalikes = kBom;
    while (lookalikes.size() < engine::kRunLogLimit) lookalikes += "  in use: D:\\==== x\r\n";
    const Case cases[] = {
        {"records of our own", records, RecordOfSize(12'000, 59)},
        {"text that is no record", std::string(engine::kRunLogLimit + 10, 'z'), WithRefusalAndItemsInUse()},
        {"a newest record larger than half", records, RecordOfSize(engine::kRunLogLimit * 3 / 4, 1)},
        {"the marker inside lines only", lookalikes, RecordOfSize(12'000, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ports.files.AddFile(kLog, c.before);
        ASSERT_TRUE(engine::AppendRunRecord(ports.ports, c.newest));
        const std::string log = Log();
        const std::string newest = engine::FormatRunRecord(c.newest);
        const std::string whole = c.before + "\r\n" + newest;
        EXPECT_TRUE(log.starts_with(kBom + std::string(engine::kRecordMarker)));
        EXPECT_TRUE(log.ends_with(newest)) << "the newest record is whole";
        ASSERT_TRUE(whole.ends_with(log.substr(kBom.size()))) << "nothing lost between the kept records";
        EXPECT_EQ(whole[whole.size() - (log.size() - kBom.size()) - 1], '\n') << "cut at the start of a line";
        EXPECT_LE(log.size(), std::max<std::size_t>(engine::kRunLogLimit / 2, kBom.size() + newest.size()));
        if (c.before == records && newest.size() < 20'000) {
            EXPECT_GT(log.size(), engine::kRunLogLimit / 2 - newest.size() - 12'500) << "the newer half stays";
        }
    }
}

// The record is lost, nothing else changes, and the caller hears false.
TEST_F(RunLog, ALogThatCannotBeWrittenChangesNothing) {
    using Lock = fake::FakeFileSystem::Lock;
    struct Case {
        const char* what;
        void (*prepare)(FakePorts&);
    };
    const Case cases[] = {
        {"held by another program", [](FakePorts& p) { p.files.SetLock(kLog, Lock::kInUse); }},
        {"held exclusively", [](FakePorts& p) { p.files.SetLock(kLog, Lock::kExclusive); }},
        {"read-only", [](FakePorts& p) { p.files.SetAttributes(kLog, platform::kAttrReadOnly); }},
        {"a full disk", [](FakePorts& p) { p.files.SetWritesFail(true); }},
        {"a link to another file", [](FakePorts& p) {
             p.files.Erase(kLog);
             p.files.AddFile("C:\\Data\\precious.txt", "precious");
             p.files.AddFileLink(kLog, "C:\\Data\\precious.txt");
         }},
        {"a second name of another file", [](FakePorts& p) { p.files.AddHardLink("C:\\Data\\precious.log", kLog); }},
        {"the program's folder gone", [](FakePorts& p) { p.files.Erase("C:\\Apps\\Morvane"); }},
        {"the program's folder unknown", [](FakePorts& p) { p.env.programFolder = ""; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakePorts fresh;
        fresh.env.programFolder = "C:\\Apps\\Morvane";
        fresh.files.AddFile(kLog, kBom + "old\r\n");
        c.prepare(fresh);
        const auto everything = [&] {
            std::vector<std::pair<std::string, std::string>> files;
            for (const std::string& path : fresh.files.Tree("C:\\")) {
                files.emplace_back(path, fresh.files.Content(path).value_or("<folder>"));
            }
            return files;
        };
        const auto before = everything();
        EXPECT_FALSE(engine::AppendRunRecord(fresh.ports, WithRefusalAndItemsInUse()));
        EXPECT_EQ(everything(), before);
    }
}

// Another run's turn at the log (its rotation, say) holds a record back until it is over.
TEST_F(RunLog, ARecordWaitsForAnotherRunsTurnAtTheLog) {
    auto turn = ports.env.LockByName(engine::kRunLogLock, 0);
    std::thread writer([this] { engine::AppendRunRecord(ports.ports, WithRefusalAndItemsInUse()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(ports.files.Exists(kLog)) << "written during another run's turn";
    turn.reset();
    writer.join();
    EXPECT_TRUE(ports.files.Exists(kLog));
}

TEST(Amounts, CountsAndSizesReadAsPeopleWriteThem) {
    struct Case {
        std::uint64_t amount;
        const char* count;
        const char* bytes;
    };
    const Case cases[] = {
        {0, "0", "0 bytes"},
        {1, "1", "1 byte"},
        {512, "512", "512 bytes"},
        {1023, "1,023", "1,023 bytes"},
        {1024, "1,024", "1.0 KB"},
        {1536, "1,536", "1.5 KB"},
        {51234, "51,234", "50.0 KB"},
        {1048524, "1,048,524", "1,023.9 KB"},
        {1048525, "1,048,525", "1.0 MB"},  // 1023.95 KB rounds up into the next unit
        {1288490189, "1,288,490,189", "1.2 GB"},
        {1099511627776, "1,099,511,627,776", "1.0 TB"},
        {1125899906842624, "1,125,899,906,842,624", "1,024.0 TB"},
        {18446744073709551615u, "18,446,744,073,709,551,615", "16,777,216.0 TB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        EXPECT_EQ(engine::CountText(c.amount), c.count);
        EXPECT_EQ(engine::BytesText(c.amount), c.bytes);
    }
}

}  // namespace
