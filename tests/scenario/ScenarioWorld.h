#pragma once
// What a scenario needs from a desktop. The same scenarios run on the headless desktop and on
// real windows under Windows or Wine, so the headless desktop cannot drift from the real one
// without a scenario failing on one side.
#include <memory>
#include <string>

#include "forms/Application.h"

namespace scenario {

class ScenarioWorld {
public:
    virtual ~ScenarioWorld() = default;
    virtual forms::Application& App() = 0;
    // Lets time pass with every event delivered: the virtual clock, or real messages that long.
    virtual void Pass(int milliseconds) = 0;
    // The next message box is answered with result once it has waited waitMs.
    virtual void AnswerNextMessage(int result, int waitMs) = 0;
    // Chooses a menu item as the user does, through the desktop, and delivers what follows.
    virtual void ChooseMenu(forms::Form& form, const std::string& item) = 0;
    // The form whose window the desktop holds active; "" when no window of ours is.
    virtual std::string ActiveWindow() = 0;
    // The form whose window is shown in front of every other of ours; "" when none is shown.
    virtual std::string FrontWindow() = 0;
    // The user (or another program) brings the form's shown window forward and activates it.
    virtual void BringForward(forms::Form& form) = 0;
    // Runs the program's event loop; false when it has not ended within limitMs.
    virtual bool RunLoop(int limitMs) = 0;
};

// The world of the desktop this test program is built for.
std::unique_ptr<ScenarioWorld> MakeWorld();

}  // namespace scenario
