// The clean run's variants, refusals and questions, and the URL cache step, on the fakes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>

#include "app/CleanRunWindows.h"
#include "engine/CleanRun.h"
#include "engine/UrlCacheClean.h"
#include "screens/Backdrop.h"
#include "settings/SettingsFile.h"
#include "support/HeadlessWorld.h"

namespace {

using testing_support::HeadlessWorld;

class MainWindow : public forms::Form {
public:
    MainWindow() : Form("Form1a", 100, 100, {false, true}) {}
    forms::Timer soon{*this, "Timer1", 500};
};

// The program's host, but for what it asks of the screens and of the resident main window,
// which it records.
struct ScreensLog : app::CleanRunWindows {
    using app::CleanRunWindows::CleanRunWindows;
    std::vector<std::string> calls;
    std::function<void()> afterAnswer;  // what arrives once the question was answered
    bool AskGoOnWithoutKeptCookies() override {
        const bool yes = app::CleanRunWindows::AskGoOnWithoutKeptCookies();
        if (afterAnswer) afterAnswer();
        return yes;
    }
    void ShowFolderPicker() override { calls.push_back("picker"); }
    void ShowStartPage() override { calls.push_back("start"); }
    void HideScreensForWork() override {
        calls.push_back("hide screens");
        app::CleanRunWindows::HideScreensForWork();
    }
    void CloseScreensLater() override { calls.push_back("close-all"); }
    void EndWhenScreensClose(int code) override { calls.push_back("end on close " + std::to_string(code)); }
};

class CleanRun : public testing::Test {
protected:
    CleanRun() {
        world.UsualFolders();
        world.folders.SetFolder(38, "C:\\Program Files");
        world.files.AddFolder("C:\\Program Files");
        world.files.AddFile("C:\\Temp\\t.tmp", "123");
        world.files.AddFile("C:\\Mine\\m.txt", "12");
        world.cache.Add("http://a/");
        world.cache.Add("http://kept/");
        world.cache.Add("Cookie:me@site/", platform::kCookieCacheEntry, 321);
        world.app.Get<MainWindow>();
    }

    void Settings(const std::string& ini) { world.files.AddFile("C:\\Apps\\Clean.ini", ini); }
    void AllChosen(const std::string& user, const std::string& keep = "[Internet]\r\nsFile0=http://kept/\r\n") {
        Settings("[User]\r\nsFile0=" + user + "\r\n[Delete]\r\nUser=Yes\r\nTemp=Yes\r\nTemporary Internet Files=Yes\r\n" +
                 keep);
    }
    bool NothingDeleted() {
        return world.files.Exists("C:\\Temp\\t.tmp") && world.files.Exists("C:\\Mine\\m.txt") &&
               world.cache.entries.size() == 3;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& m : world.desktop.messages) texts.push_back(m.text);
        return texts;
    }

    HeadlessWorld world;
    ScreensLog screens{world.app, world.ports, world.cleaner};
};

TEST_F(CleanRun, FromOptionsCleansEverythingChosenSparesKeptEntriesAndReportsWithThePause) {
    AllChosen("C:\\Mine");
    world.app.Get<screens::Backdrop>();
    world.cleaner.RunCleanFromOptions(screens);
    EXPECT_FALSE(world.files.Exists("C:\\Temp\\t.tmp"));
    EXPECT_FALSE(world.files.Exists("C:\\Mine\\m.txt"));
    EXPECT_TRUE(world.files.Exists("C:\\Mine"));
    EXPECT_EQ(world.cache.Names(), std::vector<std::string>{"http://kept/"});
    ASSERT_EQ(world.desktop.messages.size(), 1u);
    EXPECT_EQ(world.desktop.messages[0].text, "All Files Cleaned!");
    EXPECT_EQ(world.desktop.messages[0].caption, "Kavlon Tarnwick.....");
    EXPECT_EQ(world.desktop.messages[0].style, 64);
    EXPECT_EQ(world.desktop.messages[0].at, 1000) << "a moment passes before it";
    EXPECT_EQ(world.app.Find<screens::Backdrop>()->statusLine.Caption(), "All Finished Cleaning Files !");
    // The end of the run: every form hidden, the deferred close-all armed.
    EXPECT_FALSE(world.app.Find<screens::Backdrop>()->Visible());
    EXPECT_EQ(screens.calls, (std::vector<std::string>{"hide screens", "close-all"}));
    EXPECT_EQ(world.desktop.pointer, 0);
}

