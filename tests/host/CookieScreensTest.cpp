// The two cookie screens: moves and counts, the keep-list save, the Cookies folder delete, and
// the hand-overs between them.
#include <gtest/gtest.h>

#include "screens/StartPage.h"
#include "screens/Backdrop.h"
#include "screens/InternetKeepScreen.h"
#include "screens/CookieFolderScreen.h"
#include "screens/HelpPages.h"
#include "settings/SettingsFile.h"
#include "screens/CloseAll.h"
#include "support/HeadlessWorld.h"

namespace {

using namespace screens;
using testing_support::HeadlessWorld;

class CookieScreens : public testing::Test {
protected:
    CookieScreens() {
        world.env.programFolder = "C:\\Apps";
        world.files.AddFolder("C:\\Apps");
        world.folders.SetFolder(33, "C:\\Cookies");
        world.files.AddFolder("C:\\Cookies");
    }
    void Keep(const std::vector<std::string>& names) {
        for (size_t i = 0; i < names.size(); ++i) {
            settings::WriteINI(world.ports, kIni, "Internet", "sFile" + std::to_string(i), names[i]);
        }
    }
    static void DoubleClick(forms::ListBox& list, int index) {
        list.OnSelect(index);
        list.OnDblClick();
    }
    std::string Status() { return world.app.Get<screens::Backdrop>().statusLine.Caption(); }

