#pragma once
// The start page: the way into every other screen.
#include "screens/ScreenFrame.h"

namespace screens {

class StartPage : public Screen {
public:
    explicit StartPage(const ScreenServices& services);

    forms::PictureBox sidePicture{*this, "Picture1"};
    forms::Label brandName{*this, "Label1"};
    forms::Label productName{*this, "Label3"};
    forms::Label instruction{*this, "Label2"};
};

}  // namespace screens
