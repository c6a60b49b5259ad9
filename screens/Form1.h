#pragma once
// The start page: the way into every other screen.
#include "screens/ScreenFrame.h"

namespace screens {

class Form1 : public Screen {
public:
    Form1();

    forms::PictureBox Picture1{*this, "Picture1"};
    forms::Label Label1{*this, "Label1"};
    forms::Label Label3{*this, "Label3"};
    forms::Label Label2{*this, "Label2"};
};

}  // namespace screens
