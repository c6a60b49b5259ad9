#pragma once
// Amounts as the program writes them for people: counts with thousands separators ("51,234"),
// sizes in the largest unit that keeps them above one ("1.2 GB").
#include <cstdint>
#include <string>

namespace engine {

std::string CountText(std::uint64_t count);
std::string BytesText(std::uint64_t bytes);

}  // namespace engine
