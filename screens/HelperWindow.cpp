#include "screens/HelperWindow.h"

#include "forms/Application.h"
#include "settings/KnownFolders.h"

namespace screens {

HelperWindow::HelperWindow() : Form("Form6", 4800, 3600, {false, true}) {
    // Working storage only: thousands of names may pass through its list.
    KeepControlsOffScreen();
    cookieFiles.Move(120, 120, 2000, 1500);
}

void HelperWindow::Form_Load() {
    cookieFiles.SetPath(settings::GetSpecialFolderPath(settings::kCsidlCookies));
    cookieFiles.SetVisible(false);
    forms::App().Hide(*this);
}

}  // namespace screens
