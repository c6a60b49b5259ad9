#pragma once
// The conversions between the program's UTF-8 text and the platform's text: UTF-16 for the
// wide calls, the ANSI code page for the few ANSI calls and files. Malformed UTF-8 becomes
// U+FFFD rather than failing, so a strange file name is still reachable as text.
#include <optional>
#include <string>
#include <string_view>

namespace win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// What becomes of a character that the ANSI code page cannot hold. Never a "best fit"
// look-alike (Greek Omega as "O"), which could name a different file or entry.
enum class AnsiLoss {
    kReplace,  // it becomes "?": for text that is only shown or stored as it is
    kRefuse,   // the conversion fails: for a name that must reach exactly its own object
};
// UTF-8 to the ANSI code page; nullopt only with kRefuse, for text the code page cannot hold
// exactly or that holds a NUL.
std::optional<std::string> ToAnsi(std::string_view utf8, AnsiLoss loss);
std::string FromAnsi(std::string_view ansi);

}  // namespace win32
