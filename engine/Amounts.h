#pragma once
// Amounts as the program writes them for people: counts with thousands separators ("51,234")
// and sizes in 1024-based units with one decimal ("1.2 GB", "512 bytes").
#include <cstdint>
#include <string>

namespace engine {

std::string CountText(std::uint64_t count);
std::string BytesText(std::uint64_t bytes);
// "1 item", "51,234 items".
std::string ItemsText(std::uint64_t count);
// "0.4 s", "4 min 5 s", "2 h 3 min".
std::string DurationText(std::uint64_t milliseconds);

}  // namespace engine
