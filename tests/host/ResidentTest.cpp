// Resident mode on the headless desktop: the start-up in both modes, the icon and its popup
// menu, Remove All Paths, and the start-up shortcut installer.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <utility>

#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "app/StartupShortcut.h"
#include "screens/Backdrop.h"
#include "screens/StartPage.h"
#include "screens/AboutScreen.h"
#include "settings/SettingsFile.h"
#include "support/HeadlessWorld.h"

namespace {

using testing_support::HeadlessWorld;

class Resident : public testing::Test {
protected:
    Resident() {
        world.env.programFolder = "C:\\Apps";
        world.files.AddFolder("C:\\Apps");
        world.files.AddFile("C:\\Apps\\Morvane.exe");
        world.env.SetVariable("Temp", "C:\\Temp");
        world.files.AddFolder("C:\\Temp");
        world.folders.SetFolder(7, "C:\\Users\\me\\StartUp");
        world.folders.SetFolder(8, "C:\\Users\\me\\Recent");
        world.files.AddFolder("C:\\Users\\me\\StartUp");
        world.files.AddFolder("C:\\Users\\me\\Recent");
        world.folders.recentFolder = "C:\\Users\\me\\Recent";
    }
    app::MainWindow& Start() { return world.app.Get<app::MainWindow>(); }
    fake::FakeWindowPeer& MainPeer() { return *world.desktop.Window("Form1a"); }
    std::optional<std::intptr_t> Click(std::intptr_t mouse) { return MainPeer().Send(app::kTrayCallbackMessage, 125, mouse); }
    void Choose(const std::string& caption) {
        world.desktop.menuChoices.push_back(caption);
        Click(app::kRightButtonUp);
    }
    void WriteIni(const std::string& text) { world.files.AddFile(kIni, text); }
    bool Shortcut() { return world.files.Exists("C:\\Users\\me\\StartUp\\Tarnwick.lnk"); }

