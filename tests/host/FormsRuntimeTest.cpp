// The forms runtime on the headless desktop: registry, lifecycle, activation, timers, message
// boxes, the handler boundary and the list controls.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "support/HeadlessWorld.h"

namespace {

using testing_support::HeadlessWorld;

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

class Alpha : public forms::Form {
public:
    Alpha() : Form("Alpha", 3000, 2000, {true, false}) {
        AddMenu("sHide", "Hide", [this] { App().Hide(*this); });
        AddMenu("sSelfUnload", "Gone", [this] {
            App().Unload(*this);
            label.SetCaption("still usable");  // the object outlives its own handler
            Log().push_back("after self-unload");
        });
        AddMenu("sThrow", "Throw", [] { throw std::runtime_error("boom"); });
        tick.onTimer = [this] {
            ++ticks;
            tick.SetEnabled(false);
        };
    }
    void Form_Load() override { Log().push_back("Alpha.Load"); }
    void Form_Activate() override { Log().push_back("Alpha.Activate"); }
    void Form_Deactivate() override { Log().push_back("Alpha.Deactivate"); }
    void Form_Unload() override { Log().push_back("Alpha.Unload"); }

    forms::Label label{*this, "Label1"};
    forms::ListBox list{*this, "List1"};
    forms::Timer tick{*this, "Timer1", 100};
    int ticks = 0;
};

class Beta : public forms::Form {
public:
    Beta() : Form("Beta", 3000, 2000) {}
    void Form_Load() override {
        Log().push_back("Beta.Load");
        App().Show(*this);  // a screen shows itself from its load handler
    }
    void Form_Activate() override { Log().push_back("Beta.Activate"); }
    void Form_Deactivate() override { Log().push_back("Beta.Deactivate"); }
};

class Gamma : public forms::Form {
public:
    Gamma() : Form("Gamma", 1000, 1000) {}
};

class FormsRuntime : public testing::Test {
protected:
    void SetUp() override { Log().clear(); }
    HeadlessWorld world;
};

TEST_F(FormsRuntime, FormsAreCreatedOnFirstReferenceOnceAndKeptInCreationOrder) {
    world.app.Get<Gamma>();
    Alpha& alpha = world.app.Get<Alpha>();
    EXPECT_EQ(&world.app.Get<Alpha>(), &alpha);
    world.app.Load<Alpha>();
    world.app.Get<Beta>();
    EXPECT_EQ(world.LoadedNames(), (std::vector<std::string>{"Gamma", "Alpha", "Beta"}));
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "Alpha.Load"), 1);
    // The design client size plus the frame.
    EXPECT_DOUBLE_EQ(alpha.Width(), 3000 + world.desktop.frameWithMenu.width);
    EXPECT_DOUBLE_EQ(alpha.ScaleHeight(), 2000);
}

// Windows and the clean runs belong to the thread that made them: a call from another thread
// ends the program where it crosses, instead of racing quietly.
TEST_F(FormsRuntime, WindowThreadWorkCalledFromAnotherThreadEndsTheProgram) {
#ifdef _WIN32
    GTEST_SKIP() << "death tests run on the host build";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Alpha& alpha = world.app.Get<Alpha>();
    EXPECT_DEATH(std::thread([&] { world.app.Hide(alpha); }).join(), "window thread only: a form is hidden");
    EXPECT_DEATH(std::thread([&] { (void)world.cleaner.Running(); }).join(), "window thread only: whether a clean runs");
}

TEST_F(FormsRuntime, LoadOfAnExistingHiddenFormDoesNotShowIt) {
    Beta& beta = world.app.Get<Beta>();
    ASSERT_TRUE(beta.Visible());
    world.app.Hide(beta);
    world.app.Load<Beta>();
    EXPECT_FALSE(beta.Visible());
    world.app.Show<Beta>();
    EXPECT_TRUE(beta.Visible());
}

