#pragma once
#include <vector>

#include "platform/Automation.h"
#include "platform/win32/ComLibrary.h"

namespace win32 {

// Creates automation objects by ProgID and invokes their members late-bound. The objects stay
// alive as long as this adapter does: what they do (a skin, say) lasts for the process.
class Win32Automation : public platform::Automation {
public:
    Win32Automation() = default;
    ~Win32Automation() override;
    Win32Automation(const Win32Automation&) = delete;
    Win32Automation& operator=(const Win32Automation&) = delete;

    void CallInOrder(const std::string& progId, const std::vector<platform::DispatchCall>& calls) override;

private:
    std::vector<ComPtr<IDispatch>> objects_;
    bool comStarted_ = false;
};

}  // namespace win32
