#pragma once
// The frame every screen is built on: its menu-bar commands and their hand-over (hide this
// screen, open the next, let a one-shot timer destroy this one a moment later), the busy
// pointer, the status text written into the backdrop while the screen is active, and the
// close-all that leaves only the resident main window.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/Desktop.h"
#include "screens/ScreenServices.h"

namespace screens {

// Destroys a screen that is only waiting for its own timer to destroy it, so that a command
// leading back to it at once builds it anew, as coming back a moment later would, instead of
// showing it just before the timer takes it away (or, for a Load, not showing it at all).
void DestroyIfLeaving(forms::Application& app, forms::Form* form);

// What work beside the windows is handed: whether it is still wanted, and where it counts what it
// has found so far, which the screen shows as it goes.
struct BesideProgress {
    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> found{0};
    bool Stopped() const { return stop.load(); }
};

// A screen or page a command leads to: how to Load it and how to Show it. A command the user
// chose shows its screen: a Load that finds the screen kept hidden (behind a help page) shows it.
struct Target {
    // What a target's preparation hands back: it makes the target with what was prepared at
    // hand, on the window thread, when the target has to be made.
    using Prepared = std::function<std::unique_ptr<forms::Form>()>;

    // Each is given the maker of the target when its work was prepared, an empty one otherwise.
    std::function<void(forms::Application& app, const Prepared& made)> load;
    std::function<void(forms::Application& app, const Prepared& made)> show;
    // Work the target needs before it can be built (a listing), done beside the windows on a
    // thread of its own that touches no window, while the screen that leads there stays shown
    // and its status line says what the work has found so far (after `preparing`); it ends soon
    // once its progress says stop. Empty: the target is built at once.
    std::function<Prepared(const ScreenServices& services, BesideProgress& progress)> prepare;
    std::string preparing;

    template <class F>
    static Target Of() {
        Target target{[](forms::Application& app, const Prepared& made) {
                          DestroyIfLeaving(app, app.Find<F>());
                          if (F* kept = app.Find<F>(); kept && !kept->Visible()) {
                              app.Show(*kept);
                          } else {
                              Make<F>(app, made);
                          }
                      },
                      [](forms::Application& app, const Prepared& made) {
                          DestroyIfLeaving(app, app.Find<F>());
                          app.Show(Make<F>(app, made));
                      },
                      {}};
        if constexpr (requires(const ScreenServices& services, BesideProgress& progress) {
                          F::Prepare(services, progress);
                      }) {
            target.prepare = &F::Prepare;
            target.preparing = F::kPreparing;
        }
        return target;
    }

private:
    // The form of type F: the one there is, or one made from what was prepared, or one the
    // application makes.
    template <class F>
    static F& Make(forms::Application& app, const Prepared& made) {
        if (app.Find<F>() || !made) return app.Get<F>();
        return app.Adopt(std::unique_ptr<F>(static_cast<F*>(made().release())));
    }
};

enum class CommandKind {
    kOpen,    // hide, busy pointer, Load the target, destroy this screen a moment later
    kHelp,    // the same with the help page; this screen is kept or destroyed
    kSwitch,  // hide, Show the target, destroy this screen a moment later
    kClose,   // hide, then close every screen
    kBack,    // a help page's way back to the screen it belongs to
    kOwn,     // the screen's own work
};

struct Command {
    std::string name;
    std::string caption;
    CommandKind kind = CommandKind::kOwn;
    Target target;
    int pointer = platform::kPointerArrowHourglass;  // the busy pointer it sets
    bool destroysScreen = true;  // help: whether the screen goes; open always destroys it
    bool showsTarget = false;    // open and back: Show instead of Load
    std::function<void()> run;   // own commands
    std::vector<Command> children;  // a sub-menu
};

// How a screen's Close hands over to the close-all.
enum class CloseKind {
    kHideBackdrop,        // pointer reset, screen and backdrop hidden at once
    kHideBackdropBusy,    // the same after a moment of the hourglass
    kKeepBackdrop,        // the backdrop stays until the close-all runs
    kPlain,               // only the screen is hidden
};

struct ScreenDesign {
    std::string name;
    std::string caption;
    std::string statusText;
    int timer1 = 0;
    int timer2 = 0;
    int timer3 = 0;  // 0: the screen has no third timer
    CloseKind close = CloseKind::kHideBackdrop;
    bool resetsPointerOnLoad = true;
    // While it is active, the backdrop's progress line tells what a clean now would remove.
    bool showsCleanPreview = false;
};

// A screen's designed client area, in twips.
inline constexpr double kScreenWidth = 6270;
inline constexpr double kScreenHeight = 2235;

class Screen : public forms::Form {
public:
    Screen(const ScreenServices& services, ScreenDesign design, double clientWidth = kScreenWidth,
           double clientHeight = kScreenHeight);
    ~Screen() override;

