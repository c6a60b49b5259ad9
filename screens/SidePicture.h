#pragma once
#include "forms/Control.h"

namespace screens {

// The resource name of the picture every screen shows down its left side.
inline constexpr const char* kSidePictureResource = "SIDEPICTURE";

// Puts the side picture into a screen's picture box (loaded once, shared by every screen).
void ShowSidePicture(forms::PictureBox& box);

}  // namespace screens