TEST_F(FormsRuntime, UnloadRunsTheHandlerClearsTheReferenceAndTheNextReferenceBuildsAnew) {
    Alpha* first = &world.app.Get<Alpha>();
    first->list.AddItem("x");
    world.app.Unload(*first);
    EXPECT_FALSE(world.app.Exists<Alpha>());
    Alpha& second = world.app.Get<Alpha>();
    EXPECT_EQ(second.list.ListCount(), 0);
    EXPECT_EQ(Log(), (std::vector<std::string>{"Alpha.Load", "Alpha.Unload", "Alpha.Load"}));
}

TEST_F(FormsRuntime, AFormMayUnloadItselfFromItsOwnHandler) {
    Alpha& alpha = world.app.Get<Alpha>();
    alpha.ClickMenu("sSelfUnload");
    EXPECT_FALSE(world.app.Exists<Alpha>());
    EXPECT_EQ(Log().back(), "after self-unload");
}

TEST_F(FormsRuntime, ShowingActivatesAndDeactivatesThePreviousHidingHandsActivationBack) {
    world.app.Show<Alpha>();
    world.app.Get<Beta>();  // shows itself
    EXPECT_EQ(world.app.ActiveForm()->Name(), "Beta");
    world.app.Hide(*world.app.Find<Beta>());  // Alpha is the topmost visible window left
    EXPECT_EQ(world.app.ActiveForm()->Name(), "Alpha");
    world.app.Hide(*world.app.Find<Alpha>());  // nothing of ours left to activate
    EXPECT_EQ(world.app.ActiveForm(), nullptr);
    EXPECT_EQ(Log(), (std::vector<std::string>{"Alpha.Load", "Alpha.Activate", "Beta.Load", "Alpha.Deactivate",
                                               "Beta.Activate", "Beta.Deactivate", "Alpha.Activate",
                                               "Alpha.Deactivate"}));
}

TEST_F(FormsRuntime, UnloadingTheActiveFormRunsNoDeactivateForIt) {
    world.app.Show<Alpha>();
    Log().clear();
    world.app.Unload<Alpha>();
    EXPECT_EQ(Log(), (std::vector<std::string>{"Alpha.Unload"}));
}

TEST_F(FormsRuntime, TimersFireOnTheVirtualClockAndWhileAMessageBoxWaits) {
    Alpha& alpha = world.app.Get<Alpha>();
    alpha.tick.SetEnabled(true);
    world.desktop.Advance(99);
    EXPECT_EQ(alpha.ticks, 0);
    world.desktop.Advance(1);
    EXPECT_EQ(alpha.ticks, 1);
    world.desktop.Advance(1000);
    EXPECT_EQ(alpha.ticks, 1) << "the handler disabled its timer";

    alpha.tick.SetEnabled(true);
    world.desktop.Answer(platform::kResultYes, 250);
    EXPECT_EQ(world.app.MsgBox("Sure?", 36, "Question"), platform::kResultYes);
    EXPECT_EQ(alpha.ticks, 2);
    ASSERT_EQ(world.desktop.messages.size(), 1u);
    EXPECT_EQ(world.desktop.messages[0].text, "Sure?");
    EXPECT_EQ(world.desktop.messages[0].caption, "Question");
    EXPECT_EQ(world.desktop.messages[0].style, 36);
}

TEST_F(FormsRuntime, NothingAHandlerThrowsEscapes) {
    Alpha& alpha = world.app.Get<Alpha>();
    EXPECT_NO_THROW(alpha.ClickMenu("sThrow"));
    EXPECT_TRUE(world.app.Exists<Alpha>());
}

TEST_F(FormsRuntime, TheProgramEndsWhenTheLastFormIsUnloadedAndNoHandlerRuns) {
    Alpha& alpha = world.app.Get<Alpha>();
    world.app.Get<Gamma>();
    world.app.Unload<Gamma>();
    EXPECT_FALSE(world.desktop.quit);
    alpha.ClickMenu("sSelfUnload");
    EXPECT_TRUE(world.app.Ended());
    EXPECT_TRUE(world.desktop.quit);
}

