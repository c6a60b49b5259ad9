// The configuration screens of the real Morvane.exe, used as a user uses them: from a first
// start (no Clean.ini) through the clean options, the folder picker and the paths view to an
// interactive clean; the picker's refusals; the help pages' way back; the close-all that
// leaves the program resident. Every step waits for what the user would see.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/win32/WideText.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/E2eWorld.h"

#include <wininet.h>

namespace e2e {
namespace {

using Bar = std::vector<std::string>;

constexpr int kStartMs = 30000;
constexpr int kStepMs = 10000;
constexpr int kCleanMs = 60000;

const std::string kStartPage = "  Kavlon Tarnwick----Main Start Page";
const std::string kOptions = "  Kavlon Tarnwick----Choose The Folders You Want To Clean";
const std::string kPicker = "Kavlon Tarnwick-----User Designated Folder To Clean";
const std::string kPaths = "  Kavlon Tarnwick----Paths To Be Cleaned";
const std::string kAbout = "  Kavlon Tarnwick----About File";
const std::string kStartHelp = "  Kavlon Tarnwick----Close Will  Take You Back To Main Start Page";
const std::string kOptionsHelp = "  Kavlon Tarnwick----Close Will  Take You Back To Options Page";
const std::string kPickerHelp = "  Kavlon Tarnwick----Close Will  Take You Back";
const std::string kCookiesHelp = "  Kavlon Tarnwick----Close Will  Take You Back To Cookies Page";
const std::string kCookies = "Kavlon Tarnwick----Save Your Cookies Here";

const Bar kStartBar = {"View Paths", "Options", "View Cookies", "User Folder", "Help", "About", "Close"};
const Bar kOptionsBar = {"View Paths", "View Cookies", "User Folder", "Clean Now", "Help", "About", "Close", "All Targets"};
const Bar kCleanNowMenu = {"Are You Sure?"};
const Bar kPickerBar = {"View Paths", "Options", "View Cookies", "Save", "Help", "About", "Close"};
const Bar kPathsBar = {"Options", "View Cookies", "User Folder", "About", "Close"};
const Bar kAboutBar = {"View Paths", "Options", "View Cookies", "User Folder", "Close"};
const Bar kHelpBar = {"Close", "About"};
const Bar kCookiesHelpBar = {"Close", "About", "Cookies"};
const Bar kInternetBar = {"View Paths", "Options", "User Folder", "Save", "Cookies", "Help", "About", "Close"};
const Bar kCookieFolderBar = {"View Paths", "Options", "User Folder", "Delete", "Internet", "Help", "About", "Close"};

const std::vector<int> kOkOnly = {IDOK};
const std::vector<int> kYesNo = {IDYES, IDNO};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

std::string Listed(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += "\n  [" + line + "]";
    return out.empty() ? " none" : out;
}

// The item of a list that stands for a folder, by the folder's name in any letter case, as the
// list spells it (without the indent); "" when there is none.
std::string ItemNamed(const std::vector<std::string>& items, const std::string& name) {
    for (const std::string& item : items) {
        const std::string text = item.substr(std::min(item.find_first_not_of(' '), item.size()));
        if (Upper(text) == Upper(name)) return text;
    }
    return {};
}

// Top-level windows of the process, also the hidden ones, of one window class.
std::vector<HWND> WindowsOfClass(DWORD process, const wchar_t* className) {
    std::vector<HWND> found = TopLevelWindows(process);
    std::erase_if(found, [&](HWND window) { return ClassOf(window) != win32::Narrow(className); });
    return found;
}

bool Shown(HWND window) { return window && ::IsWindow(window) && ::IsWindowVisible(window); }

POINT CentreOf(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class Screens : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(world.InstallMorvane(program)) << "Morvane.exe must lie beside this test program";
        world.MakeFolder(temp);
        world.MakeFolder(pick);
    }

    // Starts the program as the user does; with nothing chosen yet the start page opens.
    HWND Start() {
        run.emplace(program + "\\Morvane.exe", "", temp);
        EXPECT_TRUE(run->Started());
        const HWND start = WaitForWindow(Id(), kStartPage, kStartMs);
        EXPECT_NE(start, nullptr) << "no start page; shown:" << Listed(VisibleCaptions(Id()));
        return start;
    }

    DWORD Id() const { return run->Id(); }

