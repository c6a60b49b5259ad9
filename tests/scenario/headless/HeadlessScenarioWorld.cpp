// The scenarios on the headless desktop.
#include "platform/fake/FakeDesktop.h"
#include "scenario/ScenarioWorld.h"

namespace scenario {
namespace {

class HeadlessScenarioWorld final : public ScenarioWorld {
public:
    forms::Application& App() override { return app_; }
    void Pass(int milliseconds) override { desktop_.Advance(milliseconds); }
    void AnswerNextMessage(int result, int waitMs) override { desktop_.Answer(result, waitMs); }

    void ChooseMenu(forms::Form& form, const std::string& item) override {
        const forms::MenuItem* menu = form.FindMenu(item);
        fake::FakeWindowPeer* window = desktop_.Window(form.Name());
        if (menu && window) window->events.OnMenu(menu->id);
    }

    std::string ActiveWindow() override {
        const fake::FakeWindowPeer* active = desktop_.ActiveWindow();
        return active ? active->name : std::string();
    }

    std::string FrontWindow() override {
        const fake::FakeWindowPeer* front = desktop_.FrontWindow();
        return front ? front->name : std::string();
    }

    void BringForward(forms::Form& form) override {
        if (fake::FakeWindowPeer* window = desktop_.Window(form.Name())) desktop_.BringForward(*window);
    }

    bool RunLoop(int limitMs) override {
        app_.Run();
        for (int waited = 0; !desktop_.quit && waited < limitMs; waited += 10) desktop_.Advance(10);
        return desktop_.quit;
    }

private:
    fake::FakeDesktop desktop_;
    forms::Application app_{desktop_};
};

}  // namespace

std::unique_ptr<ScenarioWorld> MakeWorld() { return std::make_unique<HeadlessScenarioWorld>(); }

}  // namespace scenario
