// The screens on real windows, where only the real desktop can tell: whether a number fits the
// label that shows it in the label's own font, and whether two controls that meet in the design
// meet on the screen without a pixel of overlap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/Application.h"
#include "platform/win32/ControlIds.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Gdi.h"
#include "screens/Form2.h"
#include "screens/Form3a.h"
#include "screens/Form3c.h"
#include "support/HeadlessWorld.h"
#include "tests/win32/world/DesktopDriver.h"

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
    forms::Application app{desktop};
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
    screens::Form3a& internet = app.Get<screens::Form3a>();
    driver.PumpFor(100);
    const HWND collected = Of(internet, "Label5");
    ASSERT_NE(collected, nullptr);
    wchar_t shown[16] = {};
    ::GetWindowTextW(collected, shown, 16);
    EXPECT_EQ(win32::Narrow(shown), "1200");
    EXPECT_LE(TextWidth(collected), ClientWidth(collected)) << "\"1200\" is shown whole";

    // The largest counts: a full list, and what a screen counts beyond its list (entries of a
    // cache or files of a folder past the list's 32,767).
    screens::Form3c& folder = app.Show<screens::Form3c>();
    driver.PumpFor(100);
    struct Count {
        screens::CookieScreen* screen;
        forms::Label* label;
        const char* labelName;
        const char* headingName;
    };
    const Count counts[] = {{&internet, &internet.Label5, "Label5", "Label2"},
                            {&internet, &internet.Label4, "Label4", "Label1"},
                            {&folder, &folder.Label5, "Label5", "Label2"},
                            {&folder, &folder.Label4, "Label4", "Label1"}};
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
    screens::Form2& options = app.Get<screens::Form2>();
    driver.PumpFor(50);
    const RECT cookies = RectOf(Of(options, "Check3")), temp = RectOf(Of(options, "Check2"));
    RECT common = {};
    EXPECT_FALSE(::IntersectRect(&common, &cookies, &temp))
        << "\"Clean Cookie Files\" ends at " << cookies.right << ", \"Temp Folder\" begins at " << temp.left;
    EXPECT_LE(temp.left - cookies.right, 1) << "and they still meet";
}

}  // namespace
