#pragma once

#include "platform/Environment.h"

namespace app {

// True only on Windows XP (5.1, NT platform) and only when the version query succeeded.
bool IsWindowsXP(platform::Environment& env);

}  // namespace app
