// The screens on real windows, where only the real desktop can tell: whether a text fits the
// control that shows it in the control's own font, at every display size, and whether two
// controls that meet in the design meet on the screen without a pixel of overlap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/CleanRunWindows.h"
#include "forms/Application.h"
#include "platform/win32/ControlIds.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Gdi.h"
#include "screens/StartPage.h"
#include "screens/Backdrop.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/InternetKeepScreen.h"
#include "screens/CookieFolderScreen.h"
#include "screens/AboutScreen.h"
#include "screens/TargetsScreen.h"
#include "screens/HelpPages.h"
#include "screens/PathsView.h"
#include "screens/FolderPicker.h"
#include "support/HeadlessWorld.h"
#include "tests/win32/world/DesktopDriver.h"
#include "ui/ProportionalLayout.h"

namespace {

// The screens' data from fakes, their windows on the real desktop.
struct ScreensOnWindows : testing::Test, testing_support::FakePorts {
    ScreensOnWindows() {
        env.programFolder = "C:\\Apps";
        files.AddFolder("C:\\Apps");
        folders.SetFolder(33, "C:\\Cookies");
        files.AddFolder("C:\\Cookies");
    }
    ~ScreensOnWindows() override {
        for (forms::Form* form : app.Forms()) app.Unload(*form);
    }

    static HWND Of(const forms::Form& form, const char* control) {
        return ::GetDlgItem(reinterpret_cast<HWND>(form.Handle()), win32::ControlIdOf(control));
    }
    static RECT RectOf(HWND window) {
        RECT rect = {};
        ::GetWindowRect(window, &rect);
        return rect;
    }

    win32::Win32Desktop desktop;
    testing_support::DesktopDriver driver{desktop};
    app::Program program{desktop, ports};
    forms::Application& app = program.App();
};

// How wide a label's text is drawn in the label's own font, in pixels.
int TextWidth(HWND label) {
    wchar_t text[64] = {};
    const int length = ::GetWindowTextW(label, text, 64);
    const win32::WindowDc dc(label);
    const win32::Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size = {};
    ::GetTextExtentPoint32W(dc.Get(), text, length, &size);
    return size.cx;
}

int ClientWidth(HWND window) {
    RECT client = {};
    ::GetClientRect(window, &client);
    return client.right;
}

TEST_F(ScreensOnWindows, EveryCountACookieScreenShowsFitsItsLabelWholeAndLeavesTheHeadingUncovered) {
    for (int i = 0; i < 1200; ++i) cache.Add("http://site" + std::to_string(i) + ".example/");
    screens::InternetKeepScreen& internet = app.Get<screens::InternetKeepScreen>();
    driver.PumpFor(100);
    const HWND collected = Of(internet, "Label5");
    ASSERT_NE(collected, nullptr);
    wchar_t shown[16] = {};
    ::GetWindowTextW(collected, shown, 16);
    EXPECT_EQ(win32::Narrow(shown), "1200");
    EXPECT_LE(TextWidth(collected), ClientWidth(collected)) << "\"1200\" is shown whole";

    // The largest counts: a full list, and what a screen counts beyond its list (entries of a
    // cache or files of a folder past the list's 32,767).
    screens::CookieFolderScreen& folder = app.Show<screens::CookieFolderScreen>();
    driver.PumpFor(100);
    struct Count {
        screens::CookieScreen* screen;
        forms::Label* label;
        const char* labelName;
        const char* headingName;
    };
    const Count counts[] = {{&internet, &internet.topCount, "Label5", "Label2"},
                            {&internet, &internet.bottomCount, "Label4", "Label1"},
                            {&folder, &folder.topCount, "Label5", "Label2"},
                            {&folder, &folder.bottomCount, "Label4", "Label1"}};
    for (const Count& count : counts) {
        SCOPED_TRACE(count.screen->Name() + " " + count.labelName);
        const HWND label = Of(*count.screen, count.labelName);
        const HWND heading = Of(*count.screen, count.headingName);
        for (const char* number : {"32767", "999999"}) {
            count.label->SetCaption(number);
            EXPECT_LE(TextWidth(label), ClientWidth(label)) << number;
        }
        const RECT labelRect = RectOf(label), headingRect = RectOf(heading);
        RECT common = {};
        EXPECT_FALSE(::IntersectRect(&common, &labelRect, &headingRect)) << "the count covers its heading";
    }
}

TEST_F(ScreensOnWindows, TheOptionsBoxesMeetWithoutOverlapping) {
    screens::CleanOptionsScreen& options = app.Get<screens::CleanOptionsScreen>();
    driver.PumpFor(50);
    const RECT cookies = RectOf(Of(options, "Check3")), temp = RectOf(Of(options, "Check2"));
    RECT common = {};
    EXPECT_FALSE(::IntersectRect(&common, &cookies, &temp))
        << "\"Clean Cookie Files\" ends at " << cookies.right << ", \"Temp Folder\" begins at " << temp.left;
    EXPECT_LE(temp.left - cookies.right, 1) << "and they still meet";
}

// The real desktop, as a display of the size asked for.
struct SizedDesktop : win32::Win32Desktop {
    SizedDesktop(int width, int height) : width(width), height(height) {}
    platform::ScreenMetrics Screen() override {
        const platform::ScreenMetrics real = Win32Desktop::Screen();
        return {width * real.twipsPerPixelX, height * real.twipsPerPixelY, real.twipsPerPixelX, real.twipsPerPixelY};
    }
    int width, height;
};

// The box a control's text needs in the control's font: wrapped as a label wraps it, or on one
// line after a check box's box and gap.
SIZE Needed(HWND control, bool box) {
    wchar_t text[2048] = {};
    const int length = ::GetWindowTextW(control, text, 2048);
    RECT area = {};
    ::GetClientRect(control, &area);
    const win32::WindowDc dc(control);
    const win32::Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc.Get(), &metrics);
    ::DrawTextW(dc.Get(), text, length, &area,
                DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | (box ? DT_SINGLELINE : DT_WORDBREAK));
    return box ? SIZE{area.right + win32::CheckBoxTextLeft(metrics), std::max<LONG>(area.bottom, metrics.tmHeight)}
               : SIZE{area.right, area.bottom};
}

