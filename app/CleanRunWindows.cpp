#include "app/CleanRunWindows.h"

#include "app/Form1a.h"
#include "engine/Amounts.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "screens/Form1.h"
#include "screens/Form10.h"
#include "screens/Form2.h"
#include "screens/frmUser.h"

namespace app {

using forms::App;

namespace {

// The progress line is rewritten at most this often.
constexpr int kProgressTickMs = 100;
// A folder name longer than this shows its end only: that is where a folder differs.
constexpr std::size_t kPlaceShown = 70;

// Hides every form from the last created to the first.
void HideAllForms() {
    const std::vector<forms::Form*> loaded = App().Forms();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) App().Hide(**it);
}

}  // namespace

std::string ProgressText(const engine::CleanProgress::Snapshot& progress, bool done) {
    std::string text = engine::ItemsText(progress.items) + ", " + engine::BytesText(progress.bytes);
    if (done) {
        text += " freed";
        if (progress.stayed > 0) text += "; " + engine::ItemsText(progress.stayed) + " stayed";
        return text;
    }
    text += " removed";
    if (!progress.place.empty()) {
        const std::string& place = progress.place;
        text += " - " + (place.size() <= kPlaceShown ? place : "..." + place.substr(place.size() - kPlaceShown));
    }
    return text;
}

void CleanRunWindows::SetStatus(const std::string& text) {
    screens::SetStatusText(text);
    RepaintBackdrop();
}

void CleanRunWindows::RepaintBackdrop() { App().Get<screens::Form10>().Refresh(); }

void CleanRunWindows::ShowBackdrop() { App().Show<screens::Form10>(); }

bool CleanRunWindows::BackdropVisible() {
    const screens::Form10* backdrop = App().Find<screens::Form10>();
    return backdrop && backdrop->Visible();
}

int CleanRunWindows::MessageBox(const std::string& text, int style, const std::string& caption) {
    return App().MsgBox(text, style, caption);
}

void CleanRunWindows::SetPointer(int pointer) { App().SetMousePointer(pointer); }

void CleanRunWindows::ShowFolderPicker() { App().Show<screens::frmUser>(); }

void CleanRunWindows::ShowStartPage() { App().Show<screens::Form1>(); }

void CleanRunWindows::HideOptions() {
    if (screens::Form2* options = App().Find<screens::Form2>()) App().Hide(*options);
}

void CleanRunWindows::RunBeside(const std::function<void()>& work, engine::CleanProgress& progress) {
    progress_ = &progress;
    workDone_ = false;
    App().Desktop().RunBeside(
        [&] {
            // Done however the work ends, so that a stop never waits for work that is over.
            struct Done {
                std::atomic<bool>& flag;
                ~Done() { flag = true; }
            } done{workDone_};
            work();
        },
        kProgressTickMs, [&] { ShowProgress(workDone_); });
    progress_ = nullptr;
}

void CleanRunWindows::ShowProgress(bool done) {
    // The windows answer meanwhile, and a screen's timer may have taken the busy pointer away.
    if (!done) App().SetMousePointer(platform::kPointerArrowHourglass);
    screens::Form10* backdrop = App().Find<screens::Form10>();
    if (!backdrop || !backdrop->Visible() || !progress_) return;
    const std::string text = ProgressText(progress_->Read(), done);
    if (text != backdrop->Label7.Caption()) backdrop->Label7.SetCaption(text);
    backdrop->Label7.SetVisible(true);
}

void CleanRunWindows::StopCleaning() {
    if (!progress_) return;
    progress_->RequestStop();
    // The item in hand is a moment's work; the windows need not answer meanwhile.
    while (!workDone_) platform::Env().Sleep(5);
}

void CleanRunWindows::Pause(int milliseconds) {
    App().Desktop().RunBeside([milliseconds] { platform::Env().Sleep(milliseconds); }, milliseconds, {});
}

void CleanRunWindows::EndInteractiveRun() {
    HideAllForms();
    if (Form1a* main = App().Find<Form1a>()) {
        main->Timer2.SetEnabled(true);
    } else {
        // No resident window (an unattended start that was refused): close the screens now,
        // which ends the program.
        screens::CloseAllScreens();
    }
}

void CleanRunWindows::EndUnattendedRun(int exitCode) {
    const std::vector<forms::Form*> loaded = App().Forms();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
        App().Hide(**it);
        App().Unload(**it);
    }
    platform::Env().EndProcess(exitCode);
}

void CleanRunWindows::EndWhenScreensClose(int exitCode) {
    // Without its main window the program ends once the last screen is unloaded, instead of
    // lingering hidden with no icon.
    SetProcessExitCode(exitCode);
    App().Unload<Form1a>();
}

void CleanRunWindows::EndProcess(int exitCode) { platform::Env().EndProcess(exitCode); }

}  // namespace app
