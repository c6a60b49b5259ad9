#include "engine/CleanRun.h"

#include <cstdio>

#include "engine/InternetDelete.h"
#include "engine/ListFiles.h"
#include "engine/RunLog.h"
#include "platform/Desktop.h"
#include "platform/Ports.h"
#include "settings/CsdlConstants.h"
#include "settings/INISettings.h"

namespace engine {
namespace {

using Variant = RunVariant;

// Two parts of a message are separated by two carriage returns.
std::string TwoParts(const std::string& first, const std::string& second) { return first + "\r\r" + second; }

bool Chosen(const std::string& option) { return option == "Yes"; }
bool NotChosenAtAll(const std::string& option) { return option == "0" || option == "No" || option.empty(); }

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
std::string WhyNotCleaned(const std::string& folder, const DeleteTally& tally) {
    if (folder.empty() || folder == "0") return "is not set";
    if (tally.foldersNotListed > 0) return folder + " could not be listed";
    return WhyNot(folder, settings::CheckUserFolder(folder));
}

// The run's record, filled in as the run learns its options and results, and written once its
// outcome is known, before anything is shown about it: a run ended from outside while a message
// is up has its record all the same. A record that cannot be written changes nothing.
class RunReport {
public:
    explicit RunReport(Variant variant) : start_(platform::Env().Ticks()) {
        record_.time = platform::Env().Now();
        record_.variant = variant;
    }

    void Options(const std::string& user, const std::string& userFolder, const std::string& temp,
                 const std::string& cache) {
        record_.options = {{"Your Selected Folder", user, user == "Yes" ? userFolder : ""},
                           {"Temp Folder", temp, temp == "Yes" ? settings::TempFolder() : ""},
                           {"Clean Cookie Files", cache, ""}};
    }

    void Refused(const std::string& text) { record_.refusals.push_back(text); }

    // What one purge removed and left; a folder it could not purge at all says why in a line.
    void Purged(std::size_t option, const DeleteTally& tally) {
        OptionRecord& record = record_.options[option];
        record.ran = true;
        record.notCleaned = tally.foldersNotCleaned > 0;
        record.removedItems = tally.removedItems;
        record.removedBytes = tally.removedBytes;
        record.leftItems = tally.keptItems;
        record_.stayedTotal += tally.keptItems;
        for (const StayedItem& item : tally.stayed) Stayed(item.path, ReasonText(item));
        if (record.notCleaned) Refused(record.name + " " + WhyNotCleaned(record.place, tally));
    }

    void CacheCleaned(const CacheTally& tally) {
        OptionRecord& record = record_.options[2];
        record.ran = true;
        record.removedItems = tally.deleted;
        record.removedBytes = tally.removedBytes;
        record.leftItems = tally.kept;
        record_.stayedTotal += tally.kept;
        for (const std::string& name : tally.stayed) Stayed(name, "in use");
    }

    void Write(const std::string& outcome, int exitCode) {
        record_.endTime = platform::Env().Now();
        record_.durationMs = platform::Env().Ticks() - start_;
        record_.outcome = outcome;
        record_.exitCode = exitCode;
        AppendRunRecord(record_);
    }

private:
    void Stayed(const std::string& path, const std::string& reason) {
        if (record_.stayed.size() < kMaxStayedListed) record_.stayed.push_back({path, reason});
    }

