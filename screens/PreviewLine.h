#pragma once
// While the clean options or the paths view is shown, the backdrop's progress line tells what a
// clean now would remove, worked out beside the windows by the clean's own walk and decisions,
// target by target: it counts as it goes, and a box clicked is answered from what each target
// was found to hold, walking only a target not worked out yet.
#include <string>

#include "engine/CleanPreview.h"
#include "engine/CleanRun.h"
#include "forms/Application.h"
#include "screens/TargetPreviews.h"

namespace screens {

// The one preview line of the program. Window thread only.
class PreviewLine {
public:
    PreviewLine(const platform::Ports& ports, platform::Desktop& desktop, engine::Cleaner& cleaner);

    // Works it out anew from Clean.ini as it is now (a screen that shows it comes up).
    void Show(forms::Application& app);
    // Clean.ini changed which targets are chosen: what is known answers at once, the rest is
    // worked out.
    void Update(forms::Application& app);
    // Gives up the work, and the line goes; what was worked out stays, for a clean that starts
    // now to measure itself against.
    void End(forms::Application& app);

    const TargetPreviews& Previews() const { return previews_; }

private:
    void Want(forms::Application& app, bool fresh);
    void SetLine(forms::Application& app, const std::string& text);
    void Refresh();

    platform::Ports ports_;
    engine::Cleaner& cleaner_;
    TargetPreviews previews_;
    forms::Application* app_ = nullptr;  // of the screen that shows the line now
    bool lineShown_ = false;             // the line shows a preview
};

// "A clean now would remove 53,234 items, 1.3 GB: Your Selected Folder 51,234 items, 1.2 GB; ..."
std::string PreviewText(const engine::CleanPreview& preview);
// What a clean of one target would do, as a part of that line says it after the target's name:
// "4 items, 7 bytes", "2 of 3 entries", "skipped: Chrome is running" (every place left, and why),
// "4 items, 7 bytes; 1 place skipped", "not there", "cannot be cleaned".
std::string PreviewPartText(const engine::CleanTarget& target, const engine::DeleteTally& tally);
// While it is being worked out: "Working out what a clean now would remove, counting: 12,000
// items, 410.2 MB so far" (what is known, and the walk in hand).
std::string CountingText(const engine::CleanPreview& known, const std::optional<TargetPreviews::Walking>& inHand);

}  // namespace screens
