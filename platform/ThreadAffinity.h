#pragma once
// Work that must run on one thread (the window thread) checks that it does, as a sequence
// checker does: a call from any other thread ends the program at once, with what was called, so
// that a test that crosses threads fails where it crosses instead of racing quietly.
#include <thread>

namespace platform {

class ThreadAffinity {
public:
    // Bound to the thread that makes it.
    ThreadAffinity() : owner_(std::this_thread::get_id()) {}
    // Ends the program when called from another thread; `what` names the call in the message.
    void Check(const char* what) const {
        if (std::this_thread::get_id() != owner_) Violated(what);
    }

private:
    [[noreturn]] static void Violated(const char* what);
    std::thread::id owner_;
};

}  // namespace platform
