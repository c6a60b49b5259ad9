#pragma once
// Small text helpers shared by every layer. Texts are UTF-8; case folding is ASCII only,
// which is what the program's comparisons of paths, names and keys need.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace text {

std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string_view Trim(std::string_view s, std::string_view blanks = " \t");
bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);

// UTF-8 by code point: appending one, and reading the next one at s[i] (advancing i). A
// malformed sequence reads as U+FFFD.
void AppendUtf8(std::string& out, std::uint32_t codePoint);
std::uint32_t NextCodePoint(std::string_view s, size_t& i);

// Paths in Windows form.
std::string WithTrailingBackslash(std::string path);  // appends "\" unless already there
std::string JoinPath(std::string_view folder, std::string_view name);
std::string_view FileNameOf(std::string_view path);   // after the last "\"
std::string_view ParentOf(std::string_view path);     // before the last "\" ("" for none)
// The folder that holds a path, as it can be opened: a drive's root keeps its "\" ("C:\x" gives
// "C:\").
std::string FolderOf(std::string_view path);
// The path itself when fits takes it, else shortened in its middle: its first two names and
// as many of its last names as fit ("C:\Users\...\Holiday 2019"), then its first name and its
// last ("C:\...\Holiday 2019"), then the end of its last name ("...day 2019").
std::string ShortenPathMiddle(std::string_view path, const std::function<bool(const std::string&)>& fits);
// The access key of each of a menu's items, as an upper-case ASCII letter or digit, 0 for none
// (a separator, "-", or no letter left): the first letter of its first word not taken by an
// item before it, else of a later word, else any later letter of it. The captions stay as they
// are: the keys are matched when the menu asks, not marked with "&".
std::vector<char> AccessKeys(const std::vector<std::string>& captions);
// "*" and "?" as FindFirstFile reads them (without the 8.3 quirks), no regard to case.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace text
