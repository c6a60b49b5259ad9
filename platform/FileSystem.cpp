#include "platform/FileSystem.h"

#include <algorithm>
#include <iterator>

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

using DeviceLookup = std::function<std::optional<std::string>(std::string_view)>;

// The prefixes that leave the paths Windows reads as drive paths and shares.
constexpr std::string_view kNamespacePrefixes[] = {"\\\\?\\", "\\\\.\\", "\\??\\"};
// Each step names another name; a loop of devices ends here.
constexpr int kMaxDeviceSteps = 8;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::optional<std::string> FromNtPath(std::string_view nt, const DeviceLookup& deviceOf, int steps);

// "NAME\rest" in the DOS device namespace: a drive, "UNC", "GLOBALROOT" or another device name.
std::optional<std::string> FromDosDevices(std::string_view path, const DeviceLookup& deviceOf, int steps) {
    if (steps > kMaxDeviceSteps) return std::nullopt;
    const std::size_t cut = std::min(path.find('\\'), path.size());
    const std::string_view name = path.substr(0, cut);
    const std::string_view rest = path.substr(cut);  // "" or "\..."
    if (name.size() == 2 && name[1] == ':' && ((name[0] | 0x20) >= 'a' && (name[0] | 0x20) <= 'z')) {
        return std::string(name) + (rest.empty() ? std::string("\\") : std::string(rest));
    }
    if (text::EqualsNoCase(name, "UNC")) {
        if (rest.size() < 2) return std::nullopt;
        return "\\" + std::string(rest);
    }
    if (text::EqualsNoCase(name, "GLOBALROOT")) return FromNtPath(rest, deviceOf, steps + 1);
    if (name.empty()) return std::nullopt;
    const std::optional<std::string> target = deviceOf(name);
    if (!target) return std::nullopt;
    return FromNtPath(*target + std::string(rest), deviceOf, steps + 1);
}

// An NT path: the DOS devices again, the network's redirector, or a volume some drive letter
// stands for.
std::optional<std::string> FromNtPath(std::string_view nt, const DeviceLookup& deviceOf, int steps) {
    for (const std::string_view dosDevices : {"\\??\\", "\\DosDevices\\", "\\GLOBAL??\\"}) {
        if (StartsWithNoCase(nt, dosDevices)) return FromDosDevices(nt.substr(dosDevices.size()), deviceOf, steps);
    }
    constexpr std::string_view kNetwork = "\\Device\\Mup\\";
    if (StartsWithNoCase(nt, kNetwork)) {
        if (nt.size() == kNetwork.size()) return std::nullopt;
        return "\\\\" + std::string(nt.substr(kNetwork.size()));
    }
    if (!StartsWithNoCase(nt, "\\Device\\")) return std::nullopt;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string drive{letter, ':'};
        const std::optional<std::string> volume = deviceOf(drive);
        if (!volume || !StartsWithNoCase(*volume, "\\Device\\") || !StartsWithNoCase(nt, *volume)) continue;
        const std::string_view rest = nt.substr(volume->size());
        if (rest.empty()) return drive + "\\";
        if (rest.front() == '\\') return drive + std::string(rest);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> PlainPath(std::string_view path, const DeviceLookup& deviceOf) {
    std::string separated(path);
    std::replace(separated.begin(), separated.end(), '/', '\\');
    for (const std::string_view prefix : kNamespacePrefixes) {
        if (!text::StartsWith(separated, prefix)) continue;
        std::optional<std::string> plain = FromDosDevices(std::string_view(separated).substr(prefix.size()), deviceOf, 0);
        // What it names must be plain by now ("\\.\UNC\?\unix" is not).
        if (plain && std::any_of(std::begin(kNamespacePrefixes), std::end(kNamespacePrefixes),
                                 [&](std::string_view p) { return text::StartsWith(*plain, p); })) {
            return std::nullopt;
        }
        return plain;
    }
    return std::string(path);
}

std::optional<std::string> FileSystem::PlainPath(std::string_view path) {
    return platform::PlainPath(path, [this](std::string_view name) { return DosDevice(name); });
}

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
