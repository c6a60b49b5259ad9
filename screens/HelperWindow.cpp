#include "screens/HelperWindow.h"

#include "forms/Application.h"
#include "settings/KnownFolders.h"

namespace screens {

HelperWindow::HelperWindow(const platform::Ports& ports)
    : Form("Form6", 4800, 3600, {false, true}),
      cookieFiles(*this, "File1", *ports.fileSystem),
      folders_(*ports.folders) {
    // Working storage only: thousands of names may pass through its list.
    KeepControlsOffScreen();
    cookieFiles.Move(120, 120, 2000, 1500);
}

void HelperWindow::Form_Load() {
    cookieFiles.SetPath(settings::GetSpecialFolderPath(folders_, settings::kCsidlCookies));
    cookieFiles.SetVisible(false);
    App().Hide(*this);
}

}  // namespace screens
