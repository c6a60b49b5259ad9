#pragma once
// Plays the user and the clock for tests on real windows: delivers messages for a while,
// answers this thread's message boxes after they have waited (noting what they said), acts
// from inside whatever modal loop runs later, and stops a message loop that runs too long.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Application.h"
#include "platform/win32/Win32Desktop.h"

namespace testing_support {

class DesktopDriver : private platform::WindowEvents {
public:
    struct Box {
        std::string text;
        std::string caption;
        HWND owner = nullptr;
    };

    explicit DesktopDriver(win32::Win32Desktop& desktop);
    ~DesktopDriver() override;

    // Delivers messages for this long.
    void PumpFor(int milliseconds);
    // Delivers what is waiting, without waiting for more.
    void PumpPending() { PumpFor(0); }
    // The next message box gets this answer once it has waited waitMs.
    void Answer(int result, int waitMs);
    const std::vector<Box>& Boxes() const { return boxes_; }
    // Runs the application's loop; false when it had to be stopped after limitMs.
    bool RunLoopWithin(forms::Application& app, int limitMs);
    // Does something as the user would, that long from now, from whatever loop runs then.
    void After(int milliseconds, std::function<void()> action);

private:
    struct Pending {
        int result;
        int waitMs;
    };
    struct Later {
        unsigned long long due;
        std::function<void()> action;
    };
    enum : int { kPollTimer = 1, kGuardTimer = 2, kLaterTimer = 3 };

    void OnActivated() override {}
    void OnDeactivated() override {}
    void OnResized() override {}
    void OnCloseRequest() override {}
    void OnMenu(int) override {}
    void OnTimer(int id) override;
    void Poll();

    std::unique_ptr<platform::WindowPeer> window_;
    std::deque<Pending> answers_;
    std::vector<Box> boxes_;
    std::vector<Later> later_;
    HWND current_ = nullptr;
    unsigned long long seenAt_ = 0;
    bool guardFired_ = false;
};

// The visible message box of this thread, if one is up.
HWND FindMessageBox();

}  // namespace testing_support
