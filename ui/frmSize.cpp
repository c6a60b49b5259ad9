#include "ui/frmSize.h"

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

void Centre(forms::Form& form, const platform::ScreenMetrics& screen) {
    form.SetLeft((screen.widthTwips - form.Width()) / 2);
    form.SetTop((screen.heightTwips - form.Height()) / 2);
}

}  // namespace

LayoutBand BandForWidth(double widthPixels) {
    if (widthPixels < 790) return {};
    if (widthPixels < 1020) return {true, 1.3, 2, 1.35};
    return {true, 1.6, 4, 1.7};
}

void ResizeControls(forms::Form& form) {
    const platform::ScreenMetrics screen = forms::App().Screen();
    const LayoutBand band = BandForWidth(screen.widthTwips / screen.twipsPerPixelX);
    if (!band.scaled) {
        Centre(form, screen);
        return;
    }
    form.SetWidth(form.Width() * band.size);
    form.SetHeight(form.Height() * band.size);
    Centre(form, screen);
    for (forms::Control* control : form.Controls()) {
        for (const FragmentRule& rule : kRules) {
            if (control->Name().find(rule.fragment) == std::string::npos) continue;
            control->SetHeight(Apply(rule.height, control->Height(), band));
            control->SetWidth(Apply(rule.width, control->Width(), band));
            if (rule.font) control->SetFontSize(control->Font().size + band.fontIncrease);
            control->SetLeft(Apply(rule.left, control->Left(), band));
            control->SetTop(Apply(rule.top, control->Top(), band));
        }
    }
}

}  // namespace ui
