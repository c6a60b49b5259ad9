#include "app/CleanRunWindows.h"

#include <memory>

#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "engine/Amounts.h"
#include "engine/Reasons.h"
#include "settings/SettingsFile.h"
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

constexpr const char* kNotAllCleanedTitle = "Cleaning Finished, but not every file could be removed !";

// The second part of the message when not everything was cleaned.
std::string NotAllCleanedWhy(std::uint64_t itemsLeft, std::uint64_t foldersNotCleaned) {
    std::string why;
    if (itemsLeft > 0) {
        why = std::to_string(itemsLeft) + (itemsLeft == 1 ? " item is" : " items are") + " still in use or protected.";
    }
    if (foldersNotCleaned > 0) {
        why += (why.empty() ? "" : " ") + std::to_string(foldersNotCleaned) +
               (foldersNotCleaned == 1 ? " chosen folder" : " chosen folders") + " could not be cleaned.";
    }
    return why;
}

std::string RemovedText(const engine::CleanSummary& summary) {
    std::string text = engine::ItemsText(summary.itemsRemoved) + ", " + engine::BytesText(summary.bytesRemoved) + " removed";
    if (summary.keptBack > 0) text += "; " + engine::ItemsText(summary.keptBack) + " kept back";
    return text;
}

// What the age limits and the kept paths kept: on purpose, so no failure.
std::string KeptBackText(const engine::CleanSummary& summary) {
    if (summary.keptBack == 0) return {};
    return engine::ItemsText(summary.keptBack) + (summary.keptBack == 1 ? " was" : " were") +
           " kept back on purpose: newer than the age limit, or in a kept path.";
}

std::string StoppedText(const engine::CleanSummary& summary) { return RemovedText(summary) + "; the rest was not reached."; }

// A balloon holds 255 characters: a longer text ends at a word, with "...".
std::string BalloonText(std::string text) {
    constexpr std::size_t kMost = 250;
    if (text.size() <= kMost) return text;
    const std::size_t cut = text.rfind(' ', kMost);
    return text.substr(0, cut == std::string::npos ? kMost : cut) + " ...";
}

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
void CleanRunWindows::SetTip(const std::string& tip) {
    MainWindow* main = App().Find<MainWindow>();
    if (tip == tip_ || !main || !main->HasIcon()) return;
    tip_ = tip;
    ShellTrayTip(*main, tip);
}

void CleanRunWindows::ShowProgress(const engine::CleanProgress& progress, bool done) {
    // The icon tells it too, whether or not anything else is shown.
    SetTip(done ? kTrayTip : CleaningTip(progress.Read()));
    // The windows answer meanwhile, and a screen's timer may have taken the busy pointer away.
    if (!done) App().SetMousePointer(platform::kPointerArrowHourglass);
    screens::Backdrop* backdrop = App().Find<screens::Backdrop>();
    if (!backdrop || !backdrop->Visible()) return;
    // One line at any size: the label says whether a text stays on one.
    forms::Label& line = backdrop->progressLine;
    const std::string text =
        ProgressText(progress.Read(), done, [&](const std::string& t) { return line.TextFits(t); }, expected_);
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
    return TwoParts(kNotAllCleanedTitle, NotAllCleanedWhy(itemsLeft, foldersNotCleaned));
}

std::string WhyNotAllText(const engine::CleanSummary& summary) {
    std::string why;
    for (int reason = 0; reason < engine::kStayReasons; ++reason) {
        if (summary.leftFor[reason] == 0) continue;
        why += (why.empty() ? "Why they stayed: " : ", ") + engine::ReasonWords(static_cast<engine::StayReason>(reason)) +
               " (" + engine::CountText(summary.leftFor[reason]) + ")";
    }
    if (!why.empty()) why += ".";
    for (const std::string& folder : summary.notCleaned) why += (why.empty() ? "" : " ") + folder + ".";
    for (std::size_t i = 0; i < summary.skipped.size(); ++i) {
        why += (why.empty() ? "" : (i == 0 ? " " : "; ")) + std::string(i == 0 ? "Left alone: " : "") + summary.skipped[i];
    }
    if (!summary.skipped.empty()) why += ".";
    return why;
}

