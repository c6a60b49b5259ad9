#pragma once
// What the two cookie screens share: a top list and a bottom list with their count labels, and
// the double click that moves an entry from one list to the end of the other.
#include <string>
#include <vector>

#include "screens/ScreenFrame.h"

namespace screens {

class CookieScreen : public Screen {
public:
    CookieScreen(const ScreenServices& services, ScreenDesign design, const char* instructionsText, const platform::TwipRect& instructionsRect,
                 const char* topHeadingText, double topHeadingWidth, const char* bottomHeadingText, double bottomHeadingWidth);

    forms::PictureBox sidePicture{*this, "Picture1"};
    forms::Label instructions{*this, "Label6"};
    forms::Label topCount{*this, "Label5"};  // how many entries
    forms::Label topHeading{*this, "Label2"};
    forms::ListBox topList{*this, "List1"};
    forms::Label bottomCount{*this, "Label4"};  // how many entries
    forms::Label bottomHeading{*this, "Label1"};
    forms::ListBox bottomList{*this, "List2"};

protected:
    // Fill a list; names past its limit, and the unlisted ones found beyond those given, are
    // counted, not listed.
    void FillTopList(const std::vector<std::string>& names, int foundBeyond = 0);
    void FillBottomList(const std::vector<std::string>& names);
    void ShowCounts();
    // The top list's count as the status text reports it (entries past the limit included).
    std::string TopCount() const;
    // How many names the bottom list was given that it cannot hold.
    std::size_t BottomUnlisted() const { return bottomUnlisted_; }

private:
    void Move(forms::ListBox& from, forms::ListBox& to);
    // Found beyond what each list can hold: counted, not listed.
    std::size_t topUnlisted_ = 0;
    std::size_t bottomUnlisted_ = 0;
};

}  // namespace screens
