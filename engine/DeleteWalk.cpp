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

void DeleteTally::Kept(StayedItem item, std::uint64_t bytes) {
    Kept(item.reason, bytes);
    if (stayed.size() < kStayedNamed) stayed.push_back(std::move(item));
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
    std::string path;                    // where the walk found it, to report what stays
    bool readOnly = false;
};

class Walk {
public:
    Walk(const std::optional<OwnFiles>& own, DeleteTally& tally, CleanProgress* progress)
        : own_(own), tally_(tally), progress_(progress) {}

    bool Run(FolderHandle& top, const std::string& path, const std::function<bool(const FileEntry&)>& take) {
        auto entries = top.List();
        if (!entries) return false;
        std::erase_if(*entries, [&](const FileEntry& entry) { return !take(entry); });
        levels_.push_back({&top, nullptr, std::move(*entries), 0, IsOwnFolder(top), false});
        levels_.back().path = path;
        if (progress_) progress_->WorkingIn(path);
        while (!levels_.empty()) {
            if (progress_ && progress_->StopRequested()) {
                Stop();
                break;
            }
            Level& level = levels_.back();
            if (level.next == level.entries.size()) {
                Leave();
            } else {
                Visit(level.entries[level.next++]);
            }
        }
        return true;
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
                Enter(std::move(opened.folder), entry);
                return;
            }
            // A link where the listing showed a folder goes as a link, if it can.
            result = opened.error == FsError::kLink ? level.folder->DeleteEntry(entry) : opened.error;
        } else {
            result = level.folder->DeleteEntry(entry);
        }
        Count(result, entry.IsDirectory() ? 0 : entry.size, entry.name, entry.IsDirectory(),
              entry.Has(platform::kAttrReadOnly));
    }

    // Asked to stop: the folders the walk moved go back where they were, and nothing more is
    // touched.
    void Stop() {
        while (!levels_.empty()) {
            Level done = std::move(levels_.back());
            levels_.pop_back();
            if (!levels_.empty()) MoveBack(done);
        }
    }

    void Enter(std::unique_ptr<FolderHandle> folder, const FileEntry& entry) {
        const std::string& name = entry.name;
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
            Count(FsError::kAccessDenied, 0, name, true, entry.Has(platform::kAttrReadOnly));
            return;
        }
        FolderHandle* raw = folder.get();
        std::string path = text::JoinPath(levels_.back().path, name);
        if (progress_) progress_->WorkingIn(path);
        levels_.push_back({raw, std::move(folder), std::move(*entries), 0, own, false, parkedFrom, name, depth,
                           std::move(path), entry.Has(platform::kAttrReadOnly)});
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
        Count(result, 0, done.name, true, done.readOnly);
    }

    // A folder that stays goes back where it was; were that to fail, it stays where it moved,
    // inside the folder being emptied.
    static void MoveBack(Level& level) {
        if (level.parkedFrom) level.folder->MoveInto(*level.parkedFrom, level.name);
    }

    // The outcome of one item (name, in the folder now on top).
    void Count(FsError result, std::uint64_t bytes, const std::string& name, bool folder, bool readOnly) {
        if (result == FsError::kNone) {
            ++tally_.removedItems;
            tally_.removedBytes += bytes;
            if (progress_) progress_->Removed(bytes);
        } else if (result != FsError::kNotFound) {  // gone already: someone else removed it
            const StayReason reason = ReasonOf(result);
            tally_.Kept({text::JoinPath(levels_.back().path, name), reason, folder,
                         readOnly && reason == StayReason::kAccessDenied, result.Code()},
                        bytes);
            levels_.back().holdsRest = true;
            if (progress_) progress_->Stayed();
        }
    }

    const std::optional<OwnFiles>& own_;
    DeleteTally& tally_;
    CleanProgress* progress_;
    std::vector<Level> levels_;
    int parked_ = 0;
};

}  // namespace

bool RemoveEntries(FolderHandle& folder, const std::string& path, const std::function<bool(const FileEntry&)>& take,
                   const std::optional<OwnFiles>& own, DeleteTally& tally, CleanProgress* progress) {
    return Walk(own, tally, progress).Run(folder, path, take);
}

}  // namespace engine