TEST_F(FormsRuntime, ListsStopAtTheirLimitAndIgnoreADoubleClickWithoutSelection) {
    Alpha& alpha = world.app.Get<Alpha>();
    int fired = 0;
    alpha.list.onDblClick = [&] { ++fired; };
    for (int i = 0; i < forms::kMaxListItems; ++i) ASSERT_TRUE(alpha.list.AddItem("item"));
    EXPECT_FALSE(alpha.list.AddItem("one too many"));
    EXPECT_EQ(alpha.list.ListCount(), forms::kMaxListItems);
    alpha.list.OnDblClick();
    EXPECT_EQ(fired, 0);
    alpha.list.OnSelect(3);
    alpha.list.OnDblClick();
    EXPECT_EQ(fired, 1);
    alpha.list.RemoveItem(3);
    EXPECT_EQ(alpha.list.ListIndex(), -1) << "removing the selected item leaves no selection";
}

TEST_F(FormsRuntime, ControlsGetTheirPeersAtTheFirstShowWithTheirStateAndEveryChangeAfter) {
    Alpha& alpha = world.app.Get<Alpha>();
    alpha.label.SetCaption("Hello");
    alpha.list.AddItem("a");
    EXPECT_EQ(world.desktop.Window("Alpha")->Control("Label1"), nullptr) << "none while the form was never shown";
    world.app.Show(alpha);
    alpha.label.Move(10, 20, 300, 400);
    alpha.list.AddItem("b");
    alpha.list.RemoveItem(0);
    const fake::FakeControlPeer* label = world.desktop.Window("Alpha")->Control("Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text, "Hello");
    EXPECT_DOUBLE_EQ(label->bounds.height, 400);
    EXPECT_EQ(world.desktop.Window("Alpha")->Control("List1")->items, std::vector<std::string>{"b"});
}

class Browser : public forms::Form {
public:
    explicit Browser(const platform::Ports& ports)
        : Form("Browser", 3000, 2000), folders(*ports.folders), files(*ports.fileSystem) {
        dir.onChange = [this] {
            ++changes;
            file.SetPath(dir.Path());
        };
    }
    platform::Folders& folders;
    platform::FileSystem& files;
    forms::DriveListBox drive{*this, "Drive1", folders};
    forms::DirListBox dir{*this, "Dir1", files};
    forms::FileListBox file{*this, "File1", files};
    int changes = 0;
};

TEST_F(FormsRuntime, FolderListsBrowseTheFileSystem) {
    world.files.AddDrive('D');
    world.files.AddFile("C:\\Data\\b.txt");
    world.files.AddFile("C:\\Data\\A.txt");
    world.files.AddFile("C:\\Data\\hidden.txt", "", platform::kAttrHidden);
    world.files.AddFile("C:\\Data\\sys.txt", "", platform::kAttrSystem);
    world.files.AddFolder("C:\\Data\\Sub");
    world.app.Provide<Browser>([&] { return std::make_unique<Browser>(world.ports); });
    Browser& browser = world.app.Get<Browser>();
    EXPECT_EQ(browser.drive.Items(), (std::vector<std::string>{"C:", "D:"}));
    EXPECT_EQ(browser.drive.Drive(), "C:");

    ASSERT_TRUE(browser.dir.SetPath("C:\\Data"));
    EXPECT_EQ(browser.changes, 1);
    EXPECT_EQ(browser.file.Items(), (std::vector<std::string>{"A.txt", "b.txt"}));
    EXPECT_EQ(browser.dir.Items(), (std::vector<std::string>{"C:\\", "  Data", "    Sub"}));

    browser.dir.OnSelect(2);
    browser.dir.OnDblClick();
    EXPECT_EQ(browser.dir.Path(), "C:\\Data\\Sub");
    browser.dir.OnSelect(0);
    browser.dir.OnDblClick();
    EXPECT_EQ(browser.dir.Path(), "C:\\") << "a root keeps its backslash";

    EXPECT_FALSE(browser.dir.SetPath("C:\\Missing"));
    EXPECT_EQ(browser.dir.Path(), "C:\\") << "a folder that cannot be opened leaves the list where it was";
    EXPECT_EQ(browser.changes, 3);
}

}  // namespace
