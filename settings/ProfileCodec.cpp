#include "settings/ProfileCodec.h"

#include <algorithm>
#include <cstdint>

#include "platform/Text.h"

namespace settings {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// What the platform trims around lines, names and values; Ctrl-Z is an old end-of-file mark.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view TrimBlanks(std::string_view s) {
    std::size_t first = 0, last = s.size();
    while (first < last && IsBlank(s[first])) ++first;
    while (last > first && IsBlank(s[last - 1])) --last;
    return s.substr(first, last - first);
}

std::string_view CutAtNul(std::string_view s) { return s.substr(0, s.find('\0')); }

// A name as the platform takes it from a caller: a C string, blanks around it dropped.
std::string_view QueryName(std::string_view name) { return TrimBlanks(CutAtNul(name)); }

struct Line {
    bool isSection = false;
    std::string_view name;
    std::optional<std::string_view> value;  // key lines with "=" only
    std::size_t valueBegin = 0;             // just after the "="
    std::size_t end = 0;                    // the line break, or the end of the text
    std::size_t next = 0;                   // just after the line break
};

// The non-blank lines of a profile, one at a time.
class LineScanner {
public:
    explicit LineScanner(std::string_view text) : text_(text), nextCr_(Find('\r')), nextLf_(Find('\n')) {}

    bool Next(Line& line) {
        while (pos_ < text_.size()) {
            const std::size_t begin = pos_;
            const std::size_t end = std::min(NextOf('\r', nextCr_), NextOf('\n', nextLf_));
            std::size_t next = end;
            if (next < text_.size()) {
                next += (text_[next] == '\r' && next + 1 < text_.size() && text_[next + 1] == '\n') ? 2 : 1;
            }
            pos_ = next;

            const std::string_view trimmed = TrimBlanks(text_.substr(begin, end - begin));
            if (trimmed.empty()) continue;
            const auto trimmedAt = static_cast<std::size_t>(trimmed.data() - text_.data());
            line = Line{};
            line.end = end;
            line.next = next;
            if (trimmed.front() == '[') {
                const std::size_t close = trimmed.rfind(']');
                if (close != std::string_view::npos) {
                    line.isSection = true;
                    line.name = CutAtNul(TrimBlanks(trimmed.substr(1, close - 1)));
                    return true;
                }
            }
            const std::size_t equals = trimmed.find('=');
            if (equals == std::string_view::npos) {
                line.name = CutAtNul(trimmed);
            } else {
                line.name = CutAtNul(TrimBlanks(trimmed.substr(0, equals)));
                line.value = CutAtNul(TrimBlanks(trimmed.substr(equals + 1)));
                line.valueBegin = trimmedAt + equals + 1;
            }
            return true;
        }
        return false;
    }

private:
    // The next c at or after pos_. The last find is kept, so that a file without that character
    // is searched once, not once per line.
    std::size_t NextOf(char c, std::size_t& cached) {
        if (cached < pos_) cached = Find(c);
        return cached;
    }

    std::size_t Find(char c) const { return std::min(text_.find(c, pos_), text_.size()); }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t nextCr_;
    std::size_t nextLf_;
};

// Calls onLine with the header and then every key line of the first section named `section`
// (the lines before the first header form the unnamed section) until onLine returns false.
// Returns whether the section exists.
template <typename OnLine>
bool VisitSection(std::string_view text, std::string_view section, OnLine onLine) {
    const std::string_view wanted = QueryName(section);
    LineScanner lines(text);
    bool found = wanted.empty();
    Line line;
    while (lines.Next(line)) {
        if (line.isSection) {
            // The section ends at the next header; a later section of the same name is never searched.
            if (found) break;
            if (!text::EqualsNoCase(line.name, wanted)) continue;
            found = true;
        } else if (!found) {
            continue;
        }
        if (!onLine(line)) break;
    }
    return found;
}

