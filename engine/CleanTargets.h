#pragma once
// What a clean can clean: one entry per option of the [Delete] section of Clean.ini, in the
// order a clean works through them. Everything that names targets (the clean run, the preview,
// its record, the progress and preview lines, the first-run test, the keep-list writer and the
// screens) goes through this table, so that a new target is one entry here.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CleanProgress.h"
#include "engine/DeleteWalk.h"
#include "settings/SettingsFile.h"

namespace engine {

// What a clean works from, read from Clean.ini and the environment once, when it starts:
// nothing written there afterwards changes a clean that runs.
struct CleanSettings {
    std::string userFolder = "0";       // [User] sFile0 as stored; "0" for none
    std::vector<std::string> values;    // each target's [Delete] value as stored, in table order
    std::vector<std::string> keepList;  // the [Internet] keep-list
    std::string tempFolder;             // the Temp variable when the clean started
    std::uint64_t start = 0;            // when the clean started, as file times are written
    std::vector<std::string> keepNewer;  // each target's [Keep Newer] value as stored ("" when absent)
    std::vector<std::string> keptPaths;  // [Keep], every numbered entry
    std::string localAppData;           // LOCALAPPDATA ("" when unset): where browsers keep caches
    std::string appData;                // APPDATA ("" when unset): where Firefox keeps its locks

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

enum class TargetKind {
    kFolder,     // one folder the settings name
    kFolderSet,  // folders worked out from the ports when its turn comes (every browser profile)
    kUrlCache,   // the WinINet URL cache, entry by entry
    kShell,      // emptied by the shell itself (the Recycle Bin)
};

// A folder that a target of many folders found by handle, and what it was when found: it is
// purged only while its path still leads to that folder.
struct FoundFolder {
    std::string path;
    platform::FileIdentity identity;
};

// The folders of a kFolderSet target as worked out from the ports, and the places it leaves
// whole on purpose (a browser that runs, a link).
struct FolderSet {
    std::vector<FoundFolder> folders;
    std::vector<SkippedPlace> skipped;
    bool absent = false;  // its place is not there (the browser is not installed)
};

using CleanFunction = std::function<void(const platform::Ports& ports, const CleanSettings& settings,
                                         DeleteTally& tally, CleanProgress* progress, CleanMode mode)>;

struct CleanTarget {
    std::string_view key;        // in [Delete]
    std::string_view label;      // how the screens and the record name it
    std::string_view shortName;  // how a sentence that names several targets names it
    TargetKind kind;
    // A rewrite of Clean.ini writes its key even when it was missing ("0"), before any other:
    // the targets the program began with.
    bool alwaysStored;
    // Where it is, as the settings name it: the folder, or what holds its folders; "" for the
    // URL cache and the Recycle Bin.
    std::function<std::string(const CleanSettings& settings)> place;
    // A kFolderSet target's folders, worked out from the ports (empty for the other kinds).
    std::function<FolderSet(const platform::Ports& ports, const CleanSettings& settings)> folders;
    // Cleans it (or, in preview mode, works out what cleaning it would do, changing nothing):
    // what went and what stayed into tally; with progress, reported as it goes and stopped after
    // the item in hand when a stop is asked.
    CleanFunction clean;

    // It counts entries, some of them kept on purpose, rather than the items of a folder: a
    // preview says how many of all its entries would go.
    bool CountsEntries() const { return kind == TargetKind::kUrlCache; }
};

std::span<const CleanTarget> CleanTargets();
// The user folder's place in the table: the target a refusal concerns.
inline constexpr std::size_t kUserFolderTarget = 0;

// Whether a value of Clean.ini sets a target up ("No" does; "0" and "" do not): the first run
// opens the screens while no target is set up.
bool SetsUp(std::string_view value);

// The clean of a kFolderSet target: its folders worked out once, at its turn, then each purged
// as PurgeFoundFolder does (keeping back what keep keeps); the places it leaves whole and its
// absence go into the tally.
void CleanFolderSet(const platform::Ports& ports, const FolderSet& set, DeleteTally& tally, CleanProgress* progress,
                    CleanMode mode, const KeepBack* keep = nullptr);

}  // namespace engine
