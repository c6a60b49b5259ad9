// The backdrop's layout and gradient, the helper window, the unload-all procedures, the skin.
#include <gtest/gtest.h>

#include "screens/Backdrop.h"
#include "screens/HelperWindow.h"
#include "screens/CloseAll.h"
#include "support/HeadlessWorld.h"
#include "ui/Skin.h"

namespace {

using testing_support::HeadlessWorld;

TEST(Backdrop, LoadLaysItOutForTheScreenAndShowsItPainted) {
    HeadlessWorld world;
    screens::Backdrop& backdrop = world.app.Get<screens::Backdrop>();
    const double sw = world.desktop.screen.widthTwips, sh = world.desktop.screen.heightTwips;
    EXPECT_TRUE(backdrop.Visible());
    EXPECT_DOUBLE_EQ(backdrop.Width(), sw - 200);
    EXPECT_DOUBLE_EQ(backdrop.Height(), sh - 200);
    EXPECT_DOUBLE_EQ(backdrop.title.Width(), sw - 200);
    EXPECT_DOUBLE_EQ(backdrop.title.Top(), 10);
    EXPECT_DOUBLE_EQ(backdrop.statusLine.Top(), sh - 1800);
    EXPECT_EQ(backdrop.title.Caption(), "Kavlon Tarnwick");
    EXPECT_EQ(backdrop.title.Font(), (platform::FontSpec{"Comic Sans MS", 42, true, true}));
    EXPECT_EQ(backdrop.statusLine.Font(), (platform::FontSpec{"MS Sans Serif", 24, true, true}));
    // Pink-violet at the top, black at the bottom, over whatever size the window has.
    const platform::Gradient gradient{platform::Rgb(255, 128, 255), platform::Rgb(0, 0, 0)};
    EXPECT_EQ(backdrop.Gradient(), gradient);
    EXPECT_EQ(world.desktop.Window("Form10")->gradient, gradient);
}

TEST(Backdrop, WritingTheStatusLineCreatesTheBackdropWhenItIsGone) {
    HeadlessWorld world;
    screens::SetStatusText(world.app, "Hello");
    ASSERT_TRUE(world.app.Exists<screens::Backdrop>());
    EXPECT_TRUE(world.app.Find<screens::Backdrop>()->Visible());
    EXPECT_EQ(world.app.Find<screens::Backdrop>()->statusLine.Caption(), "Hello");
}

TEST(HelperWindow, PointsItsFileListAtTheCookiesFolderAndStaysHidden) {
    HeadlessWorld world;
    world.folders.SetFolder(33, "C:\\Cookies");
    world.files.AddFile("C:\\Cookies\\a.txt");
    world.files.AddFile("C:\\Cookies\\index.dat", "", platform::kAttrHidden | platform::kAttrSystem);
    screens::HelperWindow& helper = world.app.Get<screens::HelperWindow>();
    EXPECT_FALSE(helper.Visible());
    EXPECT_FALSE(helper.cookieFiles.Visible());
    EXPECT_EQ(helper.cookieFiles.Path(), "C:\\Cookies");
    EXPECT_EQ(helper.cookieFiles.Items(), std::vector<std::string>{"a.txt"});
}

class MainWindow : public forms::Form {
public:
    MainWindow() : Form("Form1a", 100, 100) {}
};

TEST(UnloadAll, ButMainKeepsOnlyTheMainWindow) {
    HeadlessWorld world;
    world.app.Get<MainWindow>();
    world.app.Get<screens::HelperWindow>();
    world.app.Get<screens::Backdrop>();
    screens::UnloadAllButMain(world.app);
    EXPECT_EQ(world.LoadedNames(), std::vector<std::string>{"Form1a"});
    screens::UnloadAllButMain(world.app);
    EXPECT_EQ(world.LoadedNames(), std::vector<std::string>{"Form1a"});

    world.app.SetMousePointer(11);
    screens::UnloadAll(world.app);
    EXPECT_TRUE(world.LoadedNames().empty());
    EXPECT_EQ(world.desktop.pointer, 0);
    EXPECT_TRUE(world.desktop.quit);
}

TEST(Skin, FourLateBoundCallsInOrderWithTheWindowHandle) {
    HeadlessWorld world;
    ui::ApplySkin(world.automation, 0x1234);
    ASSERT_EQ(world.automation.sequences.size(), 1u);
    EXPECT_EQ(world.automation.sequences[0].progId, "WBOCXLib.Wbocx");
    const auto& calls = world.automation.sequences[0].calls;
    ASSERT_EQ(calls.size(), 4u);
    using Kind = platform::DispatchArgument::Kind;
    EXPECT_EQ(calls[0].memberId, 14);
    EXPECT_EQ(calls[0].argument.kind, Kind::kInt16);
    EXPECT_EQ(calls[0].argument.number, 1);
    EXPECT_EQ(calls[1].memberId, 8);
    EXPECT_EQ(calls[1].argument.text, "\\Skin1\\Skin1.uis");
    EXPECT_EQ(calls[2].memberId, 7);
    EXPECT_EQ(calls[2].argument.kind, Kind::kNone);
    EXPECT_EQ(calls[3].memberId, 6);
    EXPECT_EQ(calls[3].argument.number, 0x1234);
}

}  // namespace
