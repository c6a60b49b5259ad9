#include "screens/Form6.h"

#include "forms/Application.h"
#include "settings/CsdlConstants.h"

namespace screens {

Form6::Form6() : Form("Form6", 4800, 3600, {false, true}) {
    // Working storage only: thousands of names may pass through its list.
    KeepControlsOffScreen();
    File1.Move(120, 120, 2000, 1500);
}

void Form6::Form_Load() {
    File1.SetPath(settings::GetSpecialFolderPath(settings::kCsidlCookies));
    File1.SetVisible(false);
    forms::App().Hide(*this);
}

}  // namespace screens
