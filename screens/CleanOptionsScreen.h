#pragma once
// The clean options: three check boxes, each stored the moment it is clicked, and the clean.
#include <array>
#include <cstddef>

#include "engine/CleanRun.h"
#include "screens/ScreenFrame.h"

namespace screens {

class CleanOptionsScreen : public Screen {
public:
    explicit CleanOptionsScreen(const ScreenServices& services);

    // In tab order.
    forms::CheckBox userFolderBox{*this, "Check1"};  // Delete/User
    forms::CheckBox tempFolderBox{*this, "Check2"};  // Delete/Temp
    forms::CheckBox cacheBox{*this, "Check3"};  // Delete/Temporary Internet Files
    forms::PictureBox sidePicture{*this, "Picture1"};
    forms::Label helpText{*this, "Label5"};

protected:
    void LoadContent() override;

private:
    // The boxes in the order of the cleaning targets they stand for.
    std::array<forms::CheckBox*, 3> Boxes();
    void StoreOption(std::size_t target);
    void CleanNow_Click();
};

}  // namespace screens
