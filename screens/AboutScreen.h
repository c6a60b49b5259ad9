#pragma once
// The about screen.
#include "screens/ScreenFrame.h"

namespace screens {

class AboutScreen : public Screen {
public:
    explicit AboutScreen(const ScreenServices& services);

    forms::PictureBox sidePicture{*this, "Picture1"};
    forms::Label description{*this, "Label4"};
    forms::Label productName{*this, "Label1"};
    forms::Label version{*this, "Label2"};
    forms::Label edition{*this, "Label5"};
    forms::Label licence{*this, "Label3"};
};

}  // namespace screens
