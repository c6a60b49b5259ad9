#pragma once
// The one walk every deletion goes through: folders held open by handle (platform::FolderHandle),
// each entry opened relative to its folder without following a link, checked on the handle that
// deletes it, deleted through that handle. Links are removed as links where the platform allows
// it and left otherwise; nothing below a link is ever reached. Folders are walked with an explicit
// stack of handles, so a deep tree costs no call stack. A folder is held only to be listed: once
// emptied, it is closed and opened anew from the folder above for its removal, and goes only if
// it is still the folder that was emptied. Nothing is ever moved or renamed: what the walk does
// not delete stays where it was, whatever ends the walk.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/CleanProgress.h"
#include "platform/FileSystem.h"
#include "platform/RecycleBin.h"

namespace engine {

// Whether a clean deletes, or only works out what it would delete: the same walk, the same opens
// and the same decisions, with nothing deleted or changed.
enum class CleanMode { kClean, kPreview };

// Why an item stayed.
enum class StayReason {
    kInUse,         // held open by another program
    kAccessDenied,  // the platform refused it
    kLinkLeft,      // a link the platform cannot remove without reaching what it leads to
    kOther,         // changed under the walk (a folder where a file was listed, ...) or another failure
};
inline constexpr int kStayReasons = 4;

// One item that stayed, by its path (where the walk found it) and why.
struct StayedItem {
    std::string path;
    StayReason reason = StayReason::kOther;
    bool folder = false;
    bool readOnly = false;  // its read-only mark kept it (and it keeps the mark)
    std::uint32_t code = 0;  // the platform's own code for the failure, 0 when it gave none
};
// How many items each list of a record names (what stayed; a preview's largest files that would
// go): as many as a tally keeps and as the record lists. The rest are only counted.
inline constexpr std::size_t kItemsNamed = 100;
inline constexpr std::size_t kStayedNamed = kItemsNamed;  // the walk's name for it

// A file that went (or would go), by its path and size.
struct SizedItem {
    std::string path;
    std::uint64_t size = 0;
};
inline constexpr std::size_t kLargestNamed = kItemsNamed;  // the walk's name for it

// A place a target leaves whole on purpose, and why: a browser that runs, a profile in use,
// a link where a profile or a cache folder was.
struct SkippedPlace {
    std::string path;
    std::string reason;  // "Chrome is running", ...
    friend bool operator==(const SkippedPlace&, const SkippedPlace&) = default;
};

// What a deletion removed, and what it found it could not remove and why.
struct DeleteTally {
    std::uint64_t removedItems = 0;
    std::uint64_t removedBytes = 0;
    std::uint64_t keptItems = 0;
    std::uint64_t keptBytes = 0;
    std::uint64_t keptBy[kStayReasons] = {};
    // Folders chosen for a purge that could not be purged at all: missing, not a purgeable base,
    // not openable or listable, or refused as protected.
    std::uint64_t foldersNotCleaned = 0;
    std::uint64_t foldersNotListed = 0;  // of those: opened, but could not be listed
    platform::FsError openError;          // why such a folder could not be opened or listed
    // A stop ended the work before its end: what it never reached was not counted.
    bool stopped = false;
    // Items spared on purpose: cache entries whose names are kept.
    std::uint64_t spared = 0;
    // Kept back on purpose in a folder (KeepBack), neither removed nor stayed: files (and empty
    // folders) newer than the age limit, the kept paths met, and the items they are and hold.
    std::uint64_t keptNewer = 0;
    std::uint64_t keptPaths = 0;
    std::uint64_t keptPathItems = 0;
    // The target's age limit is no whole number of hours: it was not cleaned (foldersNotCleaned).
    bool ageLimitUnreadable = false;
    // Kept paths that named nothing when the target's turn came, and those the walk met (each
    // once), as the settings spell them.
    std::vector<std::string> keptPathsNotFound;
    std::vector<std::string> keptPathsMet;
    // The kept paths met, by their place in the settings' list (each once).
    std::vector<std::size_t> keptMet;
    // A folder target: whether its walk went through the whole folder, so that a kept path it did
    // not meet lies outside it (nullopt for other targets).
    std::optional<bool> walkedWhole;
    // Places left whole on purpose; each counts as not cleaned.
    std::vector<SkippedPlace> skipped;
    // Of a target of many folders: how many of its folders it went on to clean.
    std::uint64_t foldersFound = 0;
    // The target's place is not there at all (a browser that is not installed): nothing to do.
    bool absent = false;
    // What the shell's container (the Recycle Bin) held when the target began, and once emptied.
    std::optional<platform::BinContents> before, after;
    std::uint32_t shellFailure = 0;  // the shell's own code when it would not empty it
    // In a preview, the kItemsNamed largest files that would go, in no order (the record sorts them).
    std::vector<SizedItem> largest;
    // The first kItemsNamed items that stayed.
    std::vector<StayedItem> stayed;

