#pragma once
#include <string>
#include <vector>

#include "platform/Automation.h"

namespace fake {

// Records every sequence of calls it is asked to make.
class FakeAutomation : public platform::Automation {
public:
    struct Sequence {
        std::string progId;
        std::vector<platform::DispatchCall> calls;
    };
    std::vector<Sequence> sequences;

    void CallInOrder(const std::string& progId, const std::vector<platform::DispatchCall>& calls) override {
        sequences.push_back({progId, calls});
    }
};

}  // namespace fake