    // Chooses an item of a screen's menu bar and waits for the screen it leads to.
    HWND Go(HWND from, const Bar& bar, const std::string& item, const std::string& to) {
        EXPECT_TRUE(ChooseMenu(from, bar, item)) << item;
        const HWND screen = WaitForWindow(Id(), to, kStepMs);
        EXPECT_NE(screen, nullptr) << "\"" << item << "\" did not lead to [" << to
                                   << "]; shown:" << Listed(VisibleCaptions(Id()));
        return screen;
    }

    // The cookie screens share a caption; their top lists' headings tell them apart.
    HWND GoToCookieScreen(HWND from, const Bar& bar, const std::string& item, const std::string& heading) {
        EXPECT_TRUE(ChooseMenu(from, bar, item)) << item;
        HWND screen = nullptr;
        const bool reached = WaitFor(
            [&] {
                screen = WaitForWindow(Id(), kCookies, 0);
                return screen && ReadLabel(screen, "Label2") == heading;
            },
            kStepMs);
        if (!reached) screen = nullptr;
        EXPECT_NE(screen, nullptr) << "\"" << item << "\" did not lead to the cookie screen " << heading
                                   << "; shown:" << Listed(VisibleCaptions(Id()));
        return screen;
    }

    // The backdrop: the one window without a caption.
    HWND Backdrop() { return WaitForBackdrop(Id(), 0); }
    std::string Status() { return ReadLabel(Backdrop(), "Label6"); }
    // Waits for the status line to read this; what it reads.
    std::string StatusBecomes(const std::string& text) {
        WaitFor([&] { return Status() == text; }, kStepMs);
        return Status();
    }

    MessageBoxSeen Box() {
        const MessageBoxSeen box = WaitForMessageBox(Id(), kStepMs);
        EXPECT_NE(box.window, nullptr) << "no message box; shown:" << Listed(VisibleCaptions(Id()));
        return box;
    }

    std::string Setting(const char* section, const char* key) {
        wchar_t value[1024] = {};
        ::GetPrivateProfileStringW(win32::Widen(section).c_str(), win32::Widen(key).c_str(), L"(absent)", value, 1024,
                                   win32::Widen(ini).c_str());
        return win32::Narrow(value);
    }

    // Opens a folder in the picker's directory list the way a user does: a double click on the
    // root at its top, then on each folder down to it. Returns the path as the list spells it.
    std::string OpenFolder(HWND picker, const std::string& path) {
        std::string opened = path.substr(0, 3);
        if (!DoubleClickListItem(picker, "Dir1", opened)) {
            ADD_FAILURE() << "no " << opened << " in the directory list:" << Listed(ReadList(picker, "Dir1"));
            return {};
        }
        for (size_t at = 3; at < path.size();) {
            const size_t end = std::min(path.find('\\', at), path.size());
            const std::string item = ItemNamed(ReadList(picker, "Dir1"), path.substr(at, end - at));
            if (item.empty() || !DoubleClickListItem(picker, "Dir1", item)) {
                ADD_FAILURE() << "no " << path.substr(at, end - at)
                              << " in the directory list:" << Listed(ReadList(picker, "Dir1"));
                return {};
            }
            opened += (opened.size() > 3 ? "\\" : "") + item;
            at = end + 1;
        }
        return opened;
    }

    // Waits until the control of the window has the keyboard focus.
    bool FocusMovesTo(HWND window, const char* name) {
        return WaitFor([&] { return FocusOf(window) == Control(window, name); }, kStepMs);
    }

    // Once every screen is closed only the hidden main window is left, and the program runs on.
    void ExpectResident() {
        EXPECT_TRUE(WaitFor([&] { return VisibleCaptions(Id()).empty(); }, kStepMs))
            << "still shown:" << Listed(VisibleCaptions(Id()));
        EXPECT_TRUE(WaitFor([&] { return WindowsOfClass(Id(), L"MorvaneForm").size() == 1; }, kStepMs))
            << WindowsOfClass(Id(), L"MorvaneForm").size() << " windows of the program are left";
        EXPECT_FALSE(run->WaitForEnd(300)) << "the program stays resident";
    }

