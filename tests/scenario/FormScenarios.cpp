// How forms behave on a desktop, the same on the headless one and on real windows: which form
// is active after showing, hiding and unloading, the deferred hand-over from one form to the
// next, message boxes and the timers that fire while they wait, and the end of the program.
#include <gtest/gtest.h>

#include <functional>

#include "scenario/ScenarioWorld.h"

namespace {

using Strings = std::vector<std::string>;

Strings& Log() {
    static Strings log;
    return log;
}

template <char Letter>
class Screen : public forms::Form {
public:
    Screen() : Form(std::string(1, Letter), 4500, 3000, {true, false}) {
        SetCaption(std::string("Scenario ") + Letter);
        SetLeft(1500 + (Letter - 'A') * 600.0);
        SetTop(1500 + (Letter - 'A') * 600.0);
        // The hand-over of the screens: hide, open the next, let a timer dispose of this one.
        AddMenu("sOpen", "Open", [this] {
            App().Hide(*this);
            if (opens) opens();
            Timer3.SetEnabled(true);
        });
        AddMenu("sAsk", "Ask", [this] {
            answer = App().MsgBox("Sure?", 36, "Scenario.....");
            Log().push_back(Name() + ".answered");
        });
        AddMenu("sGone", "Gone", [this] {
            App().Unload(*this);
            Label1.SetCaption("after");  // the object outlives the handler that unloaded it
            Log().push_back(Name() + ".after");
        });
        Timer3.onTimer = [this] {
            Timer3.SetEnabled(false);
            App().Unload(*this);
        };
        Ticker.onTimer = [this] { ++ticks; };
    }
    void Form_Load() override { Log().push_back(Name() + ".Load"); }
    void Form_Activate() override { Log().push_back(Name() + ".Activate"); }
    void Form_Deactivate() override { Log().push_back(Name() + ".Deactivate"); }
    void Form_Unload() override { Log().push_back(Name() + ".Unload"); }
    void Form_Resize() override { ++resizes; }

    forms::Label Label1{*this, "Label1"};
    forms::Timer Timer3{*this, "Timer3", 100};
    forms::Timer Ticker{*this, "Timer1", 50};
    std::function<void()> opens;
    int answer = 0;
    int ticks = 0;
    int resizes = 0;
};
using A = Screen<'A'>;
using B = Screen<'B'>;
using C = Screen<'C'>;

// Behind the other forms, nearly as large as the screen.
class Backdrop : public forms::Form {
public:
    Backdrop() : Form("Backdrop", 9000, 6000, {false, false, true, true}) {}
    void Form_Activate() override { Log().push_back("Backdrop.Activate"); }
    void Form_Deactivate() override { Log().push_back("Backdrop.Deactivate"); }
};

class FormScenario : public testing::Test {
protected:
    void SetUp() override { Log().clear(); }

    Strings Loaded() const {
        Strings names;
        for (const forms::Form* form : app.Forms()) names.push_back(form->Name());
        return names;
    }

