#include "engine/DeleteWalk.h"

#include <memory>
#include <vector>

#include "platform/Text.h"

namespace engine {

using platform::FileEntry;
using platform::FolderHandle;
using platform::FsError;

void DeleteTally::Kept(StayReason reason, std::uint64_t bytes) {
    ++keptItems;
    keptBytes += bytes;
    ++keptBy[static_cast<int>(reason)];
}

DeleteTally& DeleteTally::operator+=(const DeleteTally& other) {
    removedItems += other.removedItems;
    removedBytes += other.removedBytes;
    keptItems += other.keptItems;
    keptBytes += other.keptBytes;
    for (int i = 0; i < kStayReasons; ++i) keptBy[i] += other.keptBy[i];
    foldersNotCleaned += other.foldersNotCleaned;
    return *this;
}

bool OwnFiles::IsOwnName(std::string_view name) {
    for (const std::string_view own : {"Morvane.exe", "Clean.ini", "Clean.ini.*.tmp", "Morvane.log"}) {
        if (text::WildcardMatch(own, name)) return true;
    }
    return false;
}

namespace {

StayReason ReasonOf(FsError error) {
    switch (error) {
        case FsError::kInUse:
            return StayReason::kInUse;
        case FsError::kAccessDenied:
            return StayReason::kAccessDenied;
        case FsError::kLink:
            return StayReason::kLinkLeft;
        default:
            return StayReason::kOther;
    }
}

// A folder that would lie this deep below the top folder is first moved up into it (and back
// where it was if something in it stays): where the platform resolves the whole path at each
// open (Wine does), no path the walk opens then lies deeper than this, however deep the tree,
// and depth costs what breadth costs. Folders this deep are rare, so hardly any folder moves.
constexpr int kParkingDepth = 16;

// One open folder of the walk and how far it has got.
struct Level {
    FolderHandle* folder;
    std::unique_ptr<FolderHandle> owned;  // every level but the caller's folder
    std::vector<FileEntry> entries;
    std::size_t next = 0;
    bool own = false;        // the program's folder
    bool holdsRest = false;  // something in it stays, so it stays too
    FolderHandle* parkedFrom = nullptr;  // where it was before it moved up
    std::string name;                    // its name there
    int depth = 0;                       // below the top folder, where it lies now
};

class Walk {
public:
    Walk(const std::optional<OwnFiles>& own, DeleteTally& tally) : own_(own), tally_(tally) {}

    void Run(FolderHandle& top, const std::function<bool(const FileEntry&)>& take) {
        auto entries = top.List();
        if (!entries) return;
        std::erase_if(*entries, [&](const FileEntry& entry) { return !take(entry); });
        levels_.push_back({&top, nullptr, std::move(*entries), 0, IsOwnFolder(top), false});
        while (!levels_.empty()) {
            Level& level = levels_.back();
            if (level.next == level.entries.size()) {
                Leave();
            } else {
                Visit(level.entries[level.next++]);
            }
        }
    }

private:
    bool IsOwnFolder(FolderHandle& folder) const { return own_ && folder.Identity() == own_->folder; }

    void Visit(const FileEntry& entry) {
        Level& level = levels_.back();
        if (level.own && OwnFiles::IsOwnName(entry.name)) {
            level.holdsRest = true;  // not counted: the program's files are no clutter
            return;
        }
        FsError result;
        if (entry.IsDirectory() && !entry.IsReparsePoint()) {
            FolderHandle::Opened opened = level.folder->OpenFolder(entry);
            if (opened.folder) {
                Enter(std::move(opened.folder), entry.name);
                return;
            }
            // A link where the listing showed a folder goes as a link, if it can.
            result = opened.error == FsError::kLink ? level.folder->DeleteEntry(entry) : opened.error;
        } else {
            result = level.folder->DeleteEntry(entry);
        }
        Count(result, entry.IsDirectory() ? 0 : entry.size);
    }

    void Enter(std::unique_ptr<FolderHandle> folder, const std::string& name) {
        const bool own = IsOwnFolder(*folder);
        FolderHandle* parkedFrom = nullptr;
        int depth = levels_.back().depth + 1;
        // The program's folder never moves: the program keeps its files there.
        if (depth >= kParkingDepth && !own &&
            folder->MoveInto(*levels_.front().folder, ParkingName()) == FsError::kNone) {
            parkedFrom = levels_.back().folder;
            depth = 1;
        }
        auto entries = folder->List();
        if (!entries) {
            if (parkedFrom) folder->MoveInto(*parkedFrom, name);
            Count(FsError::kAccessDenied, 0);
            return;
        }
        FolderHandle* raw = folder.get();
        levels_.push_back({raw, std::move(folder), std::move(*entries), 0, own, false, parkedFrom, name, depth});
    }

    std::string ParkingName() { return "~Morvane-" + std::to_string(++parked_); }

    // A folder is done: it goes unless something in it stays; the caller's folder always stays.
    void Leave() {
        Level done = std::move(levels_.back());
        levels_.pop_back();
        if (levels_.empty()) return;
        if (done.holdsRest) {
            MoveBack(done);
            levels_.back().holdsRest = true;
            return;
        }
        const FsError result = done.folder->Remove();
        if (result != FsError::kNone) MoveBack(done);
        done.owned.reset();  // the folder goes when its handle closes
        Count(result, 0);
    }

    // A folder that stays goes back where it was; were that to fail, it stays where it moved,
    // inside the folder being emptied.
    static void MoveBack(Level& level) {
        if (level.parkedFrom) level.folder->MoveInto(*level.parkedFrom, level.name);
    }

    // The outcome of one item, in the folder now on top.
    void Count(FsError result, std::uint64_t bytes) {
        if (result == FsError::kNone) {
            ++tally_.removedItems;
            tally_.removedBytes += bytes;
        } else if (result != FsError::kNotFound) {  // gone already: someone else removed it
            tally_.Kept(ReasonOf(result), bytes);
            levels_.back().holdsRest = true;
        }
    }

    const std::optional<OwnFiles>& own_;
    DeleteTally& tally_;
    std::vector<Level> levels_;
    int parked_ = 0;
};

}  // namespace

void RemoveEntries(FolderHandle& folder, const std::function<bool(const FileEntry&)>& take,
                   const std::optional<OwnFiles>& own, DeleteTally& tally) {
    Walk(own, tally).Run(folder, take);
}

}  // namespace engine
