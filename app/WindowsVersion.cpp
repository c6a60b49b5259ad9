#include "app/WindowsVersion.h"

#include "platform/Environment.h"

namespace app {

bool IsWindowsXP(platform::Environment& env) {
    const platform::OsVersion v = env.Version();
    return v.callResult == 1 && v.major == 5 && v.minor == 1 && v.platformId == 2;
}

}  // namespace app
