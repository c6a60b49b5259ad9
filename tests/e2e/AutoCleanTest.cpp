// The unattended clean of the real Morvane.exe: a Temp folder and a user folder of the test's
// own full of what a clean meets, URL-cache entries and cookies made the way a browser makes
// them, a Clean.ini beside the program choosing everything; then `Morvane.exe A`, as a task
// scheduler runs it, and a look at what is left.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <thread>
#include <tuple>

#include <optional>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/E2eWorld.h"

namespace e2e {
namespace {

constexpr int kRunLimitMs = 60000;

// "Ünïcödé 日本 Ω" and "☃.txt": beyond the ANSI code page.
const std::string kUnicodeFolder = "\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xCE\xA9";
const std::string kUnicodeFile = "\xE2\x98\x83.txt";

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += "\n  " + line;
    return out.empty() ? " none" : out;
}

struct Kinds {
    bool heldFile;    // held open, with no sharing, by this test while the program runs
    bool folderLink;  // a link to a folder outside, which Wine cannot remove
};

class AutoClean : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(world.InstallMorvane(program)) << "Morvane.exe must lie beside this test program";
        prefixEntries = world.CacheNames();
        ASSERT_LT(prefixEntries.size(), 900u) << "the keep-list spares the prefix's own entries too";
    }

    // Fills the folder with one of each kind of item; returns what must stay.
    std::vector<std::string> Fill(const std::string& folder, const Kinds& kinds) {
        world.MakeFile(folder + "\\loose.tmp", "loose");
        world.MakeFile(folder + "\\nested\\top.txt", "top");
        world.MakeFile(folder + "\\nested\\deeper\\mid.txt", "mid");
        world.MakeFile(folder + "\\nested\\deeper\\deepest\\leaf.txt", "leaf");
        world.MakeFile(folder + "\\nested\\desktop.ini", "[.ShellClassInfo]",
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        world.MakeFolder(folder + "\\empty");
        world.MakeFile(folder + "\\readonly.txt", "read only", FILE_ATTRIBUTE_READONLY);
        world.MakeFile(folder + "\\nested\\deeper\\readonly.txt", "read only", FILE_ATTRIBUTE_READONLY);
        world.MakeFile(folder + "\\" + kUnicodeFolder + "\\" + kUnicodeFile, "unicode");
        std::string deep = folder + "\\long";
        for (char letter = 'a'; letter < 'f'; ++letter) deep += "\\" + std::string(60, letter);
        world.MakeFile(deep + "\\end.txt", "far");
        EXPECT_TRUE(world.Exists(deep + "\\end.txt"));
        EXPECT_GT(deep.size(), 300u);

        std::vector<std::string> stays;
        if (kinds.heldFile) {
            const std::string path = folder + "\\in use\\held.txt";
            world.MakeFile(path, "held");
            held.push_back(world.HoldOpen(path));
            EXPECT_TRUE(held.back().IsValid());
            stays.insert(stays.end(), {"in use\\", "in use\\held.txt"});
        }
        if (kinds.folderLink) {
            const std::string target = world.Path("Outside\\" + folder.substr(folder.rfind('\\') + 1));
            world.MakeFile(target + "\\precious.txt", "precious");
            world.MakeFile(target + "\\sub\\more.txt", "more");
            EXPECT_TRUE(world.MakeFolderLink(folder + "\\outside", target));
            stays.push_back("outside (link)");
        }
        std::sort(stays.begin(), stays.end());
        return stays;
    }

    // Content entries and cookies, some of them kept; letter case and names beyond ASCII count.
    void MakeCacheEntries() {
        const std::wstring host = win32::Widen(world.Marker()) + L".example";
        const auto url = [&](const std::wstring& path) { return L"http://" + host + L"/" + path; };
        kept = {world.CommitCacheEntry(url(L"Kept")), world.CommitCacheEntry(url(L"caf\u00E9-kept")),
                world.SetCookie(L"kept." + host)};
        gone = {world.CommitCacheEntry(url(L"kept")), world.CommitCacheEntry(url(L"page")),
                world.CommitCacheEntry(url(L"caf\u00E9")), world.SetCookie(L"gone." + host)};
        for (const auto* names : {&kept, &gone}) {
            for (const std::string& name : *names) ASSERT_FALSE(name.empty()) << "an entry was not made";
        }
    }

    // Clean.ini choosing all three options; the keep-list holds the kept entries (after names of
    // no entry) and every entry the prefix had before, which are no business of this test.
    std::string WriteCleanIni(const std::string& userFolder, int namesBefore = 0) {
        std::string ini = "[User]\r\nsFile0=" + userFolder +
                          "\r\n[Delete]\r\nUser=Yes\r\nTemp=Yes\r\nTemporary Internet Files=Yes\r\n[Internet]\r\n";
        std::vector<std::string> keepList;
        for (int i = 0; i < namesBefore; ++i) keepList.push_back("http://" + world.Marker() + ".invalid/" + std::to_string(i));
        keepList.insert(keepList.end(), kept.begin(), kept.end());
        keepList.insert(keepList.end(), prefixEntries.begin(), prefixEntries.end());
        for (size_t i = 0; i < keepList.size(); ++i) ini += "sFile" + std::to_string(i) + "=" + keepList[i] + "\r\n";
        world.MakeFile(program + "\\Clean.ini", ini);
        return ini;
    }

    std::set<std::string> ExpectedCache() const {
        std::set<std::string> expected = prefixEntries;
        expected.insert(kept.begin(), kept.end());
        return expected;
    }

    // Runs `Morvane.exe A` to its end; nullopt when it had to be stopped.
    std::optional<DWORD> RunUnattended() {
        MorvaneRun run(program + "\\Morvane.exe", "A", temp);
        EXPECT_TRUE(run.Started());
        if (!run.WaitForEnd(kRunLimitMs)) {
            ADD_FAILURE() << "Morvane.exe A still ran after " << kRunLimitMs << " ms; its windows:"
                          << Joined(run.VisibleWindows());
            return std::nullopt;
        }
        return run.ExitCode();
    }

    E2eWorld world;
    const std::string program = world.Path("Program");
    const std::string temp = world.Path("Temp");
    const std::string user = world.Path("User");
    std::vector<win32::KernelHandle> held;
    std::set<std::string> prefixEntries;
    std::vector<std::string> kept;
    std::vector<std::string> gone;
};