    static constexpr const char* kIni = "C:\\Apps\\Clean.ini";
    HeadlessWorld world;
};

TEST_F(Resident, AFirstStartMakesTheShortcutAddsTheIconAndHooksTheWindow) {
    Start();
    EXPECT_TRUE(Shortcut());
    EXPECT_EQ(world.folders.recentDocs, std::vector<std::string>{"C:\\Apps\\Morvane.exe"});
    EXPECT_EQ(world.env.sleptMilliseconds, 1500) << "three waits for the shell";
    ASSERT_EQ(world.desktop.trayIcons.count(125), 1u);
    EXPECT_EQ(world.desktop.trayIcons[125].tip, "Kavlon Tarnwick");
    EXPECT_EQ(world.desktop.trayIcons[125].callbackMessage, 1025u);
    EXPECT_EQ(world.desktop.trayIcons[125].flags, 7u);
    EXPECT_TRUE(MainPeer().HasMessageHook());
    EXPECT_DOUBLE_EQ(world.app.Find<app::MainWindow>()->Left(), -30000);
    EXPECT_TRUE(world.app.Find<screens::StartPage>()->Visible());
}

// The shell's pauses run beside the windows: the start goes on at once, and Remove All Paths
// chosen meanwhile leaves no shortcut made afterwards.
TEST_F(Resident, TheShortcutIsMadeBesideTheStartAndNotAfterRemoveAllPaths) {
    world.desktop.besideDeferred = true;
    for (const bool removeAllPaths : {false, true}) {
        SCOPED_TRACE(removeAllPaths);
        Start();
        EXPECT_EQ(world.desktop.trayIcons.count(125), 1u);
        EXPECT_EQ(world.env.sleptMilliseconds, 0) << "waited on the window thread";
        if (removeAllPaths) Choose("Remove All Paths");
        world.desktop.FinishBeside();
        EXPECT_EQ(Shortcut(), !removeAllPaths);
        world.app.Unload<app::MainWindow>();
        world.env.sleptMilliseconds = 0;
        world.files.Erase("C:\\Users\\me\\StartUp\\Tarnwick.lnk");
    }
}

TEST_F(Resident, AnExistingShortcutIsLeftAndNoTimeIsSpent) {
    world.files.AddFile("C:\\Users\\me\\StartUp\\Tarnwick.lnk", "mine");
    Start();
    EXPECT_TRUE(world.folders.recentDocs.empty());
    EXPECT_EQ(world.env.sleptMilliseconds, 0);
    EXPECT_EQ(world.files.Content("C:\\Users\\me\\StartUp\\Tarnwick.lnk"), "mine");
}

TEST_F(Resident, AShellThatMakesNoRecentShortcutStillGetsTheStartUpShortcut) {
    world.folders.recentFolder.clear();
    Start();
    EXPECT_TRUE(Shortcut());
}

TEST_F(Resident, WithoutTheIconNoHookIsInstalledAndTheStartGoesOn) {
    world.desktop.trayAddResult = 0;
    Start();
    EXPECT_FALSE(MainPeer().HasMessageHook());
    // Written with the names' own letter case: the reader would find any spelling.
    EXPECT_NE(world.files.Content(kIni).value_or("").find("[sAppPath]\r\nShortCut=C:\\Apps\\\r\n"), std::string::npos);
}

TEST_F(Resident, TheFirstRunDecisionTakesAnythingButZeroOrEmptyAsChosen) {
    struct Case {
        const char* ini;
        bool startPage;
    };
    for (const Case c : {Case{"", true}, Case{"[Delete]\r\nUser=0\r\nTemp=\r\n", true},
                         Case{"[Delete]\r\nTemp=No\r\n", false}, Case{"[Delete]\r\nUser=Yes\r\n", false}}) {
        HeadlessWorld fresh;
        fresh.env.programFolder = "C:\\Apps";
        fresh.files.AddFile(kIni, c.ini);
        fresh.app.Get<app::MainWindow>();
        EXPECT_EQ(fresh.app.Exists<screens::StartPage>(), c.startPage) << c.ini;
        EXPECT_EQ(fresh.app.Exists<screens::Backdrop>(), c.startPage) << c.ini;
    }
}

TEST_F(Resident, TheUnattendedStartTouchesNeitherShortcutNorSettingsNorIcon) {
    world.env.commandArgs = "/x \"A\"";
    WriteIni("[Delete]\r\nTemp=Yes\r\n");
    world.files.AddFile("C:\\Temp\\junk.tmp");
    Start();
    EXPECT_FALSE(world.files.Exists("C:\\Temp\\junk.tmp"));
    EXPECT_FALSE(Shortcut());
    EXPECT_TRUE(world.desktop.trayLog.empty());
    EXPECT_TRUE(world.automation.sequences.empty());
    EXPECT_EQ(settings::ReadINI(world.ports, kIni, "sAppPath", "ShortCut"), "0");
    EXPECT_EQ(world.env.exitCode, 0);
}

TEST_F(Resident, OnlyAReleasedButtonOpensTheMenuAndEveryIconMessageIsSwallowed) {
    Start();
    for (const std::intptr_t mouse : {513, 515, 516, 512, 518}) {  // presses, double click, move
        EXPECT_EQ(Click(mouse), 0) << mouse;
    }
    EXPECT_TRUE(world.desktop.popupMenus.empty());
    EXPECT_EQ(Click(app::kLeftButtonUp), 0);
    EXPECT_EQ(Click(app::kRightButtonUp), 0);
    ASSERT_EQ(world.desktop.popupMenus.size(), 2u);
    EXPECT_EQ(MainPeer().foregroundCalls, 2);
    std::vector<std::string> captions;
    for (const auto& item : world.desktop.popupMenus[0]) captions.push_back(item.separator ? "-" : item.caption);
    EXPECT_EQ(captions, app::PopupMenuCaptions());
    EXPECT_EQ(MainPeer().Send(0x0010, 0, 0), std::nullopt) << "other messages pass on";
}

TEST_F(Resident, ChangeConfigurationOpensTheStartPageAndRestoresButDoesNotShowAHiddenOne) {
    WriteIni("[Delete]\r\nTemp=Yes\r\n");
    Start();
    Choose("Change Configuration");
    ASSERT_TRUE(world.app.Exists<screens::StartPage>());
    EXPECT_TRUE(world.app.Find<screens::StartPage>()->Visible());
    EXPECT_EQ(world.app.Find<screens::Backdrop>()->statusLine.Caption(), "Make a selection to get started!");
    world.app.Hide(*world.app.Find<screens::StartPage>());
    Choose("Change Configuration");
    EXPECT_FALSE(world.app.Find<screens::StartPage>()->Visible());
}

TEST_F(Resident, AMenuThatLeavesTheScreenGivesItItsActivationAndStatusBack) {
    struct Case {
        const char* choice;  // "" dismisses the menu
        const char* active;
        const char* status;
    };
    for (const Case c : {Case{"", "Form1", "Make a selection to get started!"},
                         Case{"Change Configuration", "Form1", "Make a selection to get started!"},
                         Case{"About", "Form5", "About this program!"}}) {
        SCOPED_TRACE(c.choice);
        HeadlessWorld fresh;
        fresh.env.programFolder = "C:\\Apps";
        fresh.app.Get<app::MainWindow>();  // a first start: the start page is shown and active
        fresh.desktop.menuChoices.push_back(c.choice);
        fresh.desktop.Window("Form1a")->Send(app::kTrayCallbackMessage, 125, app::kRightButtonUp);
        ASSERT_NE(fresh.desktop.ActiveWindow(), nullptr);
        EXPECT_EQ(fresh.desktop.ActiveWindow()->name, c.active);
        EXPECT_EQ(fresh.app.Find<screens::Backdrop>()->statusLine.Caption(), c.status);
    }
}

TEST_F(Resident, AboutOpensTheAboutScreenOverTheBackdrop) {
    WriteIni("[Delete]\r\nTemp=Yes\r\n");
    Start();
    Choose("About");
    EXPECT_TRUE(world.app.Find<screens::AboutScreen>()->Visible());
    EXPECT_TRUE(world.app.Find<screens::Backdrop>()->Visible());
}

TEST_F(Resident, CleanNowRunsTheTrayCleanAndStaysResident) {
    WriteIni("[Delete]\r\nTemp=Yes\r\n[Internet]\r\nsFile0=x\r\n");
    world.files.AddFile("C:\\Temp\\junk.tmp");
    Start();
    Choose("Clean Now");
    EXPECT_FALSE(world.files.Exists("C:\\Temp\\junk.tmp"));
    world.desktop.Advance(50);
    EXPECT_EQ(world.LoadedNames(), std::vector<std::string>{"Form1a"});
    EXPECT_EQ(world.desktop.trayIcons.size(), 1u);
}

// Before, a clean from the icon showed nothing but a greyed menu, and only Exit stopped it.
TEST_F(Resident, ACleanFromTheIconShowsItselfOnTheIconAndStopCleanStopsOnlyIt) {
    for (const bool stopClean : {false, true}) {
        SCOPED_TRACE(stopClean ? "Stop Clean" : "to its end");
        WriteIni("[User]\r\nsFile0=C:\\Mine\r\n[Delete]\r\nUser=Yes\r\nTemp=Yes\r\n[Internet]\r\nsFile0=x\r\n");
        world.files.AddFile("C:\\Mine\\m.txt", "12");
        world.files.AddFile("C:\\Temp\\a.tmp", "12");
        world.files.SetLock("C:\\Temp\\a.tmp", fake::FakeFileSystem::Lock::kInUse);
        world.files.Erase("C:\\Apps\\Morvane.log");
        world.desktop.balloons.clear();
        // The start's shortcut is made at once: the fake files are not shared between threads.
        world.desktop.besideOnThread = false;
        Start();
        world.desktop.besideOnThread = true;
        testing_support::Gate gate;  // at the first file
        world.files.beforeOpen = [&](const std::string&) { gate.Pass(); };
        Choose("Clean Now");
        ASSERT_TRUE(gate.Reached());
        world.desktop.Advance(100);
        EXPECT_EQ(world.desktop.trayIcons[125].tip, "Kavlon Tarnwick - cleaning: 0 items, 0 bytes removed");
        if (stopClean) {
            Choose("Stop Clean");
            const std::vector<platform::MenuSpec>& menu = world.desktop.popupMenus.back();
            ASSERT_EQ(menu.size(), 11u);
            EXPECT_EQ(menu[0].caption + (menu[1].separator ? " -- " : " ") + menu[2].caption,
                      "Stop Clean -- Change Configuration");
        }
        gate.Go();
        world.desktop.FinishBeside();
        world.files.beforeOpen = nullptr;
        world.desktop.Advance(50);
        ASSERT_EQ(world.desktop.balloons.size(), 1u);
        const platform::TrayBalloon& balloon = world.desktop.balloons[0];
        EXPECT_EQ(balloon.title + "\n" + balloon.text,
                  stopClean ? "Cleaning Stopped !\n1 item, 2 bytes removed; the rest was not reached."
                            : "Cleaning Finished, but not every file could be removed !\n1 item, 2 bytes removed. 1 item "
                              "is still in use or protected. Why they stayed: in use (1).");
        EXPECT_EQ(balloon.warning, !stopClean);
        EXPECT_EQ(world.desktop.trayIcons[125].tip, "Kavlon Tarnwick");
        EXPECT_EQ(world.LoadedNames(), std::vector<std::string>{"Form1a"}) << "resident";
        const std::string log = world.files.Content("C:\\Apps\\Morvane.log").value_or("");
        EXPECT_NE(log.find(stopClean ? "Outcome: stopped by Stop Clean\r\n" : "Outcome: cleaned, "), std::string::npos) << log;
        world.app.Unload<app::MainWindow>();
    }
}

TEST_F(Resident, ExitRemovesTheIconFirstThenEveryWindowAndTheHook) {
    Start();
    Choose("Exit");
    EXPECT_EQ(world.desktop.trayLog, (std::vector<std::string>{"add 125", "delete 125"}));
    EXPECT_TRUE(world.LoadedNames().empty());
    EXPECT_TRUE(world.desktop.quit);
    EXPECT_TRUE(world.desktop.Window("Form1a") == nullptr);
}

TEST_F(Resident, RemoveAllPathsDeletesTheShortcutAndTheSettingsAndEnds) {
    Start();
    ASSERT_TRUE(Shortcut());
    Choose("Remove All Paths");
    EXPECT_FALSE(Shortcut());
    EXPECT_FALSE(world.files.Exists(kIni));
    EXPECT_TRUE(world.desktop.trayIcons.empty());
    EXPECT_TRUE(world.LoadedNames().empty());
    EXPECT_TRUE(world.desktop.quit);
}

TEST_F(Resident, RemoveAllPathsWithoutAShortcutStillEnds) {
    world.files.AddFile("C:\\Users\\me\\StartUp\\Tarnwick.lnk");
    Start();
    world.files.Erase("C:\\Users\\me\\StartUp\\Tarnwick.lnk");
    Choose("Remove All Paths");
    EXPECT_FALSE(world.files.Exists(kIni));
    EXPECT_TRUE(world.desktop.quit);
}

// Exit, Remove All Paths and the end of the session during a clean: the stop comes before
// anything they hide, take away or show, the clean deletes no more than the item in hand, and the
// program ends with the code of the clean's record.
TEST_F(Resident, AStopComesBeforeAnythingElseItsCauseDoes) {
    for (const std::string cause : {"Exit", "Remove All Paths", "the end of the session"}) {
        SCOPED_TRACE(cause);
        HeadlessWorld fresh;
        fresh.env.programFolder = "C:\\Apps";
        fresh.env.SetVariable("Temp", "C:\\Temp");
        fresh.files.AddFile(kIni, "[Delete]\r\nTemp=Yes\r\n[Internet]\r\nsFile0=x\r\n");
        for (const char* file : {"C:\\Temp\\a", "C:\\Temp\\b", "C:\\Temp\\c"}) fresh.files.AddFile(file);
        fresh.desktop.besideOnThread = true;
        std::promise<void> reached, go;
        fresh.files.beforeOpen = [&, first = true](const std::string&) mutable {  // the work's first item
            if (std::exchange(first, false)) reached.set_value(), go.get_future().wait();
        };
        fresh.app.Get<app::MainWindow>();
        fresh.desktop.menuChoices = {"Clean Now", cause};
        const auto click = [&] { fresh.desktop.Window("Form1a")->Send(app::kTrayCallbackMessage, 125, app::kRightButtonUp); };
        click();
        ASSERT_EQ(reached.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
        std::vector<std::string> effects;
        fresh.desktop.onEffect = [&](const std::string& effect) {
            if (effects.empty()) go.set_value();  // the work goes on as soon as anything happens
            effects.push_back(effect);
        };
        cause == "the end of the session" ? fresh.app.Find<app::MainWindow>()->Form_EndSession(true) : click();
        fresh.desktop.FinishBeside();
        EXPECT_EQ(effects.at(0), "end boxes") << "the stop, before the other " << effects.size() - 1 << " effects";
        EXPECT_EQ(fresh.files.Tree("C:\\Temp").size(), 2u) << "more than the item in hand went";
        EXPECT_TRUE(fresh.LoadedNames().empty());
        EXPECT_EQ(fresh.program.ExitCode(), 1);
        EXPECT_EQ(fresh.env.exitCode, cause == "the end of the session" ? std::optional<int>(1) : std::nullopt);
        const std::string log = fresh.files.Content("C:\\Apps\\Morvane.log").value_or("");
        EXPECT_NE(log.find("exit code 1  ended "), std::string::npos) << log;
        EXPECT_NE(log.find("Outcome: stopped by " + cause + "\r\n"), std::string::npos) << log;
    }
}

TEST(ItemExists, DrivesMustExistAndBareDrivesNeedNoSearch) {
    HeadlessWorld world;
    world.files.AddFile("C:\\Data\\file.txt");
    EXPECT_TRUE(app::ItemExists(world.folders, "C:\\"));
    EXPECT_TRUE(app::ItemExists(world.folders, "c:"));
    EXPECT_TRUE(app::ItemExists(world.folders, "  C:\\Data\\  "));
    EXPECT_TRUE(app::ItemExists(world.folders, "C:\\Data\\file.txt"));
    EXPECT_FALSE(app::ItemExists(world.folders, "C:\\Data\\missing.txt"));
    EXPECT_FALSE(app::ItemExists(world.folders, "Q:\\Data"));
    EXPECT_FALSE(app::ItemExists(world.folders, ""));
    world.folders.SetDriveType('C', 7);
    EXPECT_FALSE(app::ItemExists(world.folders, "C:\\")) << "a drive type outside 1 to 6";
    EXPECT_EQ(app::GetDriveKind(world.folders, " "), 0);
}

// What earlier starts left in the Recent folder (ended before their move) is not taken for it.
TEST(CreateShortcut, MovesTheShortcutTheShellMadeUnderItsNameNeverALeftover) {
    HeadlessWorld world;
    app::ShortcutMaker maker(world.ports);
    world.folders.SetFolder(7, "C:\\StartUp");
    world.folders.SetFolder(8, "C:\\Recent");
    world.folders.recentFolder = "C:\\Recent";
    world.folders.recentShortcutName = "Morvane.lnk";  // the second candidate
    world.files.AddFolder("C:\\StartUp");
    world.files.AddFile("C:\\Recent\\Morvane.exe", "to another copy");
    world.files.AddFile("C:\\Recent\\Morvane.exe.lnk", "to another copy");
    maker.Make(world.app, "C:\\Apps\\Morvane.exe", "Tarnwick", "StartUp");
    EXPECT_EQ(world.files.Content("C:\\StartUp\\Tarnwick.lnk"), "link to C:\\Apps\\Morvane.exe");
    EXPECT_EQ(world.files.Tree("C:\\Recent"), std::vector<std::string>{});

    maker.Make(world.app, "C:\\Apps\\Morvane.exe", "Other", "Startup");  // keywords are exact
    EXPECT_FALSE(world.files.Exists("C:\\StartUp\\Other.lnk"));
    EXPECT_EQ(world.folders.recentDocs.size(), 1u) << "an unknown keyword stops before the shell";
}

TEST(CreateShortcut, AShortcutThatNeitherTheShellNorTheLinkWriterCouldMakeIsReported) {
    HeadlessWorld world;
    app::ShortcutMaker maker(world.ports);
    world.folders.SetFolder(7, "C:\\StartUp");  // resolved, but not there to write into
    world.folders.SetFolder(8, "C:\\Recent");
    world.folders.recentFolder = "C:\\Recent";
    maker.Make(world.app, "C:\\Apps\\Morvane.exe", "Tarnwick", "StartUp");
    ASSERT_EQ(world.desktop.messages.size(), 1u);
    EXPECT_EQ(world.desktop.messages[0].text, "Error creating Startup shortcut. Error creating Startup shortcut.");
    EXPECT_EQ(world.desktop.messages[0].caption, "Create Shortcut");
    EXPECT_EQ(world.desktop.messages[0].style, 48);
}

}  // namespace
