#include "platform/Text.h"

#include <cctype>

#include <algorithm>

namespace text {
namespace {
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string ToUpper(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), Upper);
    return out;
}

std::string ToLower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

std::string_view Trim(std::string_view s, std::string_view blanks) {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::uint32_t NextCodePoint(std::string_view s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80) return b0;
    const int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
    if (extra < 0) return 0xFFFD;
    std::uint32_t cp = b0 & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

std::string WithTrailingBackslash(std::string path) {
    if (!EndsWith(path, "\\")) path += '\\';
    return path;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string out = WithTrailingBackslash(std::string(folder));
    out += name;
    return out;
}

std::string_view FileNameOf(std::string_view path) {
    const auto cut = path.rfind('\\');
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string_view ParentOf(std::string_view path) {
    const auto cut = path.rfind('\\');
    return cut == std::string_view::npos ? std::string_view{} : path.substr(0, cut);
}

std::string FolderOf(std::string_view path) {
    std::string folder(ParentOf(path));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

std::string ShortenPathMiddle(std::string_view path, const std::function<bool(const std::string&)>& fits) {
    std::string candidate(path);
    if (fits(candidate)) return candidate;
    // The separators between names; those that lead a network path belong to its first name.
    std::vector<size_t> breaks;
    for (size_t i = path.find_first_not_of('\\'); i < path.size(); ++i) {
        if (path[i] == '\\') breaks.push_back(i);
    }
    const auto tried = [&](std::string text) {
        candidate = std::move(text);
        return fits(candidate);
    };
    // The last names, as many as fit, after the first two; at least one name left out.
    for (size_t from = 2; from < breaks.size(); ++from) {
        if (tried(std::string(path.substr(0, breaks[1])) + "\\..." + std::string(path.substr(breaks[from])))) {
            return candidate;
        }
    }
    if (breaks.size() >= 2 &&
        tried(std::string(path.substr(0, breaks[0])) + "\\..." + std::string(path.substr(breaks.back())))) {
        return candidate;
    }
    // The end of the path, whole characters only.
    for (size_t cut = 1; cut < path.size(); ++cut) {
        if ((static_cast<unsigned char>(path[cut]) & 0xC0) == 0x80) continue;
        if (tried("..." + std::string(path.substr(cut)))) return candidate;
    }
    return "...";
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") pattern = "*";  // as FindFirstFile reads it: also names without a dot
    // Iterative match with one backtrack point for the last "*".
    size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Upper(pattern[p]) == Upper(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<char> AccessKeys(const std::vector<std::string>& captions) {
    std::vector<char> keys;
    std::string taken;
    const auto usable = [&](char c) {
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80 &&
               taken.find(upper) == std::string::npos;
    };
    for (const std::string& caption : captions) {
        char key = 0;
        if (caption != "-") {
            // Word starts first, then every other letter.
            for (size_t i = 0; i < caption.size() && !key; ++i) {
                if ((i == 0 || caption[i - 1] == ' ') && usable(caption[i])) key = caption[i];
            }
            for (size_t i = 0; i < caption.size() && !key; ++i) {
                if (usable(caption[i])) key = caption[i];
            }
        }
        key = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
        if (key) taken += key;
        keys.push_back(key);
    }
    return keys;
}

}  // namespace text