    E2eWorld world;
    const std::string program = world.Path("Program");
    const std::string temp = world.Path("Temp");
    const std::string pick = world.Path("Pick");
    const std::string ini = program + "\\Clean.ini";
    std::optional<MorvaneRun> run;
};

TEST_F(Screens, AFirstRunChoosesTempAndCacheAndAFolderThenCleansWhatWasChosenAndStaysResident) {
    world.MakeFile(temp + "\\loose.tmp", "loose");
    world.MakeFile(temp + "\\nested\\deeper\\leaf.txt", "leaf");
    world.MakeFile(temp + "\\readonly.txt", "read only", FILE_ATTRIBUTE_READONLY);
    world.MakeFile(pick + "\\notes.txt", "mine");
    world.MakeFile(pick + "\\Archive.zip", "zip");
    world.MakeFile(pick + "\\hidden.ini", "hidden", FILE_ATTRIBUTE_HIDDEN);
    world.MakeFile(pick + "\\inner\\deep.txt", "deep");
    const auto picked = world.Contents(pick);
    const std::wstring host = win32::Widen(world.Marker()) + L".example";
    const std::vector<std::string> entries = {world.CommitCacheEntry(L"http://" + host + L"/page"),
                                              world.CommitCacheEntry(L"http://" + host + L"/style"),
                                              world.SetCookie(host)};
    for (const std::string& entry : entries) ASSERT_FALSE(entry.empty()) << "a cache entry was not made";

    // The first start: backdrop and start page.
    const HWND start = Start();
    ASSERT_NE(start, nullptr);
    ASSERT_NE(Backdrop(), nullptr);
    EXPECT_EQ(ReadLabel(Backdrop(), "Label1"), "Kavlon Tarnwick");
    EXPECT_EQ(StatusBecomes("Make a selection to get started!"), "Make a selection to get started!");
    EXPECT_EQ(ReadLabel(start, "Label1"), "Kavlon");
    EXPECT_EQ(ReadLabel(start, "Label3"), "Tarnwick Utility");
    EXPECT_TRUE(SaveScreenshot("start-page"));

    // Two options, each stored the moment it is ticked.
    const HWND options = Go(start, kStartBar, "Options", kOptions);
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(Shown(start));
    EXPECT_EQ(StatusBecomes("Select the options to clean!"), "Select the options to clean!");
    EXPECT_EQ(ReadLabel(options, "Check1"), "Your Selected Folder");
    EXPECT_EQ(ReadLabel(options, "Check2"), "Temp Folder");
    EXPECT_EQ(ReadLabel(options, "Check3"), "Clean Cookie Files");
    for (const char* box : {"Check1", "Check2", "Check3"}) EXPECT_FALSE(IsChecked(options, box)) << box;
    EXPECT_TRUE(ClickCheckBox(options, "Check2"));
    EXPECT_TRUE(ClickCheckBox(options, "Check3"));
    EXPECT_EQ(Setting("Delete", "Temp"), "Yes");
    EXPECT_EQ(Setting("Delete", "Temporary Internet Files"), "Yes");
    EXPECT_EQ(Setting("Delete", "User"), "(absent)");
    EXPECT_TRUE(SaveScreenshot("options"));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(start); }, kStepMs)) << "the start page is destroyed";

    // The folder, opened with double clicks and saved through the warning.
    const HWND picker = Go(options, kOptionsBar, "User Folder", kPicker);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(StatusBecomes("Select a folder to be cleaned!"), "Select a folder to be cleaned!");
    EXPECT_EQ(ReadList(picker, "Drive1"), std::vector<std::string>{"C:"});
    const std::string folder = OpenFolder(picker, pick);
    ASSERT_EQ(Upper(folder), Upper(pick));
    EXPECT_EQ(ReadList(picker, "File1"), (std::vector<std::string>{"Archive.zip", "notes.txt"}))
        << "the open folder's files, by name, without hidden ones";
    EXPECT_TRUE(SaveScreenshot("folder-picker"));
    ASSERT_TRUE(ChooseMenu(picker, kPickerBar, "Save"));
    const MessageBoxSeen warning = Box();
    ASSERT_NE(warning.window, nullptr);
    EXPECT_EQ(warning.caption, "Kavlon Info.....");
    EXPECT_EQ(warning.text, "Warning, you have designated the following file\r\r" + std::string(20, ' ') + folder +
                                "\r\r    To be cleaned when the program runs\r\r" + std::string(14, ' ') +
                                "Do you want to continue !!!");
    EXPECT_EQ(warning.buttons, kYesNo);
    EXPECT_FALSE(Shown(picker)) << "the picker hides while the user decides";
    EXPECT_EQ(Status(), "Warning.....Warning !!!");
    EXPECT_TRUE(SaveScreenshot("folder-picker-warning"));
    ASSERT_TRUE(AnswerMessageBox(warning, IDYES));
    EXPECT_TRUE(WaitFor([&] { return Shown(picker); }, kStepMs)) << "Save ends on the picker";
    EXPECT_EQ(Setting("User", "sFile0"), folder);
    EXPECT_EQ(Setting("System", "Used"), "No");
    EXPECT_EQ(StatusBecomes("This is the folder you have selected!"), "This is the folder you have selected!");

    // The paths view lists the folder last, marked as the user's own.
    const HWND paths = Go(picker, kPickerBar, "View Paths", kPaths);
    ASSERT_NE(paths, nullptr);
    EXPECT_EQ(StatusBecomes("Location of files to be cleaned!"), "Location of files to be cleaned!");
    const std::vector<std::string> rows = ReadList(paths, "List1");
    ASSERT_EQ(rows.size(), 4u) << Listed(rows);
    EXPECT_NE(rows[0], "") << "the cache folder";
    EXPECT_NE(rows[1], "") << "the Cookies folder";
    EXPECT_EQ(rows[2], temp);
    EXPECT_EQ(rows[3], folder + " \"Your file!\"");
    EXPECT_GT(ListScrollWidth(paths, "List1"), 0) << "a long path can be scrolled to its end";
    EXPECT_TRUE(ScrollListRight(paths, "List1"));
    EXPECT_TRUE(SaveScreenshot("paths"));

    // Back on the options, rebuilt from the file, the clean.
    const HWND again = Go(paths, kPathsBar, "Options", kOptions);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(IsChecked(again, "Check1"));
    EXPECT_TRUE(IsChecked(again, "Check2"));
    EXPECT_TRUE(IsChecked(again, "Check3"));
    // Nothing is on the keep-list, so the program asks first, and the clean empties the whole
    // cache of this prefix, as it would the user's.
    ASSERT_TRUE(ChooseMenu(again, kOptionsBar, "Clean Now", kCleanNowMenu, "Are You Sure?"));
    const MessageBoxSeen question = Box();
    ASSERT_NE(question.window, nullptr);
    EXPECT_EQ(question.caption, "For Your Information.....");
    EXPECT_EQ(question.text, "You have not saved any Cookies !\r\rDo you want to continue?");
    EXPECT_EQ(question.buttons, kYesNo);
    EXPECT_FALSE(Shown(again)) << "the options hide before the first question";
    EXPECT_EQ(Status(), "Cleaning Files Now !");
    ASSERT_TRUE(AnswerMessageBox(question, IDYES));

    const MessageBoxSeen finished = WaitForMessageBox(Id(), kCleanMs);
    ASSERT_NE(finished.window, nullptr) << "no final message; shown:" << Listed(VisibleCaptions(Id()));
    EXPECT_EQ(finished.caption, "Kavlon Tarnwick.....");
    EXPECT_EQ(finished.text, "All Files Cleaned!");
    EXPECT_EQ(finished.buttons, kOkOnly);
    EXPECT_EQ(Status(), "All Finished Cleaning Files !");
    EXPECT_TRUE(SaveScreenshot("clean-finished"));

    EXPECT_TRUE(world.Exists(temp));
    EXPECT_EQ(world.Tree(temp), std::vector<std::string>{}) << "the Temp folder is emptied";
    EXPECT_EQ(world.Contents(pick), picked) << "the folder was chosen, its box was not";
    const std::set<std::string> cache = world.CacheNames();
    for (const std::string& entry : entries) EXPECT_EQ(cache.count(entry), 0u) << entry;
    EXPECT_EQ(Setting("User", "sFile0"), folder) << "a clean changes no setting";

    ASSERT_TRUE(AnswerMessageBox(finished, IDOK));
    ExpectResident();
}

