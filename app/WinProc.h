#pragma once
// The command line.
#include <string>
#include <string_view>

namespace app {

// The last token of argText, or the maxArgs-th when there are more than maxArgs tokens; ""
// when there is none. Tokens are separated by runs of blanks, "/", tabs and double quotes.
std::string GetCommandArg(std::string_view argText, int maxArgs = 10);
// The same on the argument text of this process.
std::string GetCommandArg(int maxArgs = 10);

// Whether the command line asks for the unattended clean: its token is exactly "a" or "A".
bool IsAutoCleanRequest(const std::string& token);

}  // namespace app
