#include "engine/RunReport.h"

#include <algorithm>
#include <cstdio>

#include "engine/Amounts.h"
#include "engine/Reasons.h"
#include "platform/Ports.h"
#include "settings/KnownFolders.h"

namespace engine {
namespace {

// The reason with the system's own code, which tells what it was where no named reason does.
std::string ReasonText(const StayedItem& item) {
    std::string reason = item.folder && item.readOnly ? "read-only folder" : item.reason == StayReason::kLinkLeft ? "link left in place" : ReasonWords(item.reason);
    const std::string code = CodeText(item.code);
    return code.empty() ? reason : reason + " (" + code + ")";
}

// Why a folder is not purged, for the record.
std::string WhyNot(const std::string& folder, settings::FolderVerdict verdict) {
    if (verdict == settings::FolderVerdict::kRoot) return folder + " is the root of the system drive";
    if (verdict == settings::FolderVerdict::kSystem) return folder + " is a protected folder";
    return folder + " could not be opened";
}

}  // namespace

std::string NotCleanedText(const platform::Ports& ports, const CleanTarget& target, const std::string& folder,
                           const DeleteTally& tally, bool withCode) {
    const std::string label(target.label);
    if (tally.ageLimitUnreadable) return label + " was not cleaned: its age limit ([Keep Newer]) is no whole number of hours";
    if (target.kind == TargetKind::kShell) {
        if (!tally.before) return label + " could not be read by the shell";
        return label + " could not be emptied by the shell" +
               (tally.shellFailure && withCode ? " (" + CodeText(tally.shellFailure) + ")" : "");
    }
    // A folder of a kFolderSet target that fails is a place skipped, never the whole target.
    if (folder.empty() || folder == "0") return label + " is not set";
    // A failure the platform said nothing more of has no reason to add.
    const platform::FsError error = tally.openError;
    const bool told = error != platform::FsError::kNone && !(error == platform::FsError::kOther && error.Code() == 0);
    const std::string why = told ? ": " + (withCode ? ReasonWithCode(error) : ReasonWords(error)) : "";
    if (tally.foldersNotListed > 0) return label + " " + folder + " could not be listed" + why;
    const settings::FolderVerdict verdict = settings::CheckUserFolder(ports, folder);
    if (verdict == settings::FolderVerdict::kRoot || verdict == settings::FolderVerdict::kSystem) {
        return label + " " + WhyNot(folder, verdict);
    }
    return label + " " + WhyNot(folder, verdict) + why;
}

std::optional<RefusalFound> UserFolderRefusal(const platform::Ports& ports, const CleanSettings& settings) {
    const std::string& folder = settings.userFolder;
    if (folder == "0") return std::nullopt;
    const settings::FolderVerdict verdict = settings::CheckUserFolder(ports, folder);
    if (verdict != settings::FolderVerdict::kRoot && verdict != settings::FolderVerdict::kSystem) return std::nullopt;
    return RefusalFound{verdict == settings::FolderVerdict::kRoot ? Refusal::kRoot : Refusal::kProtected,
                        "Your Selected Folder " + WhyNot(folder, verdict)};
}

RunReport::RunReport(const platform::Ports& ports, RunVariant variant)
    : ports_(ports), start_(ports.environment->Ticks()) {
    record_.time = ports.environment->Now();
    record_.variant = variant;
}

void RunReport::Options(const CleanSettings& settings) {
    const auto targets = CleanTargets();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const CleanTarget& target = targets[i];
        OptionRecord option{std::string(target.label), settings.values[i], settings.Chosen(i) ? target.place(settings) : ""};
        option.countsEntries = target.CountsEntries();
        option.ageLimit = settings.keepNewer[i];
        record_.options.push_back(std::move(option));
    }
    keptPaths_ = settings.keptPaths;
}

void RunReport::Cleaned(std::size_t target, bool reached, const DeleteTally& tally) {
    OptionRecord& record = record_.options[target];
    if (!reached) {
        record.notReached = true;
        return;
    }
    record.ran = true;
    record.stopped = tally.stopped;
    record.notCleaned = tally.foldersNotCleaned > 0;
    record.removedItems = tally.removedItems;
    record.removedBytes = tally.removedBytes;
    record.leftItems = tally.keptItems;
    record.spared = tally.spared;
    record.keptNewer = tally.keptNewer;
    record.keptPaths = tally.keptPaths;
    record.keptPathItems = tally.keptPathItems;
    for (const std::string& path : tally.keptPathsNotFound) {
        auto& notFound = record_.keptPathsNotFound;
        if (std::find(notFound.begin(), notFound.end(), path) == notFound.end()) notFound.push_back(path);
    }
    keptPathsMet_.insert(keptPathsMet_.end(), tally.keptPathsMet.begin(), tally.keptPathsMet.end());
    if (tally.walkedWhole) (*tally.walkedWhole ? folderWalked_ : folderCutShort_) = true;
    record.absent = tally.absent;
    record.skipped = tally.skipped;
    record.before = tally.before;
    record.after = tally.after;
    record.cleanedSome = tally.skipped.empty() || tally.foldersFound > 0;
    record_.stayedTotal += tally.keptItems;
    for (const StayedItem& item : tally.stayed) Stayed(item.path, ReasonText(item));
    // What the shell left in its container cannot be named without walking it.
    if (tally.after && tally.after->items > 0) {
        Stayed(record.name + ": " + ItemsText(tally.after->items), "not removed by the shell");
    }
    for (const SizedItem& item : tally.largest) record_.largest.push_back(item);
    if (record.notCleaned) Refused(NotCleanedText(ports_, CleanTargets()[target], record.place, tally, true));
}

void RunReport::Conclude(const std::string& outcome, int exitCode) {
    // Only folders walked through tell where a kept path is not.
    if (folderWalked_ && !folderCutShort_) {
        for (const std::string& path : keptPaths_) {
            const auto& notFound = record_.keptPathsNotFound;
            if (std::find(notFound.begin(), notFound.end(), path) != notFound.end()) continue;
            if (std::find(keptPathsMet_.begin(), keptPathsMet_.end(), path) != keptPathsMet_.end()) continue;
            record_.keptPathsOutside.push_back(path);
        }
    }
    record_.endTime = ports_.environment->Now();
    record_.durationMs = ports_.environment->Ticks() - start_;
    record_.outcome = outcome;
    record_.exitCode = exitCode;
    std::sort(record_.largest.begin(), record_.largest.end(),
              [](const SizedItem& a, const SizedItem& b) { return a.size > b.size; });
    if (record_.largest.size() > kItemsNamed) record_.largest.resize(kItemsNamed);
}

void RunReport::Append() const { AppendRunRecord(ports_, record_); }

void RunReport::Stayed(const std::string& path, const std::string& reason) {
    if (record_.stayed.size() < kItemsNamed) record_.stayed.push_back({path, reason});
}

}  // namespace engine
