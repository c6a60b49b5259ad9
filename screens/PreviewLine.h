#pragma once
// While the clean options or the paths view is shown, the backdrop's progress line tells what a
// clean now would remove, worked out beside the windows by the clean's own walk and decisions.
#include <memory>
#include <string>

#include "engine/CleanPreview.h"
#include "engine/CleanRun.h"
#include "forms/Application.h"

namespace screens {

// The one preview line of the program. Window thread only.
class PreviewLine {
public:
    PreviewLine(const platform::Ports& ports, engine::Cleaner& cleaner) : ports_(ports), cleaner_(cleaner) {}

    // Works it out anew from Clean.ini as it is now; one still being worked out is abandoned.
    void Show(forms::Application& app);
    // Abandons it, and the line goes.
    void End(forms::Application& app);

private:
    struct Job;
    void SetLine(forms::Application& app, const std::string& text);
    void Abandon();

    platform::Ports ports_;
    engine::Cleaner& cleaner_;
    std::shared_ptr<Job> current_;  // the preview being worked out
    bool lineShown_ = false;        // the line shows a preview
};

// "A clean now would remove 53,234 items, 1.3 GB: Your Selected Folder 51,234 items, 1.2 GB; ..."
std::string PreviewText(const engine::CleanPreview& preview);
// What a clean of one target would do, as a part of that line says it after the target's name:
// "4 items, 7 bytes", "2 of 3 entries", "skipped: Chrome is running" (every place left, and why),
// "4 items, 7 bytes; 1 place skipped", "not there", "cannot be cleaned".
std::string PreviewPartText(const engine::CleanTarget& target, const engine::DeleteTally& tally);

}  // namespace screens
