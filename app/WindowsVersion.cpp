#include "app/WindowsVersion.h"

#include "platform/Ports.h"

namespace app {

bool IsWindowsXP() {
    const platform::OsVersion v = platform::Env().Version();
    return v.callResult == 1 && v.major == 5 && v.minor == 1 && v.platformId == 2;
}

}  // namespace app