TEST_F(AutoClean, RemovesAllItCanKeepsTheKeptEntriesAndEndsWithOneWhenAFileStays) {
    const std::vector<std::string> tempStays = Fill(temp, {true, true});
    const std::vector<std::string> userStays = Fill(user, {true, true});
    const auto outside = world.Contents(world.Path("Outside"));
    ASSERT_EQ(outside.size(), 4u);
    MakeCacheEntries();
    const std::string ini = WriteCleanIni(user);

    EXPECT_EQ(RunUnattended(), 1u) << "the open file stayed";
    EXPECT_TRUE(world.Exists(temp));
    EXPECT_TRUE(world.Exists(user));
    EXPECT_EQ(world.Tree(temp), tempStays);
    EXPECT_EQ(world.Tree(user), userStays);
    EXPECT_EQ(world.Contents(world.Path("Outside")), outside) << "the links' targets are whole";
    EXPECT_EQ(world.CacheNames(), ExpectedCache());
    EXPECT_EQ(world.ReadBytes(program + "\\Clean.ini"), ini);
    // The run's record beside the program tells what stayed and why.
    const std::string log = world.ReadBytes(program + "\\Morvane.log").value_or("");
    for (const std::string& line : {std::string("unattended clean  exit code 1  ended "),
                                    "  in use (0xC0000043): " + user + "\\in use\\held.txt\r\n",
                                    "  link left in place: " + temp + "\\outside\r\n", std::string("Outcome: cleaned, ")}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << " is not in the log:\n" << log;
    }
}

