#include "common/Form6.h"

#include "forms/Application.h"
#include "settings/CsdlConstants.h"

namespace common {

Form6::Form6() : Form("Form6", 4800, 3600, {false, true}) {
    // Working storage only: thousands of entries pass through these lists.
    KeepControlsOffScreen();
    File1.Move(120, 120, 2000, 1500);
    List1.Move(2200, 120, 2000, 700);
    List2.Move(2200, 900, 2000, 700);
    List3.Move(120, 1700, 2000, 700);
    List4.Move(2200, 1700, 2000, 700);
}

void Form6::Form_Load() {
    File1.SetPath(settings::GetSpecialFolderPath(settings::kCsidlCookies));
    File1.SetVisible(false);
    forms::App().Hide(*this);
}

}  // namespace common
