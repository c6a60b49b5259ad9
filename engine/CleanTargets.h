#pragma once
// What a clean can clean: one entry per option of the [Delete] section of Clean.ini, in the
// order a clean works through them. The clean run, its record, the progress line, the first-run
// test and the screens all go through this table, so that a new target is one entry here.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CleanProgress.h"
#include "engine/DeleteWalk.h"
#include "settings/SettingsFile.h"

namespace engine {

// What a clean works from, read from Clean.ini once, when it starts: nothing written there
// afterwards changes a clean that runs.
struct CleanSettings {
    std::string userFolder = "0";       // [User] sFile0 as stored; "0" for none
    std::vector<std::string> values;    // each target's [Delete] value as stored, in table order
    std::vector<std::string> keepList;  // the [Internet] keep-list
    std::string tempFolder;             // the Temp variable when the clean started
    std::uint64_t start = 0;            // when the clean started, as file times are written
    std::vector<std::string> keepNewer;  // each target's [Keep Newer] value as stored ("" when absent)
    std::vector<std::string> keptPaths;  // [Keep], every numbered entry

    static CleanSettings Read(const settings::IniSnapshot& ini, platform::Environment& env);
    // Only the exact "Yes" chooses a target.
    bool Chosen(std::size_t target) const { return values[target] == "Yes"; }
    // Every value is "0", "No" or "": nothing was chosen at all. A value such as "yes" counts as
    // something chosen here, though it cleans nothing.
    bool NothingChosen() const;
    // What a target's clean works from, whichever targets are chosen: everything but the values.
    CleanSettings Basis() const {
        CleanSettings basis = *this;
        basis.values.clear();
        basis.start = 0;  // an age limit counted from a few seconds later decides alike
        return basis;
    }
    friend bool operator==(const CleanSettings&, const CleanSettings&) = default;
};

struct CleanTarget {
    std::string_view key;    // in [Delete]
    std::string_view label;  // how the screens and the record name it
    std::string_view shortName;  // how a sentence that names several targets names it
    // It counts entries, some of them kept on purpose (the URL cache), rather than the items of
    // a folder: a preview says how many of all its entries would go.
    bool countsEntries;
    // The folder it empties, as the settings name it; "" for the URL cache.
    std::string (*place)(const CleanSettings& settings);
    // Cleans it (or, in preview mode, works out what cleaning it would do, changing nothing):
    // what went and what stayed into tally; with progress, reported as it goes and stopped after
    // the item in hand when a stop is asked.
    void (*clean)(const platform::Ports& ports, const CleanSettings& settings, DeleteTally& tally,
                  CleanProgress* progress, CleanMode mode);
};

std::span<const CleanTarget> CleanTargets();

// Whether a value of Clean.ini sets a target up ("No" does; "0" and "" do not): the first run
// opens the screens while no target is set up.
bool SetsUp(std::string_view value);

}  // namespace engine
