#include "engine/RecycleBinClean.h"

#include <algorithm>

namespace engine {

void CleanRecycleBin(platform::RecycleBin& bin, DeleteTally& tally, CleanProgress* progress, CleanMode mode) {
    if (progress && progress->StopRequested()) {
        tally.stopped = true;
        return;
    }
    if (progress) progress->WorkingIn(kRecycleBinPlace);
    tally.before = bin.Query();
    if (!tally.before) {
        ++tally.foldersNotCleaned;
        return;
    }
    const platform::BinContents before = *tally.before;
    platform::BinContents after{};  // a preview: all of it would go
    if (mode == CleanMode::kClean) {
        const std::uint32_t failed = before.items > 0 ? bin.Empty() : 0;
        // Asked again even after a failure: the shell may have removed some of it.
        after = before.items > 0 ? bin.Query().value_or(before) : before;
        tally.after = after;
        if (failed != 0 && after.items >= before.items) {
            tally.shellFailure = failed;
            ++tally.foldersNotCleaned;
            return;
        }
    }
    const std::uint64_t items = before.items - std::min(after.items, before.items);
    const std::uint64_t bytes = before.bytes - std::min(after.bytes, before.bytes);
    tally.removedItems += items;
    tally.removedBytes += bytes;
    tally.keptItems += after.items;
    tally.keptBytes += after.bytes;
    if (progress) progress->Removed(items, bytes);
}

}  // namespace engine
