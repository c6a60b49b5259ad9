#pragma once
// The paths view: where a clean run will clean. It changes nothing.
#include "screens/ScreenFrame.h"

namespace screens {

class PathsView : public Screen {
public:
    explicit PathsView(const ScreenServices& services);

    forms::PictureBox sidePicture{*this, "Picture1"};
    forms::Label brandName{*this, "Label1"};
    forms::Label productName{*this, "Label3"};
    forms::ListBox pathList{*this, "List1"};
    forms::Label explanation{*this, "Label2"};

protected:
    void LoadContent() override;
};

}  // namespace screens
