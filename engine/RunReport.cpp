#include "engine/RunReport.h"

#include <algorithm>
#include <cstdio>

#include "platform/Ports.h"
#include "settings/KnownFolders.h"

namespace engine {
namespace {

std::string ReasonText(const StayedItem& item) {
    if (item.folder && item.readOnly) return "read-only folder";
    switch (item.reason) {
        case StayReason::kInUse:
            return "in use";
        case StayReason::kAccessDenied:
            return "access denied";
        case StayReason::kLinkLeft:
            return "link left in place";
        case StayReason::kOther:
            break;
    }
    // None of the named reasons: the system's own code tells what it was.
    if (item.code == 0) return "other";
    char code[32];
    std::snprintf(code, sizeof(code), "other (0x%08X)", static_cast<unsigned>(item.code));
    return code;
}

// Why a folder is not purged, for the record.
std::string WhyNot(const std::string& folder, settings::FolderVerdict verdict) {
    if (verdict == settings::FolderVerdict::kRoot) return folder + " is the root of the system drive";
    if (verdict == settings::FolderVerdict::kSystem) return folder + " is a protected folder";
    return folder + " could not be opened";
}

// Why a chosen folder was not purged at all.
std::string WhyNotCleaned(const platform::Ports& ports, const OptionRecord& option, const DeleteTally& tally) {
    const std::string& folder = option.place;
    if (tally.ageLimitUnreadable) {
        return "was not cleaned: its age limit \"" + option.ageLimit + "\" ([Keep Newer]) is not a whole number of hours";
    }
    if (folder.empty() || folder == "0") return "is not set";
    if (tally.foldersNotListed > 0) return folder + " could not be listed";
    return WhyNot(folder, settings::CheckUserFolder(ports, folder));
}

}  // namespace

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
        record_.options.push_back(
            {std::string(target.label), settings.values[i], settings.Chosen(i) ? target.place(settings) : ""});
        record_.options.back().ageLimit = settings.keepNewer[i];
    }
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
    record_.stayedTotal += tally.keptItems;
    for (const StayedItem& item : tally.stayed) Stayed(item.path, ReasonText(item));
    for (const SizedItem& item : tally.largest) record_.largest.push_back(item);
    if (record.notCleaned) Refused(record.name + " " + WhyNotCleaned(ports_, record, tally));
}

void RunReport::Conclude(const std::string& outcome, int exitCode) {
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
