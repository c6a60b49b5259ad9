#pragma once
// The skin: a skinning component, when one is installed, restyles the program's windows.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Automation.h"

namespace ui {

inline constexpr const char* kSkinProgId = "WBOCXLib.Wbocx";
inline constexpr const char* kSkinFile = "\\Skin1\\Skin1.uis";

// The four calls, in order: member 14 with the 16-bit 1, member 8 with the skin file, member 7,
// member 6 with the window handle.
std::vector<platform::DispatchCall> SkinCalls(std::uintptr_t windowHandle);

// Hands the skin file to the skinning component for the window; nothing happens when the
// component is not installed.
void ApplySkin(platform::Automation& automation, std::uintptr_t windowHandle);

}  // namespace ui
