#pragma once
// The Recycle Bin as a cleaning target: emptied by the shell alone, never walked by hand.
#include "engine/CleanProgress.h"
#include "engine/DeleteWalk.h"
#include "platform/RecycleBin.h"

namespace engine {

// What the progress line names while the bin is emptied.
inline constexpr const char* kRecycleBinPlace = "Recycle Bin";

// Asks the shell what the bin holds (tally.before), then empties it through the shell and asks
// again (tally.after): what went counts as removed, what is still there as left. A bin the
// shell cannot read, or cannot empty at all, counts as not cleaned. A stop asked before the
// call skips it. In preview mode only the first question is asked, and what the bin holds counts
// as what would go.
void CleanRecycleBin(platform::RecycleBin& bin, DeleteTally& tally, CleanProgress* progress = nullptr,
                     CleanMode mode = CleanMode::kClean);

}  // namespace engine