void ExpectTextsFit(const forms::Form& form, int width) {
    for (const forms::Control* control : form.Controls()) {
        const bool box = control->Type() == platform::ControlType::kCheckBox;
        const HWND window = ::GetDlgItem(reinterpret_cast<HWND>(form.Handle()), win32::ControlIdOf(control->Name()));
        if ((control->Type() != platform::ControlType::kLabel && !box) || !::IsWindowVisible(window)) continue;
        RECT client = {};
        ::GetClientRect(window, &client);
        const SIZE needed = Needed(window, box);
        const auto* label = dynamic_cast<const forms::Label*>(control);
        std::printf("%4d wide  %-7s %-7s %5.2f of %5.2f pt  needs %4ldx%-4ld of %4ldx%ld\n", width, form.Name().c_str(),
                    control->Name().c_str(), label ? label->ShownFont().size : control->Font().size,
                    control->Font().size, needed.cx, needed.cy, client.right, client.bottom);
        EXPECT_TRUE(needed.cx <= client.right && needed.cy <= client.bottom) << form.Name() << "." << control->Name();
    }
}

// Every list shows the rows it keeps whole, and the window lies on the screen above the status
// line, inner area as laid out (a menu bar on two lines takes none of it).
void ExpectWhole(const forms::Form& form, const win32::Win32Desktop& desktop, const platform::ScreenMetrics& screen) {
    const HWND window = reinterpret_cast<HWND>(form.Handle());
    for (const forms::Control* control : form.Controls()) {
        const auto* list = dynamic_cast<const forms::ListBox*>(control);
        if (!list || control->Type() == platform::ControlType::kDriveList) continue;
        const HWND box = ::GetDlgItem(window, win32::ControlIdOf(control->Name()));
        RECT client = {};
        ::GetClientRect(box, &client);
        // As if a long item had brought the sideways scroll bar.
        if (::SendMessageW(box, LB_GETHORIZONTALEXTENT, 0, 0) <= client.right) client.bottom -= ::GetSystemMetrics(SM_CYHSCROLL);
        const int row = static_cast<int>(::SendMessageW(box, LB_GETITEMHEIGHT, 0, 0));
        EXPECT_GE(client.bottom / std::max(row, 1), list->MinimumRows()) << form.Name() << "." << control->Name();
    }
    RECT outer = {}, inner = {};
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &inner);
    const double statusTop = (screen.heightTwips - ui::kStatusBandTwips) / screen.twipsPerPixelY;
    EXPECT_GE(outer.top, 0) << form.Name();
    EXPECT_LE(outer.bottom, statusTop + 1) << form.Name() << " covers the status line";
    EXPECT_LE(outer.right, screen.widthTwips / screen.twipsPerPixelX + 1) << form.Name();
    EXPECT_GE(inner.bottom + 1, desktop.PixelsY(form.ScaleHeight())) << form.Name() << " lost part of its inner area";
}

