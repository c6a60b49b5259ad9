// The screen frame with small screens of its own: every command kind's hand-over, the status
// line, the pointer and the close-all.
#include <gtest/gtest.h>

#include "screens/Backdrop.h"
#include "screens/ScreenFrame.h"
#include "support/HeadlessWorld.h"

namespace {

using screens::Command;
using screens::CommandKind;
using screens::Target;
using testing_support::HeadlessWorld;

int& Loads(const std::string& name) {
    static std::map<std::string, int> loads;
    return loads[name];
}

class MainWindow : public forms::Form {
public:
    MainWindow() : Form("Form1a", 100, 100, {false, true}) {}
};

class StartScreen;
class OptionsScreen;
class StartHelp;
class CookieA;
class CookieB;

class AboutScreen : public screens::Screen {
public:
    explicit AboutScreen(const screens::ScreenServices& services);
};

class StartScreen : public screens::Screen {
public:
    explicit StartScreen(const screens::ScreenServices& services);
    void LoadContent() override { ++Loads("Start"); }
};

int Pointer(forms::Form& form) { return static_cast<fake::FakeDesktop&>(form.App().Desktop()).pointer; }

class OptionsScreen : public screens::Screen {
public:
    explicit OptionsScreen(const screens::ScreenServices& services)
        : Screen(services, {"Options", "Options", "Select the options to clean!", 50, 500, 50,
                  screens::CloseKind::kHideBackdropBusy}) {
        SetCommands({{"sClose", "Close", CommandKind::kClose, {}, platform::kPointerHourglass}});
    }
    void LoadContent() override { pointerWhileLoading = Pointer(*this); }
    void Form_Activate() override {
        pointerWhenShown = Pointer(*this);
        Screen::Form_Activate();
    }
    int pointerWhileLoading = -1;
    int pointerWhenShown = -1;
};

class StartHelp : public screens::HelpPage {
public:
    explicit StartHelp(const screens::ScreenServices& services)
        : HelpPage(services, {"StartHelp", "Help", "Hope this information helps!", 400, 500, 0,
                    screens::CloseKind::kPlain}) {
        SetCommands({{"sClose", "Close", CommandKind::kBack, Target::Of<StartScreen>(),
                      platform::kPointerArrowHourglass, true, true},
                     {"sAbout", "About", CommandKind::kBack, Target::Of<AboutScreen>()}});
    }
};

StartScreen::StartScreen(const screens::ScreenServices& services)
    : Screen(services, {"Start", "Start", "Make a selection to get started!", 400, 600, 100,
              screens::CloseKind::kHideBackdrop}) {
    SetCommands({{"sOptions", "Options", CommandKind::kOpen, Target::Of<OptionsScreen>()},
                 {"sHelp", "Help", CommandKind::kHelp, Target::Of<StartHelp>(), platform::kPointerArrowHourglass,
                  false},
                 {"sClose", "Close", CommandKind::kClose}});
}

AboutScreen::AboutScreen(const screens::ScreenServices& services)
    : Screen(services, {"About", "About it", "About this program!", 400, 600, 500, screens::CloseKind::kPlain}) {
    SetCommands({{"sStart", "Start", CommandKind::kOpen, Target::Of<StartScreen>()},
                 {"sClose", "Close", CommandKind::kClose}});
}

class CookieA : public screens::Screen {
public:
    explicit CookieA(const screens::ScreenServices& services);
};
class CookieB : public screens::Screen {
public:
    explicit CookieB(const screens::ScreenServices& services);
};
CookieA::CookieA(const screens::ScreenServices& services)
    : Screen(services, {"CookieA", "Cookies", "A!", 400, 50, 500, screens::CloseKind::kKeepBackdrop}) {
    SetCommands({{"sCookies", "Cookies", CommandKind::kSwitch, Target::Of<CookieB>()},
                 {"sClose", "Close", CommandKind::kClose}});
}
CookieB::CookieB(const screens::ScreenServices& services)
    : Screen(services, {"CookieB", "Cookies", "B!", 400, 50, 500, screens::CloseKind::kKeepBackdrop}) {
    SetCommands({{"sReturn", "Internet", CommandKind::kSwitch, Target::Of<CookieA>()}});
}

class ScreenFrame : public testing::Test {
protected:
    ScreenFrame() {
        Provide<StartScreen>();
        Provide<OptionsScreen>();
        Provide<StartHelp>();
        Provide<AboutScreen>();
        Provide<CookieA>();
        Provide<CookieB>();
        Loads("Start") = 0;
        world.app.Get<MainWindow>();
        world.app.Get<screens::Backdrop>();
    }
    template <class S>
    void Provide() {
        world.app.Provide<S>([this] { return std::make_unique<S>(world.program.Services()); });
    }
    std::string Status() { return world.app.Get<screens::Backdrop>().statusLine.Caption(); }
    bool BackdropVisible() { return world.app.Exists<screens::Backdrop>() && world.app.Find<screens::Backdrop>()->Visible(); }
    HeadlessWorld world;
};

TEST_F(ScreenFrame, AScreenLaysItselfOutShowsItselfAndWritesItsStatus) {
    StartScreen& start = world.app.Get<StartScreen>();
    EXPECT_TRUE(start.Visible());
    EXPECT_EQ(start.Caption(), "Start");
    EXPECT_EQ(Status(), "Make a selection to get started!");
    EXPECT_FALSE(start.pointerTimer.Enabled());
    EXPECT_EQ(start.Menu().size(), 3u);
}

TEST_F(ScreenFrame, OpenHidesAtOnceShowsTheTargetAndDestroysTheScreenATimer3Later) {
    world.app.Get<StartScreen>();
    world.desktop.pointerHistory.clear();
    world.app.Find<StartScreen>()->Run("sOptions");
    EXPECT_FALSE(world.app.Find<StartScreen>()->Visible());
    EXPECT_TRUE(world.app.Find<OptionsScreen>()->Visible());
    EXPECT_EQ(Status(), "Select the options to clean!");
    // Busy, then the target's load and the command both reset it, once the target is shown.
    EXPECT_EQ(world.desktop.pointerHistory, (std::vector<int>{13, 0, 0}));
    EXPECT_EQ(world.app.Find<OptionsScreen>()->pointerWhileLoading, 13);
    EXPECT_EQ(world.app.Find<OptionsScreen>()->pointerWhenShown, 13) << "busy until the screen is there";
    world.desktop.Advance(99);
    EXPECT_TRUE(world.app.Exists<StartScreen>());
    world.desktop.Advance(1);
    EXPECT_FALSE(world.app.Exists<StartScreen>());
    world.desktop.Advance(1000);
    EXPECT_EQ(world.desktop.pointerHistory.size(), 3u) << "the start page's pointer timer died with it";
    world.app.Load<StartScreen>();
    EXPECT_EQ(Loads("Start"), 2) << "a later Load builds it anew";
}

TEST_F(ScreenFrame, HelpKeepsTheScreenAndBackShowsItAsItWasLeft) {
    StartScreen* start = &world.app.Get<StartScreen>();
    start->Run("sHelp");
    EXPECT_EQ(Status(), "Hope this information helps!");
    world.desktop.Advance(1000);
    ASSERT_EQ(world.app.Find<StartScreen>(), start);
    world.app.Find<StartHelp>()->Run("sClose");
    EXPECT_TRUE(start->Visible());
    EXPECT_EQ(Loads("Start"), 1) << "not rebuilt";
    EXPECT_EQ(Status(), "Make a selection to get started!");
    world.desktop.Advance(500);
    EXPECT_FALSE(world.app.Exists<StartHelp>()) << "the help page destroys itself";
}

TEST_F(ScreenFrame, AboutFromAHelpPageLeavesTheKeptScreenHiddenUntilTheCloseAll) {
    world.app.Get<StartScreen>().Run("sHelp");
    world.app.Find<StartHelp>()->Run("sAbout");
    world.desktop.Advance(600);
    ASSERT_TRUE(world.app.Exists<StartScreen>());
    world.app.Load<StartScreen>();
    EXPECT_FALSE(world.app.Find<StartScreen>()->Visible()) << "Load does not show an existing screen";
    world.app.Find<AboutScreen>()->Run("sClose");
    EXPECT_TRUE(BackdropVisible()) << "the plain close leaves the backdrop to the close-all";
    world.desktop.Advance(600);
    EXPECT_EQ(world.LoadedNames(), std::vector<std::string>{"Form1a"});
}

TEST_F(ScreenFrame, AnOpenCommandShowsItsScreenWhereItWaitsHiddenBehindItsHelpPage) {
    StartScreen* start = &world.app.Get<StartScreen>();
    start->Run("sHelp");
    world.app.Find<StartHelp>()->Run("sAbout");
    world.desktop.Advance(600);
    world.app.Find<AboutScreen>()->Run("sStart");
    EXPECT_EQ(world.app.Find<StartScreen>(), start) << "the kept one, not a new one";
    EXPECT_TRUE(start->Visible());
    EXPECT_EQ(Status(), "Make a selection to get started!");
    EXPECT_EQ(Loads("Start"), 1);
}

TEST_F(ScreenFrame, CloseHidesTheBackdropAtOnceOrLeavesItToTheCloseAll) {
    world.app.Get<StartScreen>().Run("sClose");
    EXPECT_FALSE(BackdropVisible());
    world.desktop.Advance(599);
    EXPECT_TRUE(world.app.Exists<StartScreen>());
    world.desktop.Advance(1);
    EXPECT_EQ(world.LoadedNames(), std::vector<std::string>{"Form1a"});

    world.app.Get<screens::Backdrop>();
    world.app.Get<CookieA>().Run("sClose");
    EXPECT_TRUE(BackdropVisible());
    world.desktop.Advance(50);
    EXPECT_EQ(world.LoadedNames(), std::vector<std::string>{"Form1a"});
}

TEST_F(ScreenFrame, BusyCloseShowsTheHourglassForAMoment) {
    world.app.Get<OptionsScreen>();
    world.desktop.pointerHistory.clear();
    world.app.Find<OptionsScreen>()->Run("sClose");
    EXPECT_EQ(world.desktop.pointerHistory, (std::vector<int>{11, 0}));
    EXPECT_FALSE(BackdropVisible());
}

TEST_F(ScreenFrame, SwitchShowsTheOtherScreenRebuildingItWhenItWasDestroyed) {
    world.app.Get<CookieA>().Run("sCookies");
    EXPECT_TRUE(world.app.Find<CookieB>()->Visible());
    EXPECT_EQ(Status(), "B!");
    world.desktop.Advance(500);
    EXPECT_FALSE(world.app.Exists<CookieA>());
    world.app.Find<CookieB>()->Run("sReturn");
    EXPECT_TRUE(world.app.Find<CookieA>()->Visible());
    EXPECT_EQ(Status(), "A!");
}

TEST_F(ScreenFrame, ComingBackBeforeTheOldScreenIsDestroyedBuildsItAnewAndItStays) {
    // Help, its Close, and Help again within the help page's own destruction time.
    world.app.Get<StartScreen>().Run("sHelp");
    world.app.Find<StartHelp>()->Run("sClose");
    world.app.Find<StartScreen>()->Run("sHelp");
    world.desktop.Advance(1000);
    ASSERT_TRUE(world.app.Exists<StartHelp>());
    EXPECT_TRUE(world.app.Find<StartHelp>()->Visible());
    EXPECT_EQ(Status(), "Hope this information helps!");

    // A switch and a switch back within the first screen's destroy timer.
    world.app.Get<CookieA>().Run("sCookies");
    world.app.Find<CookieB>()->Run("sReturn");
    world.desktop.Advance(1000);
    ASSERT_TRUE(world.app.Exists<CookieA>());
    EXPECT_TRUE(world.app.Find<CookieA>()->Visible());
    EXPECT_FALSE(world.app.Exists<CookieB>());
    EXPECT_EQ(Status(), "A!");
}

TEST_F(ScreenFrame, TheCloseBoxIsTheCloseCommand) {
    StartScreen& start = world.app.Get<StartScreen>();
    start.OnCloseRequest();
    EXPECT_FALSE(start.Visible());
    EXPECT_TRUE(start.closeTimer.Enabled());
}

}  // namespace