std::string FinishedText(const engine::CleanSummary& summary) {
    if (summary.stopped) return TwoParts(kStoppedTitle, StoppedText(summary));
    const std::string kept = KeptBackText(summary);
    if (summary.AllCleaned()) return kept.empty() ? std::string(kAllCleanedText) : TwoParts(kAllCleanedText, kept);
    const std::string why = WhyNotAllText(summary);
    return TwoParts(NotAllCleanedText(summary.itemsLeft, summary.foldersNotCleaned),
                    kept.empty() ? why : why.empty() ? kept : why + " " + kept);
}

platform::TrayBalloon EndBalloon(const engine::CleanSummary& summary) {
    if (summary.stopped) return {kStoppedTitle, BalloonText(StoppedText(summary)), false};
    if (summary.AllCleaned()) return {kAllCleanedText, BalloonText(RemovedText(summary) + "."), false};
    return {kNotAllCleanedTitle,
            BalloonText(RemovedText(summary) + ". " + NotAllCleanedWhy(summary.itemsLeft, summary.foldersNotCleaned) +
                        " " + WhyNotAllText(summary)),
            true};
}

std::string CleaningTip(const engine::CleanProgress::Snapshot& progress) {
    return std::string(kTrayTip) + " - cleaning: " + engine::ItemsText(progress.items) + ", " +
           engine::BytesText(progress.bytes) + " removed";
}

std::string ProgressText(const engine::CleanProgress::Snapshot& progress, bool done,
                         const std::function<bool(const std::string&)>& fits,
                         const std::optional<engine::PreviewTotal>& expected) {
    std::string text = engine::ItemsText(progress.items) + ", " + engine::BytesText(progress.bytes);
    const std::string kept = progress.keptBack > 0 ? "; " + engine::ItemsText(progress.keptBack) + " kept back" : "";
    if (done) {
        text += " freed" + kept;
        if (progress.stayed > 0) text += "; " + engine::ItemsText(progress.stayed) + " stayed";
        return text;
    }
    // Against what the preview expected, while the clean has not passed it (files that came
    // since would make a share past the whole).
    if (expected && expected->items > 0 && progress.items <= expected->items && progress.bytes <= expected->bytes) {
        text = engine::CountText(progress.items) + " of " + engine::ItemsText(expected->items) + ", " +
               engine::BytesText(progress.bytes) + " of " + engine::BytesText(expected->bytes) + " (" +
               std::to_string(progress.items * 100 / expected->items) + "%)";
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

void CleanRunWindows::ShowCleaning() {
    SetStatus(kCleaningStatus);
    // What the preview line worked out for what this clean reads, if it was worked out whole.
    expected_.reset();
    if (previewLine_) {
        const engine::CleanSettings settings = engine::CleanSettings::Read(
            settings::IniSnapshot(ports_, settings::IniFilePath(*ports_.environment)), *ports_.environment);
        expected_ = previewLine_->Previews().TotalFor(settings);
    }
}

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
    // The backdrop that shows how far the clean has got can stop it, as Stop Clean does.
    screens::Backdrop* backdrop = App().Find<screens::Backdrop>();
    if (backdrop && backdrop->Visible()) backdrop->OfferCancel([this] { cleaner_.Stop(engine::StopCause::kStopClean); });
    App().Desktop().StartBeside(
        std::move(work), kProgressTickMs, [this, &progress] { ShowProgress(progress, false); },
        [this, &progress, onDone = std::move(onDone)] {
            if (screens::Backdrop* shown = App().Find<screens::Backdrop>()) shown->OfferCancel({});
            ShowProgress(progress, true);
            expected_.reset();
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
    if (summary.stopped) SetStatus(kStoppedTitle);
    App().MsgBox(FinishedText(summary), 64, kFinishedCaption);
}

void CleanRunWindows::ShowEndOnIcon(const engine::CleanSummary& summary) {
    MainWindow* main = App().Find<MainWindow>();
    if (main && main->HasIcon()) ShellTrayBalloon(*main, EndBalloon(summary));
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
