#include "app/WinProc.h"

#include <vector>

#include "platform/Ports.h"

namespace app {
namespace {
bool IsSeparator(char c) { return c == ' ' || c == '/' || c == '\t' || c == '"'; }
}  // namespace

std::string GetCommandArg(std::string_view argText, int maxArgs) {
    if (maxArgs < 0) maxArgs = 0;
    std::vector<std::string> tokens(static_cast<size_t>(maxArgs) + 1);  // slot 0 stays empty
    int count = 0;
    bool inside = false;
    for (const char c : argText) {
        if (IsSeparator(c)) {
            inside = false;
            continue;
        }
        if (!inside) {
            if (count == maxArgs) break;  // the token after the last slot is not read
            ++count;
            inside = true;
        }
        tokens[static_cast<size_t>(count)] += c;
    }
    return tokens[static_cast<size_t>(count)];
}

std::string GetCommandArg(int maxArgs) { return GetCommandArg(platform::Env().CommandArgs(), maxArgs); }

bool IsAutoCleanRequest(const std::string& token) { return token == "a" || token == "A"; }

}  // namespace app
