#include "app/CleanRunWindows.h"

#include <memory>

#include "app/Form1a.h"
#include "engine/Amounts.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "platform/Text.h"
#include "screens/Form1.h"
#include "screens/Form10.h"
#include "screens/ScreenFrame.h"
#include "screens/frmUnload.h"
#include "screens/frmUser.h"

namespace app {

using forms::App;

namespace {

// The progress line is rewritten at most this often.
constexpr int kProgressTickMs = 100;
// How long the status line says the clean is over before the final message.
constexpr int kFinishingMs = 1000;

// Two parts of a message are separated by two carriage returns.
std::string TwoParts(const std::string& first, const std::string& second) { return first + "\r\r" + second; }

void RepaintBackdrop() { App().Get<screens::Form10>().Refresh(); }

void SetStatus(const std::string& text) {
    screens::SetStatusText(text);
    RepaintBackdrop();
}

bool BackdropVisible() {
    const screens::Form10* backdrop = App().Find<screens::Form10>();
    return backdrop && backdrop->Visible();
}

// The progress line, while the work runs and once at its end.
void ShowProgress(const engine::CleanProgress& progress, bool done) {
    // The windows answer meanwhile, and a screen's timer may have taken the busy pointer away.
    if (!done) App().SetMousePointer(platform::kPointerArrowHourglass);
    screens::Form10* backdrop = App().Find<screens::Form10>();
    if (!backdrop || !backdrop->Visible()) return;
    // One line at any size: the label says whether a text stays on one.
    forms::Label& line = backdrop->Label7;
    const std::string text = ProgressText(progress.Read(), done, [&](const std::string& t) { return line.TextFits(t); });
    if (text != backdrop->Label7.Caption()) backdrop->Label7.SetCaption(text);
    backdrop->Label7.SetVisible(true);
}

}  // namespace

std::string RootRefusalText() {
    return TwoParts("You have selected the root file to clean", "This program will not continue !!!!");
}

std::string SystemRefusalText() {
    return TwoParts("You have selected a system file to clean", "This program will not continue !!!!");
}

std::string NoCookiesSavedText() { return TwoParts("You have not saved any Cookies !", "Do you want to continue?"); }

std::string NotAllCleanedText(std::uint64_t itemsLeft, std::uint64_t foldersNotCleaned) {
    std::string why;
    if (itemsLeft > 0) {
        why = std::to_string(itemsLeft) + (itemsLeft == 1 ? " item is" : " items are") + " still in use or protected.";
    }
    if (foldersNotCleaned > 0) {
        why += (why.empty() ? "" : " ") + std::to_string(foldersNotCleaned) +
               (foldersNotCleaned == 1 ? " chosen folder" : " chosen folders") + " could not be cleaned.";
    }
    return TwoParts("Cleaning Finished, but not every file could be removed !", why);
}

std::string ProgressText(const engine::CleanProgress::Snapshot& progress, bool done,
                         const std::function<bool(const std::string&)>& fits) {
    std::string text = engine::ItemsText(progress.items) + ", " + engine::BytesText(progress.bytes);
    if (done) {
        text += " freed";
        if (progress.stayed > 0) text += "; " + engine::ItemsText(progress.stayed) + " stayed";
        return text;
    }
    text += " removed";
    if (progress.place.empty()) return text;
    text += " - ";
    return text + text::ShortenPathMiddle(progress.place, [&](const std::string& place) { return fits(text + place); });
}

void CleanRunWindows::ShowRefusal(engine::Refusal refusal) {
    App().MsgBox(refusal == engine::Refusal::kRoot ? RootRefusalText() : SystemRefusalText(), 16, kInfoCaption);
    RepaintBackdrop();
    ShowFolderPicker();
}

void CleanRunWindows::ShowCleaning() { SetStatus(kCleaningStatus); }

void CleanRunWindows::ShowNothingChosen() {
    App().MsgBox(kNothingChosenText, 64, kInfoCaption);
    App().Show<screens::Form10>();
    ShowStartPage();
}

bool CleanRunWindows::AskGoOnWithoutKeptCookies() {
    App().Show<screens::Form10>();
    return App().MsgBox(NoCookiesSavedText(), 36, kQuestionCaption) == platform::kResultYes;
}

void CleanRunWindows::EndQuestions() { App().Desktop().EndMessageBoxes(); }

void CleanRunWindows::HideScreensForWork() {
    // The backdrop stays, for the progress line; the screens, where what is cleaned could be
    // changed or another clean started, go until the run's end closes them.
    for (forms::Form* form : App().Forms()) {
        if (dynamic_cast<screens::Screen*>(form)) App().Hide(*form);
    }
}

void CleanRunWindows::StartWork(std::function<void()> work, engine::CleanProgress& progress,
                                std::function<void()> onDone) {
    App().Desktop().StartBeside(
        std::move(work), kProgressTickMs, [&progress] { ShowProgress(progress, false); },
        [&progress, onDone = std::move(onDone)] {
            ShowProgress(progress, true);
            App().Dispatch(onDone);
        });
}

bool CleanRunWindows::ShowFinishing() {
    if (!BackdropVisible()) return false;
    SetStatus(kFinishedStatus);
    App().Desktop().Wait(kFinishingMs);
    return true;
}

void CleanRunWindows::ShowFinished(const engine::CleanSummary& summary) {
    App().MsgBox(summary.AllCleaned() ? std::string(kAllCleanedText)
                                      : NotAllCleanedText(summary.itemsLeft, summary.foldersNotCleaned),
                 64, kFinishedCaption);
}

void CleanRunWindows::EndInteractiveRun() {
    App().SetMousePointer(platform::kPointerDefault);
    screens::HideAll();
    CloseScreensLater();
}

void CleanRunWindows::CloseScreensLater() {
    if (Form1a* main = App().Find<Form1a>()) {
        main->Timer2.SetEnabled(true);
    } else {
        // No resident window (an unattended start that was refused): close the screens now,
        // which ends the program.
        screens::CloseAllScreens();
    }
}

void CleanRunWindows::EndUnattendedRun(int exitCode) {
    App().SetMousePointer(platform::kPointerDefault);
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

void CleanRunWindows::ShowFolderPicker() { App().Show<screens::frmUser>(); }

void CleanRunWindows::ShowStartPage() { App().Show<screens::Form1>(); }

}  // namespace app
