#pragma once
// The backdrop's vertical gradient, pink-violet at the top to black at the bottom; the window
// draws it with the platform's own gradient fill, each row in its colour of the line between.
#include "platform/Desktop.h"

namespace ui {

// The start colour, stored packed as FF80FF (blue in the high byte), and the end colour.
inline constexpr platform::Colour kGradientStart = 0xFF80FF;
inline constexpr platform::Colour kGradientEnd = 0;

}  // namespace ui
