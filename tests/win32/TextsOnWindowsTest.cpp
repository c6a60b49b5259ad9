// Every text of every screen, measured in the font its control draws it in, on real windows laid
// out for three display sizes: each shows whole, and the progress line stays one line.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

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
    void SetPointer(int pointer) override { real_.SetPointer(pointer); }
    platform::ScreenMetrics Screen() override {
        platform::ScreenMetrics screen = real_.Screen();
        screen.widthTwips = width_ * screen.twipsPerPixelX;
        screen.heightTwips = height_ * screen.twipsPerPixelY;
        return screen;
    }
    void RunLoop() override {}
    void Quit() override {}
    void StartBeside(std::function<void()> work, int tickMs, std::function<void()> onTick,
                     std::function<void()> onDone) override {
        real_.StartBeside(std::move(work), tickMs, std::move(onTick), std::move(onDone));
    }
    void FinishBeside() override { real_.FinishBeside(); }
    void Wait(int milliseconds) override { real_.Wait(milliseconds); }
    void EndMessageBoxes() override {}
    std::optional<platform::Image> LoadPicture(const std::string& name) override { return real_.LoadPicture(name); }

private:
    win32::Win32Desktop& real_;
    int width_;
    int height_;
};

// The box a control's text needs in the control's font: wrapped as a label wraps it, or on one
// line after a check box's box and gap.
SIZE Needed(HWND control, bool checkBox) {
    wchar_t text[2048] = {};
    const int length = ::GetWindowTextW(control, text, 2048);
    RECT client = {};
    ::GetClientRect(control, &client);
    const win32::WindowDc dc(control);
    const win32::Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT box = {0, 0, client.right, 0};
    ::DrawTextW(dc.Get(), text, length, &box,
                DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | (checkBox ? DT_SINGLELINE : DT_WORDBREAK));
    return {box.right + (checkBox ? 17 : 0), box.bottom};
}

struct Size {
    int width;
    int height;
};

// Each text of the form against its control's client area, one row of the table each.
void ExpectTextsFit(const forms::Form& form, const Size& size) {
    for (const forms::Control* control : form.Controls()) {
        const bool checkBox = control->Type() == platform::ControlType::kCheckBox;
        if (control->Type() != platform::ControlType::kLabel && !checkBox) continue;
        const HWND window = ::GetDlgItem(reinterpret_cast<HWND>(form.Handle()), win32::ControlIdOf(control->Name()));
        if (!window || !::IsWindowVisible(window) || control->Caption().empty()) continue;
        RECT client = {};
        ::GetClientRect(window, &client);
        const SIZE needed = Needed(window, checkBox);
        const auto* label = dynamic_cast<const forms::Label*>(control);
        const double points = label ? label->ShownFont().size : control->Font().size;
        std::printf("%4dx%-4d %-7s %-7s %5.2f pt (asked %5.2f)  needs %4ldx%-4ld of %4ldx%-4ld\n", size.width,
                    size.height, form.Name().c_str(), control->Name().c_str(), points, control->Font().size,
                    static_cast<long>(needed.cx), static_cast<long>(needed.cy), static_cast<long>(client.right),
                    static_cast<long>(client.bottom));
        EXPECT_TRUE(needed.cx <= client.right && needed.cy <= client.bottom)
            << size.width << "x" << size.height << " " << form.Name() << "." << control->Name() << ": "
            << control->Caption();
    }
}

template <class F>
void ExpectScreenTextsFit(forms::Application& app, testing_support::DesktopDriver& driver, const Size& size) {
    F& screen = app.Get<F>();
    driver.PumpFor(30);
    ExpectTextsFit(screen, size);
    app.Unload(screen);
}

TEST(TextsOnWindows, EveryTextShowsWholeInItsOwnFontAndTheProgressLineStaysOneLineFrom800x600Up) {
    testing_support::FakePorts ports;
    ports.env.programFolder = "C:\\Apps";
    ports.files.AddFolder("C:\\Apps");
    ports.folders.SetFolder(33, "C:\\Cookies");
    ports.files.AddFolder("C:\\Cookies");
    win32::Win32Desktop real;
    testing_support::DesktopDriver driver{real};
    const std::string longFolder = "C:\\Users\\annabelle\\Pictures\\" + std::string(120, 'p') + "\\Holiday 2019";
    for (const Size size : {Size{800, 600}, Size{1024, 768}, Size{1920, 1080}}) {
        SizedDesktop desktop(real, size.width, size.height);
        forms::Application app(desktop);
        ExpectScreenTextsFit<screens::Form1>(app, driver, size);
        ExpectScreenTextsFit<screens::Form2>(app, driver, size);
        ExpectScreenTextsFit<screens::frmUser>(app, driver, size);
        ExpectScreenTextsFit<screens::frmPath>(app, driver, size);
        ExpectScreenTextsFit<screens::Form3a>(app, driver, size);
        ExpectScreenTextsFit<screens::Form3c>(app, driver, size);
        ExpectScreenTextsFit<screens::Form5>(app, driver, size);
        ExpectScreenTextsFit<screens::Form4>(app, driver, size);
        ExpectScreenTextsFit<screens::Form4a>(app, driver, size);
        ExpectScreenTextsFit<screens::Form4b>(app, driver, size);
        ExpectScreenTextsFit<screens::Form4c>(app, driver, size);
        ExpectScreenTextsFit<screens::Form4d>(app, driver, size);

        // The backdrop with the longest status texts, and the progress line of a clean in a
        // folder too long for it.
        screens::Form10& backdrop = app.Get<screens::Form10>();
        const engine::CleanProgress::Snapshot progress{51234, 1288490189, 0, longFolder};
        const std::string line = app::ProgressText(progress, false, [&](const std::string& text) {
            return backdrop.Label7.TextFits(text);
        });
        EXPECT_NE(line.find("\\Holiday 2019"), std::string::npos) << line;
        backdrop.Label7.SetCaption(line);
        backdrop.Label7.SetVisible(true);
        for (const char* status : {"This is the folder you have selected!", "32767 Internet Files Collected !"}) {
            backdrop.Label6.SetCaption(status);
            driver.PumpFor(30);
            ExpectTextsFit(backdrop, size);
        }
        EXPECT_EQ(backdrop.Label7.ShownFont(), backdrop.Label7.Font()) << "the line is shortened, not shrunk";
        const HWND progressLine = ::GetDlgItem(reinterpret_cast<HWND>(backdrop.Handle()), win32::ControlIdOf("Label7"));
        const win32::WindowDc dc(progressLine);
        const win32::Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(progressLine, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics = {};
        ::GetTextMetricsW(dc.Get(), &metrics);
        EXPECT_LE(Needed(progressLine, false).cy, metrics.tmHeight) << "one line: " << line;
        app.Unload(backdrop);
    }
}

}  // namespace
