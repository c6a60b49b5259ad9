#include "screens/ScreenFrame.h"

#include <atomic>

#include "engine/Amounts.h"
#include "engine/CleanRun.h"
#include "screens/Backdrop.h"
#include "screens/PreviewLine.h"
#include "screens/CloseAll.h"
#include "ui/ProportionalLayout.h"

namespace screens {
namespace {

void HideBackdrop(forms::Application& app) {
    // Only an existing backdrop is hidden; referring to a missing one would create and show it.
    if (screens::Backdrop* backdrop = app.Find<screens::Backdrop>()) app.Hide(*backdrop);
}

const Command* FindCommand(const std::vector<Command>& commands, const std::string& name) {
    for (const Command& command : commands) {
        if (command.name == name) return &command;
        if (const Command* child = FindCommand(command.children, name)) return child;
    }
    return nullptr;
}

// How often the busy pointer is set again while a hand-over waits for its work: a timer of the
// screen may have taken it away.
constexpr int kBusyTickMs = 50;

}  // namespace

struct Screen::Beside {
    Screen* screen = nullptr;  // null once the work is given up
    std::string name;
    int pointer = platform::kPointerArrowHourglass;
    std::string counting;          // what the status line says the work is finding
    std::uint64_t shownFound = 0;  // the count the status line shows
    BesideProgress progress;
    std::function<void()> then;  // written by the work, read once it has returned
};

void DestroyIfLeaving(forms::Application& app, forms::Form* form) {
    auto* screen = dynamic_cast<Screen*>(form);
    if (screen && screen->Leaving()) app.Unload(*screen);
}

Screen::Screen(const ScreenServices& services, ScreenDesign design, double clientWidth, double clientHeight)
    : Form(design.name, clientWidth, clientHeight, {true, false, false}),
      pointerTimer(*this, "Timer1", design.timer1),
      closeTimer(*this, "Timer2", design.timer2),
      services_(services),
      design_(std::move(design)) {
    if (design_.timer3 > 0) destroyTimer_ = std::make_unique<forms::Timer>(*this, "Timer3", design_.timer3);
    SetCaption(design_.caption);
    pointerTimer.onTimer = [this] {
        App().SetMousePointer(platform::kPointerDefault);
        pointerTimer.SetEnabled(false);
    };
    closeTimer.onTimer = [this] { CloseTimerElapsed(); };
    if (destroyTimer_) {
        destroyTimer_->onTimer = [this] {
            destroyTimer_->SetEnabled(false);
            App().Unload(*this);
        };
    }
}

Screen::~Screen() { GiveUpBeside(); }

void Screen::Form_Load() {
    ui::ResizeControls(*this);
    LoadContent();
    App().Show(*this);
    // Only now: until the screen is shown the user has nothing to work with.
    if (design_.resetsPointerOnLoad) App().SetMousePointer(platform::kPointerDefault);
}

void Screen::Form_Activate() {
    screens::SetStatusText(App(), StatusText());
    if (design_.showsCleanPreview) services_.previewLine->Show(App());
}

void Screen::Form_Deactivate() {
    if (design_.showsCleanPreview) services_.previewLine->End(App());
    // Clearing the line of a backdrop that is gone would only bring it back, empty.
    if (screens::Backdrop* backdrop = App().Find<screens::Backdrop>()) backdrop->statusLine.SetCaption("");
}

void Screen::Form_Unload() {
    if (design_.showsCleanPreview) services_.previewLine->End(App());
    // Now, not when the object goes, which waits for the handler that unloads it to return: the
    // end of the session waits for the work beside in that very handler.
    GiveUpBeside();
}

void Screen::Form_QueryClose() {
    if (const Command* close = FindCommand(commands_, "sClose")) Execute(*close);
}

bool Screen::Form_Escape() {
    if (!beside_) return false;
    const bool counted = !beside_->counting.empty();
    GiveUpBeside();
    App().SetMousePointer(platform::kPointerDefault);
    if (counted) screens::SetStatusText(App(), StatusText());
    return true;
}

void Screen::CloseTimerElapsed() {
    closeTimer.SetEnabled(false);
    CloseAllScreens(App());
}

void HelpPage::CloseTimerElapsed() {
    closeTimer.SetEnabled(false);
    App().Unload(*this);
}

void Screen::SetCommands(std::vector<Command> commands) {
    commands_ = std::move(commands);
    for (const Command& command : commands_) {
        const std::string name = command.name;
        AddMenu(command.name, command.caption, [this, name] {
            if (const Command* c = FindCommand(commands_, name)) Execute(*c);
        });
        for (const Command& child : command.children) {
            const std::string childName = child.name;
            AddSubMenu(command.name, child.name, child.caption, [this, childName] {
                if (const Command* c = FindCommand(commands_, childName)) Execute(*c);
            });
        }
    }
}

void Screen::Execute(const Command& command) {
    if (beside_) {
        if (beside_->name == command.name) return;
        GiveUpBeside();
    }
    const bool handsOver = command.kind != CommandKind::kOwn && command.kind != CommandKind::kClose;
    if (!handsOver || !command.target.prepare) {
        Perform(command);
        return;
    }
    // The target is built, and the hand-over done, once its work is. The work itself reaches
    // only the services, which outlive every screen: this one may be gone before it ends.
    RunBeside(command.name, command.pointer == platform::kPointerDefault ? platform::kPointerArrowHourglass : command.pointer,
              command.target.preparing,
              [this, command, &services = services_](BesideProgress& progress) -> std::function<void()> {
                  const Target::Prepared made = command.target.prepare(services, progress);
                  return [this, command, made] { Perform(command, made); };
              });
}

void Screen::HandOverTo(Target target, int pointer) {
    Command command{"", "", CommandKind::kOpen, std::move(target), pointer};
    Execute(command);
}

void HelpPage::HandOverTo(Target target, int pointer) {
    Command command{"", "", CommandKind::kBack, std::move(target), pointer};
    Execute(command);
}

void Screen::RunBeside(const std::string& name, int pointer, const std::string& counting, BesideWork work) {
    auto beside = std::make_shared<Beside>();
    beside->screen = this;
    beside->name = name;
    beside->pointer = pointer;
    beside->counting = counting;
    beside_ = beside;
    App().SetMousePointer(pointer);
    if (!counting.empty()) screens::SetStatusText(App(), counting + " ...");
    App().Desktop().StartBeside(
        [beside, work = std::move(work)] { beside->then = work(beside->progress); },
        kBusyTickMs,
        [beside] {
            Screen* screen = beside->screen;
            if (!screen) return;
            // Hidden by what no command of its own did, or a clean begun from the icon's menu:
            // given up, since no screen shows while a clean runs.
            if (!screen->Visible() || screen->services_.cleaner->Running()) {
                screen->GiveUpBeside();
                return;
            }
            screen->App().SetMousePointer(beside->pointer);
            const std::uint64_t found = beside->progress.found.load();
            if (!beside->counting.empty() && found != beside->shownFound) {
                beside->shownFound = found;
                screens::SetStatusText(screen->App(), beside->counting + ": " + engine::CountText(found) + " so far ...");
            }
        },
        [beside] {
            if (Screen* screen = beside->screen) screen->App().Dispatch([&] { screen->EndBeside(*beside); });
        });
}

void Screen::EndBeside(Beside& beside) {
    beside_.reset();
    beside.screen = nullptr;
    if (!App().IsLoaded(*this) || !Visible() || services_.cleaner->Running()) return;
    // The status line is the screen's again, unless what follows hands it to another.
    if (!beside.counting.empty()) screens::SetStatusText(App(), StatusText());
    // Work that failed leaves the screen where the user is; the busy pointer was the work's.
    if (beside.then) beside.then();
    App().SetMousePointer(platform::kPointerDefault);
}

void Screen::GiveUpBeside() {
    if (!beside_) return;
    beside_->progress.stop.store(true);
    beside_->screen = nullptr;
    beside_.reset();
}

void Screen::Perform(const Command& command, const Target::Prepared& made) {
    switch (command.kind) {
        case CommandKind::kOpen:
        case CommandKind::kHelp:
            Open(command, made);
            break;
        case CommandKind::kSwitch:
            Switch(command, made);
            break;
        case CommandKind::kClose:
            Close(command);
            break;
        case CommandKind::kBack:
            Back(command, made);
            break;
        case CommandKind::kOwn:
            if (command.run) command.run();
            break;
    }
}

void Screen::HandOver(const Command& command, const Target::Prepared& made) {
    forms::Application& app = App();
    app.Hide(*this);
    app.SetMousePointer(command.pointer);
    pointerTimer.SetEnabled(true);
    if (command.showsTarget) {
        command.target.show(app, made);
    } else {
        command.target.load(app, made);
    }
    App().SetMousePointer(platform::kPointerDefault);
}

void Screen::Open(const Command& command, const Target::Prepared& made) {
    HandOver(command, made);
    if (command.destroysScreen && destroyTimer_) destroyTimer_->SetEnabled(true);
}

void Screen::Switch(const Command& command, const Target::Prepared& made) {
    App().Hide(*this);
    command.target.show(App(), made);
    if (destroyTimer_) destroyTimer_->SetEnabled(true);
}

void Screen::Close(const Command& command) {
    switch (design_.close) {
        case CloseKind::kHideBackdrop:
            App().SetMousePointer(platform::kPointerDefault);
            App().Hide(*this);
            HideBackdrop(App());
            break;
        case CloseKind::kHideBackdropBusy:
            App().Hide(*this);
            App().SetMousePointer(command.pointer);
            pointerTimer.SetEnabled(true);
            App().SetMousePointer(platform::kPointerDefault);
            HideBackdrop(App());
            break;
        case CloseKind::kKeepBackdrop:
            App().Hide(*this);
            App().SetMousePointer(command.pointer);
            pointerTimer.SetEnabled(true);
            App().SetMousePointer(platform::kPointerDefault);
            break;
        case CloseKind::kPlain:
            App().Hide(*this);
            break;
    }
    closeTimer.SetEnabled(true);
}

void Screen::Back(const Command& command, const Target::Prepared& made) {
    HandOver(command, made);
    closeTimer.SetEnabled(true);
}

Screen* ShownScreen(forms::Application& app) {
    for (forms::Form* form : app.Forms()) {
        if (auto* screen = dynamic_cast<Screen*>(form); screen && screen->Visible()) return screen;
    }
    return nullptr;
}

void CloseAllScreens(forms::Application& app) {
    HideAll(app);
    app.SetMousePointer(platform::kPointerDefault);
    screens::UnloadAllButMain(app);
}

}  // namespace screens