    void Kept(StayReason reason, std::uint64_t bytes);
    void Kept(StayedItem item, std::uint64_t bytes);
    // A file of this size would go: among the largest, if it is one of them.
    bool AmongLargest(std::uint64_t size) const;
    void AddLargest(SizedItem item);
    std::uint64_t KeptFor(StayReason reason) const { return keptBy[static_cast<int>(reason)]; }
    std::uint64_t KeptBack() const { return keptNewer + keptPathItems; }
};

struct IdentityHash {
    std::size_t operator()(const platform::FileIdentity& id) const {
        return std::hash<std::uint64_t>{}(id.file ^ (id.volume * 0x9E3779B97F4A7C15ull));
    }
};

// What a walk keeps back on purpose, decided from the listing it makes anyway: what was written
// at or after a moment (a target's age limit counted back from the clean's start; a time in the
// future too), and the kept paths by identity, each with everything in it. A folder goes only
// when nothing in it stays and it was not itself written since the moment: a program that made
// it a moment ago may be about to fill it.
struct KeepBack {
    std::optional<std::uint64_t> newerThan;  // a file time
    // Each kept path's identity, with its place in the settings' list.
    std::unordered_map<platform::FileIdentity, std::size_t, IdentityHash> paths;
    // The kept paths' full paths in capitals: an entry listed without a file id (some network
    // shares) is matched by the path the walk reports.
    std::unordered_map<std::string, std::size_t> spelled;
    // Kept paths that named nothing.
    std::vector<std::string> notFound;

    bool Newer(const platform::FileEntry& entry) const { return newerThan && entry.lastWrite >= *newerThan; }
};

// The program's own files, which a purge leaves in the program's folder: the program, Clean.ini,
// the temporary files of its writes and its log.
struct OwnFiles {
    platform::FileIdentity folder;
    static bool IsOwnName(std::string_view name);
};

// Removes the entries of an open folder (at path, the name it is reported by) that `take`
// accepts, each with everything below it. The folder itself stays. With own, the program's own
// files stay wherever the walk meets its folder. With progress, every item is reported there as
// it goes, and a stop it asks for ends the walk after the item in hand (tally.stopped): nothing is
// left half removed. False when the folder could not be listed, so that nothing was removed.
// In preview mode nothing is deleted: every item is checked as its deletion would check it, and
// counted as removed when its deletion would go through. With keep, what it keeps back stays
// unopened (a kept folder is only listed, to count what it holds), and is counted as kept back;
// a kept folder given as `folder` keeps everything.
bool RemoveEntries(platform::FolderHandle& folder, const std::string& path,
                   const std::function<bool(const platform::FileEntry&)>& take, const std::optional<OwnFiles>& own,
                   DeleteTally& tally, CleanProgress* progress = nullptr, CleanMode mode = CleanMode::kClean,
                   const KeepBack* keep = nullptr);

}  // namespace engine
