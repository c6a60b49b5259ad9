#include "engine/RunReport.h"

#include <algorithm>
#include <cstdio>

#include "engine/Amounts.h"
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

// Why a chosen target was not cleaned at all.
std::string WhyNotCleaned(const platform::Ports& ports, const CleanTarget& target, const std::string& folder,
                          const DeleteTally& tally) {
    char code[32];
    std::snprintf(code, sizeof(code), " (0x%08X)", static_cast<unsigned>(tally.shellFailure));
    switch (target.kind) {
        case TargetKind::kShell:
            return tally.before ? std::string("could not be emptied by the shell") + (tally.shellFailure ? code : "")
                                : "could not be read by the shell";
        case TargetKind::kFolderSet:  // a folder of many that fails is a place skipped
        case TargetKind::kFolder:
        case TargetKind::kUrlCache:
            break;
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
        OptionRecord option{std::string(target.label), settings.values[i], settings.Chosen(i) ? target.place(settings) : ""};
        option.countsEntries = target.CountsEntries();
        record_.options.push_back(std::move(option));
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
    if (record.notCleaned) Refused(record.name + " " + WhyNotCleaned(ports_, CleanTargets()[target], record.place, tally));
}

void RunReport::Write(const std::string& outcome, int exitCode) {
    record_.endTime = ports_.environment->Now();
    record_.durationMs = ports_.environment->Ticks() - start_;
    record_.outcome = outcome;
    record_.exitCode = exitCode;
    std::sort(record_.largest.begin(), record_.largest.end(),
              [](const SizedItem& a, const SizedItem& b) { return a.size > b.size; });
    if (record_.largest.size() > kLargestNamed) record_.largest.resize(kLargestNamed);
    AppendRunRecord(ports_, record_);
}

void RunReport::Stayed(const std::string& path, const std::string& reason) {
    if (record_.stayed.size() < kMaxStayedListed) record_.stayed.push_back({path, reason});
}

}  // namespace engine
