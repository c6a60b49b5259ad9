#pragma once
// Late-bound calls on an automation object created by its ProgID.
#include <string>
#include <vector>

namespace platform {

struct DispatchArgument {
    enum class Kind { kNone, kInt16, kInt32, kText };
    Kind kind = Kind::kNone;
    long number = 0;
    std::string text;
};

struct DispatchCall {
    int memberId = 0;
    DispatchArgument argument;
};

class Automation {
public:
    virtual ~Automation() = default;
    // Creates the object and invokes each member as a method, in order, with its argument.
    // Nothing is reported: a missing component or a failing call is passed over.
    virtual void CallInOrder(const std::string& progId, const std::vector<DispatchCall>& calls) = 0;
};

}  // namespace platform
