#include "engine/CleanRun.h"

#include "common/Form10.h"
#include "engine/InternetDelete.h"
#include "engine/ListFiles.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "settings/CsdlConstants.h"
#include "settings/INISettings.h"

namespace engine {

using forms::App;

namespace {

CleanRunScreens* installedScreens = nullptr;

enum class Variant { kOptions, kTray, kAuto };

// Two parts of a message are separated by two carriage returns.
std::string TwoParts(const std::string& first, const std::string& second) { return first + "\r\r" + second; }

bool Chosen(const std::string& option) { return option == "Yes"; }
bool NotChosenAtAll(const std::string& option) { return option == "0" || option == "No" || option.empty(); }

void RepaintBackdrop() { App().Get<common::Form10>().Refresh(); }

void SetBackdropStatus(const char* text) {
    common::SetStatusText(text);
    RepaintBackdrop();
}

void ShowBackdrop() { App().Show<common::Form10>(); }

// Hides every form from the last created to the first.
void HideAllForms() {
    const std::vector<forms::Form*> loaded = App().Forms();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) App().Hide(**it);
}

void EndOfRun(Variant variant, int exitCode) {
    App().SetMousePointer(platform::kPointerDefault);
    if (variant != Variant::kAuto) {
        HideAllForms();
        if (installedScreens) installedScreens->ScheduleCloseAll();
        return;
    }
    const std::vector<forms::Form*> loaded = App().Forms();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
        App().Hide(**it);
        App().Unload(**it);
    }
    platform::Env().EndProcess(exitCode);
}

// The user folder is checked as a folder, not as a spelling; "0" means none is stored. A folder
// that cannot be opened is not refused here: its purge finds nothing to clean and says so.
bool Refused(Variant variant, const std::string& userPath) {
    if (userPath == "0") return false;
    const settings::FolderVerdict verdict = settings::CheckUserFolder(userPath);
    if (verdict != settings::FolderVerdict::kRoot && verdict != settings::FolderVerdict::kSystem) return false;
    App().MsgBox(verdict == settings::FolderVerdict::kRoot ? RootRefusalText() : SystemRefusalText(), 16,
                 kInfoCaption);
    RepaintBackdrop();
    if (installedScreens) {
        installedScreens->ShowFolderPicker();
        if (variant == Variant::kAuto) installedScreens->EndWhenScreensClose(kExitRefused);
    }
    return true;
}

void Run(Variant variant) {
    const settings::IniSnapshot ini(settings::IniFilePath());
    // An unattended run that cannot read its settings has done nothing, and says so.
    if (variant == Variant::kAuto && !ini.Readable()) {
        platform::Env().EndProcess(kExitSettingsUnreadable);
        return;
    }
    // The folder as stored: it is checked as the folder it names, the one the purge will open.
    if (Refused(variant, ini.Read("User", "sFile0", "0"))) return;

    if (variant == Variant::kOptions) SetBackdropStatus(kCleaningStatus);

    const std::string optUser = ini.Read("Delete", "User", "0");
    const std::string optTemp = ini.Read("Delete", "Temp", "0");
    const std::string optCache = ini.Read("Delete", "Temporary Internet Files", "0");
    if (NotChosenAtAll(optUser) && NotChosenAtAll(optTemp) && NotChosenAtAll(optCache)) {
        if (variant == Variant::kAuto) {
            platform::Env().EndProcess(kExitAllRemoved);
            return;
        }
        App().MsgBox(kNothingChosenText, 64, kInfoCaption);
        ShowBackdrop();
        if (installedScreens) installedScreens->ShowStartPage();
        return;
    }

    if (variant != Variant::kAuto) {
        const std::string keep0 = ini.Read("Internet", "sFile0", "0");
        if (keep0 == "0" || keep0 == "No") {
            ShowBackdrop();
            if (App().MsgBox(NoCookiesSavedText(), 36, kQuestionCaption) == platform::kResultNo) {
                EndOfRun(variant, kExitAllRemoved);
                return;
            }
            if (installedScreens) installedScreens->HideOptions();
        }
    }

    DeleteTally files;
    CacheTally cache;
    if (Chosen(optUser)) PurgeUserFolder(files);
    if (Chosen(optTemp)) PurgeTempFolder(files);
    if (Chosen(optCache)) CleanUrlCache(cache);
    const std::uint64_t left = files.keptItems + cache.kept;
    const bool allCleaned = left == 0 && files.foldersNotCleaned == 0;

    if (variant == Variant::kOptions) {
        common::Form10* backdrop = App().Find<common::Form10>();
        if (backdrop && backdrop->Visible()) {
            SetBackdropStatus(kFinishedStatus);
            platform::Env().Sleep(1000);
            App().MsgBox(allCleaned ? std::string(kAllCleanedText) : NotAllCleanedText(left, files.foldersNotCleaned),
                         64, kFinishedCaption);
        }
    }
    EndOfRun(variant, allCleaned ? kExitAllRemoved : kExitSomethingStayed);
}

}  // namespace

void SetCleanRunScreens(CleanRunScreens* screens) { installedScreens = screens; }

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

void RunCleanFromOptions() { Run(Variant::kOptions); }
void RunCleanFromTray() { Run(Variant::kTray); }
void RunAutoClean() { Run(Variant::kAuto); }

}  // namespace engine
