#pragma once
// The clean options: three check boxes, each stored the moment it is clicked, and the clean.
#include <array>
#include <cstddef>

#include "engine/CleanRun.h"
#include "screens/ScreenFrame.h"

namespace screens {

// The program's side of the clean that "Are You Sure?" starts; the program installs it.
void SetCleanRunHost(engine::CleanRunHost* host);

class Form2 : public Screen {
public:
    Form2();

    // In tab order.
    forms::CheckBox Check1{*this, "Check1"};  // Delete/User
    forms::CheckBox Check2{*this, "Check2"};  // Delete/Temp
    forms::CheckBox Check3{*this, "Check3"};  // Delete/Temporary Internet Files
    forms::PictureBox Picture1{*this, "Picture1"};
    forms::Label Label5{*this, "Label5"};

protected:
    void LoadContent() override;

private:
    // The boxes in the order of the cleaning targets they stand for.
    std::array<forms::CheckBox*, 3> Boxes();
    void StoreOption(std::size_t target);
    void sClean_Click();
};

}  // namespace screens
