// Every text of every screen, measured in the font its control draws it in, on real windows laid
// out for three display sizes (one table row each): each shows whole, and the progress line stays
// one line.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/CleanRunWindows.h"
#include "platform/win32/ControlIds.h"
#include "platform/win32/Win32Gdi.h"
#include "screens/Form1.h"
#include "screens/Form10.h"
#include "screens/Form2.h"
#include "screens/Form3a.h"
#include "screens/Form3c.h"
#include "screens/Form5.h"
#include "screens/HelpPages.h"
#include "screens/frmPath.h"
#include "screens/frmUser.h"
#include "support/HeadlessWorld.h"
#include "tests/win32/world/DesktopDriver.h"

namespace {

// The real desktop, as a display of the size asked for.
class SizedDesktop final : public platform::Desktop {
public:
    SizedDesktop(win32::Win32Desktop& real, int width, int height) : real_(real), width_(width), height_(height) {}
    std::unique_ptr<platform::WindowPeer> CreateWindowPeer(const std::string& name, const platform::WindowStyle& style,
                                                           platform::WindowEvents& events,
                                                           const platform::WindowSetup& setup) override {
        return real_.CreateWindowPeer(name, style, events, setup);
    }
    platform::TwipRect FrameExtra(const platform::WindowStyle& style) override { return real_.FrameExtra(style); }
    int MessageBox(const std::string&, const std::string&, int) override { return platform::kResultOk; }
    void SetPointer(int) override {}
    platform::ScreenMetrics Screen() override {
        platform::ScreenMetrics screen = real_.Screen();
        screen.widthTwips = width_ * screen.twipsPerPixelX;
        screen.heightTwips = height_ * screen.twipsPerPixelY;
        return screen;
    }
    void RunLoop() override {}
    void Quit() override {}
    void StartBeside(std::function<void()>, int, std::function<void()>, std::function<void()>) override {}
    void FinishBeside() override {}
    void Wait(int) override {}
    void EndMessageBoxes() override {}
    std::optional<platform::Image> LoadPicture(const std::string& name) override { return real_.LoadPicture(name); }

private:
    win32::Win32Desktop& real_;
    int width_;
    int height_;
};

// The box a control's text needs in the control's font: wrapped as a label wraps it, or on one
// line after a check box's box and gap.
SIZE Needed(HWND control, bool oneLine, int extra) {
    wchar_t text[2048] = {};
    const int length = ::GetWindowTextW(control, text, 2048);
    RECT box = {};
    ::GetClientRect(control, &box);
    const win32::WindowDc dc(control);
    const win32::Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    ::DrawTextW(dc.Get(), text, length, &box,
                DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | (oneLine ? DT_SINGLELINE : DT_WORDBREAK));
    return {box.right + extra, box.bottom};
}

void ExpectTextsFit(const forms::Form& form, int width) {
    for (const forms::Control* control : form.Controls()) {
        const bool box = control->Type() == platform::ControlType::kCheckBox;
        const HWND window = ::GetDlgItem(reinterpret_cast<HWND>(form.Handle()), win32::ControlIdOf(control->Name()));
        if ((control->Type() != platform::ControlType::kLabel && !box) || !::IsWindowVisible(window)) continue;
        RECT client = {};
        ::GetClientRect(window, &client);
        const SIZE needed = Needed(window, box, box ? 17 : 0);
        const auto* label = dynamic_cast<const forms::Label*>(control);
        std::printf("%4d wide  %-7s %-7s %5.2f of %5.2f pt  needs %4ldx%-4ld of %4ldx%ld\n", width, form.Name().c_str(),
                    control->Name().c_str(), label ? label->ShownFont().size : control->Font().size,
                    control->Font().size, needed.cx, needed.cy, client.right, client.bottom);
        EXPECT_TRUE(needed.cx <= client.right && needed.cy <= client.bottom)
            << width << " wide: " << form.Name() << "." << control->Name() << " [" << control->Caption() << "]";
    }
}

template <class... Screens>
void ExpectScreensFit(forms::Application& app, testing_support::DesktopDriver& driver, int width) {
    const auto check = [&](forms::Form& screen) {
        driver.PumpFor(30);
        ExpectTextsFit(screen, width);
        app.Unload(screen);
    };
    (check(app.Get<Screens>()), ...);
}

TEST(TextsOnWindows, EveryTextShowsWholeInItsOwnFontAndTheProgressLineStaysOneLineFrom800x600Up) {
    testing_support::FakePorts ports;
    ports.env.programFolder = "C:\\Apps";
    ports.files.AddFolder("C:\\Apps");
    win32::Win32Desktop real;
    testing_support::DesktopDriver driver{real};
    for (const auto& [width, height] : {std::pair{800, 600}, std::pair{1024, 768}, std::pair{1920, 1080}}) {
        SizedDesktop desktop(real, width, height);
        forms::Application app(desktop);
        using namespace screens;
        ExpectScreensFit<Form1, Form2, frmUser, frmPath, Form3a, Form3c, Form5, Form4, Form4a, Form4b, Form4c, Form4d>(
            app, driver, width);
        // The backdrop with the longest status texts and a clean's progress in a folder too long
        // for its line.
        Form10& backdrop = app.Get<Form10>();
        const std::string line = app::ProgressText(
            {51234, 1288490189, 0, "C:\\Users\\ann\\" + std::string(120, 'p') + "\\Holiday 2019"}, false,
            [&](const std::string& text) { return backdrop.Label7.TextFits(text); });
        EXPECT_NE(line.find("\\Holiday 2019"), std::string::npos) << line;
        backdrop.Label7.SetCaption(line);
        backdrop.Label7.SetVisible(true);
        for (const char* status : {"This is the folder you have selected!", "32767 Internet Files Collected !"}) {
            backdrop.Label6.SetCaption(status);
            driver.PumpFor(30);
            ExpectTextsFit(backdrop, width);
        }
        const HWND progress = ::GetDlgItem(reinterpret_cast<HWND>(backdrop.Handle()), win32::ControlIdOf("Label7"));
        EXPECT_EQ(Needed(progress, false, 0).cy, Needed(progress, true, 0).cy) << "one line: " << line;
        EXPECT_EQ(backdrop.Label7.ShownFont(), backdrop.Label7.Font()) << "shortened, not shrunk";
    }
}

}  // namespace
