// The scenarios on real windows.
#include "platform/win32/Win32Desktop.h"
#include "scenario/ScenarioWorld.h"
#include "tests/win32/world/DesktopDriver.h"

namespace scenario {
namespace {

class Win32ScenarioWorld final : public ScenarioWorld {
public:
    forms::Application& App() override { return app_; }
    void Pass(int milliseconds) override { driver_.PumpFor(milliseconds); }
    void AnswerNextMessage(int result, int waitMs) override { driver_.Answer(result, waitMs); }

    void ChooseMenu(forms::Form& form, const std::string& item) override {
        const forms::MenuItem* menu = form.FindMenu(item);
        if (!menu) return;
        ::PostMessageW(reinterpret_cast<HWND>(form.Handle()), WM_COMMAND, static_cast<WPARAM>(menu->id), 0);
        driver_.PumpPending();
    }

    std::string ActiveWindow() override {
        const std::uintptr_t active = reinterpret_cast<std::uintptr_t>(::GetActiveWindow());
        for (const forms::Form* form : app_.Forms()) {
            if (active != 0 && form->Handle() == active) return form->Name();
        }
        return {};
    }

    std::string FrontWindow() override {
        for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
            if (!::IsWindowVisible(window)) continue;
            for (const forms::Form* form : app_.Forms()) {
                if (form->Handle() == reinterpret_cast<std::uintptr_t>(window)) return form->Name();
            }
        }
        return {};
    }

    void BringForward(forms::Form& form) override {
        ::SetForegroundWindow(reinterpret_cast<HWND>(form.Handle()));
        driver_.PumpPending();
    }

    bool RunLoop(int limitMs) override { return driver_.RunLoopWithin(app_, limitMs); }

private:
    win32::Win32Desktop desktop_;
    testing_support::DesktopDriver driver_{desktop_};
    forms::Application app_{desktop_};
};

}  // namespace

std::unique_ptr<ScenarioWorld> MakeWorld() { return std::make_unique<Win32ScenarioWorld>(); }

}  // namespace scenario
