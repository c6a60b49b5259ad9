#pragma once
// Our reading and writing of Windows profile (INI) files, on the file's bytes, matching how
// the platform's GetPrivateProfileStringA reads them:
// - a line ends at CR or LF; blanks (space, tab, VT, FF, Ctrl-Z) around lines, names and
//   values do not count; empty lines are skipped;
// - "[name]" opens a section: the name lies between "[" and the last "]" of the line, and a
//   line that starts with "[" but has no "]" is an ordinary key line;
// - any other line is a key: the name before the first "=", the value after it; a line
//   without "=" is a key without a value, which reads as missing;
// - names match without regard to (ASCII) case; only the first section of a name is
//   searched, and in it the first key of a name wins;
// - a NUL byte ends a name or a value, as it ends the platform's strings;
// - there is no comment syntax: ";text" is a key whose name starts with ";", which no name
//   the program asks for can match;
// - keys before the first section belong to an unnamed section that the name "" finds.
// Every function is one linear pass and keeps no copy of the file.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

// How a profile file is stored. Only a byte-order mark selects a Unicode form; the platform
// reads and rewrites such a file in its own form, and so do we.
enum class ProfileEncoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

struct ProfileText {
    ProfileEncoding encoding = ProfileEncoding::kAnsi;
    std::string text;  // the ANSI bytes as stored, or UTF-8 for the Unicode forms
};

ProfileText DecodeProfile(std::string bytes);
std::string EncodeProfile(const ProfileText& profile);

// The value of section/key as it stands in the file (blanks trimmed, quotes kept), or nullopt
// when the section or the key is missing or the key's line has no "=".
std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key);

// Calls visit for every key line of the section that FindProfileValue searches, in file
// order; value is nullopt for a line without "=". Lets a reader of many keys parse once.
void ForEachProfileKey(std::string_view text, std::string_view section,
                       const std::function<void(std::string_view name, std::optional<std::string_view> value)>& visit);

// What the platform reader hands over when its buffer holds the whole value: a value wrapped in
// matching quotes (" or ') loses them.
std::string_view Unquoted(std::string_view value);

// The text with section/key set to value. An existing key (the one a reader finds) keeps its
// line up to the "=" and gets the new value; a new key goes after the last line of its
// section, a new section at the end. Every other byte stays as it was; what is added ends
// in CRLF.
std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);

}  // namespace settings
