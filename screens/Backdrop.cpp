#include "screens/Backdrop.h"

#include "forms/Application.h"
#include "ui/Gradient.h"
#include "ui/ProportionalLayout.h"

namespace screens {

namespace {
constexpr platform::Colour kBackdropColour = platform::Rgb(64, 0, 64);
}

// Behind the screens, which it keeps in front of it, and off the task list.
Backdrop::Backdrop() : Form("Form10", 9000, 6000, {false, false, true, true}) {
    SetBackColour(kBackdropColour);
    // Each row its own colour, whatever size the window takes.
    SetGradient({ui::kGradientStart, ui::kGradientEnd});
    title.SetCaption("Kavlon Tarnwick");
    title.SetFont({"Comic Sans MS", 42, true, true});
    title.SetColours(platform::kSystemHighlightText, kBackdropColour, true);
    title.SetCentred(true);
    title.Move(0, 10, 9000, 1200);
    statusLine.SetFont({"MS Sans Serif", 24, true, true});
    statusLine.SetColours(platform::Rgb(255, 255, 255), kBackdropColour, true);
    statusLine.SetCentred(true);
    statusLine.Move(0, 4200, 9000, 700);
    // Smaller, in the status line's family, under it; shown only while a clean runs.
    progressLine.SetFont({"MS Sans Serif", 13.5, false, true});
    progressLine.SetColours(platform::Rgb(255, 255, 255), kBackdropColour, true);
    progressLine.SetCentred(true);
    progressLine.Move(0, 4950, 9000, 450);
    progressLine.SetVisible(false);
    // Above the status line, centred; only while a clean it shows can be stopped.
    cancelButton.SetCaption("Cancel");
    cancelButton.Move(3900, 3750, 1200, 375);
    cancelButton.SetVisible(false);
    cancelButton.onClick = [this] {
        if (onCancel_) onCancel_();
    };
}

bool Backdrop::Form_Escape() {
    if (!onCancel_) return false;
    onCancel_();
    return true;
}

void Backdrop::OfferCancel(std::function<void()> onCancel) {
    onCancel_ = std::move(onCancel);
    cancelButton.SetVisible(static_cast<bool>(onCancel_));
}

void Backdrop::Form_Load() {
    const platform::ScreenMetrics screen = App().Screen();
    SetHeight(screen.heightTwips - 200);
    SetWidth(screen.widthTwips - 200);
    title.SetWidth(screen.widthTwips - 200);
    statusLine.SetWidth(screen.widthTwips - 200);
    progressLine.SetWidth(screen.widthTwips - 200);
    title.SetLeft(0);
    statusLine.SetLeft(0);
    title.SetTop(10);
    statusLine.SetTop(screen.heightTwips - ui::kStatusBandTwips);
    progressLine.SetLeft(0);
    progressLine.SetTop(screen.heightTwips - 1050);
    cancelButton.Move((screen.widthTwips - 200 - 1200) / 2, screen.heightTwips - 1800 - 450, 1200, 375);
    App().Show(*this);
}

void SetStatusText(forms::Application& app, const std::string& text) {
    Backdrop& backdrop = app.Get<Backdrop>();
    backdrop.statusLine.SetCaption(text);
    backdrop.statusLine.SetVisible(true);
}

}  // namespace screens