TEST_F(Screens, ThePickerRefusesTheRootAndTheWindowsFolderAndKeepsTheFolderStoredBefore) {
    const std::string stored = pick;
    world.MakeFile(ini, "[User]\r\nsFile0=" + stored + "\r\n");
    world.MakeFolder(pick + "\\sub");

    const HWND start = Start();
    ASSERT_NE(start, nullptr);
    const HWND picker = Go(start, kStartBar, "User Folder", kPicker);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(StatusBecomes("This is the folder you have selected!"), "This is the folder you have selected!");
    EXPECT_NE(ItemNamed(ReadList(picker, "Dir1"), "sub"), "") << "the picker opens on the stored folder";

    struct Refusal {
        std::string folder;
        std::string text;
        std::string picture;
    };
    wchar_t windows[MAX_PATH] = {};
    ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::vector<Refusal> refusals = {
        {"C:\\", "You have selected the root file to clean\r\rPlease select another File !!!!", "refusal-root"},
        {win32::Narrow(windows), "You have selected a system file to clean\r\rPlease select another File !!!!",
         "refusal-windows"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.folder);
        ASSERT_EQ(Upper(OpenFolder(picker, refusal.folder)), Upper(refusal.folder));
        ASSERT_TRUE(ChooseMenu(picker, kPickerBar, "Save"));
        const MessageBoxSeen box = Box();
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.caption, "Kavlon Info.....");
        EXPECT_EQ(box.text, refusal.text);
        EXPECT_EQ(box.buttons, kOkOnly);
        EXPECT_FALSE(Shown(picker));
        EXPECT_EQ(Status(), "Program will not clean this File!!");
        EXPECT_EQ(Setting("System", "Used"), "Yes");
        EXPECT_TRUE(SaveScreenshot(refusal.picture));
        ASSERT_TRUE(AnswerMessageBox(box, IDOK));

        // The picker comes back on the folder stored before and asks for another.
        EXPECT_TRUE(WaitFor([&] { return Shown(picker); }, kStepMs));
        EXPECT_EQ(StatusBecomes("Please select another folder !"), "Please select another folder !");
        EXPECT_NE(ItemNamed(ReadList(picker, "Dir1"), "sub"), "") << Listed(ReadList(picker, "Dir1"));
        EXPECT_EQ(Setting("User", "sFile0"), stored);
    }

    // Close: picker and backdrop go at once; leaving resets the flag.
    ASSERT_TRUE(ChooseMenu(picker, kPickerBar, "Close"));
    EXPECT_TRUE(WaitFor([&] { return VisibleCaptions(Id()).empty(); }, kStepMs));
    EXPECT_EQ(Setting("System", "Used"), "No");
    ExpectResident();
}

