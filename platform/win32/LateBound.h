#pragma once
// Functions of a library loaded at run time instead of imported, so that a program that seldom
// needs the library does not load it (and all it pulls in) at every start.
#include "platform/win32/Win32.h"

namespace win32 {

// Sets function to the library's export of that name; false (and nullptr) when it has none.
template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& function) {
    // Through the one function-pointer type a cast to any other is allowed from.
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
    return function != nullptr;
}

}  // namespace win32