    static constexpr const char* kIni = "C:\\Apps\\Clean.ini";
    HeadlessWorld world;
};

TEST_F(CookieScreens, TheKeepScreenListsTheCacheAboveAndTheKeepListBelowWithTheirCounts) {
    world.cache.Add("http://a/");
    world.cache.Add("http://b/");
    world.cache.Add("Cookie:me@c/", platform::kCookieCacheEntry);
    Keep({"http://b/"});
    InternetKeepScreen& screen = world.app.Get<InternetKeepScreen>();
    EXPECT_EQ(screen.topList.Items(), (std::vector<std::string>{"http://a/", "http://b/", "Cookie:me@c/"}));
    EXPECT_EQ(screen.bottomList.Items(), std::vector<std::string>{"http://b/"});
    EXPECT_EQ(screen.topCount.Caption(), "3");
    EXPECT_EQ(screen.bottomCount.Caption(), "1");
    EXPECT_EQ(Status(), "3 Internet Files Collected !");

    DoubleClick(screen.topList, 1);  // a kept entry stands twice after the move
    EXPECT_EQ(screen.bottomList.Items(), (std::vector<std::string>{"http://b/", "http://b/"}));
    EXPECT_EQ(screen.topCount.Caption(), "2");
    EXPECT_EQ(screen.bottomCount.Caption(), "2");
    DoubleClick(screen.bottomList, 0);
    EXPECT_EQ(screen.topList.Items(), (std::vector<std::string>{"http://a/", "Cookie:me@c/", "http://b/"}));
    EXPECT_EQ(Status(), "3 Internet Files Collected !") << "the status keeps the count of its activation";

    screen.topList.OnSelect(-1);
    screen.topList.OnDblClick();
    EXPECT_EQ(screen.topList.ListCount(), 3) << "no selection, no move";
}

TEST_F(CookieScreens, SaveStoresTheBottomListAndShowsWhatWasStored) {
    world.cache.Add("http://a/");
    world.cache.Add(std::string("http://") + std::string(293, 'x'));
    world.cache.Add("0");
    world.cache.Add("http://after/");
    InternetKeepScreen& screen = world.app.Get<InternetKeepScreen>();
    DoubleClick(screen.topList, 0);
    DoubleClick(screen.topList, 0);  // the 300-character name
    screen.Run("sDeleteCookies");
    EXPECT_EQ(settings::ReadKeepList(world.ports, "Internet"),
              (std::vector<std::string>{"http://a/", std::string("http://") + std::string(293, 'x')}));
    EXPECT_EQ(screen.bottomList.ListCount(), 2);
    EXPECT_EQ(screen.topList.ListCount(), 4) << "the top list is read again from the cache";

    DoubleClick(screen.topList, 2);  // "0" ends the list when it is read back
    DoubleClick(screen.topList, 2);
    screen.Run("sDeleteCookies");
    EXPECT_EQ(screen.bottomList.ListCount(), 2);
    EXPECT_EQ(screen.bottomCount.Caption(), "2");
    EXPECT_TRUE(screen.Visible());
}

TEST_F(CookieScreens, SavingAnEmptyListLeavesNoInternetKey) {
    world.cache.Add("http://a/");
    Keep({"http://a/", "http://b/"});
    InternetKeepScreen& screen = world.app.Get<InternetKeepScreen>();
    DoubleClick(screen.bottomList, 0);
    DoubleClick(screen.bottomList, 0);
    screen.Run("sDeleteCookies");
    EXPECT_EQ(settings::ReadINI(world.ports, kIni, "Internet", "sFile0"), "0");
    EXPECT_EQ(world.files.Content(kIni)->find("[Internet]"), std::string::npos);
}

TEST_F(CookieScreens, UnsavedMovesAreLostOnLeavingAndHelpRebuildsTheKeepScreen) {
    world.cache.Add("http://a/");
    InternetKeepScreen& screen = world.app.Get<InternetKeepScreen>();
    DoubleClick(screen.topList, 0);
    screen.Run("sHelp");
    world.desktop.Advance(500);
    EXPECT_FALSE(world.app.Exists<InternetKeepScreen>());
    world.app.Find<InternetCookiesHelp>()->Run("sClose");
    EXPECT_EQ(world.app.Find<InternetKeepScreen>()->bottomList.ListCount(), 0);
    EXPECT_EQ(world.app.Find<InternetKeepScreen>()->topList.ListCount(), 1);
}

TEST_F(CookieScreens, TheFolderScreenListsPlainFilesAndDeletesOnlyTheChosenOnes) {
    world.files.AddFile("C:\\Cookies\\a.txt");
    world.files.AddFile("C:\\Cookies\\b.txt");
    world.files.AddFile("C:\\Cookies\\c.txt");
    world.files.AddFile("C:\\Cookies\\index.dat", "", platform::kAttrHidden | platform::kAttrSystem);
    world.files.AddFile("C:\\Cookies\\sub\\inner.txt");
    CookieFolderScreen& screen = world.app.Get<CookieFolderScreen>();
    EXPECT_EQ(screen.topList.Items(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(Status(), "3 Cookie Folder Files !");
    DoubleClick(screen.topList, 0);
    DoubleClick(screen.topList, 1);
    world.files.AddFile("C:\\Cookies\\new.txt");
    screen.Run("sDeleteCookies");
    EXPECT_FALSE(world.files.Exists("C:\\Cookies\\a.txt"));
    EXPECT_FALSE(world.files.Exists("C:\\Cookies\\c.txt"));
    EXPECT_EQ(screen.topList.Items(), (std::vector<std::string>{"b.txt", "new.txt"}));
    EXPECT_EQ(screen.bottomCount.Caption(), "0");
    EXPECT_TRUE(world.files.Exists("C:\\Cookies\\sub\\inner.txt"));
}

TEST_F(CookieScreens, DeleteNeverLeavesTheCookiesFolder) {
    world.files.AddFile("C:\\Cookies\\a.txt");
    world.files.AddFile("C:\\Precious\\p.txt");
    CookieFolderScreen& screen = world.app.Get<CookieFolderScreen>();
    for (const char* name : {"..\\Precious\\p.txt", "C:\\Precious\\p.txt", "../Precious/p.txt", ".."}) {
        screen.bottomList.AddItem(name);
    }
    screen.Run("sDeleteCookies");
    EXPECT_TRUE(world.files.Exists("C:\\Precious\\p.txt"));

    world.folders.SetFolder(33, "");
    screen.bottomList.AddItem("a.txt");
    screen.Run("sDeleteCookies");
    EXPECT_TRUE(world.files.Exists("C:\\Cookies\\a.txt")) << "no Cookies folder, nothing deleted";
}

TEST_F(CookieScreens, HelpKeepsTheFolderScreenWithItsBottomList) {
    world.files.AddFile("C:\\Cookies\\a.txt");
    CookieFolderScreen& screen = world.app.Get<CookieFolderScreen>();
    DoubleClick(screen.topList, 0);
    screen.Run("sHelp");
    world.desktop.Advance(1000);
    world.app.Find<CookieFolderHelp>()->Run("sClose");
    EXPECT_EQ(world.app.Find<CookieFolderScreen>(), &screen);
    EXPECT_EQ(screen.bottomList.Items(), std::vector<std::string>{"a.txt"});
}

TEST_F(CookieScreens, TheSwitchesRebuildADestroyedScreen) {
    world.cache.Add("http://a/");
    world.files.AddFile("C:\\Cookies\\a.txt");
    world.app.Get<InternetKeepScreen>().Run("sCookies");
    world.desktop.Advance(500);
    EXPECT_FALSE(world.app.Exists<InternetKeepScreen>());
    world.cache.Add("http://b/");
    world.app.Find<CookieFolderScreen>()->Run("sReturn");
    EXPECT_EQ(world.app.Find<InternetKeepScreen>()->topList.ListCount(), 2);
    EXPECT_EQ(Status(), "2 Internet Files Collected !");
}

TEST_F(CookieScreens, AHugeCacheIsCountedInFullAndListedUpToTheLimit) {
    for (int i = 0; i < forms::kMaxListItems + 5; ++i) world.cache.Add("http://site/" + std::to_string(i));
    Keep({"http://kept/"});
    InternetKeepScreen& screen = world.app.Get<InternetKeepScreen>();
    EXPECT_EQ(screen.topList.ListCount(), forms::kMaxListItems);
    EXPECT_EQ(screen.topCount.Caption(), std::to_string(forms::kMaxListItems + 5));
    EXPECT_EQ(Status(), std::to_string(forms::kMaxListItems + 5) + " Internet Files Collected !");
    DoubleClick(screen.bottomList, 0);  // into the full top list: the entry stays where it was
    EXPECT_EQ(screen.bottomList.Items(), std::vector<std::string>{"http://kept/"});
    EXPECT_EQ(screen.topList.ListCount(), forms::kMaxListItems);
    EXPECT_EQ(screen.bottomCount.Caption(), "1");
}

// Every stored entry comes back through load and Save; a list longer than the saved list can
// show is not cut by Save: nothing is stored.
TEST_F(CookieScreens, EveryKeptEntryIsShownAndSavedUpToWhatTheListHolds) {
    for (const int stored : {1500, forms::kMaxListItems, forms::kMaxListItems + 2}) {
        std::string ini = "[Internet]\r\n";
        for (int i = 0; i < stored; ++i) ini += "sFile" + std::to_string(i) + "=http://k/" + std::to_string(i) + "\r\n";
        world.files.AddFile(kIni, ini);
        world.app.Get<InternetKeepScreen>().Run("sDeleteCookies");
        EXPECT_EQ(world.app.Get<InternetKeepScreen>().bottomCount.Caption(), std::to_string(stored));
        EXPECT_EQ(settings::ReadKeepList(world.ports, "Internet").size(), static_cast<std::size_t>(stored));
        EXPECT_EQ(world.files.Content(kIni) == ini, stored > forms::kMaxListItems) << "stored nothing when too long";
        EXPECT_EQ(world.desktop.messages.size(), stored > forms::kMaxListItems ? 1u : 0u);
        world.app.Unload<InternetKeepScreen>();
    }
}

// The cache is listed beside the windows while the start page stays shown and busy; the keep
// screen follows only while the start page is still what the user sees.
TEST_F(CookieScreens, ViewCookiesListsBesideAndOpensOnlyIfTheUserStayedOnTheScreen) {
    world.cache.Add("http://a/");
    world.desktop.besideOnThread = true;
    for (const std::string meanwhile : {"", "sClose", "sHelp", "Exit", "the end of the session", "Esc"}) {
        SCOPED_TRACE(meanwhile);
        world.desktop.besideDeferred = meanwhile == "the end of the session";
        world.app.Get<StartPage>().Run("sInter");
        EXPECT_TRUE(world.app.Find<StartPage>()->Visible() && !world.app.Exists<InternetKeepScreen>());
        EXPECT_EQ(world.desktop.pointer, platform::kPointerArrowHourglass);
        if (meanwhile == "Exit") screens::UnloadAll(world.app);
        if (meanwhile.starts_with("s")) world.app.Find<StartPage>()->Run(meanwhile);
        if (meanwhile == "sHelp") world.app.Find<StartPageHelp>()->Run("sClose");  // back on the start page
        if (meanwhile == "Esc") {
            // Esc gives up the listing, and only that.
            EXPECT_TRUE(world.app.Find<StartPage>()->OnEscape());
            EXPECT_TRUE(world.app.Find<StartPage>()->Visible());
            EXPECT_EQ(Status(), "Make a selection to get started!");
            EXPECT_EQ(world.desktop.pointer, platform::kPointerDefault);
        }
        if (world.desktop.besideDeferred) {
            // As the resident window's end of the session: one handler unloads and waits for the work.
            const int listings = world.cache.enumerations;
            world.app.Dispatch([&] {
                screens::UnloadAll(world.app);
                world.desktop.FinishBeside();
            });
            EXPECT_EQ(world.cache.enumerations, listings) << "the listing went on for a screen that is gone";
        }
        world.desktop.FinishBeside();
        EXPECT_EQ(world.app.Exists<InternetKeepScreen>(), meanwhile.empty());
        screens::UnloadAll(world.app);
    }
}

// Before, the busy pointer was all there was for the 13 seconds a large cache takes.
TEST_F(CookieScreens, TheListingSaysHowManyEntriesItHasFoundAsItGoes) {
    for (const char* name : {"http://a/", "http://b/", "http://c/"}) world.cache.Add(name);
    world.desktop.besideOnThread = true;
    testing_support::Gate gate;  // at the third entry
    world.cache.beforeVisit = [&](const std::string& name) {
        if (name == "http://c/") gate.Pass();
    };
    world.app.Get<StartPage>().Run("sInter");
    EXPECT_EQ(Status(), "Collecting Internet Files ...");
    ASSERT_TRUE(gate.Reached());
    world.desktop.Advance(50);
    EXPECT_EQ(Status(), "Collecting Internet Files: 2 so far ...");
    gate.Go();
    world.desktop.FinishBeside();
    world.cache.beforeVisit = nullptr;
    ASSERT_TRUE(world.app.Exists<InternetKeepScreen>());
    EXPECT_EQ(Status(), "3 Internet Files Collected !");
}

}  // namespace