TEST_F(Screens, HelpKeepsTheStartPageAndThePickerAsTheyWereButTheOptionsAreRebuilt) {
    world.MakeFolder(pick + "\\inner");
    const HWND start = Start();
    ASSERT_NE(start, nullptr);

    // The start page waits, hidden, behind its help page and comes back as it was.
    const HWND startHelp = Go(start, kStartBar, "Help", kStartHelp);
    ASSERT_NE(startHelp, nullptr);
    EXPECT_EQ(StatusBecomes("Hope this information helps!"), "Hope this information helps!");
    EXPECT_TRUE(ReadLabel(startHelp, "Label1").starts_with("This program will clean all the \"Cookies\""));
    EXPECT_TRUE(SaveScreenshot("help-start-page"));
    Wait(300);  // longer than the start page's destroy timer, which an open command would have started
    EXPECT_TRUE(::IsWindow(start) && !::IsWindowVisible(start)) << "the start page is kept, hidden";
    EXPECT_EQ(Go(startHelp, kHelpBar, "Close", kStartPage), start) << "the same start page, not a new one";
    EXPECT_EQ(StatusBecomes("Make a selection to get started!"), "Make a selection to get started!");
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(startHelp); }, kStepMs)) << "the help page is destroyed";

    // The options go when their help opens and are built anew, from the file, on its Close.
    const HWND options = Go(start, kStartBar, "Options", kOptions);
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(ClickCheckBox(options, "Check1"));
    const HWND optionsHelp = Go(options, kOptionsBar, "Help", kOptionsHelp);
    ASSERT_NE(optionsHelp, nullptr);
    EXPECT_TRUE(ReadLabel(optionsHelp, "Label1").starts_with("Here you can designate the files you want to clean"));
    EXPECT_TRUE(SaveScreenshot("help-options"));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(options); }, kStepMs)) << "the options are destroyed";
    const HWND rebuilt = Go(optionsHelp, kHelpBar, "Close", kOptions);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_NE(rebuilt, options);
    EXPECT_TRUE(IsChecked(rebuilt, "Check1")) << "read back from Clean.ini";
    EXPECT_EQ(Setting("Delete", "User"), "Yes");

    // The picker keeps the folder the user opened, saved or not.
    const HWND picker = Go(rebuilt, kOptionsBar, "User Folder", kPicker);
    ASSERT_NE(picker, nullptr);
    const std::string folder = OpenFolder(picker, pick);
    ASSERT_EQ(Upper(folder), Upper(pick));
    const std::vector<std::string> browsed = ReadList(picker, "Dir1");
    const HWND pickerHelp = Go(picker, kPickerBar, "Help", kPickerHelp);
    ASSERT_NE(pickerHelp, nullptr);
    EXPECT_TRUE(ReadLabel(pickerHelp, "Label1").starts_with("This form allows you to designate a folder"));
    EXPECT_TRUE(SaveScreenshot("help-folder-picker"));
    EXPECT_EQ(Go(pickerHelp, kHelpBar, "Close", kPicker), picker);
    EXPECT_EQ(ReadList(picker, "Dir1"), browsed);
    EXPECT_EQ(Setting("User", "sFile0"), "(absent)") << "browsing stores nothing";

    // About, and its Close closes every screen; the program stays.
    const HWND about = Go(picker, kPickerBar, "About", kAbout);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(StatusBecomes("About this program!"), "About this program!");
    EXPECT_EQ(ReadLabel(about, "Label1"), "Kavlon Tarnwick Utility");
    EXPECT_EQ(ReadLabel(about, "Label2"), "Version  2.6.01");
    EXPECT_TRUE(SaveScreenshot("about"));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(picker); }, kStepMs)) << "About destroys the picker";
    ASSERT_TRUE(ChooseMenu(about, kAboutBar, "Close"));
    ExpectResident();
}

