#include "engine/CleanRun.h"

#include "engine/InternetDelete.h"
#include "engine/ListFiles.h"
#include "platform/Desktop.h"
#include "settings/CsdlConstants.h"
#include "settings/INISettings.h"

namespace engine {
namespace {

enum class Variant { kOptions, kTray, kAuto };

// Two parts of a message are separated by two carriage returns.
std::string TwoParts(const std::string& first, const std::string& second) { return first + "\r\r" + second; }

bool Chosen(const std::string& option) { return option == "Yes"; }
bool NotChosenAtAll(const std::string& option) { return option == "0" || option == "No" || option.empty(); }

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
bool Refused(Variant variant, CleanRunHost& host, const std::string& userPath) {
    if (userPath == "0") return false;
    const settings::FolderVerdict verdict = settings::CheckUserFolder(userPath);
    if (verdict != settings::FolderVerdict::kRoot && verdict != settings::FolderVerdict::kSystem) return false;
    host.MessageBox(verdict == settings::FolderVerdict::kRoot ? RootRefusalText() : SystemRefusalText(), 16,
                    kInfoCaption);
    host.RepaintBackdrop();
    host.ShowFolderPicker();
    if (variant == Variant::kAuto) host.EndWhenScreensClose(kExitRefused);
    return true;
}

void Run(Variant variant, CleanRunHost& host) {
    const settings::IniSnapshot ini(settings::IniFilePath());
    // An unattended run that cannot read its settings has done nothing, and says so.
    if (variant == Variant::kAuto && !ini.Readable()) {
        host.EndProcess(kExitSettingsUnreadable);
        return;
    }
    // The folder as stored: it is checked as the folder it names, the one the purge will open.
    if (Refused(variant, host, ini.Read("User", "sFile0", "0"))) return;

    if (variant == Variant::kOptions) host.SetStatus(kCleaningStatus);

    const std::string optUser = ini.Read("Delete", "User", "0");
    const std::string optTemp = ini.Read("Delete", "Temp", "0");
    const std::string optCache = ini.Read("Delete", "Temporary Internet Files", "0");
    if (NotChosenAtAll(optUser) && NotChosenAtAll(optTemp) && NotChosenAtAll(optCache)) {
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
                EndOfRun(variant, host, kExitAllRemoved);
                return;
            }
            host.HideOptions();
        }
    }

    // The deleting itself runs beside the windows, which keep answering and show how far it got.
    DeleteTally files;
    CacheTally cache;
    CleanProgress progress;
    host.RunBeside(
        [&] {
            if (Chosen(optUser)) PurgeUserFolder(files, &progress);
            if (Chosen(optTemp)) PurgeTempFolder(files, &progress);
            if (Chosen(optCache)) CleanUrlCache(cache, &progress);
        },
        progress);
    // Stopped because the program is ending: nothing more is shown or ended from here.
    if (progress.StopRequested()) return;
    const std::uint64_t left = files.keptItems + cache.kept;
    const bool allCleaned = left == 0 && files.foldersNotCleaned == 0;

    if (variant == Variant::kOptions && host.BackdropVisible()) {
        host.SetStatus(kFinishedStatus);
        host.Pause(1000);
        host.MessageBox(allCleaned ? std::string(kAllCleanedText) : NotAllCleanedText(left, files.foldersNotCleaned), 64,
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
