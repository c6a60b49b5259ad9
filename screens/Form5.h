#pragma once
// The about screen.
#include "screens/ScreenFrame.h"

namespace screens {

class Form5 : public Screen {
public:
    Form5();

    forms::PictureBox Picture1{*this, "Picture1"};
    forms::Label Label4{*this, "Label4"};
    forms::Label Label1{*this, "Label1"};
    forms::Label Label2{*this, "Label2"};
    forms::Label Label5{*this, "Label5"};
    forms::Label Label3{*this, "Label3"};
};

}  // namespace screens
