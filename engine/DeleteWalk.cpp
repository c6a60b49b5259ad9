#include "engine/DeleteWalk.h"

#include <algorithm>
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

namespace {
// The smallest of the largest on top, so that a larger one takes its place at once.
bool Larger(const SizedItem& a, const SizedItem& b) { return a.size > b.size; }
}  // namespace

bool DeleteTally::AmongLargest(std::uint64_t size) const {
    return largest.size() < kLargestNamed || size > largest.front().size;
}

void DeleteTally::AddLargest(SizedItem item) {
    if (largest.size() == kLargestNamed) {
        std::pop_heap(largest.begin(), largest.end(), Larger);
        largest.pop_back();
    }
    largest.push_back(std::move(item));
    std::push_heap(largest.begin(), largest.end(), Larger);
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

// One open folder of the walk and how far it has got.
struct Level {
    FolderHandle* folder;
    std::unique_ptr<FolderHandle> owned;  // every level but the caller's folder
    std::vector<FileEntry> entries;
    std::size_t next = 0;
    bool own = false;        // the program's folder
    bool holdsRest = false;  // something in it stays, so it stays too
    std::string path;        // where the walk found it, to report what stays
    FileEntry entry;         // as the folder above listed it
    bool kept = false;       // a kept path or in one: everything in it is only counted
    std::uint64_t volume = 0;  // of its identity: what its entries' file ids belong to
};

class Walk {
public:
    Walk(const std::optional<OwnFiles>& own, DeleteTally& tally, CleanProgress* progress, CleanMode mode,
         const KeepBack* keep)
        : own_(own), tally_(tally), progress_(progress), preview_(mode == CleanMode::kPreview), keep_(keep) {}

    bool Run(FolderHandle& top, const std::string& path, const std::function<bool(const FileEntry&)>& take) {
        auto entries = top.List();
        if (!entries) return false;
        std::erase_if(*entries, [&](const FileEntry& entry) { return !take(entry); });
        const platform::FileIdentity identity = top.Identity();
        bool kept = false;
        if (keep_) {
            if (const auto it = keep_->paths.find(identity); it != keep_->paths.end()) {
                kept = true;
                ++tally_.keptPaths;
                Met(it->second);
            }
        }
        levels_.push_back({&top, nullptr, std::move(*entries), 0, IsOwnFolder(top), kept, path, {}, kept,
                           identity.volume});
        if (progress_) progress_->WorkingIn(path);
        while (!levels_.empty()) {
            if (progress_ && progress_->StopRequested()) {
                tally_.stopped = true;
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
        const bool realFolder = entry.IsDirectory() && !entry.IsReparsePoint();
        if (keep_) {
            // Also within a kept folder, to know a kept path inside another as met.
            const bool keptPath = IsKeptPath(level, entry) && !level.kept;
            if (level.kept || keptPath) {
                if (keptPath) ++tally_.keptPaths;
                KeptBack(tally_.keptPathItems);
                if (realFolder) {
                    if (auto opened = level.folder->OpenFolder(entry); opened.folder) Enter(std::move(opened.folder), entry, true);
                }
                return;
            }
            // A folder is decided on once it has been walked.
            if (!realFolder && keep_->Newer(entry)) {
                KeptBack(tally_.keptNewer);
                return;
            }
        }
        FsError result;
        if (realFolder) {
            FolderHandle::Opened opened = level.folder->OpenFolder(entry);
            if (opened.folder) {
                Enter(std::move(opened.folder), entry, false);
                return;
            }
            // A link where the listing showed a folder goes as a link, if it can.
            result = opened.error == FsError::kLink ? Delete(*level.folder, entry) : opened.error;
        } else {
            result = Delete(*level.folder, entry);
        }
        Count(result, entry.IsDirectory() ? 0 : entry.size, entry.name, entry.IsDirectory(),
              entry.Has(platform::kAttrReadOnly));
    }

    // A subfolder: walked, or (kept) only counted.
    void Enter(std::unique_ptr<FolderHandle> folder, const FileEntry& entry, bool kept) {
        const platform::FileIdentity identity = folder->Identity();
        // Listed without a file id: a kept path is known by the folder's own.
        if (keep_ && !kept && entry.fileId == 0) {
            if (const auto it = keep_->paths.find(identity); it != keep_->paths.end()) {
                ++tally_.keptPaths;
                Met(it->second);
                KeptBack(tally_.keptPathItems);
                kept = true;
            }
        }
        auto entries = folder->List();
        if (!entries) {
            if (!kept) Count(FsError::kAccessDenied, 0, entry.name, true, entry.Has(platform::kAttrReadOnly));
            return;
        }
        const bool own = IsOwnFolder(*folder);
        FolderHandle* raw = folder.get();
        std::string path = text::JoinPath(levels_.back().path, entry.name);
        if (progress_) progress_->WorkingIn(path);
        levels_.push_back(
            {raw, std::move(folder), std::move(*entries), 0, own, kept, std::move(path), entry, kept, identity.volume});
    }

    // Whether the entry is a kept path; one that is is marked met.
    bool IsKeptPath(const Level& level, const FileEntry& entry) {
        if (keep_->paths.empty()) return false;
        if (entry.fileId != 0) {
            const auto it = keep_->paths.find({level.volume, entry.fileId});
            if (it == keep_->paths.end()) return false;
            Met(it->second);
            return true;
        }
        const auto it = keep_->spelled.find(text::ToUpper(text::JoinPath(level.path, entry.name)));
        if (it == keep_->spelled.end()) return false;
        Met(it->second);
        return true;
    }

    void Met(std::size_t keptPath) {
        auto& met = tally_.keptMet;
        if (std::find(met.begin(), met.end(), keptPath) == met.end()) met.push_back(keptPath);
    }

    void KeptBack(std::uint64_t& counter) {
        ++counter;
        levels_.back().holdsRest = true;
        if (progress_) progress_->KeptBack();
    }

    // A folder is done: it goes unless something in it stays; the caller's folder always stays.
    void Leave() {
        Level done = std::move(levels_.back());
        levels_.pop_back();
        if (levels_.empty()) return;
        if (done.holdsRest) {
            levels_.back().holdsRest = true;
            return;
        }
        if (keep_ && keep_->Newer(done.entry)) {
            KeptBack(tally_.keptNewer);
            return;
        }
        // Closed first: the folder is opened anew, with the right to delete it, for its removal
        // alone, and goes only if it is still the folder that was emptied.
        const platform::FileIdentity identity = done.folder->Identity();
        done.owned.reset();
        // A preview counts it as going with what it held: whether another program has it open
        // (as its current folder, say) only an open that takes it from them could tell.
        const FsError result = preview_ ? FsError() : levels_.back().folder->RemoveFolder(done.entry, identity);
        Count(result, 0, done.entry.name, true, done.entry.Has(platform::kAttrReadOnly));
    }

    FsError Delete(FolderHandle& folder, const FileEntry& entry) {
        return preview_ ? folder.CheckEntry(entry) : folder.DeleteEntry(entry);
    }

    // The outcome of one item (name, in the folder now on top).
    void Count(FsError result, std::uint64_t bytes, const std::string& name, bool folder, bool readOnly) {
        if (result == FsError::kNone) {
            ++tally_.removedItems;
            tally_.removedBytes += bytes;
            if (preview_ && !folder && tally_.AmongLargest(bytes)) {
                tally_.AddLargest({text::JoinPath(levels_.back().path, name), bytes});
            }
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
    bool preview_;
    const KeepBack* keep_;
    std::vector<Level> levels_;
};

}  // namespace

bool RemoveEntries(FolderHandle& folder, const std::string& path, const std::function<bool(const FileEntry&)>& take,
                   const std::optional<OwnFiles>& own, DeleteTally& tally, CleanProgress* progress, CleanMode mode,
                   const KeepBack* keep) {
    return Walk(own, tally, progress, mode, keep).Run(folder, path, take);
}

}  // namespace engine
