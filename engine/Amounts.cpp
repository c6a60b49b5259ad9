#include "engine/Amounts.h"

#include <array>

namespace engine {

std::string CountText(std::uint64_t count) {
    const std::string digits = std::to_string(count);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string ItemsText(std::uint64_t count) { return CountText(count) + (count == 1 ? " item" : " items"); }

std::string BytesText(std::uint64_t bytes) {
    if (bytes < 1024) return CountText(bytes) + (bytes == 1 ? " byte" : " bytes");
    static constexpr std::array<const char*, 4> kUnits = {"KB", "MB", "GB", "TB"};
    std::size_t unit = 0;
    std::uint64_t size = 1024;
    while (unit + 1 < kUnits.size() && bytes / size >= 1024) {
        ++unit;
        size *= 1024;
    }
    // Tenths of the unit, rounded half up, in whole numbers so that no amount is off by a
    // rounding of the floating point.
    std::uint64_t tenths = bytes / size * 10 + (bytes % size * 10 + size / 2) / size;
    if (tenths >= 10240 && unit + 1 < kUnits.size()) {  // 1023.96 KB shows as 1.0 MB
        ++unit;
        size *= 1024;
        tenths = bytes / size * 10 + (bytes % size * 10 + size / 2) / size;
    }
    return CountText(tenths / 10) + "." + std::to_string(tenths % 10) + " " + kUnits[unit];
}

std::string DurationText(std::uint64_t milliseconds) {
    const std::uint64_t seconds = milliseconds / 1000;
    if (seconds < 60) {
        const std::uint64_t tenths = (milliseconds + 50) / 100;
        return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
    }
    if (seconds < 3600) return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
    return CountText(seconds / 3600) + " h " + std::to_string(seconds % 3600 / 60) + " min";
}

}  // namespace engine
