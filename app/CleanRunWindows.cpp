#include "app/CleanRunWindows.h"

#include <memory>

#include "app/MainWindow.h"
#include "engine/Amounts.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "platform/Text.h"
#include "screens/StartPage.h"
#include "screens/Backdrop.h"
#include "screens/ScreenFrame.h"
#include "screens/CloseAll.h"
#include "screens/FolderPicker.h"

namespace app {


namespace {

// The progress line is rewritten at most this often.
constexpr int kProgressTickMs = 100;
// How long the status line says the clean is over before the final message.
constexpr int kFinishingMs = 1000;

// Two parts of a message are separated by two carriage returns.
std::string TwoParts(const std::string& first, const std::string& second) { return first + "\r\r" + second; }

}  // namespace

void CleanRunWindows::RepaintBackdrop() { App().Get<screens::Backdrop>().Refresh(); }

void CleanRunWindows::SetStatus(const std::string& text) {
    screens::SetStatusText(App(), text);
    RepaintBackdrop();
}

bool CleanRunWindows::BackdropVisible() const {
    const screens::Backdrop* backdrop = App().Find<screens::Backdrop>();
    return backdrop && backdrop->Visible();
}

// The progress line, while the work runs and once at its end.
void CleanRunWindows::ShowProgress(const engine::CleanProgress& progress, bool done) {
    // The windows answer meanwhile, and a screen's timer may have taken the busy pointer away.
    if (!done) App().SetMousePointer(platform::kPointerArrowHourglass);
    screens::Backdrop* backdrop = App().Find<screens::Backdrop>();
    if (!backdrop || !backdrop->Visible()) return;
    // One line at any size: the label says whether a text stays on one.
    forms::Label& line = backdrop->progressLine;
    const std::string text = ProgressText(progress.Read(), done, [&](const std::string& t) { return line.TextFits(t); });
    if (text != backdrop->progressLine.Caption()) backdrop->progressLine.SetCaption(text);
    backdrop->progressLine.SetVisible(true);
}

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

namespace {
std::string KeptBackText(std::uint64_t keptBack) {
    return engine::ItemsText(keptBack) + (keptBack == 1 ? " was" : " were") +
           " kept back: newer than the age limit, or kept paths.";
}
}  // namespace

std::string FinishedText(const engine::CleanSummary& summary) {
    if (summary.AllCleaned()) {
        return summary.keptBack == 0 ? std::string(kAllCleanedText) : TwoParts(kAllCleanedText, KeptBackText(summary.keptBack));
    }
    std::string text = NotAllCleanedText(summary.itemsLeft, summary.foldersNotCleaned);
    if (summary.keptBack > 0) text += " " + KeptBackText(summary.keptBack);
    return text;
}

std::string ProgressText(const engine::CleanProgress::Snapshot& progress, bool done,
                         const std::function<bool(const std::string&)>& fits) {
    std::string text = engine::ItemsText(progress.items) + ", " + engine::BytesText(progress.bytes);
    const std::string kept = progress.keptBack > 0 ? "; " + engine::ItemsText(progress.keptBack) + " kept back" : "";
    if (done) {
        text += " freed" + kept;
        if (progress.stayed > 0) text += "; " + engine::ItemsText(progress.stayed) + " stayed";
        return text;
    }
    text += " removed" + kept;
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
    App().Show<screens::Backdrop>();
    ShowStartPage();
}

bool CleanRunWindows::AskGoOnWithoutKeptCookies() {
    App().Show<screens::Backdrop>();
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
        std::move(work), kProgressTickMs, [this, &progress] { ShowProgress(progress, false); },
        [this, &progress, onDone = std::move(onDone)] {
            ShowProgress(progress, true);
            App().Dispatch(onDone);
        });
}

void CleanRunWindows::StartBeside(std::function<void()> work, std::function<void()> then) {
    App().Desktop().StartBeside(std::move(work), 0, {}, [&app = App(), then = std::move(then)] { app.Dispatch(then); });
}

bool CleanRunWindows::ShowFinishing() {
    if (!BackdropVisible()) return false;
    SetStatus(kFinishedStatus);
    App().Desktop().Wait(kFinishingMs);
    return true;
}

void CleanRunWindows::ShowFinished(const engine::CleanSummary& summary) {
    App().MsgBox(FinishedText(summary), 64, kFinishedCaption);
}

void CleanRunWindows::EndInteractiveRun() {
    App().SetMousePointer(platform::kPointerDefault);
    screens::HideAll(App());
    CloseScreensLater();
}

void CleanRunWindows::CloseScreensLater() {
    if (MainWindow* main = App().Find<MainWindow>()) {
        main->closeAllTimer.SetEnabled(true);
    } else {
        // No resident window (an unattended start that was refused): close the screens now,
        // which ends the program.
        screens::CloseAllScreens(App());
    }
}

void CleanRunWindows::EndUnattendedRun(int exitCode) {
    App().SetMousePointer(platform::kPointerDefault);
    const std::vector<forms::Form*> loaded = App().Forms();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
        App().Hide(**it);
        App().Unload(**it);
    }
    ports_.environment->EndProcess(exitCode);
}

void CleanRunWindows::EndWhenScreensClose(int exitCode) {
    // Without its main window the program ends once the last screen is unloaded, instead of
    // lingering hidden with no icon.
    exitCode_ = exitCode;
    App().Unload<MainWindow>();
}

void CleanRunWindows::RecordWritten(const engine::RunRecord& record) {
    if (printRecords_) printRecords_(record);
}

void CleanRunWindows::EndProcess(int exitCode) { ports_.environment->EndProcess(exitCode); }

void CleanRunWindows::ShowFolderPicker() { App().Show<screens::FolderPicker>(); }

void CleanRunWindows::ShowStartPage() { App().Show<screens::StartPage>(); }

}  // namespace app