    // Layout, the screen's own loading, then the screen shows itself; the pointer a command
    // set stays busy until then.
    void Form_Load() override;
    // Writes the status text into the backdrop's status line.
    void Form_Activate() override;
    // Clears the status line.
    void Form_Deactivate() override;
    void Form_Unload() override;
    // The close box is the screen's Close command.
    void Form_QueryClose() override;
    // Esc gives up the work of a command under way (a listing), and only that; without one it is
    // the close box.
    bool Form_Escape() override;

    forms::Timer pointerTimer;
    forms::Timer closeTimer;
    forms::Timer* DestroyTimer() { return destroyTimer_.get(); }

    // Runs a command of the menu bar by name, as choosing it would.
    void Run(const std::string& commandName) { ClickMenu(commandName); }
    // Hidden, with the timer that destroys it running.
    virtual bool Leaving() const { return destroyTimer_ && destroyTimer_->Enabled(); }
    // Hands over to a target as this screen's own open command would (for the icon's menu).
    virtual void HandOverTo(Target target, int pointer);
    // Work of a command is under way beside the windows.
    bool Busy() const { return beside_ != nullptr; }

protected:
    const ScreenServices& Services() const { return services_; }
    const platform::Ports& Ports() const { return services_.ports; }

    // What the screen reads and fills when it is created.
    virtual void LoadContent() {}
    virtual std::string StatusText() { return design_.statusText; }
    // What closeTimer does: the close-all, or a help page's own destruction.
    virtual void CloseTimerElapsed();
    // Builds the menu bar, left to right.
    void SetCommands(std::vector<Command> commands);
    void Execute(const Command& command);
    // The slow part of the command `name` (a listing), run beside the windows on a thread of its
    // own that touches no window, while this screen stays shown and answering with the busy
    // pointer, its status line saying `counting` and how much the work has found so far; the
    // work ends soon once its progress says stop. What the work hands back finishes the command
    // here, unless meanwhile the screen was left, closed or destroyed, or a clean began. Any
    // other command of the screen, and Esc, gives the work up; the same command waits for it.
    using BesideWork = std::function<std::function<void()>(BesideProgress& progress)>;
    void RunBeside(const std::string& name, int pointer, const std::string& counting, BesideWork work);

private:
    struct Beside;
    // A command's hand-over itself, its target built at once (from what was prepared, if given).
    void Perform(const Command& command, const Target::Prepared& made = {});
    void EndBeside(Beside& beside);
    void GiveUpBeside();
    // Hide, busy pointer, pointerTimer, the target loaded or shown, default pointer.
    void HandOver(const Command& command, const Target::Prepared& made);
    void Open(const Command& command, const Target::Prepared& made);
    void Switch(const Command& command, const Target::Prepared& made);
    void Close(const Command& command);
    void Back(const Command& command, const Target::Prepared& made);

    const ScreenServices& services_;
    ScreenDesign design_;
    std::unique_ptr<forms::Timer> destroyTimer_;
    std::vector<Command> commands_;
    std::shared_ptr<Beside> beside_;  // the command waiting for its work
};

// A help page: Close goes back to the screen it belongs to and closeTimer destroys the page.
class HelpPage : public Screen {
public:
    using Screen::Screen;
    bool Leaving() const override { return closeTimer.Enabled(); }
    // As its About does: the page goes a closeTimer later.
    void HandOverTo(Target target, int pointer) override;

protected:
    void CloseTimerElapsed() override;
};

// Hides every form from the most recently created to the first, resets the pointer and
// unloads every form but the resident main window.
void CloseAllScreens(forms::Application& app);

// The screen the user sees now, minimised or not (at most one is shown); null for none.
Screen* ShownScreen(forms::Application& app);

// Opens a screen from outside the screens (the icon's menu) as Load does, except that a screen
// shown now hands over to it as its own command would, and the screen itself, when shown, is
// restored and brought forward: never two screens at once, never one lost.
template <class F>
void OpenFromOutside(forms::Application& app, int pointer) {
    Screen* shown = ShownScreen(app);
    if (F* existing = app.Find<F>(); existing && existing == shown) {
        app.Show(*existing);
    } else if (shown) {
        shown->HandOverTo(Target::Of<F>(), pointer);
    } else {
        app.Load<F>();
    }
}

}  // namespace screens
