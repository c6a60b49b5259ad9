#include "ui/Gradient.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

Rgb Unpack(std::uint32_t packed) {
    return {static_cast<int>(packed & 255), static_cast<int>((packed / 256) & 255),
            static_cast<int>((packed / 65536) & 255)};
}

double Step(int start, int end, double height) {
    const double step = std::abs(start - end) / height;
    return end < start ? -step : step;
}

}  // namespace

int RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double rest = value - floor;
    if (rest > 0.5) return static_cast<int>(floor) + 1;
    if (rest < 0.5) return static_cast<int>(floor);
    const int lower = static_cast<int>(floor);
    return lower % 2 == 0 ? lower : lower + 1;
}

Rgb GradientRow(double y, double height) {
    const Rgb start = Unpack(kGradientStart);
    const Rgb end = Unpack(kGradientEnd);
    if (height <= 0) return start;
    return {RoundHalfEven(start.red + y * Step(start.red, end.red, height)),
            RoundHalfEven(start.green + y * Step(start.green, end.green, height)),
            RoundHalfEven(start.blue + y * Step(start.blue, end.blue, height))};
}

platform::Image RenderGradient(int widthPx, int heightPx, double heightTwips) {
    platform::Image image;
    if (widthPx <= 0 || heightPx <= 0 || heightTwips <= 0) return image;
    image.width = widthPx;
    image.height = heightPx;
    image.pixels.resize(static_cast<size_t>(widthPx) * static_cast<size_t>(heightPx));
    // The last pixel row shows the bottom row of the gradient.
    const double twipsPerRow = heightPx > 1 ? heightTwips / (heightPx - 1) : 0;
    for (int row = 0; row < heightPx; ++row) {
        const Rgb c = GradientRow(row * twipsPerRow, heightTwips);
        const std::uint32_t pixel = (static_cast<std::uint32_t>(c.red) << 16) |
                                    (static_cast<std::uint32_t>(c.green) << 8) | static_cast<std::uint32_t>(c.blue);
        std::fill_n(image.pixels.begin() + static_cast<std::ptrdiff_t>(row) * widthPx, widthPx, pixel);
    }
    return image;
}

}  // namespace ui
