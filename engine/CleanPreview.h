#pragma once
// What a clean now would do, worked out by the same walk and the same decisions as the clean (the
// refusal of the user folder, links left in place, the program's own files kept, kept cache
// names), with nothing deleted or changed.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/CleanProgress.h"
#include "engine/CleanRun.h"
#include "engine/CleanTargets.h"

namespace engine {

struct CleanPreview {
    std::optional<Refusal> refusal;  // a clean would be refused, and clean nothing
    std::string refusalText;         // the refused folder and why, as the record says it
    bool nothingChosen = false;
    bool stopped = false;  // asked to stop before it was worked out
    // Per target, in table order: what cleaning it would do, for those chosen.
    std::vector<std::optional<DeleteTally>> targets;
};

// From the settings as read. With progress, reported as it goes; a stop it asks for ends the
// preview after the item in hand.
CleanPreview PreviewClean(const platform::Ports& ports, const CleanSettings& settings,
                          CleanProgress* progress = nullptr);

// What cleaning one target of the table would do now, chosen or not, worked out by its own clean
// in preview mode: the unit every reader of a preview reads (the record, the preview line, the
// screen of every target). A user folder that a clean would refuse is not looked at here: ask
// UserFolderRefusal first.
DeleteTally PreviewTarget(const platform::Ports& ports, const CleanSettings& settings, std::size_t target,
                          CleanProgress* progress = nullptr);

// What a preview says would go, in all.
struct PreviewTotal {
    std::uint64_t items = 0;
    std::uint64_t bytes = 0;
};
PreviewTotal TotalOf(const CleanPreview& preview);

// The unattended preview (Morvane.exe preview): decides as the unattended clean would, changes
// nothing, shows nothing, appends its record to the log and answers the exit code the unattended
// clean would end with: 0, kExitSomethingStayed, kExitRefused or kExitSettingsUnreadable.
// written, when given, is handed the record once it is written.
int RunUnattendedPreview(const platform::Ports& ports, const std::function<void(const RunRecord&)>& written = {});

}  // namespace engine
