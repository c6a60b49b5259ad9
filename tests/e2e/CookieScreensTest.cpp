// The two cookie screens of the real Morvane.exe, used as a user uses them: entries of the URL
// cache and cookies made the way a browser makes them, two of them kept by double click and
// saved, then `Morvane.exe A` cleaning the cache around them; files of the test's own in the
// Cookies folder, two of them moved down and deleted. Photographs of both screens go to the
// folder that MORVANE_SCREENSHOTS names, when it names one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/E2eWorld.h"

#include <shlobj.h>

namespace e2e {
namespace {

using Lines = std::vector<std::string>;

constexpr int kStartLimitMs = 30000;
constexpr int kStepLimitMs = 10000;
constexpr int kRunLimitMs = 60000;

const std::string kStartCaption = "  Kavlon Tarnwick----Main Start Page";
const std::string kCookiesCaption = "Kavlon Tarnwick----Save Your Cookies Here";
const Lines kStartBar = {"View Paths", "Options", "View Cookies", "User Folder", "Help", "About", "Close"};
const Lines kKeepBar = {"View Paths", "Options", "User Folder", "Save", "Cookies", "Help", "About", "Close"};
const Lines kFolderBar = {"View Paths", "Options", "User Folder", "Delete", "Internet", "Help", "About", "Close"};
// The top lists' headings tell the two screens apart; they share their caption.
const std::string kKeepHeading = "Internet Files Collected";
const std::string kFolderHeading = "Cookie Folder Files";

struct WindowsOf {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM context) {
    auto& windows = *reinterpret_cast<WindowsOf*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == windows.process && ::IsWindowVisible(window)) windows.found.push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleWindows(DWORD process) {
    WindowsOf search{process, {}};
    ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The visible cookie screen whose top list has this heading; nullptr when none came in time.
HWND WaitForCookieScreen(DWORD process, const std::string& heading, int milliseconds) {
    HWND screen = nullptr;
    WaitFor(
        [&] {
            for (HWND window : VisibleWindows(process)) {
                if (ReadText(window) == kCookiesCaption && ReadLabel(window, "Label2") == heading) screen = window;
            }
            return screen != nullptr;
        },
        milliseconds);
    return screen;
}

// The backdrop's status line: the visible window of the process titled by its Label1.
std::string StatusLine(DWORD process) {
    for (HWND window : VisibleWindows(process)) {
        if (ReadLabel(window, "Label1") == "Kavlon Tarnwick") return ReadLabel(window, "Label6");
    }
    return "(no backdrop)";
}

std::string Shown(DWORD process) {
    std::string out;
    for (const std::string& caption : VisibleCaptions(process)) out += "\n  \"" + caption + "\"";
    return out.empty() ? " none" : out;
}

Lines Without(Lines items, const Lines& gone) {
    for (const std::string& item : gone) {
        const auto found = std::find(items.begin(), items.end(), item);
        if (found != items.end()) items.erase(found);
    }
    return items;
}

Lines Joined(Lines first, const Lines& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

bool Contains(const Lines& items, const std::string& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// Clean.ini as Windows' own profile reader sees it: every section with its "key=value" lines.
std::map<std::string, Lines> ReadProfile(const std::string& path) {
    std::map<std::string, Lines> profile;
    std::vector<char> names(64 * 1024);
    const DWORD length = ::GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    for (const char* name = names.data(); name < names.data() + length && *name; name += std::strlen(name) + 1) {
        std::vector<char> lines(256 * 1024);
        const DWORD size = ::GetPrivateProfileSectionA(name, lines.data(), static_cast<DWORD>(lines.size()), path.c_str());
        Lines& section = profile[name];
        for (const char* line = lines.data(); line < lines.data() + size && *line; line += std::strlen(line) + 1) {
            section.push_back(line);
        }
    }
    return profile;
}

Lines KeepListLines(const Lines& names) {
    Lines lines;
    for (size_t i = 0; i < names.size(); ++i) lines.push_back("sFile" + std::to_string(i) + "=" + names[i]);
    return lines;
}

class CookieScreens : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(world.InstallMorvane(program)) << "Morvane.exe must lie beside this test program";
        world.MakeFolder(temp);
        const std::set<std::string> before = world.CacheNames();
        prefixEntries.assign(before.begin(), before.end());
        ASSERT_LT(prefixEntries.size(), 900u) << "the keep-list spares the prefix's own entries too";
    }

    // Starts the program resident, as the user starts it; with nothing chosen in Clean.ini the
    // start page opens, and its "View Cookies" the keep screen.
    HWND OpenKeepScreen(MorvaneRun& run) {
        const HWND start = WaitForWindow(run.Id(), kStartCaption, kStartLimitMs);
        EXPECT_NE(start, nullptr) << "no start page; shown:" << Shown(run.Id());
        if (!start) return nullptr;
        EXPECT_TRUE(ChooseMenu(start, kStartBar, "View Cookies"));
        const HWND keep = WaitForCookieScreen(run.Id(), kKeepHeading, kStepLimitMs);
        EXPECT_NE(keep, nullptr) << "no keep screen; shown:" << Shown(run.Id());
        return keep;
    }

    std::string Ini() const { return program + "\\Clean.ini"; }

    E2eWorld world;
    const std::string program = world.Path("Program");
    const std::string temp = world.Path("Temp");
    Lines prefixEntries;
};

TEST_F(CookieScreens, TwoEntriesKeptByDoubleClickAndSavedAreExactlyTheOnesTheCleanSpares) {
    const std::wstring host = win32::Widen(world.Marker()) + L".example";
    const Lines kept = {world.CommitCacheEntry(L"http://" + host + L"/Kept"), world.SetCookie(L"kept." + host)};
    const Lines gone = {world.CommitCacheEntry(L"http://" + host + L"/kept"),
                        world.CommitCacheEntry(L"http://" + host + L"/page"), world.SetCookie(L"gone." + host)};
    for (const std::string& name : Joined(kept, gone)) ASSERT_FALSE(name.empty()) << "an entry was not made";
    const std::string userFolder = world.Path("Mine");
    const Lines cookieKeepList = {world.Marker() + "-one.txt", world.Marker() + "-two.txt"};
    // Nothing chosen, so the start page opens; the prefix's own entries are kept already.
    std::string ini = "[User]\r\nsFile0=" + userFolder + "\r\n[Internet]\r\n";
    for (const std::string& line : KeepListLines(prefixEntries)) ini += line + "\r\n";
    ini += "[Cookies]\r\n";
    for (const std::string& line : KeepListLines(cookieKeepList)) ini += line + "\r\n";
    world.MakeFile(Ini(), ini + "[System]\r\nUsed=No\r\n");

    {
        MorvaneRun run(program + "\\Morvane.exe", "", temp);
        ASSERT_TRUE(run.Started());
        const HWND keep = OpenKeepScreen(run);
        ASSERT_NE(keep, nullptr);

        const Lines top = ReadList(keep, "List1");
        for (const std::string& name : Joined(kept, gone)) EXPECT_TRUE(Contains(top, name)) << name;
        EXPECT_EQ(ReadList(keep, "List2"), prefixEntries);
        EXPECT_EQ(ReadLabel(keep, "Label5"), std::to_string(top.size()));
        EXPECT_EQ(ReadLabel(keep, "Label4"), std::to_string(prefixEntries.size()));
        EXPECT_EQ(StatusLine(run.Id()), std::to_string(top.size()) + " Internet Files Collected !");

        for (const std::string& name : kept) EXPECT_TRUE(DoubleClickListItem(keep, "List1", name)) << name;
        EXPECT_TRUE(WaitFor([&] { return ReadList(keep, "List2").size() == prefixEntries.size() + 2; }, kStepLimitMs));
        EXPECT_EQ(ReadList(keep, "List1"), Without(top, kept));
        EXPECT_EQ(ReadList(keep, "List2"), Joined(prefixEntries, kept));
        EXPECT_EQ(ReadLabel(keep, "Label5"), std::to_string(top.size() - 2));
        EXPECT_EQ(ReadLabel(keep, "Label4"), std::to_string(prefixEntries.size() + 2));
        EXPECT_EQ(StatusLine(run.Id()), std::to_string(top.size()) + " Internet Files Collected !")
            << "the status keeps the count taken at activation";
        EXPECT_TRUE(SaveScreenshot("cookies-internet"));

        ASSERT_TRUE(ChooseMenu(keep, kKeepBar, "Save"));
        // The rebuilt top list reads the whole cache again, kept entries included.
        EXPECT_TRUE(WaitFor([&] { return ReadList(keep, "List1").size() == top.size(); }, kStepLimitMs))
            << "the top list was not rebuilt after Save";
        EXPECT_EQ(ReadList(keep, "List2"), Joined(prefixEntries, kept));
        EXPECT_EQ(ReadLabel(keep, "Label5"), std::to_string(top.size()));
        EXPECT_EQ(ReadLabel(keep, "Label4"), std::to_string(prefixEntries.size() + 2));
        EXPECT_TRUE(::IsWindowVisible(keep)) << "Save keeps the screen";

        // The rewrite carries the settings over and drops the keys their own writers make again.
        const std::map<std::string, Lines> expected = {
            {"User", {"sFile0=" + userFolder}},
            {"Delete", {"Temp=0", "Temporary Internet Files=0", "User=0"}},
            {"Internet", KeepListLines(Joined(prefixEntries, kept))},
            {"Cookies", KeepListLines(cookieKeepList)},
        };
        EXPECT_EQ(ReadProfile(Ini()), expected);

        ASSERT_TRUE(ChooseMenu(keep, kKeepBar, "Close"));
        EXPECT_TRUE(WaitForWindowGone(run.Id(), kCookiesCaption, kStepLimitMs));
        EXPECT_TRUE(WaitFor([&] { return VisibleWindows(run.Id()).empty(); }, kStepLimitMs))
            << "the close-all left:" << Shown(run.Id());
        EXPECT_FALSE(run.WaitForEnd(0)) << "the program stays resident after Close";
    }

    ASSERT_TRUE(::WritePrivateProfileStringA("Delete", "Temporary Internet Files", "Yes", Ini().c_str()));
    MorvaneRun clean(program + "\\Morvane.exe", "A", temp);
    ASSERT_TRUE(clean.Started());
    ASSERT_TRUE(clean.WaitForEnd(kRunLimitMs)) << "Morvane.exe A still runs; shown:" << Shown(clean.Id());
    EXPECT_EQ(clean.ExitCode(), 0u);
    std::set<std::string> survivors(prefixEntries.begin(), prefixEntries.end());
    survivors.insert(kept.begin(), kept.end());
    EXPECT_EQ(world.CacheNames(), survivors);
}

// The prefix's Cookies folder is shared: the test adds files with its marker in their names,
// and removes only those.
class CookieFolderScreen : public CookieScreens {
protected:
    void SetUp() override {
        CookieScreens::SetUp();
        wchar_t path[MAX_PATH] = {};
        // A new prefix may have no Cookies folder yet; Windows always has one.
        ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_COOKIES | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path),
                  S_OK);
        folder = win32::Narrow(path);
    }
    void TearDown() override {
        for (const std::string& name : FolderFiles()) {
            if (name.rfind(world.Marker() + "-", 0) == 0) ::DeleteFileW(win32::Widen(folder + "\\" + name).c_str());
        }
    }

