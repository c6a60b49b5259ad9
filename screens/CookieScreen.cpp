#include "screens/CookieScreen.h"

#include <algorithm>

#include "screens/SidePicture.h"

namespace screens {

CookieScreen::CookieScreen(const ScreenServices& services, ScreenDesign design, const char* instructionsText, const platform::TwipRect& instructionsRect,
                           const char* topHeadingText, double topHeadingWidth, const char* bottomHeadingText,
                           double bottomHeadingWidth)
    : Screen(services, std::move(design)) {
    const platform::FontSpec labelFont{"MS Sans Serif", 9.75, true, true};
    // The counts reach up to their lists' headings, so that every number a list can count shows
    // whole (the designed 195 twips cut "1200" to "12").
    constexpr double kCountLeft = 2715;
    constexpr double kTopHeadingLeft = 3480;
    constexpr double kBottomHeadingLeft = 3600;
    sidePicture.Move(0, 0, 1095, 2295);
    services.sidePicture->Show(sidePicture);
    instructions.Move(instructionsRect.left, instructionsRect.top, instructionsRect.width, instructionsRect.height);
    instructions.SetCaption(instructionsText);
    topCount.Move(kCountLeft, 0, kTopHeadingLeft - kCountLeft, 240);
    topHeading.Move(kTopHeadingLeft, 0, topHeadingWidth, 300);
    topHeading.SetCaption(topHeadingText);
    topList.Move(2400, 240, 3855, 840);
    bottomCount.Move(kCountLeft, 1080, kBottomHeadingLeft - kCountLeft, 240);
    bottomHeading.Move(kBottomHeadingLeft, 1080, bottomHeadingWidth, 300);
    bottomHeading.SetCaption(bottomHeadingText);
    bottomList.Move(2400, 1320, 3855, 840);
    for (forms::Label* label : {&topHeading, &bottomHeading, &topCount, &bottomCount}) label->SetFont(labelFont);
    topList.onDblClick = [this] { Move(topList, bottomList); };
    bottomList.onDblClick = [this] { Move(bottomList, topList); };
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
    topUnlisted_ = Fill(topList, names) + static_cast<std::size_t>(std::max(foundBeyond, 0));
}

void CookieScreen::FillBottomList(const std::vector<std::string>& names) { bottomUnlisted_ = Fill(bottomList, names); }

void CookieScreen::ShowCounts() {
    topCount.SetCaption(TopCount());
    bottomCount.SetCaption(std::to_string(static_cast<std::size_t>(bottomList.ListCount()) + bottomUnlisted_));
}

std::string CookieScreen::TopCount() const { return std::to_string(static_cast<std::size_t>(topList.ListCount()) + topUnlisted_); }

void CookieScreen::Move(forms::ListBox& from, forms::ListBox& to) {
    const int index = from.ListIndex();
    // Lists about to be rebuilt keep still.
    if (index < 0 || Busy()) return;
    const std::string item = from.List(index);
    // A full target list keeps the entry where it was.
    if (!to.AddItem(item)) return;
    from.RemoveItem(index);
    ShowCounts();
}

}  // namespace screens