// UTF-16 to UTF-8. Unpaired surrogates are kept as three-byte sequences, so that a file
// rewritten after one key changed keeps every other character.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string padded(bytes);
    if (padded.size() % 2 != 0) padded += '\0';  // the platform reads a last odd byte as a character
    std::string out;
    out.reserve(padded.size());
    const auto unitAt = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(padded[i]);
        const auto b = static_cast<unsigned char>(padded[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t i = 0; i < padded.size(); i += 2) {
        std::uint32_t cp = unitAt(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < padded.size()) {
            const std::uint32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        text::AppendUtf8(out, cp);
    }
    return out;
}

// The inverse of Utf16ToUtf8; a malformed byte becomes U+FFFD.
std::string Utf8ToUtf16(std::string_view s, bool bigEndian) {
    std::string out;
    out.reserve(s.size() * 2);
    const auto put = [&](std::uint32_t unit) {
        const char hi = static_cast<char>(unit >> 8);
        const char lo = static_cast<char>(unit & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    for (std::size_t i = 0; i < s.size();) {
        const std::uint32_t cp = text::NextCodePoint(s, i);
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

}  // namespace

ProfileText DecodeProfile(std::string bytes) {
    const std::string_view view = bytes;
    if (text::StartsWith(view, kUtf16LeBom)) return {ProfileEncoding::kUtf16Le, Utf16ToUtf8(view.substr(2), false)};
    if (text::StartsWith(view, kUtf16BeBom)) return {ProfileEncoding::kUtf16Be, Utf16ToUtf8(view.substr(2), true)};
    if (text::StartsWith(view, kUtf8Bom)) {
        bytes.erase(0, kUtf8Bom.size());
        return {ProfileEncoding::kUtf8, std::move(bytes)};
    }
    return {ProfileEncoding::kAnsi, std::move(bytes)};
}

std::string EncodeProfile(const ProfileText& profile) {
    switch (profile.encoding) {
        case ProfileEncoding::kUtf8:
            return std::string(kUtf8Bom) + profile.text;
        case ProfileEncoding::kUtf16Le:
            return std::string(kUtf16LeBom) + Utf8ToUtf16(profile.text, false);
        case ProfileEncoding::kUtf16Be:
            return std::string(kUtf16BeBom) + Utf8ToUtf16(profile.text, true);
        case ProfileEncoding::kAnsi:
            break;
    }
    return profile.text;
}

std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key) {
    const std::string_view wanted = QueryName(key);
    std::optional<std::string_view> value;
    VisitSection(text, section, [&](const Line& line) {
        if (line.isSection || !text::EqualsNoCase(line.name, wanted)) return true;
        value = line.value;
        return false;
    });
    return value;
}

void ForEachProfileKey(std::string_view text, std::string_view section,
                       const std::function<void(std::string_view name, std::optional<std::string_view> value)>& visit) {
    VisitSection(text, section, [&](const Line& line) {
        if (!line.isSection) visit(line.name, line.value);
        return true;
    });
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
    const std::string_view wantedKey = QueryName(key);
    value = CutAtNul(value);
    std::optional<Line> match;
    // Where a new key goes: after the section's last line that is not a comment.
    std::size_t insertAt = 0;
    bool insertAfterBreak = true;
    const bool found = VisitSection(text, section, [&](const Line& line) {
        if (!line.isSection && text::EqualsNoCase(line.name, wantedKey)) {
            match = line;
            return false;
        }
        if (line.isSection || !text::StartsWith(line.name, ";")) {
            insertAt = line.next;
            insertAfterBreak = line.next > line.end;
        }
        return true;
    });

    std::string out;
    out.reserve(text.size() + section.size() + wantedKey.size() + value.size() + 8);
    if (match && match->value) {
        out.append(text.substr(0, match->valueBegin)).append(value).append(text.substr(match->end));
    } else if (match) {
        out.append(text.substr(0, match->end)).append("=").append(value).append(text.substr(match->end));
    } else if (found) {
        out.append(text.substr(0, insertAt));
        if (!insertAfterBreak) out.append("\r\n");
        out.append(wantedKey).append("=").append(value).append("\r\n").append(text.substr(insertAt));
    } else {
        out.append(text);
        if (!text.empty() && text.back() != '\r' && text.back() != '\n') out.append("\r\n");
        out.append("[").append(QueryName(section)).append("]\r\n");
        out.append(wantedKey).append("=").append(value).append("\r\n");
    }
    return out;
}

}  // namespace settings
