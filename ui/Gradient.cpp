#include "ui/Gradient.h"

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

}  // namespace ui