// tools/test runs this at 96, 120 and 144 dots an inch.
TEST(TextsOnWindows, EveryTextShowsWholeInItsOwnFontListsKeepTheirRowsAndScreensStayAboveTheStatusLineFrom800x600Up) {
    testing_support::FakePorts ports;
    for (const auto& [width, height] : {std::pair{800, 600}, std::pair{1024, 768}, std::pair{1920, 1080}}) {
        SizedDesktop desktop(width, height);
        testing_support::DesktopDriver driver{desktop};
        app::Program program(desktop, ports.ports);
        forms::Application& app = program.App();
        const auto check = [&, width = width](forms::Form& screen) {
            driver.PumpFor(30);
            ExpectTextsFit(screen, width);
            ExpectWhole(screen, desktop, desktop.Screen());
            app.Unload(screen);
        };
        using namespace screens;
        check(app.Get<screens::StartPage>()), check(app.Get<CleanOptionsScreen>()), check(app.Get<FolderPicker>()), check(app.Get<PathsView>());
        check(app.Get<InternetKeepScreen>()), check(app.Get<CookieFolderScreen>()), check(app.Get<AboutScreen>()), check(app.Get<StartPageHelp>());
        check(app.Get<OptionsHelp>()), check(app.Get<FolderPickerHelp>()), check(app.Get<InternetCookiesHelp>()), check(app.Get<CookieFolderHelp>());
        check(app.Get<TargetsScreen>());
        // The backdrop: the longest status texts, and a clean's progress in a folder too long for it.
        Backdrop& backdrop = app.Get<Backdrop>();
        const std::string folder = "C:\\Users\\" + std::string(250, 'p') + "\\Holiday";
        backdrop.progressLine.SetCaption(app::ProgressText({51234, 1288490189, 0, folder}, false,
                                                     [&](const std::string& t) { return backdrop.progressLine.TextFits(t); }));
        backdrop.progressLine.SetVisible(true);
        for (const char* status : {"This is the folder you have selected!", "32767 Internet Files Collected !"}) {
            backdrop.statusLine.SetCaption(status);
            driver.PumpFor(30);
            ExpectTextsFit(backdrop, width);
        }
        const HWND line = ::GetDlgItem(reinterpret_cast<HWND>(backdrop.Handle()), win32::ControlIdOf("Label7"));
        RECT box = {};
        ::GetClientRect(line, &box);
        const win32::WindowDc dc(line);
        const win32::Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(line, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics = {};
        ::GetTextMetricsW(dc.Get(), &metrics);
        EXPECT_LT(Needed(line, false).cy, 2 * metrics.tmHeight) << backdrop.progressLine.Caption();
        EXPECT_TRUE(backdrop.progressLine.Caption().ends_with("\\...\\Holiday"));
        EXPECT_EQ(backdrop.progressLine.ShownFont(), backdrop.progressLine.Font()) << "shortened, not shrunk";
    }
}

}  // namespace
