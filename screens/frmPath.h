#pragma once
// The paths view: where a clean run will clean. It changes nothing.
#include "screens/ScreenFrame.h"

namespace screens {

class frmPath : public Screen {
public:
    frmPath();

    forms::PictureBox Picture1{*this, "Picture1"};
    forms::Label Label1{*this, "Label1"};
    forms::Label Label3{*this, "Label3"};
    forms::ListBox List1{*this, "List1"};
    forms::Label Label2{*this, "Label2"};

protected:
    void LoadContent() override;
};

}  // namespace screens