TEST_F(Screens, TheCookieHelpPagesLeadBackToTheirScreensAndOnToTheCookieFolder) {
    const HWND start = Start();
    ASSERT_NE(start, nullptr);
    const HWND internet = GoToCookieScreen(start, kStartBar, "View Cookies", "Internet Files Collected");
    ASSERT_NE(internet, nullptr);

    // The internet screen's help: Close rebuilds the screen, "Cookies" leads on.
    HWND help = Go(internet, kInternetBar, "Help", kCookiesHelp);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(ReadLabel(help, "Label1").starts_with("This form shows all of the \"Cookies\" you have accumulated in "
                                                      "your travels"));
    EXPECT_TRUE(SaveScreenshot("help-internet-cookies"));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(internet); }, kStepMs)) << "the internet screen is destroyed";
    const HWND internetAgain = GoToCookieScreen(help, kCookiesHelpBar, "Close", "Internet Files Collected");
    ASSERT_NE(internetAgain, nullptr);
    EXPECT_NE(internetAgain, internet);
    help = Go(internetAgain, kInternetBar, "Help", kCookiesHelp);
    ASSERT_NE(help, nullptr);
    const HWND folder = GoToCookieScreen(help, kCookiesHelpBar, "Cookies", "Cookie Folder Files");
    ASSERT_NE(folder, nullptr);

    // The cookie-folder screen's help keeps the screen.
    const HWND folderHelp = Go(folder, kCookieFolderBar, "Help", kCookiesHelp);
    ASSERT_NE(folderHelp, nullptr);
    EXPECT_TRUE(ReadLabel(folderHelp, "Label1").starts_with("This form shows all of the \"Cookies\" you have "
                                                            "accumulated in your Cookie folder."));
    EXPECT_EQ(StatusBecomes("Hope this information helps!"), "Hope this information helps!");
    EXPECT_TRUE(SaveScreenshot("help-cookie-folder"));
    EXPECT_EQ(GoToCookieScreen(folderHelp, kHelpBar, "Close", "Cookie Folder Files"), folder);
    ASSERT_TRUE(ChooseMenu(folder, kCookieFolderBar, "Close"));
    ExpectResident();
}

