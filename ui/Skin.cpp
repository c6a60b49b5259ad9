#include "ui/Skin.h"

#include "platform/Ports.h"

namespace ui {

std::vector<platform::DispatchCall> SkinCalls(std::uintptr_t windowHandle) {
    using Kind = platform::DispatchArgument::Kind;
    return {
        {14, {Kind::kInt16, 1, {}}},
        {8, {Kind::kText, 0, kSkinFile}},
        {7, {Kind::kNone, 0, {}}},
        {6, {Kind::kInt32, static_cast<long>(windowHandle), {}}},
    };
}

void ApplySkin(platform::Automation& automation, std::uintptr_t windowHandle) {
    automation.CallInOrder(kSkinProgId, SkinCalls(windowHandle));
}

}  // namespace ui
