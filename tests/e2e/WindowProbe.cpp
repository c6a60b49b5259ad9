// For the README's run check: waits up to a minute for a shown window of its Wine desktop with
// the caption given ("" for any) and, when a second argument names one, the window class; ends
// with 0 once there is one, 1 when none came.
#include "platform/win32/Win32.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const char* caption = argv[1][0] ? argv[1] : nullptr;
    const char* className = argc > 2 ? argv[2] : nullptr;
    for (int i = 0; i < 240; ++i) {
        const HWND window = ::FindWindowA(className, caption);
        if (window && ::IsWindowVisible(window)) return 0;
        ::Sleep(250);
    }
    return 1;
}
