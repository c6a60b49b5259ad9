#include "ui/ProportionalLayout.h"

#include <array>
#include <string_view>

#include "forms/Application.h"

namespace ui {
namespace {

enum class Factor { kNone, kSize, kPicture };

// Which properties a name fragment rescales: height, width, font, left, top.
struct FragmentRule {
    std::string_view fragment;
    Factor height;
    Factor width;
    bool font;
    Factor left;
    Factor top;
};

// Tested in this order; each test stands on its own.
constexpr std::array<FragmentRule, 10> kRules = {{
    {"Frame", Factor::kSize, Factor::kSize, true, Factor::kSize, Factor::kSize},
    {"Label", Factor::kSize, Factor::kSize, true, Factor::kSize, Factor::kSize},
    {"Picture", Factor::kPicture, Factor::kSize, true, Factor::kNone, Factor::kSize},
    {"Check", Factor::kSize, Factor::kSize, true, Factor::kSize, Factor::kSize},
    {"List", Factor::kSize, Factor::kSize, true, Factor::kSize, Factor::kSize},
    {"Text", Factor::kSize, Factor::kSize, true, Factor::kSize, Factor::kSize},
    {"Command", Factor::kSize, Factor::kSize, true, Factor::kSize, Factor::kSize},
    {"File1", Factor::kSize, Factor::kSize, true, Factor::kSize, Factor::kSize},
    {"Dir", Factor::kSize, Factor::kSize, true, Factor::kSize, Factor::kSize},
    {"Drive", Factor::kNone, Factor::kNone, false, Factor::kSize, Factor::kSize},
}};

double Apply(Factor factor, double value, const LayoutBand& band) {
    switch (factor) {
        case Factor::kSize:
            return value * band.size;
        case Factor::kPicture:
            return value * band.pictureHeight;
        case Factor::kNone:
            break;
    }
    return value;
}

// The form at its new size, centred, in one move.
void Centre(forms::Form& form, const platform::ScreenMetrics& screen, double width, double height) {
    form.Move((screen.widthTwips - width) / 2, (screen.heightTwips - height) / 2, width, height);
}

}  // namespace

LayoutBand BandForWidth(double widthPixels) {
    if (widthPixels < 790) return {};
    if (widthPixels < 1020) return {true, 1.3, 2, 1.35};
    return {true, 1.6, 4, 1.7};
}

void ResizeControls(forms::Form& form) {
    const platform::ScreenMetrics screen = form.App().Screen();
    const LayoutBand band = BandForWidth(screen.widthTwips / screen.twipsPerPixelX);
    if (!band.scaled) {
        Centre(form, screen, form.Width(), form.Height());
        return;
    }
    Centre(form, screen, form.Width() * band.size, form.Height() * band.size);
    for (forms::Control* control : form.Controls()) {
        // Every rule a name matches applies, one after the other; the control then moves once.
        platform::TwipRect bounds{control->Left(), control->Top(), control->Width(), control->Height()};
        double fontSize = control->Font().size;
        bool matched = false;
        for (const FragmentRule& rule : kRules) {
            if (control->Name().find(rule.fragment) == std::string::npos) continue;
            matched = true;
            bounds.height = Apply(rule.height, bounds.height, band);
            bounds.width = Apply(rule.width, bounds.width, band);
            if (rule.font) fontSize += band.fontIncrease;
            bounds.left = Apply(rule.left, bounds.left, band);
            bounds.top = Apply(rule.top, bounds.top, band);
        }
        if (!matched) continue;
        control->Move(bounds.left, bounds.top, bounds.width, bounds.height);
        if (fontSize != control->Font().size) control->SetFontSize(fontSize);
    }
}

}  // namespace ui
