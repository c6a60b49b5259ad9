#pragma once

namespace app {

// True only on Windows XP (5.1, NT platform) and only when the version query succeeded.
bool IsWindowsXP();

}  // namespace app
