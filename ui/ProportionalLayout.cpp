#include "ui/ProportionalLayout.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <vector>

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

bool KeepsRows(const forms::Control& control) {
    const platform::ControlType type = control.Type();
    return type == platform::ControlType::kListBox || type == platform::ControlType::kFileList ||
           type == platform::ControlType::kDirList;
}

// Room inserted at a list's bottom edge.
struct Insert {
    double top;
    double bottom;
    double growth;
    double chain = 0;  // the room inserted above its bottom edge, its own included
};

// What lies at or below y moves down by the room inserted above it: the longest chain of lists
// one under another, side by side lists counting once.
double Shift(const std::vector<Insert>& inserts, double y) {
    constexpr double kEdge = 1;  // a control that begins where a list ends lies below it
    double shift = 0;
    for (const Insert& insert : inserts) {
        if (insert.bottom <= y + kEdge) shift = std::max(shift, insert.chain);
    }
    return shift;
}

// Each list as high as its rows need; the room it takes is what the form grows by.
double GrowLists(forms::Form& form) {
    platform::Desktop& desktop = form.App().Desktop();
    std::vector<Insert> inserts;
    for (forms::Control* control : form.Controls()) {
        const auto* list = dynamic_cast<const forms::ListBox*>(control);
        if (!list || !KeepsRows(*control) || list->MinimumRows() <= 0) continue;
        const double needed = desktop.ListHeight(list->Font(), list->MinimumRows());
        if (needed > control->Height()) {
            inserts.push_back({control->Top(), control->Top() + control->Height(), needed - control->Height()});
        }
    }
    if (inserts.empty()) return 0;
    std::sort(inserts.begin(), inserts.end(), [](const Insert& a, const Insert& b) { return a.bottom < b.bottom; });
    // A list's top lies above its bottom: only lists earlier in this order reach it.
    for (Insert& insert : inserts) insert.chain = Shift(inserts, insert.top) + insert.growth;
    for (forms::Control* control : form.Controls()) {
        const double top = control->Top() + Shift(inserts, control->Top());
        const double bottom = control->Top() + control->Height() + Shift(inserts, control->Top() + control->Height());
        if (top != control->Top() || bottom - top != control->Height()) {
            control->Move(control->Left(), top, control->Width(), bottom - top);
        }
    }
    return Shift(inserts, std::numeric_limits<double>::infinity());
}

void ScaleControls(forms::Form& form, double factor) {
    for (forms::Control* control : form.Controls()) {
        control->Move(control->Left() * factor, control->Top() * factor, control->Width() * factor,
                      control->Height() * factor);
        control->SetFontSize(control->Font().size * factor);
    }
}

// The band's enlargement, control by control, by the fragments of their names.
void ScaleByBand(forms::Form& form, const LayoutBand& band) {
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

}  // namespace

LayoutBand BandForWidth(double widthPixels) {
    if (widthPixels < 790) return {};
    if (widthPixels < 1020) return {true, 1.3, 2, 1.35};
    return {true, 1.6, 4, 1.7};
}

void ResizeControls(forms::Form& form) {
    const platform::ScreenMetrics screen = form.App().Screen();
    const LayoutBand band = BandForWidth(screen.widthTwips / kDesignTwipsPerPixel);
    // The frame (caption, menu bar, borders) keeps its size; the inner area is what scales.
    const double frameWidth = form.Width() - form.ScaleWidth();
    const double frameHeight = form.Height() - form.ScaleHeight();
    double width = form.Width();
    double height = form.Height();
    if (band.scaled) {
        width *= band.size;
        height *= band.size;
        ScaleByBand(form, band);
    }
    // Wide enough for the menu bar on one line: on two it would take from the inner area.
    std::vector<std::string> captions;
    for (const forms::MenuItem& item : form.Menu()) captions.push_back(item.caption);
    const double menuWidth = captions.empty() ? 0 : frameWidth + form.App().Desktop().MenuBarWidth(captions);
    width = std::max(width, menuWidth);
    // Between the screen's top and the status band, whole: smaller where it must be, and the lists
    // then given back the rows their frames, which do not shrink, took.
    const double roomHeight = screen.heightTwips - kStatusBandTwips;
    for (int pass = 0; pass < 3; ++pass) {
        height += GrowLists(form);
        const double factor = std::min({1.0, (screen.widthTwips - frameWidth) / (width - frameWidth),
                                        (roomHeight - frameHeight) / (height - frameHeight)});
        if (factor >= 1 || factor <= 0) break;
        ScaleControls(form, factor);
        width = std::max(frameWidth + (width - frameWidth) * factor, menuWidth);
        height = frameHeight + (height - frameHeight) * factor;
    }
    const double top = std::max(0.0, std::min((screen.heightTwips - height) / 2, roomHeight - height));
    form.Move((screen.widthTwips - width) / 2, top, width, height);
}

}  // namespace ui