// The kept entries stand past the 1,001st of the keep-list, where the design's reader stopped.
TEST_F(AutoClean, EndsWithZeroWhenEverythingWentAway) {
    Fill(temp, {false, false});
    Fill(user, {false, false});
    MakeCacheEntries();
    const std::string ini = WriteCleanIni(user, 1500);

    EXPECT_EQ(RunUnattended(), 0u);
    EXPECT_TRUE(world.Exists(temp));
    EXPECT_TRUE(world.Exists(user));
    EXPECT_EQ(world.Tree(temp), std::vector<std::string>{});
    EXPECT_EQ(world.Tree(user), std::vector<std::string>{});
    EXPECT_EQ(world.CacheNames(), ExpectedCache());
    EXPECT_EQ(world.ReadBytes(program + "\\Clean.ini"), ini);
}

TEST_F(AutoClean, ARootUserFolderIsRefusedWithAMessageAndNothingIsDeleted) {
    Fill(temp, {false, false});
    const std::vector<std::string> tempBefore = world.Tree(temp);
    MakeCacheEntries();
    const std::set<std::string> cacheBefore = world.CacheNames();
    const std::string ini = WriteCleanIni("c:\\");

    MorvaneRun run(program + "\\Morvane.exe", "A", temp);
    ASSERT_TRUE(run.Started());
    const auto text = run.AnswerMessageBox(L"Kavlon Info.....", kRunLimitMs);
    ASSERT_TRUE(text.has_value()) << "no message box; the program " << (run.WaitForEnd(0) ? "ended" : "runs")
                                  << ", its windows:" << Joined(run.VisibleWindows());
    EXPECT_EQ(*text, "You have selected the root file to clean\r\rThis program will not continue !!!!");

    // The folder picker follows the message; the run ends once the user has closed the screens.
    EXPECT_NE(run.WaitForWindow(nullptr, L"Kavlon Tarnwick-----User Designated Folder To Clean", 10000), nullptr)
        << "no folder picker; the program's windows:" << Joined(run.VisibleWindows());
    const std::vector<std::string> shown = run.VisibleWindows();
    run.CloseWindows();
    if (!run.WaitForEnd(5000)) {
        ADD_FAILURE() << "Morvane.exe A did not end once its screens were closed; it showed:" << Joined(shown);
        run.Terminate();
    }
    EXPECT_EQ(run.ExitCode(), 2u);
    EXPECT_EQ(world.Tree(temp), tempBefore);
    EXPECT_EQ(world.CacheNames(), cacheBefore);
    // The run changes no setting; the folder picker adds its own flag when it goes.
    EXPECT_EQ(world.ReadBytes(program + "\\Clean.ini").value_or("").substr(0, ini.size()), ini);
}

// The count a record's line for an option gives first ("14 items removed", "would remove 14
// items", "would remove 3 of 40 entries"); -1 without such a line.
long long FirstCount(const std::string& log, const std::string& linePrefix) {
    const std::size_t at = log.find("\n" + linePrefix);
    if (at == std::string::npos) return -1;
    std::size_t digit = log.find_first_of("0123456789", at + 1 + linePrefix.size());
    long long count = 0;
    for (; digit < log.size() && (std::isdigit(static_cast<unsigned char>(log[digit])) || log[digit] == ','); ++digit) {
        if (log[digit] != ',') count = count * 10 + (log[digit] - '0');
    }
    return count;
}

