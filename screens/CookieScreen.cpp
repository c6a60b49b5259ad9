#include "screens/CookieScreen.h"

#include <algorithm>

#include "screens/SidePicture.h"

namespace screens {

CookieScreen::CookieScreen(ScreenDesign design, const char* instructions, const platform::TwipRect& instructionsRect,
                           const char* topHeading, double topHeadingWidth, const char* bottomHeading,
                           double bottomHeadingWidth)
    : Screen(std::move(design)) {
    const platform::FontSpec labelFont{"MS Sans Serif", 9.75, true, true};
    // The counts reach up to their lists' headings, so that every number a list can count shows
    // whole (the designed 195 twips cut "1200" to "12").
    constexpr double kCountLeft = 2715;
    constexpr double kTopHeadingLeft = 3480;
    constexpr double kBottomHeadingLeft = 3600;
    Picture1.Move(0, 0, 1095, 2295);
    ShowSidePicture(Picture1);
    Label6.Move(instructionsRect.left, instructionsRect.top, instructionsRect.width, instructionsRect.height);
    Label6.SetCaption(instructions);
    Label5.Move(kCountLeft, 0, kTopHeadingLeft - kCountLeft, 240);
    Label2.Move(kTopHeadingLeft, 0, topHeadingWidth, 300);
    Label2.SetCaption(topHeading);
    List1.Move(2400, 240, 3855, 840);
    Label4.Move(kCountLeft, 1080, kBottomHeadingLeft - kCountLeft, 240);
    Label1.Move(kBottomHeadingLeft, 1080, bottomHeadingWidth, 300);
    Label1.SetCaption(bottomHeading);
    List2.Move(2400, 1320, 3855, 840);
    for (forms::Label* label : {&Label2, &Label1, &Label5, &Label4}) label->SetFont(labelFont);
    List1.onDblClick = [this] { Move(List1, List2); };
    List2.onDblClick = [this] { Move(List2, List1); };
}

namespace {

// Fills the list and answers how many of the names it could not hold.
std::size_t Fill(forms::ListBox& list, const std::vector<std::string>& names) {
    list.Clear();
    std::size_t unlisted = 0;
    for (const std::string& name : names) {
        if (!list.AddItem(name)) ++unlisted;
    }
    return unlisted;
}

}  // namespace

void CookieScreen::FillTopList(const std::vector<std::string>& names, int foundBeyond) {
    topUnlisted_ = Fill(List1, names) + static_cast<std::size_t>(std::max(foundBeyond, 0));
}

void CookieScreen::FillBottomList(const std::vector<std::string>& names) { bottomUnlisted_ = Fill(List2, names); }

void CookieScreen::ShowCounts() {
    Label5.SetCaption(TopCount());
    Label4.SetCaption(std::to_string(static_cast<std::size_t>(List2.ListCount()) + bottomUnlisted_));
}

std::string CookieScreen::TopCount() const { return std::to_string(static_cast<std::size_t>(List1.ListCount()) + topUnlisted_); }

void CookieScreen::Move(forms::ListBox& from, forms::ListBox& to) {
    const int index = from.ListIndex();
    if (index < 0) return;
    const std::string item = from.List(index);
    // A full target list keeps the entry where it was.
    if (!to.AddItem(item)) return;
    from.RemoveItem(index);
    ShowCounts();
}

}  // namespace screens
