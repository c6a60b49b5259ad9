#pragma once
// The program's side of a clean run: its windows say what the run means to show (the backdrop's
// status and progress lines, the exact message texts, the pointer, the screens it opens), the
// work runs beside them, and the run ends as the program ends its runs.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/CleanPreview.h"
#include "engine/CleanRun.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "screens/PreviewLine.h"

namespace app {

class CleanRunWindows : public engine::CleanRunHost {
public:
    // The application's windows say it; the ports end the process; the backdrop's Cancel stops
    // the cleaner's clean; a clean from the options measures itself against what the preview
    // line worked out, when there is one.
    CleanRunWindows(forms::Application& app, const platform::Ports& ports, engine::Cleaner& cleaner,
                    const screens::PreviewLine* previewLine = nullptr)
        : app_(app), ports_(ports), cleaner_(cleaner), previewLine_(previewLine) {}

    void ShowRefusal(engine::Refusal refusal) override;
    void ShowCleaning() override;
    void ShowNothingChosen() override;
    bool AskGoOnWithoutKeptCookies() override;
    void EndQuestions() override;
    void HideScreensForWork() override;
    void StartWork(std::function<void()> work, engine::CleanProgress& progress, std::function<void()> onDone) override;
    void StartBeside(std::function<void()> work, std::function<void()> then) override;
    bool ShowFinishing() override;
    void ShowFinished(const engine::CleanSummary& summary) override;
    void ShowEndOnIcon(const engine::CleanSummary& summary) override;
    void EndInteractiveRun() override;
    void EndUnattendedRun(int exitCode) override;
    void EndWhenScreensClose(int exitCode) override;
    void EndProcess(int exitCode) override;
    void RecordWritten(const engine::RunRecord& record) override;

    // Hands every record a run writes to print (an unattended run prints its summary).
    void PrintRecords(std::function<void(const engine::RunRecord&)> print) { printRecords_ = std::move(print); }

protected:
    // What the run asks of the screens, apart from the backdrop; the tests record them instead.
    virtual void ShowFolderPicker();
    virtual void ShowStartPage();
    // The deferred close-all of the resident main window, armed at the end of an interactive run.
    virtual void CloseScreensLater();

    forms::Application& App() const { return app_; }

public:
    // The code the process ends with once its last form is gone (an unattended run that was
    // refused ends so), 0 unless a run said otherwise.
    int ExitCode() const { return exitCode_; }
    void SetExitCode(int code) { exitCode_ = code; }

private:
    void RepaintBackdrop();
    void SetStatus(const std::string& text);
    bool BackdropVisible() const;
    void ShowProgress(const engine::CleanProgress& progress, bool done);
    // The icon's tip, when the icon is there.
    void SetTip(const std::string& tip);

    forms::Application& app_;
    platform::Ports ports_;
    engine::Cleaner& cleaner_;
    const screens::PreviewLine* previewLine_;
    std::optional<engine::PreviewTotal> expected_;  // what the clean in hand should remove
    std::string tip_;  // the icon's tip as this host last set it
    int exitCode_ = 0;
    std::function<void(const engine::RunRecord&)> printRecords_;
};

// The texts and captions the run shows.
inline constexpr const char* kInfoCaption = "Kavlon Info.....";
inline constexpr const char* kQuestionCaption = "For Your Information.....";
inline constexpr const char* kFinishedCaption = "Kavlon Tarnwick.....";
std::string RootRefusalText();
std::string SystemRefusalText();
inline constexpr const char* kNothingChosenText = "You Have Not Entered Any Files To Be Cleaned !";
std::string NoCookiesSavedText();
inline constexpr const char* kCleaningStatus = "Cleaning Files Now !";
inline constexpr const char* kFinishedStatus = "All Finished Cleaning Files !";
inline constexpr const char* kAllCleanedText = "All Files Cleaned!";
// The final message when some items stayed or some chosen folders could not be cleaned at all.
std::string NotAllCleanedText(std::uint64_t itemsLeft, std::uint64_t foldersNotCleaned);
// Why, in words: "Why they stayed: in use (2), access denied (1). Your Selected Folder D:\Gone
// could not be opened: not found. Left alone: Chrome is running." ("" when everything was cleaned).
std::string WhyNotAllText(const engine::CleanSummary& summary);
// What the end of a clean from the options says: the texts above, or what a stopped one did.
std::string FinishedText(const engine::CleanSummary& summary);
inline constexpr const char* kStoppedTitle = "Cleaning Stopped !";
// What the icon's balloon says at the end of a clean from the icon's menu.
platform::TrayBalloon EndBalloon(const engine::CleanSummary& summary);
// The icon's tip while a clean runs: what has gone so far.
std::string CleaningTip(const engine::CleanProgress::Snapshot& progress);

// How far a clean has got, as the backdrop's progress line says it: while it runs, what has
// gone (of what the preview expected, when it was given and not passed) and the folder in hand,
// shortened in its middle until fits takes the line; once done, the totals.
std::string ProgressText(const engine::CleanProgress::Snapshot& progress, bool done,
                         const std::function<bool(const std::string&)>& fits,
                         const std::optional<engine::PreviewTotal>& expected = std::nullopt);

}  // namespace app