    std::unique_ptr<scenario::ScenarioWorld> world = scenario::MakeWorld();
    forms::Application& app = world->App();
};

TEST_F(FormScenario, AShownFormBecomesActiveAndThePreviousOneIsDeactivated) {
    app.Show<A>();
    app.Show<B>();
    EXPECT_EQ(Log(), (Strings{"A.Load", "A.Activate", "B.Load", "A.Deactivate", "B.Activate"}));
    EXPECT_EQ(world->ActiveWindow(), "B");

    Log().clear();
    app.Show<A>();  // visible already, behind B
    EXPECT_EQ(Log(), (Strings{"B.Deactivate", "A.Activate"}));
    EXPECT_EQ(world->ActiveWindow(), "A");
}

TEST_F(FormScenario, HidingTheActiveFormActivatesTheTopmostVisibleFormLeftAndTheLastIsDeactivated) {
    app.Show<A>();
    app.Show<B>();
    app.Show<C>();
    Log().clear();

    app.Hide(*app.Find<C>());
    EXPECT_EQ(world->ActiveWindow(), "B") << "the topmost visible form left, not the first one";
    app.Hide(*app.Find<B>());
    EXPECT_EQ(world->ActiveWindow(), "A");
    app.Hide(*app.Find<A>());
    EXPECT_EQ(world->ActiveWindow(), "");
    EXPECT_EQ(app.ActiveForm(), nullptr);
    world->Pass(100);  // nothing arrives late
    EXPECT_EQ(Log(), (Strings{"C.Deactivate", "B.Activate", "B.Deactivate", "A.Activate", "A.Deactivate"}));
}

TEST_F(FormScenario, UnloadingTheActiveFormActivatesTheNextWithoutDeactivatingTheUnloadedOne) {
    app.Show<A>();
    app.Show<B>();
    Log().clear();
    app.Unload<B>();
    world->Pass(50);
    EXPECT_EQ(Log(), (Strings{"B.Unload", "A.Activate"}));
    EXPECT_EQ(world->ActiveWindow(), "A");
    EXPECT_EQ(app.ActiveForm(), app.Find<A>());
}

TEST_F(FormScenario, AMessageBoxDoesNotDeactivateTheFormThatRaisedIt) {
    A& a = app.Show<A>();
    Log().clear();
    world->AnswerNextMessage(platform::kResultYes, 100);
    world->ChooseMenu(a, "sAsk");
    EXPECT_EQ(a.answer, platform::kResultYes);
    world->Pass(50);
    EXPECT_EQ(Log(), (Strings{"A.answered"})) << "neither deactivated by the box nor activated again after it";
    EXPECT_EQ(world->ActiveWindow(), "A");
}

TEST_F(FormScenario, TimersKeepFiringWhileAMessageBoxWaits) {
    A& a = app.Show<A>();
    a.Ticker.SetEnabled(true);
    app.Load<C>().Timer3.SetEnabled(true);  // hidden; unloads itself after 100 ms
    world->AnswerNextMessage(platform::kResultOk, 300);
    world->ChooseMenu(a, "sAsk");
    EXPECT_GE(a.ticks, 4);
    EXPECT_FALSE(app.Exists<C>()) << "a form may be unloaded by its timer while the box waits";
    EXPECT_EQ(Loaded(), (Strings{"A"}));
}

TEST_F(FormScenario, AOneShotTimerHandsOverFromOneFormToTheNext) {
    A& a = app.Show<A>();
    a.opens = [&app = app] { app.Show<B>(); };
    Log().clear();
    world->ChooseMenu(a, "sOpen");
    EXPECT_FALSE(a.Visible());
    EXPECT_EQ(world->ActiveWindow(), "B");
    world->Pass(40);
    EXPECT_TRUE(app.Exists<A>()) << "disposed of only when its timer fires";

    world->Pass(200);
    EXPECT_EQ(Loaded(), (Strings{"B"}));
    EXPECT_EQ(world->ActiveWindow(), "B");
    EXPECT_EQ(app.ActiveForm(), app.Find<B>());
    EXPECT_EQ(Log(), (Strings{"A.Deactivate", "B.Load", "B.Activate", "A.Unload"}));
}

TEST_F(FormScenario, WithABackdropBehindTheHandOverPassesActivationThroughIt) {
    app.Show<C>();  // the backdrop
    A& a = app.Show<A>();
    a.opens = [&app = app] { app.Show<B>(); };
    Log().clear();
    world->ChooseMenu(a, "sOpen");
    world->Pass(200);
    EXPECT_EQ(Log(), (Strings{"A.Deactivate", "C.Activate", "B.Load", "C.Deactivate", "B.Activate", "A.Unload"}));
    EXPECT_EQ(Loaded(), (Strings{"C", "B"}));
    EXPECT_EQ(world->ActiveWindow(), "B");
}

TEST_F(FormScenario, ABackdropKeepsTheFormsInFrontOfItAndPassesItsActivationOnToTheOneInFront) {
    A& a = app.Show<A>();
    app.Show<Backdrop>();  // made and shown after the form, still behind it
    world->Pass(100);
    EXPECT_EQ(world->FrontWindow(), "A");
    EXPECT_EQ(world->ActiveWindow(), "A");

    Log().clear();
    world->BringForward(*app.Find<Backdrop>());
    world->Pass(100);
    EXPECT_EQ(world->FrontWindow(), "A");
    EXPECT_EQ(world->ActiveWindow(), "A");
    EXPECT_EQ(Log(), Strings{}) << "the form never lost its activation to the backdrop";

    // A hand-over passes through the backdrop; the next form lies in front of it too.
    a.opens = [&app = app] { app.Show<B>(); };
    world->ChooseMenu(a, "sOpen");
    world->Pass(200);
    EXPECT_EQ(world->FrontWindow(), "B");
    EXPECT_EQ(Log(), (Strings{"A.Deactivate", "Backdrop.Activate", "B.Load", "Backdrop.Deactivate", "B.Activate",
                              "A.Unload"}));

    // Its backdrop gone, a form stays where it was.
    app.Unload<Backdrop>();
    world->Pass(100);
    ASSERT_TRUE(app.Exists<B>());
    EXPECT_EQ(world->FrontWindow(), "B");
    EXPECT_EQ(world->ActiveWindow(), "B");
}

TEST_F(FormScenario, AFormMayUnloadItselfFromItsOwnMenuHandler) {
    A& a = app.Show<A>();
    Log().clear();
    world->ChooseMenu(a, "sGone");
    EXPECT_FALSE(app.Exists<A>());
    EXPECT_EQ(Log(), (Strings{"A.Unload", "A.after"}));

    world->Pass(20);
    app.Show<A>();  // a fresh one
    EXPECT_EQ(Log(), (Strings{"A.Unload", "A.after", "A.Load", "A.Activate"}));
    EXPECT_EQ(world->ActiveWindow(), "A");
}

TEST_F(FormScenario, TheLoopEndsWhenTheLastFormIsUnloadedAndNotBefore) {
    app.Show<A>().Timer3.SetEnabled(true);
    world->Pass(30);
    app.Show<B>().Timer3.SetEnabled(true);  // the last to go, about 100 ms after A
    ASSERT_TRUE(world->RunLoop(3000));
    EXPECT_TRUE(app.Ended());
    const Strings& log = Log();
    EXPECT_EQ(Strings(log.end() - 2, log.end()), (Strings{"A.Unload", "B.Unload"}));
}

TEST_F(FormScenario, ResizingReportsEachChangeOnceAndTheInnerAreaIsTheWindowLessItsFrame) {
    A& a = app.Load<A>();
    a.resizes = 0;
    a.SetWidth(6000);
    a.SetWidth(6000);
    a.SetHeight(4500);
    world->Pass(20);
    EXPECT_EQ(a.resizes, 2) << "a size set again unchanged is no resize";
    const platform::TwipRect frame = app.Desktop().FrameExtra({true, false});
    const double pixel = app.Screen().twipsPerPixelX;
    EXPECT_NEAR(a.ScaleWidth(), 6000 - frame.width, pixel);
    EXPECT_NEAR(a.ScaleHeight(), 4500 - frame.height, pixel);
}

}  // namespace