    std::string MakeCookieFile(const std::string& stem) {
        const std::string name = world.Marker() + "-" + stem + ".txt";
        const win32::KernelHandle file(::CreateFileW(win32::Widen(folder + "\\" + name).c_str(), GENERIC_WRITE, 0,
                                                     nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        EXPECT_TRUE(file && ::WriteFile(file.Get(), "visitor=42", 10, &written, nullptr)) << name;
        return name;
    }

    // The names directly in the folder, sorted.
    Lines FolderFiles() {
        Lines names;
        WIN32_FIND_DATAW found;
        const win32::FindHandle search(::FindFirstFileW(win32::Widen(folder + "\\*").c_str(), &found));
        if (!search) return names;
        do {
            const std::string name = win32::Narrow(found.cFileName);
            if (name != "." && name != "..") names.push_back(name);
        } while (::FindNextFileW(search.Get(), &found));
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder;
};

TEST_F(CookieFolderScreen, TwoFilesMovedDownAreDeletedFromTheCookiesFolderAndNothingElse) {
    const Lines mine = {MakeCookieFile("a"), MakeCookieFile("b"), MakeCookieFile("c")};
    const Lines doomed = {mine[0], mine[2]};
    const Lines before = FolderFiles();

    MorvaneRun run(program + "\\Morvane.exe", "", temp);
    ASSERT_TRUE(run.Started());
    const HWND keep = OpenKeepScreen(run);
    ASSERT_NE(keep, nullptr);
    ASSERT_TRUE(ChooseMenu(keep, kKeepBar, "Cookies"));
    const HWND screen = WaitForCookieScreen(run.Id(), kFolderHeading, kStepLimitMs);
    ASSERT_NE(screen, nullptr) << "no cookie-folder screen; shown:" << Shown(run.Id());

    const Lines top = ReadList(screen, "List1");
    for (const std::string& name : mine) EXPECT_TRUE(Contains(top, name)) << name;
    EXPECT_EQ(ReadList(screen, "List2"), Lines{});
    EXPECT_EQ(ReadLabel(screen, "Label5"), std::to_string(top.size()));
    EXPECT_EQ(ReadLabel(screen, "Label4"), "0");
    EXPECT_EQ(StatusLine(run.Id()), std::to_string(top.size()) + " Cookie Folder Files !");

    for (const std::string& name : doomed) EXPECT_TRUE(DoubleClickListItem(screen, "List1", name)) << name;
    EXPECT_TRUE(WaitFor([&] { return ReadList(screen, "List2").size() == 2; }, kStepLimitMs));
    EXPECT_EQ(ReadList(screen, "List2"), doomed);
    EXPECT_EQ(ReadList(screen, "List1"), Without(top, doomed));
    EXPECT_EQ(ReadLabel(screen, "Label5"), std::to_string(top.size() - 2));
    EXPECT_EQ(ReadLabel(screen, "Label4"), "2");
    EXPECT_TRUE(SaveScreenshot("cookies-folder"));

    ASSERT_TRUE(ChooseMenu(screen, kFolderBar, "Delete"));
    EXPECT_TRUE(WaitFor([&] { return ReadList(screen, "List2").empty(); }, kStepLimitMs));
    EXPECT_EQ(FolderFiles(), Without(before, doomed));
    EXPECT_EQ(ReadList(screen, "List1"), Without(top, doomed));
    EXPECT_EQ(ReadLabel(screen, "Label5"), std::to_string(top.size() - 2));
    EXPECT_EQ(ReadLabel(screen, "Label4"), "0");
    EXPECT_TRUE(::IsWindowVisible(screen)) << "Delete keeps the screen";

    // "Internet" leads back to a keep screen built anew.
    ASSERT_TRUE(ChooseMenu(screen, kFolderBar, "Internet"));
    EXPECT_NE(WaitForCookieScreen(run.Id(), kKeepHeading, kStepLimitMs), nullptr) << "shown:" << Shown(run.Id());
}

}  // namespace
}  // namespace e2e
