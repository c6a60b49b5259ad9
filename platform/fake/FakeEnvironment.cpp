#include "platform/fake/FakeEnvironment.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>

#include "platform/Text.h"

namespace fake {
namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five bytes the code page leaves undefined,
// which Windows maps to the same code point.
constexpr std::array<std::uint16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::uint32_t CodePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0) return kHigh[byte - 0x80];
    return byte;
}

}  // namespace

void FakeEnvironment::SetVariable(const std::string& name, const std::string& value) {
    variables_[text::ToUpper(name)] = value;
}

void FakeEnvironment::UnsetVariable(const std::string& name) { variables_.erase(text::ToUpper(name)); }

std::optional<std::string> FakeEnvironment::Variable(std::string_view name) {
    const auto it = variables_.find(text::ToUpper(name));
    if (it == variables_.end()) return std::nullopt;
    return it->second;
}

std::string FakeEnvironment::FromAnsi(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (const char c : ansi) text::AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    return out;
}

std::string FakeEnvironment::ToAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const std::uint32_t cp = text::NextCodePoint(utf8, i);
        char byte = '?';
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            byte = static_cast<char>(cp);
        } else {
            for (unsigned k = 0; k < kHigh.size(); ++k) {
                if (kHigh[k] == cp || (kHigh[k] == 0 && cp == 0x80 + k)) byte = static_cast<char>(0x80 + k);
            }
        }
        out += byte;
    }
    return out;
}

namespace {

class HeldFakeLock final : public platform::HeldLock {
public:
    explicit HeldFakeLock(std::unique_lock<std::timed_mutex> lock) : lock_(std::move(lock)) {}

private:
    std::unique_lock<std::timed_mutex> lock_;
};

}  // namespace

std::unique_ptr<platform::HeldLock> FakeEnvironment::LockByName(std::string_view name, int timeoutMs) {
    static std::mutex registryGuard;
    static std::map<std::string, std::timed_mutex, std::less<>> registry;  // a map keeps its mutexes in place
    std::timed_mutex* mutex = nullptr;
    {
        const std::lock_guard guard(registryGuard);
        mutex = &registry[std::string(name)];
    }
    std::unique_lock lock(*mutex, std::chrono::milliseconds(timeoutMs));
    if (!lock.owns_lock()) return nullptr;
    return std::make_unique<HeldFakeLock>(std::move(lock));
}

}  // namespace fake
