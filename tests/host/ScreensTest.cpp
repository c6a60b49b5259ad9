// The configuration screens on the headless desktop, from the first start through the
// hand-overs between them, the clean options, the folder picker and the paths view.
#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "screens/Backdrop.h"
#include "screens/HelperWindow.h"
#include "screens/StartPage.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/InternetKeepScreen.h"
#include "screens/CookieFolderScreen.h"
#include "screens/AboutScreen.h"
#include "screens/TargetsScreen.h"
#include "screens/HelpPages.h"
#include "screens/PathsView.h"
#include "screens/FolderPicker.h"
#include "settings/SettingsFile.h"
#include "support/HeadlessWorld.h"

namespace {

using namespace screens;
using testing_support::HeadlessWorld;

class Screens : public testing::Test {
protected:
    Screens() {
        world.env.programFolder = "C:\\Apps";
        world.files.AddFolder("C:\\Apps");
        world.env.SetVariable("Temp", "C:\\Temp");
        world.folders.SetFolder(32, "C:\\Cache");
        world.folders.SetFolder(33, "C:\\Cookies");
        world.folders.SetFolder(36, "C:\\Windows");
        world.files.AddFolder("C:\\Windows\\System32\\drivers");
        world.files.AddFolder("C:\\Data\\Old");
    }
    void Start() { world.app.Get<app::MainWindow>(); }
    std::string Ini(const char* section, const char* key) { return settings::ReadINI(world.ports, kIni, section, key); }
    void Write(const char* section, const char* key, const std::string& value) {
        settings::WriteINI(world.ports, kIni, section, key, value);
    }
    std::string Status() { return world.app.Get<screens::Backdrop>().statusLine.Caption(); }
    bool Visible(const forms::Form* form) { return form && form->Visible(); }
    template <class F>
    bool Shown() {
        return Visible(world.app.Find<F>());
    }
    std::string LastMessage() { return world.desktop.messages.empty() ? "" : world.desktop.messages.back().text; }

