#include "platform/FileSystem.h"

#include "platform/Text.h"

namespace platform {
namespace {

// The decimal number at the start of text, moving past it; nullopt when there is none.
std::optional<std::uint64_t> TakeNumber(std::string_view& text) {
    std::size_t digits = 0;
    std::uint64_t value = 0;
    while (digits < text.size() && digits < 10 && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + static_cast<std::uint64_t>(text[digits] - '0');
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

}  // namespace

std::optional<std::uint32_t> TemporaryFileWriter(std::string_view name, std::string_view targetName) {
    if (name.size() <= targetName.size() + 1 || !text::EqualsNoCase(name.substr(0, targetName.size()), targetName) ||
        name[targetName.size()] != '.') {
        return std::nullopt;
    }
    std::string_view rest = name.substr(targetName.size() + 1);
    const auto process = TakeNumber(rest);
    if (!process || *process > 0xFFFFFFFFu || rest.empty() || rest.front() != '-') return std::nullopt;
    rest.remove_prefix(1);
    if (!TakeNumber(rest) || !text::EqualsNoCase(rest, ".tmp")) return std::nullopt;
    return static_cast<std::uint32_t>(*process);
}

}  // namespace platform
