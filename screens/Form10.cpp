#include "screens/Form10.h"

#include "forms/Application.h"
#include "ui/Gradient.h"

namespace screens {

namespace {
constexpr platform::Colour kBackdropColour = platform::Rgb(64, 0, 64);
}

// Behind the screens, which it keeps in front of it, and off the task list.
Form10::Form10() : Form("Form10", 9000, 6000, {false, false, true, true}) {
    SetBackColour(kBackdropColour);
    // Each row its own colour, whatever size the window takes.
    SetGradient({ui::kGradientStart, ui::kGradientEnd});
    Label1.SetCaption("Kavlon Tarnwick");
    Label1.SetFont({"Comic Sans MS", 42, true, true});
    Label1.SetColours(platform::kSystemHighlightText, kBackdropColour, true);
    Label1.SetCentred(true);
    Label1.Move(0, 10, 9000, 1200);
    Label6.SetFont({"MS Sans Serif", 24, true, true});
    Label6.SetColours(platform::Rgb(255, 255, 255), kBackdropColour, true);
    Label6.SetCentred(true);
    Label6.Move(0, 4200, 9000, 700);
    // Smaller, in the status line's family, under it; shown only while a clean runs.
    Label7.SetFont({"MS Sans Serif", 13.5, false, true});
    Label7.SetColours(platform::Rgb(255, 255, 255), kBackdropColour, true);
    Label7.SetCentred(true);
    Label7.Move(0, 4950, 9000, 450);
    Label7.SetVisible(false);
}

void Form10::Form_Load() {
    const platform::ScreenMetrics screen = forms::App().Screen();
    SetHeight(screen.heightTwips - 200);
    SetWidth(screen.widthTwips - 200);
    Label1.SetWidth(screen.widthTwips - 200);
    Label6.SetWidth(screen.widthTwips - 200);
    Label7.SetWidth(screen.widthTwips - 200);
    Label1.SetLeft(0);
    Label6.SetLeft(0);
    Label1.SetTop(10);
    Label6.SetTop(screen.heightTwips - 1800);
    Label7.SetLeft(0);
    Label7.SetTop(screen.heightTwips - 1050);
    forms::App().Show(*this);
}

void SetStatusText(const std::string& text) {
    Form10& backdrop = forms::App().Get<Form10>();
    backdrop.Label6.SetCaption(text);
    backdrop.Label6.SetVisible(true);
}

}  // namespace screens
