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
inline constexpr std::uint32_t kGradientStart = 0xFF80FF;
inline constexpr std::uint32_t kGradientEnd = 0;

// Rounds to the nearest whole number, a half to the even neighbour.
int RoundHalfEven(double value);

// The colour of row y (0 at the top, height at the bottom, both included) of a gradient
// height units tall: each component moves linearly from start to end.
Rgb GradientRow(double y, double height);

// The gradient as a picture of widthPx x heightPx pixels for an inner area heightTwips tall:
// the pixel rows sample the gradient's rows evenly, the first and the last row included.
// Empty when the height is 0.
platform::Image RenderGradient(int widthPx, int heightPx, double heightTwips);

}  // namespace ui