    static constexpr const char* kIni = "C:\\Apps\\Clean.ini";
    HeadlessWorld world;
};

TEST_F(Screens, AFirstStartRecordsTheFolderAndOpensTheBackdropAndTheStartPage) {
    Start();
    EXPECT_EQ(Ini("sAppPath", "ShortCut"), "C:\\Apps\\");
    EXPECT_TRUE(Shown<screens::Backdrop>());
    EXPECT_TRUE(Shown<StartPage>());
    EXPECT_FALSE(Shown<app::MainWindow>());
    EXPECT_TRUE(world.app.Exists<screens::HelperWindow>());
    EXPECT_EQ(Status(), "Make a selection to get started!");
    EXPECT_EQ(world.app.Find<StartPage>()->Caption(), "  Kavlon Tarnwick----Main Start Page");
    ASSERT_EQ(world.automation.sequences.size(), 1u) << "the skin is applied off Windows XP";
}

TEST_F(Screens, OptionsStoredAsNoCountAsChosenSoTheNextStartStaysHidden) {
    Write("Delete", "User", "No");
    Write("Delete", "Temp", "No");
    Write("Delete", "Temporary Internet Files", "No");
    Start();
    EXPECT_EQ(world.LoadedNames(), (std::vector<std::string>{"Form1a", "Form6"}));
}

TEST_F(Screens, OnWindowsXpNoSkinIsApplied) {
    world.env.version = {1, 5, 1, 2};
    Start();
    EXPECT_TRUE(world.automation.sequences.empty());
}

TEST_F(Screens, TheStatusLineFollowsTheActiveScreenAcrossHandOvers) {
    Start();
    world.app.Find<StartPage>()->Run("sOptions");
    EXPECT_EQ(Status(), "Select the options to clean!");
    world.desktop.Advance(100);
    EXPECT_FALSE(world.app.Exists<StartPage>());
    world.app.Find<CleanOptionsScreen>()->Run("sPaths");
    EXPECT_EQ(Status(), "Location of files to be cleaned!");
    world.app.Find<PathsView>()->Run("sAbout");
    EXPECT_EQ(Status(), "About this program!");
    world.app.Find<AboutScreen>()->Run("sCookies");
    EXPECT_EQ(Status(), "Select a folder to be cleaned!");
    EXPECT_EQ(world.desktop.pointer, 0);
}

TEST_F(Screens, CloseOnAnyScreenLeavesOnlyTheMainWindow) {
    Start();
    world.app.Find<StartPage>()->Run("sAbout");
    world.app.Find<AboutScreen>()->Run("sClose");
    EXPECT_TRUE(Shown<screens::Backdrop>()) << "the about screen leaves the backdrop to the close-all";
    world.desktop.Advance(600);
    EXPECT_EQ(world.LoadedNames(), std::vector<std::string>{"Form1a"});
}

TEST_F(Screens, StartPageHelpKeepsItAndItsHelpCloseShowsItUnchanged) {
    Start();
    StartPage* start = world.app.Find<StartPage>();
    start->Run("sHelp");
    EXPECT_EQ(Status(), "Hope this information helps!");
    world.desktop.Advance(1000);
    world.app.Find<StartPageHelp>()->Run("sClose");
    EXPECT_EQ(world.app.Find<StartPage>(), start);
    EXPECT_TRUE(start->Visible());
    EXPECT_EQ(Status(), "Make a selection to get started!");
}

TEST_F(Screens, OptionsHelpDestroysTheOptionsAndItsCloseBuildsThemAnew) {
    Write("Delete", "Temp", "Yes");
    Start();
    world.app.Show<CleanOptionsScreen>().Run("sHelp");
    world.desktop.Advance(50);
    EXPECT_FALSE(world.app.Exists<CleanOptionsScreen>());
    world.app.Find<OptionsHelp>()->Run("sClose");
    ASSERT_TRUE(Shown<CleanOptionsScreen>());
    EXPECT_EQ(world.app.Find<CleanOptionsScreen>()->tempFolderBox.Value(), 1) << "rebuilt from the file";
}

TEST_F(Screens, InternetHelpLeadsOnToTheCookieFolderScreen) {
    Start();
    world.app.Load<InternetKeepScreen>().Run("sHelp");
    world.app.Find<InternetCookiesHelp>()->Run("sCookies");
    EXPECT_FALSE(world.app.Exists<InternetKeepScreen>());
    EXPECT_TRUE(Shown<CookieFolderScreen>());
    world.desktop.Advance(500);
    EXPECT_FALSE(world.app.Exists<InternetCookiesHelp>());
}

TEST_F(Screens, CheckBoxesShowOnlyAnExactYesAndStoreEveryClick) {
    Write("Delete", "Temp", "yes");
    Start();
    CleanOptionsScreen& options = world.app.Show<CleanOptionsScreen>();
    EXPECT_EQ(options.tempFolderBox.Value(), 0);
    options.tempFolderBox.OnCheckedByUser(true);
    EXPECT_EQ(Ini("Delete", "Temp"), "Yes");
    options.userFolderBox.OnCheckedByUser(true);
    EXPECT_EQ(Ini("Delete", "User"), "Yes");
    options.userFolderBox.OnCheckedByUser(false);
    EXPECT_EQ(Ini("Delete", "User"), "No");
    EXPECT_EQ(Ini("Delete", "Temporary Internet Files"), "0");
    EXPECT_EQ(world.desktop.pointer, 13);
    world.desktop.Advance(50);
    EXPECT_EQ(world.desktop.pointer, 0);
}

// Before, the box showed the click and a clean then did what the file still said.
TEST_F(Screens, ASettingThatCannotBeWrittenIsToldAndTheScreenShowsWhatIsStored) {
    using Lock = fake::FakeFileSystem::Lock;
    const std::string told = "Your setting could not be saved !\r\rC:\\Apps\\Clean.ini could not be ";
    const std::tuple<const char*, Lock, std::string> cases[] = {
        {"read-only", Lock::kNone,
         told + "written: access denied (0x00000005).\r\rThe file is read-only, or its folder may not be "
                "written to (a folder under Program Files is one). Put the program in a folder of your own, such as "
                "one in your Documents, so that its settings can be saved."},
        {"held by another program", Lock::kInUse,
         told + "written: in use (0x00000020).\r\rAnother program holds it open. Close that program and try again."},
        {"unreadable", Lock::kExclusive, told + "read, so it was left as it is."},
    };
    for (const auto& [label, lock, message] : cases) {
        SCOPED_TRACE(label);
        HeadlessWorld fresh;
        fresh.env.programFolder = "C:\\Apps";
        fresh.files.AddFolder("C:\\Data\\New");
        fresh.cache.Add("http://a/");
        fresh.files.AddFile(kIni, "[User]\r\nsFile0=C:\\Data\r\n[Delete]\r\nTemp=Yes\r\n",
                            lock == Lock::kNone ? std::uint32_t{platform::kAttrReadOnly} : 0u);
        fresh.app.Get<app::MainWindow>();
        const std::string stored = fresh.files.Content(kIni).value_or("");
        fresh.files.SetLock(kIni, lock);
        const auto tellsIt = [&]() -> std::string {  // the last message, and the slate clean
            const auto& seen = fresh.desktop.messages;
            const std::string last = seen.empty() ? "" : seen.back().caption + " " + std::to_string(seen.back().style) +
                                                             " " + seen.back().text;
            fresh.desktop.messages.clear();
            return last;
        };
        CleanOptionsScreen& options = fresh.app.Show<CleanOptionsScreen>();
        options.tempFolderBox.OnCheckedByUser(false);
        EXPECT_EQ(tellsIt(), "Kavlon Info..... 48 " + message);
        EXPECT_EQ(options.tempFolderBox.Value(), lock == Lock::kExclusive ? 0 : 1) << "what a clean reads";

        FolderPicker& picker = fresh.app.Show<FolderPicker>();
        ASSERT_TRUE(picker.folderList.SetPath("C:\\Data\\New"));
        fresh.desktop.Answer(platform::kResultYes);
        picker.Run("sSave");
        EXPECT_EQ(tellsIt(), "Kavlon Info..... 48 " + message);
        EXPECT_EQ(picker.folderList.Path(), lock == Lock::kExclusive ? "C:\\Data\\New" : "C:\\Data") << "what is stored";

        InternetKeepScreen& keep = fresh.app.Show<InternetKeepScreen>();
        keep.topList.SetListIndex(0);
        keep.topList.OnDblClick();
        keep.Run("sDeleteCookies");
        EXPECT_EQ(tellsIt(), "Kavlon Info..... 48 " + message);
        EXPECT_EQ(keep.bottomList.ListCount(), 0) << "what is kept";
        fresh.files.SetLock(kIni, Lock::kNone);
        EXPECT_EQ(fresh.files.Content(kIni), stored);
    }
}

TEST_F(Screens, CleanNowWithNothingChosenEndsOnTheStartPage) {
    Start();
    world.app.Find<StartPage>()->Run("sOptions");
    world.desktop.Advance(100);
    world.app.Find<CleanOptionsScreen>()->Run("sClean");
    EXPECT_EQ(LastMessage(), "You Have Not Entered Any Files To Be Cleaned !");
    EXPECT_TRUE(Shown<StartPage>());
    world.desktop.Advance(50);
    EXPECT_FALSE(world.app.Exists<CleanOptionsScreen>());
    EXPECT_TRUE(Shown<StartPage>());
}

TEST_F(Screens, CleanNowCleansAndEndsResidentWithOnlyTheMainWindow) {
    world.files.AddFile("C:\\Temp\\junk.tmp");
    Write("Delete", "Temp", "Yes");
    Start();
    world.app.Load<screens::Backdrop>();
    world.desktop.Answer(platform::kResultYes);  // no cookies saved: go on
    world.app.Show<CleanOptionsScreen>().Run("sClean");
    EXPECT_FALSE(world.files.Exists("C:\\Temp\\junk.tmp"));
    EXPECT_EQ(LastMessage(), "All Files Cleaned!");
    world.desktop.Advance(50);
    EXPECT_EQ(world.LoadedNames(), std::vector<std::string>{"Form1a"});
}

TEST_F(Screens, NoBoxListOrCountOfAScreenLiesOverAnother) {
    Start();
    const auto acts = [](const forms::Control* control) {
        return control->Type() != platform::ControlType::kLabel && control->Type() != platform::ControlType::kPictureBox;
    };
    const auto overlap = [](const forms::Control* a, const forms::Control* b) {
        return a->Left() < b->Left() + b->Width() && b->Left() < a->Left() + a->Width() &&
               a->Top() < b->Top() + b->Height() && b->Top() < a->Top() + a->Height();
    };
    const std::vector<forms::Form*> screens = {&world.app.Get<CleanOptionsScreen>(), &world.app.Get<FolderPicker>(),
                                               &world.app.Get<InternetKeepScreen>(), &world.app.Get<CookieFolderScreen>(),
                                               &world.app.Get<TargetsScreen>()};
    for (const forms::Form* screen : screens) {
        const std::vector<forms::Control*>& controls = screen->Controls();
        for (size_t i = 0; i < controls.size(); ++i) {
            for (size_t j = i + 1; j < controls.size(); ++j) {
                if (acts(controls[i]) && acts(controls[j])) {
                    EXPECT_FALSE(overlap(controls[i], controls[j]))
                        << screen->Name() << ": " << controls[i]->Name() << " and " << controls[j]->Name();
                }
            }
        }
    }
    for (CookieScreen* cookies : {static_cast<CookieScreen*>(world.app.Find<InternetKeepScreen>()),
                                  static_cast<CookieScreen*>(world.app.Find<CookieFolderScreen>())}) {
        EXPECT_FALSE(overlap(&cookies->topCount, &cookies->topHeading)) << cookies->Name();
        EXPECT_FALSE(overlap(&cookies->bottomCount, &cookies->bottomHeading)) << cookies->Name();
    }
}

TEST_F(Screens, PathsViewListsTheLocationsAndTheStoredFolderInQuotes) {
    Start();
    EXPECT_EQ(world.app.Load<PathsView>().pathList.Items(),
              (std::vector<std::string>{"C:\\Cache", "C:\\Cookies", "C:\\Temp"}));
    world.app.Unload<PathsView>();
    Write("User", "sFile0", "D:\\Work");
    EXPECT_EQ(world.app.Load<PathsView>().pathList.List(3), "D:\\Work \"Your file!\"");
}

class Picker : public Screens {
protected:
    FolderPicker& Open() {
        Start();
        return world.app.Show<FolderPicker>();
    }
    void OpenFolder(FolderPicker& picker, const std::string& folder) { ASSERT_TRUE(picker.folderList.SetPath(folder)); }
};

TEST_F(Picker, ActivationMovesToTheStoredFolderAndChoosesTheStatus) {
    FolderPicker& picker = Open();
    EXPECT_EQ(Status(), "Select a folder to be cleaned!");
    world.app.Hide(picker);
    Write("User", "sFile0", "C:\\Data\\Old");
    world.app.Show(picker);
    EXPECT_EQ(picker.folderList.Path(), "C:\\Data\\Old");
    EXPECT_EQ(Status(), "This is the folder you have selected!");
    world.app.Hide(picker);
    EXPECT_EQ(Ini("System", "Used"), "No") << "every deactivation resets the flag";
    Write("User", "sFile0", "C:\\Gone");
    world.app.Show(picker);
    EXPECT_EQ(picker.folderList.Path(), "C:\\Data\\Old") << "a folder that is gone leaves the list where it was";
    EXPECT_EQ(Status(), "Select a folder to be cleaned!") << "and the folder shown is not called the selected one";
}

TEST_F(Picker, TheRootIsRefusedAndThePickerAsksForAnotherFolder) {
    FolderPicker& picker = Open();
    Write("User", "sFile0", "C:\\Data\\Old");
    OpenFolder(picker, "c:\\");
    picker.Run("sSave");
    ASSERT_EQ(world.desktop.messages.size(), 1u);
    EXPECT_EQ(world.desktop.messages[0].text,
              "You have selected the root file to clean\r\rPlease select another File !!!!");
    EXPECT_EQ(world.desktop.messages[0].caption, "Kavlon Info.....");
    EXPECT_EQ(world.desktop.messages[0].style, 16);
    EXPECT_EQ(Ini("System", "Used"), "Yes");
    EXPECT_TRUE(picker.Visible());
    EXPECT_EQ(Status(), "Please select another folder !");
    EXPECT_EQ(picker.folderList.Path(), "C:\\Data\\Old");
    EXPECT_EQ(Ini("User", "sFile0"), "C:\\Data\\Old");
}

TEST_F(Picker, ASystemFolderIsRefusedButItsSubfolderIsAcceptedAfterTheWarning) {
    FolderPicker& picker = Open();
    OpenFolder(picker, "C:\\Windows");
    picker.Run("sSave");
    EXPECT_EQ(LastMessage(), "You have selected a system file to clean\r\rPlease select another File !!!!");
    EXPECT_EQ(Status(), "Select a folder to be cleaned!");

    OpenFolder(picker, "C:\\Windows\\System32\\drivers");
    world.desktop.Answer(platform::kResultYes);
    picker.Run("sSave");
    EXPECT_EQ(world.desktop.messages.back().style, 20);
    EXPECT_EQ(LastMessage(),
              "Warning, you have designated the following file\r\r                    C:\\Windows\\System32\\drivers"
              "\r\r    To be cleaned when the program runs\r\r              Do you want to continue !!!");
    EXPECT_EQ(Ini("User", "sFile0"), "C:\\Windows\\System32\\drivers");
    EXPECT_EQ(Ini("System", "Used"), "No");
    EXPECT_EQ(Status(), "This is the folder you have selected!");
}

// Stored in the code page, "C:\Data\Ωmega" became "C:\Data\?mega": nothing was cleaned and the
// run said "All Files Cleaned!".
TEST_F(Picker, AFolderNameTheSettingsFileCannotHoldIsRefusedAndNothingIsStored) {
    const std::string omega = "C:\\Data\\\xCE\xA9mega";
    world.files.AddFolder(omega);
    Write("User", "sFile0", "C:\\Data\\Old");
    FolderPicker& picker = Open();
    OpenFolder(picker, omega);
    picker.Run("sSave");
    ASSERT_EQ(world.desktop.messages.size(), 1u) << "no warning follows";
    EXPECT_EQ(world.desktop.messages[0].text,
              "The name of this folder cannot be stored by the program\r\rPlease select another File !!!!");
    EXPECT_EQ(world.desktop.messages[0].caption, "Kavlon Info.....");
    EXPECT_EQ(world.desktop.messages[0].style, 16);
    EXPECT_EQ(Ini("User", "sFile0"), "C:\\Data\\Old");
    EXPECT_TRUE(picker.Visible());

    world.files.AddFolder("C:\\Data\\Caf\xC3\xA9");  // the code page holds it
    OpenFolder(picker, "C:\\Data\\Caf\xC3\xA9");
    world.desktop.Answer(platform::kResultYes);
    picker.Run("sSave");
    EXPECT_EQ(Ini("User", "sFile0"), "C:\\Data\\Caf\xC3\xA9");
}

TEST_F(Picker, AnsweringNoStoresNothingAndReturnsToTheStoredFolder) {
    Write("User", "sFile0", "C:\\Data\\Old");
    FolderPicker& picker = Open();
    OpenFolder(picker, "C:\\Windows\\System32");
    world.desktop.Answer(platform::kResultNo);
    picker.Run("sSave");
    EXPECT_EQ(Ini("User", "sFile0"), "C:\\Data\\Old");
    EXPECT_EQ(picker.folderList.Path(), "C:\\Data\\Old");
    EXPECT_TRUE(picker.Visible());
}

TEST_F(Picker, BrowsingFollowsTheDriveAndTheOpenFolder) {
    world.files.AddDrive('D');
    world.files.AddFile("D:\\Music\\song.mp3");
    world.files.AddFile("D:\\top.txt");
    world.files.AddFile("D:\\b.TXT");
    world.files.AddFile("D:\\A.txt");
    world.files.AddFile("D:\\hidden.txt", "", platform::kAttrHidden);
    world.files.AddFile("D:\\pagefile.sys", "", platform::kAttrSystem);
    FolderPicker& picker = Open();
    picker.driveList.OnSelect(1);
    EXPECT_EQ(picker.folderList.Path(), "D:\\");
    EXPECT_EQ(picker.fileList.Items(), (std::vector<std::string>{"A.txt", "b.TXT", "top.txt"}))
        << "the open folder's files by name in any letter case, without hidden and system ones";
    picker.folderList.OnSelect(1);
    picker.folderList.OnDblClick();
    EXPECT_EQ(picker.fileList.Items(), std::vector<std::string>{"song.mp3"});
    EXPECT_EQ(picker.driveList.Drive(), "D:");
    // The root and the open folder are shown open, the open one chosen: what Save stores.
    EXPECT_EQ(picker.folderList.Items(), (std::vector<std::string>{"D:\\", "  Music"}));
    EXPECT_EQ(picker.folderList.OpenItems(), 2);
    EXPECT_EQ(world.desktop.Window("frmUser")->Control("Dir1")->openItems, 2);
    EXPECT_EQ(picker.folderList.ListIndex(), 1);
    EXPECT_EQ(picker.folderList.Path(), "D:\\Music");
}

TEST_F(Picker, OptionsUserFolderShowsAHiddenPickerAgain) {
    FolderPicker& picker = Open();
    picker.Run("sHelp");
    world.app.Find<FolderPickerHelp>()->Run("sAbout");
    world.app.Find<AboutScreen>()->Run("sOptions");
    world.app.Find<CleanOptionsScreen>()->Run("sCookies");
    EXPECT_EQ(world.app.Find<FolderPicker>(), &picker);
    EXPECT_TRUE(picker.Visible());
}

}  // namespace