// `Morvane.exe preview` decides as `Morvane.exe A` does and changes nothing: no file, mark,
// folder or cache entry; what it says each option would remove is what the clean then removes,
// and it ends with the clean's code. Looking takes nothing from others: another program that
// opens the folders meanwhile, for reading and sharing only reading, is never refused.
TEST_F(AutoClean, APreviewChangesNothingAndAgreesWithTheCleanThatFollows) {
    Fill(temp, {true, true});
    Fill(user, {true, true});
    for (int i = 0; i < 2000; ++i) world.MakeFile(temp + "\\many\\" + std::to_string(i / 100) + "\\" + std::to_string(i), "x");
    std::vector<std::wstring> folders;
    for (const std::string& item : world.Tree(temp)) {
        if (item.back() == '\\') folders.push_back(win32::Widen("\\\\?\\" + temp + "\\" + item));
    }
    MakeCacheEntries();
    const std::string ini = WriteCleanIni(user);
    const auto state = [&] {
        return std::make_tuple(world.Contents(temp), world.Tree(temp), world.Contents(user), world.Tree(user),
                               world.Contents(world.Path("Outside")), world.CacheNames(),
                               ::GetFileAttributesW(win32::Widen("\\\\?\\" + temp + "\\readonly.txt").c_str()));
    };
    const auto before = state();
    {
        std::atomic<bool> done{false};
        int tries = 0, refused = 0;
        std::thread reader([&] {
            for (std::size_t i = 0; !done; ++i, ++tries) {
                refused += !win32::KernelHandle(::CreateFileW(folders[i % folders.size()].c_str(), GENERIC_READ,
                                                              FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
            }
        });
        MorvaneRun run(program + "\\Morvane.exe", "Preview", temp);
        ASSERT_TRUE(run.Started());
        const bool ended = run.WaitForEnd(kRunLimitMs);
        done = true;
        reader.join();
        ASSERT_TRUE(ended);
        EXPECT_EQ(run.ExitCode(), 1u) << "the clean's code: something would stay";
        EXPECT_EQ(refused, 0) << "of " << tries << " opens of the folders";
    }
    EXPECT_TRUE(state() == before) << "the preview changed something";
    EXPECT_EQ(world.ReadBytes(program + "\\Clean.ini"), ini);
    const std::string preview = world.ReadBytes(program + "\\Morvane.log").value_or("");
    EXPECT_NE(preview.find("  preview  exit code 1  ended "), std::string::npos) << preview;
    EXPECT_NE(preview.find("Largest that would go ("), std::string::npos) << preview;
    ::DeleteFileW(win32::Widen(program + "\\Morvane.log").c_str());

    EXPECT_EQ(RunUnattended(), 1u);
    const std::string clean = world.ReadBytes(program + "\\Morvane.log").value_or("");
    for (const std::string& option : {"Your Selected Folder = Yes, " + user + ": ",
                                      "Temp Folder = Yes, " + temp + ": ", std::string("Clean Cookie Files = Yes: ")}) {
        SCOPED_TRACE(option);
        EXPECT_GT(FirstCount(preview, option), 0) << preview;
        EXPECT_EQ(FirstCount(preview, option), FirstCount(clean, option)) << preview << clean;
    }
}

// Six unattended runs ending at once on a log past 1 MB: the rotation of one never loses the
// record of another. The log is large enough (8 MB) that its rotation takes a while to read it;
// without turns, about one trial in eight lost a record.
TEST_F(AutoClean, SixRunsAtOnceKeepEveryRecordThroughTheLogsRotation) {
    world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nUser=No\r\n");
    std::string large = "\xEF\xBB\xBF";
    while (large.size() < 8'000'000) large += "==== 2026-01-01 00:00:00  clean from the options\r\n" + std::string(2000, 'x') + "\r\n\r\n";
    for (int trial = 0; trial < 20; ++trial) {
        world.MakeFile(program + "\\Morvane.log", large);
        std::optional<MorvaneRun> runs[6];
        for (auto& run : runs) run.emplace(program + "\\Morvane.exe", "A", temp, true);
        for (auto& run : runs) run->Resume();
        for (auto& run : runs) EXPECT_TRUE(run->WaitForEnd(kRunLimitMs));
        const std::string log = world.ReadBytes(program + "\\Morvane.log").value_or("");
        int records = 0;
        for (auto at = log.find("unattended clean"); at != std::string::npos; at = log.find("unattended clean", at + 1)) ++records;
        ASSERT_EQ(records, 6) << "trial " << trial;
        EXPECT_LT(log.size(), 1'048'576u) << "rotated";
    }
}

// `/?` writes the usage to the output it was started with, else (no output, no console: this
// program lets go of its own, its output being a file) shows it in a message box; it starts
// nothing else. A and preview write their record's summary to that output.
TEST(CommandLine, TheUsageAndTheSummariesGoToTheOutputOrTheUsageToAMessageBox) {
    E2eWorld world;
    const std::string program = world.Path("Program"), old = world.Path("Temp\\old.tmp");
    ASSERT_TRUE(world.InstallMorvane(program));
    world.MakeFile(old, "old");
    world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nTemp=Yes\r\n");
    int runs = 0;
    for (const char* arguments : {"/?", "preview", "A"}) {
        const std::string file = world.Path("out" + std::to_string(++runs));
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        {
            const win32::KernelHandle out(::CreateFileW(win32::Widen(file).c_str(), GENERIC_WRITE, 0, &inherit,
                                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            MorvaneRun run(program + "\\Morvane.exe", arguments, world.Path("Temp"), false, out.Get());
            EXPECT_TRUE(run.WaitForEnd(30000)) << arguments;
            EXPECT_EQ(run.ExitCode(), 0u) << arguments;
        }
        const std::string text = world.ReadBytes(file).value_or("");
        EXPECT_NE(text.find(runs == 1 ? program + "\\Morvane.log" : "\r\nOutcome: "), std::string::npos) << text;
        EXPECT_EQ(world.Exists(old), runs < 3) << arguments;
    }
    ::FreeConsole();
    MorvaneRun help(program + "\\Morvane.exe", "-h", world.Path("Temp"), false, INVALID_HANDLE_VALUE);
    const MessageBoxSeen box = WaitForMessageBox(help.Id(), 30000);
    EXPECT_NE(box.text.find("3  Clean.ini exists but cannot be read"), std::string::npos) << box.text;
    EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(help.WaitForEnd(10000));
}

// An age limit and a kept folder named by its short name: what is newer than 24 hours stays, and
// so does the kept folder with all it holds, with the exit code of a clean that removed all else.
TEST_F(AutoClean, KeepsWhatIsNewerThanTheAgeLimitAndAKeptFolderByAnotherSpelling) {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const std::uint64_t at = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    // Folders after their files, as making the files wrote them.
    const std::pair<const char*, std::uint64_t> written[] = {{"new.txt", 2},  {"old.txt", 48},
                                                             {"old\\old.txt", 48}, {"old", 48},
                                                             {"Kept Folder Of Mine\\a.txt", 48}, {"Kept Folder Of Mine", 48}};
    for (const auto& [name, hours] : written) {
        if (std::string_view(name).ends_with(".txt")) world.MakeFile(temp + "\\" + name, "x");
    }
    for (const auto& [name, hours] : written) {
        const std::uint64_t time = at - hours * 36'000'000'000ull;
        const FILETIME when{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
        const win32::KernelHandle item(::CreateFileW(win32::Widen(temp + "\\" + name).c_str(), FILE_WRITE_ATTRIBUTES,
                                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                                     nullptr));
        EXPECT_TRUE(item.IsValid() && ::SetFileTime(item.Get(), nullptr, nullptr, &when)) << name;
    }
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameW(win32::Widen(temp + "\\Kept Folder Of Mine").c_str(), shortName, MAX_PATH), 0u);
    const std::string kept = win32::Narrow(shortName);
    ASSERT_EQ(kept.find("Kept Folder"), std::string::npos) << kept;
    world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nTemp=Yes\r\n[Keep Newer]\r\nTemp=24\r\n[Keep]\r\nsFile0=" + kept + "\r\n");

    EXPECT_EQ(RunUnattended(), 0u) << "what was kept back is no failure";
    EXPECT_EQ(world.Tree(temp), (std::vector<std::string>{"Kept Folder Of Mine\\", "Kept Folder Of Mine\\a.txt", "new.txt"}));
    const std::string log = world.ReadBytes(program + "\\Morvane.log").value_or("");
    EXPECT_NE(log.find(": 3 items removed, 2 bytes, 0 items left; kept back: 1 item newer than 24 hours; 1 kept path, "
                       "2 items\r\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace e2e
