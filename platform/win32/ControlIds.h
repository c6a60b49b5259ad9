#pragma once
// A control's window id comes from its name, so that a program driving ours from outside (the
// end-to-end tests, an accessibility tool) finds "List2" the same way on every screen.
#include <cstdint>
#include <string_view>

namespace win32 {

constexpr int ControlIdOf(std::string_view name) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return 1000 + static_cast<int>(hash % 30000u);
}

}  // namespace win32
