#pragma once
// The backdrop's vertical gradient, pink-violet at the top to black at the bottom.
#include <cstdint>

#include "platform/Desktop.h"

namespace ui {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The start colour, stored packed as FF80FF (blue in the high byte), and the end colour.
inline constexpr platform::Colour kGradientStart = 0xFF80FF;
inline constexpr platform::Colour kGradientEnd = 0;

// Rounds to the nearest whole number, a half to the even neighbour.
int RoundHalfEven(double value);

// The colour of row y (0 at the top, height at the bottom, both included) of a gradient
// height units tall: each component moves linearly from start to end. The window draws the
// gradient with the platform's own gradient fill, which gives each row this colour give or take
// one step of rounding.
Rgb GradientRow(double y, double height);

}  // namespace ui