TEST_F(Screens, AClickOnTheBackdropLeavesTheScreenInFrontAndActiveAndNoWindowTakesATaskBarButton) {
    const HWND start = Start();
    ASSERT_NE(start, nullptr);
    const std::string status = "Make a selection to get started!";
    ASSERT_EQ(StatusBecomes(status), status);
    const HWND backdrop = Backdrop();
    ASSERT_NE(backdrop, nullptr);
    const POINT centre = CentreOf(start);
    ASSERT_EQ(TopLevelAt(centre), start);

    // Beside the screen, between the title and the status line.
    ClickAt({30, 400});
    ASSERT_EQ(TopLevelAt({30, 400}), backdrop);
    Wait(500);
    EXPECT_EQ(TopLevelAt(centre), start) << "the screen stays in front";
    EXPECT_EQ(::GetForegroundWindow(), start) << "and active";
    EXPECT_EQ(Status(), status);

    // Activated some other way, the backdrop hands the activation back.
    ::SetForegroundWindow(backdrop);
    EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == start; }, kStepMs));
    EXPECT_EQ(TopLevelAt(centre), start);
    EXPECT_EQ(StatusBecomes(status), status);

    // A task bar shows a button for a shown window that no window owns and that is no tool
    // window; the task switcher leaves out tool windows and the windows they own.
    const HWND options = Go(start, kStartBar, "Options", kOptions);
    ASSERT_NE(options, nullptr);
    ClickAt({30, 400});
    Wait(500);
    EXPECT_EQ(TopLevelAt(CentreOf(options)), options);
    EXPECT_NE(::GetWindowLongPtrW(backdrop, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0) << "the backdrop is a tool window";
    for (HWND window : WindowsOfClass(Id(), L"MorvaneForm")) {
        if (!::IsWindowVisible(window) || window == backdrop) continue;
        EXPECT_EQ(::GetWindow(window, GW_OWNER), backdrop) << ReadText(window);
    }
}

TEST_F(Screens, UserFolderOnTheAboutScreenShowsThePickerKeptBehindItsHelpPage) {
    const HWND start = Start();
    ASSERT_NE(start, nullptr);
    const HWND picker = Go(start, kStartBar, "User Folder", kPicker);
    ASSERT_NE(picker, nullptr);
    const HWND help = Go(picker, kPickerBar, "Help", kPickerHelp);
    ASSERT_NE(help, nullptr);
    const HWND about = Go(help, kHelpBar, "About", kAbout);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(::IsWindow(picker) && !::IsWindowVisible(picker)) << "kept, hidden";
    EXPECT_EQ(Go(about, kAboutBar, "User Folder", kPicker), picker) << "the picker that was kept, shown";
    EXPECT_EQ(StatusBecomes("Select a folder to be cleaned!"), "Select a folder to be cleaned!");
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); }, kStepMs)) << "the about screen goes as after any command";
}

TEST_F(Screens, TabAndShiftTabVisitTheControlsInOrderSpaceTicksTheFocusedBoxAndEnterOpensAFolder) {
    world.MakeFile(pick + "\\inner\\deep.txt", "deep");
    const HWND start = Start();
    ASSERT_NE(start, nullptr);
    const HWND options = Go(start, kStartBar, "Options", kOptions);
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(FocusMovesTo(options, "Check1")) << "the first box has the focus";
    for (const char* next : {"Check2", "Check3", "Check1"}) {
        PressKey(VK_TAB);
        EXPECT_TRUE(FocusMovesTo(options, next)) << "Tab to " << next;
    }
    PressKey(VK_TAB, true);
    EXPECT_TRUE(FocusMovesTo(options, "Check3")) << "Shift+Tab goes back";
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return IsChecked(options, "Check3"); }, kStepMs)) << "Space ticks the focused box";
    EXPECT_EQ(Setting("Delete", "Temporary Internet Files"), "Yes") << "and stores it as a click does";

    const HWND picker = Go(options, kOptionsBar, "User Folder", kPicker);
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(FocusMovesTo(picker, "Drive1"));
    for (const char* next : {"Dir1", "File1", "Drive1"}) {
        PressKey(VK_TAB);
        EXPECT_TRUE(FocusMovesTo(picker, next)) << "Tab to " << next;
    }
    PressKey(VK_TAB, true);
    EXPECT_TRUE(FocusMovesTo(picker, "File1")) << "Shift+Tab goes back";

    ASSERT_EQ(Upper(OpenFolder(picker, pick)), Upper(pick));
    ASSERT_TRUE(SelectListItem(picker, "Dir1", ItemNamed(ReadList(picker, "Dir1"), "inner")));
    EXPECT_TRUE(FocusMovesTo(picker, "Dir1"));
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return ReadList(picker, "File1") == std::vector<std::string>{"deep.txt"}; }, kStepMs))
        << "Enter opens the chosen folder:" << Listed(ReadList(picker, "File1"));
}

