#pragma once
// What `Morvane.exe /?` tells: the run modes, the exit codes, and where the settings and the
// record live.
#include <string>

#include "forms/Application.h"
#include "platform/Environment.h"

namespace app {

// Whether the command line asks for the usage: its token is "?" (from "/?", since "/" separates
// tokens), "-?", "-h" or "--help", in any letter case.
bool IsHelpRequest(const std::string& token);

std::string UsageText(platform::Environment& env);

// Writes the usage where the program's output goes, or shows it in a message box when there is
// no console.
void ShowUsage(forms::Application& app, platform::Environment& env);

}  // namespace app