    std::uint64_t start_;
    RunRecord record_;
};

void EndOfRun(Variant variant, CleanRunHost& host, int exitCode) {
    host.SetPointer(platform::kPointerDefault);
    if (variant == Variant::kAuto) {
        host.EndUnattendedRun(exitCode);
    } else {
        host.EndInteractiveRun();
    }
}

// The user folder is checked as a folder, not as a spelling; "0" means none is stored. A folder
// that cannot be opened is not refused here: its purge finds nothing to clean and says so.
bool Refused(Variant variant, CleanRunHost& host, const std::string& userPath, RunReport& report) {
    if (userPath == "0") return false;
    const settings::FolderVerdict verdict = settings::CheckUserFolder(userPath);
    if (verdict != settings::FolderVerdict::kRoot && verdict != settings::FolderVerdict::kSystem) return false;
    report.Refused("Your Selected Folder " + WhyNot(userPath, verdict));
    report.Write("refused, nothing cleaned", kExitRefused);
    host.MessageBox(verdict == settings::FolderVerdict::kRoot ? RootRefusalText() : SystemRefusalText(), 16,
                    kInfoCaption);
    host.RepaintBackdrop();
    host.ShowFolderPicker();
    if (variant == Variant::kAuto) host.EndWhenScreensClose(kExitRefused);
    return true;
}

void Run(Variant variant, CleanRunHost& host) {
    RunReport report(variant);
    const settings::IniSnapshot ini(settings::IniFilePath());
    // An unattended run that cannot read its settings has done nothing, and says so.
    if (variant == Variant::kAuto && !ini.Readable()) {
        report.Write("Clean.ini could not be read, nothing cleaned", kExitSettingsUnreadable);
        host.EndProcess(kExitSettingsUnreadable);
        return;
    }
    // The folder as stored: it is checked as the folder it names, the one the purge will open.
    const std::string userFolder = ini.Read("User", "sFile0", "0");
    const std::string optUser = ini.Read("Delete", "User", "0");
    const std::string optTemp = ini.Read("Delete", "Temp", "0");
    const std::string optCache = ini.Read("Delete", "Temporary Internet Files", "0");
    report.Options(optUser, userFolder, optTemp, optCache);
    if (Refused(variant, host, userFolder, report)) return;

    if (variant == Variant::kOptions) host.SetStatus(kCleaningStatus);

    if (NotChosenAtAll(optUser) && NotChosenAtAll(optTemp) && NotChosenAtAll(optCache)) {
        report.Write("nothing chosen", kExitAllRemoved);
        if (variant == Variant::kAuto) {
            host.EndProcess(kExitAllRemoved);
            return;
        }
        host.MessageBox(kNothingChosenText, 64, kInfoCaption);
        host.ShowBackdrop();
        host.ShowStartPage();
        return;
    }

    if (variant != Variant::kAuto) {
        const std::string keep0 = ini.Read("Internet", "sFile0", "0");
        if (keep0 == "0" || keep0 == "No") {
            host.ShowBackdrop();
            if (host.MessageBox(NoCookiesSavedText(), 36, kQuestionCaption) == platform::kResultNo) {
                report.Write("not continued (no cookies kept)", kExitAllRemoved);
                EndOfRun(variant, host, kExitAllRemoved);
                return;
            }
            host.HideOptions();
        }
    }

    // The deleting itself runs beside the windows, which keep answering and show how far it got.
    DeleteTally user, temp;
    CacheTally cache;
    CleanProgress progress;
    host.RunBeside(
        [&] {
            if (Chosen(optUser)) PurgeUserFolder(user, &progress);
            if (Chosen(optTemp)) PurgeTempFolder(temp, &progress);
            if (Chosen(optCache)) CleanUrlCache(cache, &progress);
        },
        progress);
    if (Chosen(optUser)) report.Purged(0, user);
    if (Chosen(optTemp)) report.Purged(1, temp);
    if (Chosen(optCache)) report.CacheCleaned(cache);
    const std::uint64_t left = user.keptItems + temp.keptItems + cache.kept;
    const std::uint64_t foldersNotCleaned = user.foldersNotCleaned + temp.foldersNotCleaned;
    const bool allCleaned = left == 0 && foldersNotCleaned == 0;
    // Stopped because the program is ending: nothing more is shown or ended from here.
    if (progress.StopRequested()) {
        report.Write("stopped when the program was ended", kExitSomethingStayed);
        return;
    }
    report.Write(allCleaned ? "cleaned" : "cleaned, not everything could be removed",
                 allCleaned ? kExitAllRemoved : kExitSomethingStayed);

    if (variant == Variant::kOptions && host.BackdropVisible()) {
        host.SetStatus(kFinishedStatus);
        host.Pause(1000);
        host.MessageBox(allCleaned ? std::string(kAllCleanedText) : NotAllCleanedText(left, foldersNotCleaned), 64,
                        kFinishedCaption);
    }
    EndOfRun(variant, host, allCleaned ? kExitAllRemoved : kExitSomethingStayed);
}

}  // namespace

std::string RootRefusalText() {
    return TwoParts("You have selected the root file to clean", "This program will not continue !!!!");
}

std::string SystemRefusalText() {
    return TwoParts("You have selected a system file to clean", "This program will not continue !!!!");
}

std::string NoCookiesSavedText() { return TwoParts("You have not saved any Cookies !", "Do you want to continue?"); }

std::string NotAllCleanedText(std::uint64_t itemsLeft, std::uint64_t foldersNotCleaned) {
    std::string why;
    if (itemsLeft > 0) {
        why = std::to_string(itemsLeft) + (itemsLeft == 1 ? " item is" : " items are") + " still in use or protected.";
    }
    if (foldersNotCleaned > 0) {
        why += (why.empty() ? "" : " ") + std::to_string(foldersNotCleaned) +
               (foldersNotCleaned == 1 ? " chosen folder" : " chosen folders") + " could not be cleaned.";
    }
    return TwoParts("Cleaning Finished, but not every file could be removed !", why);
}

void RunCleanFromOptions(CleanRunHost& host) { Run(Variant::kOptions, host); }
void RunCleanFromTray(CleanRunHost& host) { Run(Variant::kTray, host); }
void RunAutoClean(CleanRunHost& host) { Run(Variant::kAuto, host); }

}  // namespace engine
