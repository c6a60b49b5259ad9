#pragma once
// The program's side of a clean run: its windows say what the run means to show (the backdrop's
// status and progress lines, the exact message texts, the pointer, the screens it opens), the
// work runs beside them, and the run ends as the program ends its runs.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/CleanRun.h"
#include "forms/Application.h"
#include "platform/Ports.h"

namespace app {

class CleanRunWindows : public engine::CleanRunHost {
public:
    // The application's windows say it; the ports end the process.
    CleanRunWindows(forms::Application& app, const platform::Ports& ports) : app_(app), ports_(ports) {}

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

    forms::Application& app_;
    platform::Ports ports_;
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
// The final message of a clean: all cleaned or not, and what was kept back on purpose (the age
// limits, the kept paths), which is no failure.
std::string FinishedText(const engine::CleanSummary& summary);

// How far a clean has got, as the backdrop's progress line says it: while it runs, what has
// gone and the folder in hand, shortened in its middle until fits takes the line; once done,
// the totals.
std::string ProgressText(const engine::CleanProgress::Snapshot& progress, bool done,
                         const std::function<bool(const std::string&)>& fits);

}  // namespace app
