#pragma once
// The program's side of a clean run: its windows show what the run shows (the backdrop's status
// and progress lines, message boxes, the pointer, the screens it opens), the work runs beside
// them, and the run ends as the program ends its runs. While a clean runs, the resident main
// window asks here whether one does, and has it stop before the program ends.
#include <atomic>
#include <string>

#include "engine/CleanRun.h"

namespace app {

class CleanRunWindows : public engine::CleanRunHost {
public:
    void SetStatus(const std::string& text) override;
    void RepaintBackdrop() override;
    void ShowBackdrop() override;
    bool BackdropVisible() override;
    int MessageBox(const std::string& text, int style, const std::string& caption) override;
    void SetPointer(int pointer) override;
    void ShowFolderPicker() override;
    void ShowStartPage() override;
    void HideOptions() override;
    void RunBeside(const std::function<void()>& work, engine::CleanProgress& progress) override;
    void Pause(int milliseconds) override;
    void EndInteractiveRun() override;
    void EndUnattendedRun(int exitCode) override;
    void EndWhenScreensClose(int exitCode) override;
    void EndProcess(int exitCode) override;

    // Whether the cleaning work is running now.
    bool Cleaning() const { return progress_ != nullptr; }
    // Has the work stop after the item in hand and waits for it: the program is about to end.
    void StopCleaning();

private:
    void ShowProgress(bool done);

    engine::CleanProgress* progress_ = nullptr;
    std::atomic<bool> workDone_{true};
};

// How far a clean has got, as the backdrop's progress line says it: while it runs, what has
// gone and the folder in hand; once done, the totals.
std::string ProgressText(const engine::CleanProgress::Snapshot& progress, bool done);

}  // namespace app
