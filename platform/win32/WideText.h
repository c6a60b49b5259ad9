#pragma once
// The one conversion between the program's UTF-8 text and the platform's UTF-16. Malformed
// input becomes U+FFFD rather than failing, so a strange file name is still reachable as text.
#include <string>
#include <string_view>

namespace win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace win32