TEST_F(CleanRun, WhatStaysIsReportedInsteadOfAllCleaned) {
    AllChosen("C:\\Mine");
    world.files.SetLock("C:\\Temp\\t.tmp", fake::FakeFileSystem::Lock::kInUse);
    world.cache.inUse.insert("http://a/");
    world.app.Get<screens::Backdrop>();
    world.cleaner.RunCleanFromOptions(screens);
    ASSERT_EQ(world.desktop.messages.size(), 1u);
    EXPECT_EQ(world.desktop.messages[0].text, app::NotAllCleanedText(2, 0) + "\r\rWhy they stayed: in use (2).");
    EXPECT_NE(world.desktop.messages[0].text.find("2 items"), std::string::npos);
    EXPECT_EQ(world.desktop.messages[0].caption, "Kavlon Tarnwick.....");
}

// An option that removed nothing because its folder could not be cleaned at all is no success.
TEST_F(CleanRun, AChosenFolderThatCannotBeCleanedIsReported) {
    struct Case {
        const char* label;
        std::string settings;
        bool unsetTemp;
        std::string why;  // in the message, and with the system's code in the record
        std::string recorded;
    };
    const std::string options = "[Delete]\r\nUser=Yes\r\nTemp=Yes\r\n[Internet]\r\nsFile0=x\r\n";
    const Case cases[] = {
        {"Temp unset", "[User]\r\nsFile0=C:\\Mine\r\n" + options, true, "Temp Folder is not set.",
         "Refused: Temp Folder is not set\r\n"},
        {"user folder gone", "[User]\r\nsFile0=C:\\Gone\r\n" + options, false,
         "Your Selected Folder C:\\Gone could not be opened: not found.",
         "Refused: Your Selected Folder C:\\Gone could not be opened: not found (0x00000003)\r\n"},
        {"a file where the folder was", "[User]\r\nsFile0=C:\\Data\\file.txt\r\n" + options, false,
         "Your Selected Folder C:\\Data\\file.txt could not be opened: error.",
         "Refused: Your Selected Folder C:\\Data\\file.txt could not be opened: error (0x0000010B)\r\n"},
        {"no user folder stored", options, false, "Your Selected Folder is not set.",
         "Refused: Your Selected Folder is not set\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.unsetTemp) world.env.UnsetVariable("Temp");
        world.files.AddFile("C:\\Data\\file.txt");
        Settings(c.settings);
        world.desktop.messages.clear();
        world.app.Show(world.app.Get<screens::Backdrop>());
        world.files.Erase("C:\\Apps\\Morvane.log");
        world.cleaner.RunCleanFromOptions(screens);
        EXPECT_EQ(Texts(), std::vector<std::string>{app::NotAllCleanedText(0, 1) + "\r\r" + c.why});
        const std::string log = world.files.Content("C:\\Apps\\Morvane.log").value_or("");
        EXPECT_NE(log.find(c.recorded), std::string::npos) << log;
        world.env.exitCode.reset();
        world.cleaner.RunAutoClean(screens);
        EXPECT_EQ(world.env.exitCode, engine::kExitSomethingStayed);
        world.env.SetVariable("Temp", "C:\\Temp");
    }
    EXPECT_EQ(app::NotAllCleanedText(0, 1),
              "Cleaning Finished, but not every file could be removed !\r\r1 chosen folder could not be cleaned.");
    EXPECT_EQ(app::NotAllCleanedText(2, 2),
              "Cleaning Finished, but not every file could be removed !\r\r"
              "2 items are still in use or protected. 2 chosen folders could not be cleaned.");
}

// Before, such a file read as "nothing chosen" and the run ended with 0, "all removed".
TEST_F(CleanRun, SettingsThatCannotBeReadEndTheUnattendedRunWithTheirOwnCode) {
    AllChosen("C:\\Mine");
    world.files.SetLock("C:\\Apps\\Clean.ini", fake::FakeFileSystem::Lock::kExclusive);
    world.cleaner.RunAutoClean(screens);
    EXPECT_EQ(world.env.exitCode, engine::kExitSettingsUnreadable);
    EXPECT_TRUE(NothingDeleted());
    EXPECT_TRUE(world.desktop.messages.empty());
}

TEST_F(CleanRun, WithoutAVisibleBackdropTheOptionsRunCleansSilently) {
    AllChosen("C:\\Mine");
    world.cleaner.RunCleanFromOptions(screens);  // creates the backdrop for its status line ...
    EXPECT_EQ(world.desktop.messages.size(), 1u);
    world.files.AddFile("C:\\Temp\\again.tmp");
    world.app.Hide(world.app.Get<screens::Backdrop>());
    world.desktop.messages.clear();
    world.cleaner.RunCleanFromTray(screens);  // ... the tray variant writes none and reports nothing
    EXPECT_FALSE(world.files.Exists("C:\\Temp\\again.tmp"));
    EXPECT_TRUE(world.desktop.messages.empty());
}

TEST_F(CleanRun, TheRootAndSystemFoldersAreRefusedInEverySpellingAndNothingIsDeleted) {
    struct Case {
        const char* user;
        std::string text;
    };
    for (const Case& c : {Case{"c:\\", app::RootRefusalText()}, Case{"C:/", app::RootRefusalText()},
                          Case{"C:\\Windows", app::SystemRefusalText()},
                          Case{"c:\\windows\\", app::SystemRefusalText()},
                          Case{"C:\\Program Files", app::SystemRefusalText()},
                          Case{"\\\\?\\GLOBALROOT\\??\\C:\\Program Files", app::SystemRefusalText()}}) {
        world.desktop.messages.clear();
        screens.calls.clear();
        AllChosen(c.user);
        world.cleaner.RunCleanFromTray(screens);
        EXPECT_TRUE(NothingDeleted()) << c.user;
        ASSERT_EQ(world.desktop.messages.size(), 1u) << c.user;
        EXPECT_EQ(world.desktop.messages[0].text, c.text) << c.user;
        EXPECT_EQ(world.desktop.messages[0].caption, "Kavlon Info.....");
        EXPECT_EQ(world.desktop.messages[0].style, 16);
        EXPECT_EQ(screens.calls, std::vector<std::string>{"picker"}) << c.user;
    }
    EXPECT_EQ(app::RootRefusalText(), "You have selected the root file to clean\r\rThis program will not continue !!!!");
}

TEST_F(CleanRun, ASubfolderOfASystemFolderIsCleaned) {
    world.files.AddFile("C:\\Windows\\Logs\\old.log");
    Settings("[User]\r\nsFile0=C:\\Windows\\Logs\r\n[Delete]\r\nUser=Yes\r\n[Internet]\r\nsFile0=x\r\n");
    world.cleaner.RunCleanFromTray(screens);
    EXPECT_FALSE(world.files.Exists("C:\\Windows\\Logs\\old.log"));
    EXPECT_TRUE(world.files.Exists("C:\\Temp\\t.tmp")) << "Temp was not chosen";
}

TEST_F(CleanRun, NothingChosenOpensTheStartPageOrEndsTheUnattendedRunSilently) {
    for (const char* ini : {"", "[Delete]\r\nUser=No\r\nTemp=No\r\nTemporary Internet Files=No\r\n",
                            "[Delete]\r\nUser=\r\nTemp=0\r\n"}) {
        world.desktop.messages.clear();
        screens.calls.clear();
        Settings(ini);
        world.cleaner.RunCleanFromTray(screens);
        EXPECT_EQ(Texts(), std::vector<std::string>{"You Have Not Entered Any Files To Be Cleaned !"}) << ini;
        EXPECT_EQ(world.desktop.messages[0].style, 64);
        EXPECT_EQ(screens.calls, std::vector<std::string>{"start"});
        EXPECT_TRUE(world.app.Find<screens::Backdrop>()->Visible());
    }
    world.desktop.messages.clear();
    world.cleaner.RunAutoClean(screens);
    EXPECT_TRUE(world.desktop.messages.empty());
    EXPECT_EQ(world.env.exitCode, 0);
    EXPECT_TRUE(NothingDeleted());
}

TEST_F(CleanRun, ALowerCaseYesPassesTheEmptyCheckButSelectsNothing) {
    Settings("[Delete]\r\nTemp=yes\r\n[Internet]\r\nsFile0=x\r\n");
    world.cleaner.RunCleanFromTray(screens);
    EXPECT_TRUE(world.desktop.messages.empty());
    EXPECT_TRUE(NothingDeleted());
    EXPECT_EQ(screens.calls, (std::vector<std::string>{"hide screens", "close-all"}));
}

TEST_F(CleanRun, AnEmptyKeepListAsksFirstAndNoDeletesNothing) {
    Settings("[Delete]\r\nTemp=Yes\r\n");
    world.desktop.Answer(platform::kResultNo);
    world.cleaner.RunCleanFromOptions(screens);
    EXPECT_TRUE(NothingDeleted());
    ASSERT_FALSE(world.desktop.messages.empty());
    EXPECT_EQ(world.desktop.messages[0].text, "You have not saved any Cookies !\r\rDo you want to continue?");
    EXPECT_EQ(world.desktop.messages[0].caption, "For Your Information.....");
    EXPECT_EQ(world.desktop.messages[0].style, 36);
    EXPECT_EQ(screens.calls, std::vector<std::string>{"close-all"});

    screens.calls.clear();
    world.desktop.messages.clear();
    world.desktop.Answer(platform::kResultYes);
    world.cleaner.RunCleanFromTray(screens);
    EXPECT_FALSE(world.files.Exists("C:\\Temp\\t.tmp"));
    EXPECT_EQ(screens.calls, (std::vector<std::string>{"hide screens", "close-all"}));
    EXPECT_EQ(world.desktop.messages.size(), 1u) << "the tray variant shows no final message";
}

TEST_F(CleanRun, OnlyZeroOrNoAsTheFirstKeptEntryAsks) {
    for (const char* first : {"No", "0"}) {
        world.desktop.messages.clear();
        Settings(std::string("[Delete]\r\nTemp=Yes\r\n[Internet]\r\nsFile0=") + first + "\r\n");
        world.cleaner.RunCleanFromTray(screens);
        EXPECT_EQ(world.desktop.messages.size(), 1u) << first;
    }
    world.desktop.messages.clear();
    Settings("[Delete]\r\nTemp=Yes\r\n[Internet]\r\nsFile0=\r\n");
    world.cleaner.RunCleanFromTray(screens);
    EXPECT_TRUE(world.desktop.messages.empty()) << "an empty value is not asked about";
}

TEST_F(CleanRun, TheUnattendedRunAsksNothingUnloadsEverythingAndEndsWithItsCode) {
    AllChosen("C:\\Mine", "");
    world.app.Get<screens::Backdrop>();
    world.cleaner.RunAutoClean(screens);
    EXPECT_TRUE(world.desktop.messages.empty());
    EXPECT_FALSE(world.files.Exists("C:\\Temp\\t.tmp"));
    EXPECT_TRUE(world.cache.entries.empty());
    EXPECT_TRUE(world.LoadedNames().empty());
    EXPECT_EQ(world.env.exitCode, engine::kExitAllRemoved);
}

TEST_F(CleanRun, TheUnattendedRunEndsWithOneWhenSomethingStayed) {
    AllChosen("C:\\Mine", "");
    world.files.SetLock("C:\\Mine\\m.txt", fake::FakeFileSystem::Lock::kExclusive);
    world.cleaner.RunAutoClean(screens);
    EXPECT_EQ(world.env.exitCode, engine::kExitSomethingStayed);
}

TEST_F(CleanRun, ARefusedUnattendedRunStaysWithThePickerAndEndsWhenItCloses) {
    AllChosen("c:\\");
    world.cleaner.RunAutoClean(screens);
    EXPECT_TRUE(NothingDeleted());
    EXPECT_FALSE(world.env.exitCode.has_value());
    EXPECT_EQ(screens.calls, (std::vector<std::string>{"picker", "end on close 2"}));
}

// Every way a run can end leaves one record in Morvane.log, and a log that cannot be written
// changes nothing about the run.
TEST_F(CleanRun, EveryRunLeavesItsRecord) {
    struct Case {
        const char* label;
        std::function<void()> setUp;
        std::function<void(engine::Cleaner&, engine::CleanRunHost&)> run;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"refused", [this] { AllChosen("C:\\Windows"); }, &engine::Cleaner::RunAutoClean,
         {"unattended clean  exit code 2  ended 2026-12-07 18:30:12 after 0.0 s\r\n", "Refused: Your Selected Folder C:\\Windows is a protected folder\r\n",
          "Outcome: refused, nothing cleaned\r\n"}},
        {"items in use",
         [this] {
             AllChosen("C:\\Mine");
             world.files.SetLock("C:\\Temp\\t.tmp", fake::FakeFileSystem::Lock::kInUse);
             world.cache.inUse.insert("http://a/");
         },
         &engine::Cleaner::RunCleanFromOptions,
         {"clean from the options  exit code 1  ended 2026-12-07 18:30:12 after 0.0 s\r\n",
          "Your Selected Folder = Yes, C:\\Mine: 1 item removed, 2 bytes, 0 items left\r\n",
          "Temp Folder = Yes, C:\\Temp: 0 items removed, 0 bytes, 1 item left\r\n",
          "Clean Cookie Files = Yes: 1 item removed, 321 bytes, 1 item left\r\n",
          "Left in place (2 of 2):\r\n  in use: C:\\Temp\\t.tmp\r\n  in use: http://a/\r\n"}},
        {"a reason of the system's own, a folder that cannot be listed", [this] {
             AllChosen("C:\\Mine");
             world.files.FailWith("C:\\Temp\\t.tmp", {platform::FsError::kOther, 0xC0000185});
             world.files.FailWith("C:\\Mine", platform::FsError::kAccessDenied);
         }, &engine::Cleaner::RunAutoClean,
         {"  other (0xC0000185): C:\\Temp\\t.tmp\r\n", "Refused: Your Selected Folder C:\\Mine could not be listed\r\n"}},
        {"Temp unset",
         [this] {
             world.env.UnsetVariable("Temp");
             Settings("[Delete]\r\nTemp=Yes\r\n[Internet]\r\nsFile0=x\r\n");
         },
         &engine::Cleaner::RunCleanFromTray,
         {"clean from the icon's menu  exit code 1  ended", "Temp Folder = Yes: could not be cleaned at all\r\n",
          "Refused: Temp Folder is not set\r\n"}},
        {"nothing chosen", [this] { Settings("[Delete]\r\nUser=No\r\n"); }, &engine::Cleaner::RunCleanFromTray,
         {"Your Selected Folder = No\r\nTemp Folder = not set\r\n", "Outcome: nothing chosen\r\n"}},
        {"not continued", [this] { AllChosen("C:\\Mine", ""); world.desktop.Answer(platform::kResultNo); },
         &engine::Cleaner::RunCleanFromTray, {"Outcome: not continued (no cookies kept)\r\n"}},
        {"settings unreadable",
         [this] {
             AllChosen("C:\\Mine");
             world.files.SetLock("C:\\Apps\\Clean.ini", fake::FakeFileSystem::Lock::kExclusive);
         },
         &engine::Cleaner::RunAutoClean, {"unattended clean  exit code 3  ended"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        world.files.Erase("C:\\Apps\\Morvane.log");
        c.setUp();
        c.run(world.cleaner, screens);
        const std::string log = world.files.Content("C:\\Apps\\Morvane.log").value_or("");
        EXPECT_EQ(log.rfind("\xEF\xBB\xBF==== 2026-12-07 18:30:12  ", 0), 0u) << log;
        for (const std::string& line : c.lines) EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }

    world.env.SetVariable("Temp", "C:\\Temp");
    world.files.AddFile("C:\\Temp\\new.tmp");
    Settings("[Delete]\r\nTemp=Yes\r\n");
    world.files.Erase("C:\\Apps\\Morvane.log");
    world.files.AddFile("C:\\Apps\\Morvane.log", "old");
    world.files.SetLock("C:\\Apps\\Morvane.log", fake::FakeFileSystem::Lock::kExclusive);
    world.env.exitCode.reset();
    world.cleaner.RunAutoClean(screens);
    EXPECT_EQ(world.env.exitCode, engine::kExitSomethingStayed) << "t.tmp is still in use";
    EXPECT_FALSE(world.files.Exists("C:\\Temp\\new.tmp"));
}

// A clean deletes only after a Yes: a question ended by a stop, or closed without an answer,
// is a No, and the record says why the clean did not go on.
TEST_F(CleanRun, OnlyAYesToTheQuestionLetsTheCleanDelete) {
    using enum engine::StopCause;
    struct Case {
        const char* label;
        int answer;
        std::vector<engine::StopCause> stops;
        bool afterAnswer;  // the stops arrive just after the answer, not while the question shows
        std::string outcome;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"No", platform::kResultNo, {}, false, "not continued (no cookies kept)", {"close-all"}},
        {"closed", platform::kResultCancel, {}, false, "not continued (no cookies kept)", {"close-all"}},
        {"Exit", platform::kResultYes, {kExit}, false, "not continued (the question was ended by Exit)", {}},
        {"Exit, then the end of the session", platform::kResultYes, {kExit, kEndOfSession}, false,
         "not continued (the question was ended by Exit)", {}},
        {"Yes, just as Exit arrives", platform::kResultYes, {kExit}, true, "not continued (Exit)", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        AllChosen("C:\\Mine", "");
        world.files.Erase("C:\\Apps\\Morvane.log");
        screens.calls.clear();
        std::size_t ended = 0;
        const auto stop = [&] {
            for (const engine::StopCause cause : c.stops) {
                world.cleaner.Stop(cause, [&](int code) {
                    ++ended;
                    EXPECT_EQ(code, 1) << "what waited is handed the record's code";
                });
            }
        };
        world.desktop.Answer(c.answer, 0, c.afterAnswer ? std::function<void()>() : stop);
        screens.afterAnswer = c.afterAnswer ? stop : std::function<void()>();
        world.cleaner.RunCleanFromOptions(screens);
        EXPECT_TRUE(NothingDeleted());
        EXPECT_FALSE(world.cleaner.Running());
        EXPECT_EQ(ended, c.stops.size()) << "what waited for the clean ran";
        if (!c.stops.empty()) {
            world.cleaner.Stop(c.stops.front(), [&](int code) { EXPECT_EQ(code, 1) << "the same stop asked again"; });
            world.cleaner.Stop(kRemoveAllPaths, [&](int code) { EXPECT_EQ(code, 0) << "another stop"; });
        }
        EXPECT_EQ(screens.calls, c.calls) << "a stopped clean leaves its end to what stopped it";
        const std::string log = world.files.Content("C:\\Apps\\Morvane.log").value_or("");
        EXPECT_NE(log.find("Outcome: " + c.outcome + "\r\n"), std::string::npos) << log;
        EXPECT_NE(log.find("exit code 1  ended "), std::string::npos) << "what was chosen was not cleaned\n" << log;
    }
}

// A stop once the work is over, while the record waits for its turn at the log or during the
// moment before the final message, ends the run there without another word: what stopped it ends
// the program.
TEST_F(CleanRun, AStopAfterTheWorkEndsTheRunThereWithoutAnotherWord) {
    MainWindow& main = world.app.Get<MainWindow>();
    const std::pair<const char*, std::function<void(const std::function<void()>&)>> cases[] = {
        {"while the record waits",
         [&](const auto& stop) {
             world.desktop.besideDeferred = true;
             world.cleaner.RunCleanFromOptions(screens);
             world.desktop.Advance(0);  // the work is over; the record is on its way
             EXPECT_TRUE(!world.files.Exists("C:\\Temp\\t.tmp") && !world.files.Exists("C:\\Apps\\Morvane.log"));
             stop();
             world.desktop.FinishBeside();
             world.desktop.besideDeferred = false;
         }},
        {"during the finished moment",
         [&](const auto& stop) {
             main.soon.onTimer = [&] {
                 main.soon.SetEnabled(false);
                 stop();
             };
             main.soon.SetEnabled(true);
             world.cleaner.RunCleanFromOptions(screens);
         }},
    };
    for (const auto& [when, clean] : cases) {
        SCOPED_TRACE(when);
        AllChosen("C:\\Mine");
        world.files.AddFile("C:\\Temp\\t.tmp");
        world.files.Erase("C:\\Apps\\Morvane.log");
        world.app.Show(world.app.Get<screens::Backdrop>());
        screens.calls.clear();
        int ended = 0;
        clean([&] { world.cleaner.Stop(engine::StopCause::kExit, [&](int) { ++ended; }); });
        EXPECT_TRUE(world.desktop.messages.empty() && !world.cleaner.Running());
        EXPECT_EQ(ended, 1);
        EXPECT_EQ(screens.calls, std::vector<std::string>{"hide screens"}) << "no close-all of its own";
        EXPECT_NE(world.files.Content("C:\\Apps\\Morvane.log").value_or("").find("Outcome: cleaned\r\n"), std::string::npos);
    }
}

// The clean on a real second thread while this one acts as the window thread: a stop asked at
// each step ends it after the item in hand, no further step begins, a second clean cannot start
// meanwhile, and the record tells what was never reached.
TEST_F(CleanRun, AStopAtEachStepEndsTheCleanAfterTheItemInHand) {
    using testing_support::Gate;
    struct Case {
        const char* step;
        std::function<void(Gate&)> arm;
        std::vector<std::string> left;  // what is there afterwards, of the user folder, Temp and the cache
        int listings;                   // of the cache (no pattern, "cookie:", "Cookie:")
        std::vector<std::string> lines;
    };
    const auto in = [](const char* folder) {
        return [folder](const std::string& path) { return path.rfind(folder, 0) == 0; };
    };
    const Case cases[] = {
        {"the user folder",
         [&](Gate& gate) {
             world.files.beforeOpen = [&, mine = in("C:\\Mine\\")](const std::string& p) { if (mine(p)) gate.Pass(); };
         },
         {"C:\\Mine\\n.txt", "C:\\Temp\\t.tmp", "C:\\Temp\\u.tmp", "http://a/", "http://kept/", "Cookie:me@site/"},
         0,
         {"Your Selected Folder = Yes, C:\\Mine: 1 item removed, 2 bytes, then stopped: the rest not reached\r\n",
          "Temp Folder = Yes, C:\\Temp: not reached\r\n", "Clean Cookie Files = Yes: not reached\r\n"}},
        {"Temp",
         [&](Gate& gate) {
             world.files.beforeOpen = [&, temp = in("C:\\Temp\\")](const std::string& p) { if (temp(p)) gate.Pass(); };
         },
         {"C:\\Temp\\u.tmp", "http://a/", "http://kept/", "Cookie:me@site/"},
         0,
         {"Your Selected Folder = Yes, C:\\Mine: 2 items removed, 4 bytes, 0 items left\r\n",
          "Temp Folder = Yes, C:\\Temp: 1 item removed, 3 bytes, then stopped", "Clean Cookie Files = Yes: not reached"}},
        {"the cache's listing", [&](Gate& gate) { world.cache.beforeVisit = [&](const std::string&) { gate.Pass(); }; },
         {"http://a/", "http://kept/", "Cookie:me@site/"},
         1,
         {"Clean Cookie Files = Yes: 0 items removed, 0 bytes, then stopped: the rest not reached\r\n"}},
        {"the cache's deletions", [&](Gate& gate) { world.cache.beforeDelete = [&](const std::string&) { gate.Pass(); }; },
         {"http://kept/", "Cookie:me@site/"},
         3,
         {"Clean Cookie Files = Yes: 1 item removed, 0 bytes, then stopped: the rest not reached\r\n"}},
    };
    world.desktop.besideOnThread = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        AllChosen("C:\\Mine");
        world.files.AddFile("C:\\Mine\\m.txt", "12");
        world.files.AddFile("C:\\Mine\\n.txt", "34");
        world.files.AddFile("C:\\Temp\\t.tmp", "123");
        world.files.AddFile("C:\\Temp\\u.tmp", "456");
        world.files.Erase("C:\\Apps\\Morvane.log");
        world.desktop.messages.clear();
        world.cache.enumerations = 0;
        Gate gate;
        c.arm(gate);
        int ended = 0;
        const int runs = world.desktop.besideRuns;
        world.cleaner.RunCleanFromTray(screens);
        ASSERT_TRUE(gate.Reached());
        world.cleaner.Stop(engine::StopCause::kExit, [&](int code) { ended += code; });
        world.cleaner.RunCleanFromOptions(screens);  // a second clean, as a screen would try it
        EXPECT_TRUE(world.cleaner.Running());
        gate.Go();
        world.desktop.FinishBeside();
        world.files.beforeOpen = nullptr;
        world.cache.beforeVisit = world.cache.beforeDelete = nullptr;

        EXPECT_EQ(world.desktop.besideRuns, runs + 2) << "the work and its record; no second clean began";
        EXPECT_TRUE(world.desktop.messages.empty());
        EXPECT_FALSE(world.cleaner.Running());
        EXPECT_EQ(ended, 1);
        std::vector<std::string> left = world.files.Tree("C:\\Mine");
        for (const std::string& path : world.files.Tree("C:\\Temp")) left.push_back(path);
        for (const std::string& name : world.cache.Names()) left.push_back(name);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(world.cache.enumerations, c.listings) << "the listing stops too, and no step begins after a stop";
        const std::string log = world.files.Content("C:\\Apps\\Morvane.log").value_or("");
        EXPECT_NE(log.find("exit code 1  ended "), std::string::npos) << log;
        EXPECT_NE(log.find("Outcome: stopped by Exit\r\n"), std::string::npos) << log;
        for (const std::string& line : c.lines) EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
        for (const std::string& path : world.files.Tree("C:\\Mine")) world.files.Erase(path);
        world.cache.entries.clear();
        world.cache.Add("http://a/");
        world.cache.Add("http://kept/");
        world.cache.Add("Cookie:me@site/", platform::kCookieCacheEntry);
    }
}

TEST(ProgressLine, TellsWhatHasGoneAndWhereThenTheTotals) {
    struct Case {
        engine::CleanProgress::Snapshot seen;
        bool done;
        std::string line;
    };
    const std::string deep = "C:\\Temp\\" + std::string(80, 'x');  // shown by its last 70 characters
    std::string euros;  // three bytes a character
    for (int i = 0; i < 40; ++i) euros += "\xE2\x82\xAC";
    const Case cases[] = {
        {{0, 0, 0, ""}, false, "0 items, 0 bytes removed"},
        {{1, 1, 0, "C:\\Temp"}, false, "1 item, 1 byte removed - C:\\Temp"},
        {{51234, 1288490189, 0, deep}, false, "51,234 items, 1.2 GB removed - ..." + std::string(70, 'x')},
        {{1, 1, 0, "C:\\Users\\" + std::string(60, 'a') + "\\Pictures\\Holiday"}, false,
         "1 item, 1 byte removed - C:\\Users\\...\\Pictures\\Holiday"},
        {{1, 1, 0, "C:\\" + std::string(80, 'u') + "\\Holiday"}, false, "1 item, 1 byte removed - C:\\...\\Holiday"},
        {{1, 1, 0, "C:\\" + euros}, false, "1 item, 1 byte removed - ..." + euros.substr(45)},  // whole characters
        {{51234, 1288490189, 3, deep}, true, "51,234 items, 1.2 GB freed; 3 items stayed"},
        {{2, 2048, 1, ""}, true, "2 items, 2.0 KB freed; 1 item stayed"},
        {{2, 2048, 0, ""}, true, "2 items, 2.0 KB freed"},
        {{2, 2048, 1, "C:\\Temp", 3}, false, "2 items, 2.0 KB removed; 3 items kept back - C:\\Temp"},
        {{2, 2048, 1, "", 3}, true, "2 items, 2.0 KB freed; 3 items kept back; 1 item stayed"},
    };
    const auto fits = [](const std::string& line) { return line.size() <= 104; };
    for (const Case& c : cases) EXPECT_EQ(app::ProgressText(c.seen, c.done, fits), c.line);
    engine::CleanSummary keptBack;
    keptBack.keptBack = 3;  // on purpose: no failure
    EXPECT_EQ(app::FinishedText(keptBack),
              "All Files Cleaned!\r\r3 items were kept back on purpose: newer than the age limit, or in a kept path.");
}

// The cache answers as Wine's or as Windows' does: the engine must find the cookies in both.
class UrlCache : public testing::TestWithParam<fake::FakeUrlCache::Dialect> {
protected:
    UrlCache() { world.cache.dialect = GetParam(); }
    HeadlessWorld world;
};

TEST_P(UrlCache, ContentAndCookiesAreCollectedOnceEachAndOnlyNormalOrCookieEntries) {
    world.cache.Add("http://a/");
    world.cache.Add("Cookie:me@a/", platform::kCookieCacheEntry);
    world.cache.Add("cookie:me@b/", platform::kNormalCacheEntry | platform::kCookieCacheEntry);
    world.cache.Add("http://sticky/", 0x4);  // neither bit: passed over
    EXPECT_EQ(engine::CollectUrlCacheEntries(world.cache),
              (std::vector<std::string>{"http://a/", "Cookie:me@a/", "cookie:me@b/"}));
}

TEST_P(UrlCache, KeptNamesAreSparedExactlyWhereverTheyStand) {
    world.env.programFolder = "C:\\Apps";
    world.files.AddFile("C:\\Apps\\Clean.ini",
                        "[Internet]\r\nsFile0=http://B/\r\nsFile1=http://gone-long-ago/\r\nsFile2=http://c/\r\n"
                        "sFile3=Cookie:me@kept/\r\n");
    for (const char* name : {"http://a/", "0", "http://b/", "http://B/", "http://c/"}) world.cache.Add(name);
    world.cache.Add("Cookie:me@kept/", platform::kCookieCacheEntry);
    world.cache.Add("Cookie:me@gone/", platform::kCookieCacheEntry);
    engine::DeleteTally tally;
    engine::CleanProgress progress;
    progress.WorkingIn("C:\\Temp\\last folder");
    engine::CleanUrlCache(world.cache, settings::ReadKeepList(world.ports, "Internet"), tally, &progress);
    EXPECT_EQ(world.cache.Names(), (std::vector<std::string>{"http://B/", "http://c/", "Cookie:me@kept/"}));
    EXPECT_EQ(tally.removedItems, 4u);
    EXPECT_EQ(progress.Read().items, 4u);
    EXPECT_EQ(progress.Read().place, engine::kCachePlace) << "the progress line names the cache, not the last folder";
}

INSTANTIATE_TEST_SUITE_P(Dialects, UrlCache,
                         testing::Values(fake::FakeUrlCache::Dialect::kWine, fake::FakeUrlCache::Dialect::kWindows),
                         [](const auto& info) {
                             return info.param == fake::FakeUrlCache::Dialect::kWine ? "Wine" : "Windows";
                         });

}  // namespace