TEST_F(Screens, AMinimisedScreenComesBackTheKeyboardReachesTheMenuBarFromAnyControlAndEscIsClose) {
    const HWND start = Start();
    ASSERT_NE(start, nullptr);
    ::ShowWindow(start, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(start) != FALSE; }, kStepMs));
    ClickAt({30, 400});  // the backdrop
    EXPECT_TRUE(WaitFor([&] { return !::IsIconic(start) && ::GetForegroundWindow() == start; }, kStepMs))
        << "a click on the backdrop brings the screen back in front";

    // Alt and F10 from the drive list, where the focus starts; Esc leaves the menu, then closes.
    const HWND picker = Go(start, kStartBar, "User Folder", kPicker);
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(FocusMovesTo(picker, "Drive1"));
    const auto InMenu = [](HWND window) {
        GUITHREADINFO info = {sizeof(info)};
        return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & GUI_INMENUMODE);
    };
    for (const WORD key : {VK_MENU, VK_F10}) {
        PressKey(key);
        EXPECT_TRUE(WaitFor([&] { return InMenu(picker); }, kStepMs)) << "key " << key;
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitFor([&] { return !InMenu(picker); }, kStepMs));
    }
    EXPECT_TRUE(Shown(picker));
    PressKey(VK_ESCAPE);
    ExpectResident();
}

// Over a large cache: listed beside the windows, which keep answering (as during a clean, one
// answer in a hundred may wait for the shared wineserver), while the start page stays shown.
TEST_F(Screens, TheBusyPointerStaysUntilTheCookieScreenIsShownAndTheWindowsAnswerMeanwhile) {
    const std::string site = "http://" + world.Marker() + ".example/";
    for (int i = 0; i < 11500; ++i) {
        ::CommitUrlCacheEntryA((site + std::to_string(i)).c_str(), nullptr, {}, {}, NORMAL_CACHE_ENTRY, nullptr, 0,
                               nullptr, nullptr);
    }
    const struct Forget {
        std::string site;
        ~Forget() {
            for (int i = 0; i < 11500; ++i) ::DeleteUrlCacheEntryA((site + std::to_string(i)).c_str());
        }
    } forget{site};
    const HWND start = Start();
    ASSERT_NE(start, nullptr);
    ASSERT_EQ(StatusBecomes("Make a selection to get started!"), "Make a selection to get started!");
    // The pointer of the program's thread, which has the foreground: the arrow now.
    const auto pointer = [] {
        CURSORINFO info = {};
        info.cbSize = sizeof(info);
        return ::GetCursorInfo(&info) ? info.hCursor : nullptr;
    };
    const HCURSOR arrow = pointer();
    ASSERT_NE(arrow, nullptr);

    ASSERT_TRUE(ChooseMenu(start, kStartBar, "View Cookies"));
    // Watched as closely as the machine allows, the pointer first, then whether the screen is
    // there: an arrow seen while the screen is not shown was the arrow before the screen was.
    bool busySeen = false, startLeftFirst = false;
    int idleBeforeShown = 0;
    std::vector<ULONGLONG> waits;
    const ULONGLONG until = ::GetTickCount64() + kCleanMs;
    for (;;) {
        const HCURSOR now = pointer();
        const bool startShown = Shown(start);
        if (WaitForWindow(Id(), kCookies, 0)) break;
        if (now != arrow) busySeen = true;
        if (now == arrow && busySeen) ++idleBeforeShown;
        startLeftFirst = startLeftFirst || (!startShown && !WaitForWindow(Id(), kCookies, 300));
        const ULONGLONG sent = ::GetTickCount64();
        DWORD_PTR result = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(Backdrop(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result)) << "no answer";
        waits.push_back(::GetTickCount64() - sent);
        ASSERT_LT(::GetTickCount64(), until) << "no cookie screen; shown:" << Listed(VisibleCaptions(Id()));
    }
    EXPECT_TRUE(busySeen) << "the command shows the busy pointer";
    EXPECT_EQ(idleBeforeShown, 0) << "the pointer went back to the arrow before the screen was shown";
    EXPECT_FALSE(startLeftFirst) << "the start page keeps showing until the keep screen takes its place";
    std::sort(waits.begin(), waits.end(), std::greater<>());
    ASSERT_GE(waits.size(), 20u);
    EXPECT_LE(waits[waits.size() / 100], 50u) << "ms, of " << waits.size() << " answers";
    EXPECT_LE(waits.front(), 250u) << "ms, the slowest of " << waits.size() << " answers";
    EXPECT_TRUE(WaitFor([&] { return pointer() == arrow; }, kStepMs)) << "and back to the arrow once it is";
}

}  // namespace
}  // namespace e2e
