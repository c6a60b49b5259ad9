#pragma once
// What the two cookie screens share: a top list and a bottom list with their count labels, and
// the double click that moves an entry from one list to the end of the other.
#include <string>
#include <vector>

#include "screens/ScreenFrame.h"

namespace screens {

class CookieScreen : public Screen {
public:
    CookieScreen(ScreenDesign design, const char* instructions, const platform::TwipRect& instructionsRect,
                 const char* topHeading, double topHeadingWidth, const char* bottomHeading, double bottomHeadingWidth);

    forms::PictureBox Picture1{*this, "Picture1"};
    forms::Label Label6{*this, "Label6"};  // instructions
    forms::Label Label5{*this, "Label5"};  // how many in the top list
    forms::Label Label2{*this, "Label2"};  // heading of the top list
    forms::ListBox List1{*this, "List1"};  // top
    forms::Label Label4{*this, "Label4"};  // how many in the bottom list
    forms::Label Label1{*this, "Label1"};  // heading of the bottom list
    forms::ListBox List2{*this, "List2"};  // bottom

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
