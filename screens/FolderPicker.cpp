#include "screens/FolderPicker.h"

#include "screens/Backdrop.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/InternetKeepScreen.h"
#include "screens/AboutScreen.h"
#include "screens/HelpPages.h"
#include "screens/SidePicture.h"
#include "screens/PathsView.h"
#include "screens/SettingNotSaved.h"
#include "platform/Ports.h"
#include "settings/KnownFolders.h"
#include "settings/SettingsFile.h"

namespace screens {


namespace {

constexpr const char* kInstruction =
    "Select the folder you want and then click \"Save\". It will now be cleaned by the program.";
constexpr const char* kCaption = "Kavlon Info.....";

std::string StoredFolder(const platform::Ports& ports) {
    return settings::ReadINI(ports, settings::IniFilePath(*ports.environment), "User", "sFile0", "0");
}
bool IsUnset(const std::string& value) { return value == "0" || value.empty(); }

}  // namespace

std::string PickerRefusalText(bool root) {
    return std::string(root ? "You have selected the root file to clean" : "You have selected a system file to clean") +
           "\r\rPlease select another File !!!!";
}

std::string UnstorableFolderText() {
    return "The name of this folder cannot be stored by the program\r\rPlease select another File !!!!";
}

std::string PickerWarningText(const std::string& folder) {
    return "Warning, you have designated the following file\r\r" + std::string(20, ' ') + folder +
           "\r\r    To be cleaned when the program runs\r\r              Do you want to continue !!!";
}

FolderPicker::FolderPicker(const ScreenServices& services)
    : Screen(services, {"frmUser", "Kavlon Tarnwick-----User Designated Folder To Clean", "", 50, 50, 500,
              CloseKind::kHideBackdrop, false}) {
    const platform::FontSpec heading{"MS Sans Serif", 8.25, true, true};
    sidePicture.Move(0, 0, 1215, 2295);
    services.sidePicture->Show(sidePicture);
    instruction.Move(1320, 120, 855, 2055);
    instruction.SetCaption(kInstruction);
    foldersHeading.Move(2280, 0, 1935, 255);
    foldersHeading.SetFont(heading);
    foldersHeading.SetCaption("Selected Paths");
    driveList.Move(2280, 240, 1935, 315);
    folderList.Move(2280, 720, 1935, 1440);
    contentsHeading.Move(4320, 0, 1935, 375);
    contentsHeading.SetFont(heading);
    contentsHeading.SetCaption("Contents");
    fileList.Move(4320, 360, 1935, 1845);

    driveList.onChange = [this] {
        if (followingDir_) return;
        // A drive that cannot be opened (an empty removable drive) leaves the lists where
        // they were, without an error.
        if (!folderList.SetPath(driveList.Drive())) ShowDriveOfDir();
    };
    // The directory list has just read the folder; the file list shows it without reading it again.
    folderList.onChange = [this] { fileList.SetPath(folderList.Path(), folderList.Entries()); };

    SetCommands({
        {"sView", "View Paths", CommandKind::kOpen, Target::Of<PathsView>()},
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<CleanOptionsScreen>()},
        {"ViewInter", "View Cookies", CommandKind::kOpen, Target::Of<InternetKeepScreen>()},
        {"sSave", "Save", CommandKind::kOwn, {}, platform::kPointerArrowHourglass, true, false, [this] { Save_Click(); }},
        {"sHelp", "Help", CommandKind::kHelp, Target::Of<FolderPickerHelp>(), platform::kPointerArrowHourglass, false},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<AboutScreen>()},
        {"sClose", "Close", CommandKind::kClose},
    });
}

void FolderPicker::LoadContent() {
    // The lists start on the program's current folder, as a directory list does.
    if (!folderList.SetPath(Ports().fileSystem->FullPath("."))) folderList.SetPath(driveList.Drive() + "\\");
    ShowDriveOfDir();
}

void FolderPicker::ShowDriveOfDir() {
    followingDir_ = true;
    driveList.SetDrive(folderList.Path().substr(0, 2));
    followingDir_ = false;
}

void FolderPicker::Form_Activate() {
    const std::string saved = StoredFolder(Ports());
    const std::string used = settings::ReadINI(Ports(), settings::IniFilePath(*Ports().environment), "System", "Used", "0");
    // A stored folder that no longer exists leaves the list where it was, and the status then
    // asks for a folder instead of calling the one shown the selected one.
    const bool shown = !IsUnset(saved) && folderList.SetPath(saved);
    if (IsUnset(saved)) {
        screens::SetStatusText(App(), kSelectFolderStatus);
    } else if (used == "Yes") {
        screens::SetStatusText(App(), kSelectAnotherStatus);
    } else if (!shown) {
        screens::SetStatusText(App(), kSelectFolderStatus);
    } else {
        screens::SetStatusText(App(), kFolderSelectedStatus);
    }
}

void FolderPicker::Form_Deactivate() { settings::WriteINI(Ports(), settings::IniFilePath(*Ports().environment), "System", "Used", "No"); }

void FolderPicker::Save_Click() {
    App().Hide(*this);
    const std::string folder = folderList.Path();
    const settings::FolderVerdict verdict = settings::CheckUserFolder(Ports(), folder);
    if (verdict != settings::FolderVerdict::kAllowed) {
        settings::WriteINI(Ports(), settings::IniFilePath(*Ports().environment), "System", "Used", "Yes");
        screens::SetStatusText(App(), kRefusedStatus);
        App().MsgBox(PickerRefusalText(verdict == settings::FolderVerdict::kRoot), 16, kCaption);
        App().Get<screens::Backdrop>().Refresh();
        App().Show(*this);
        return;
    }
    if (!settings::FitsSettingsFile(*Ports().environment, folder)) {
        // Stored in the file's code page it would name another folder, or none.
        screens::SetStatusText(App(), kRefusedStatus);
        App().MsgBox(UnstorableFolderText(), 16, kCaption);
        App().Get<screens::Backdrop>().Refresh();
        App().Show(*this);
        return;
    }
    screens::SetStatusText(App(), kWarningStatus);
    if (App().MsgBox(PickerWarningText(folder), 20, kCaption) != platform::kResultNo) {
        const std::string ini = settings::IniFilePath(*Ports().environment);
        // Not stored: the user hears where and why, and the picker shows what is stored (its
        // activation opens the stored folder and says whether there is one).
        if (TellIfNotSaved(App(), ini, settings::WriteINI(Ports(), ini, "User", "sFile0", folder))) {
            App().Show(*this);
            return;
        }
        settings::WriteINI(Ports(), ini, "System", "Used", "No");
        App().Show(*this);
        screens::SetStatusText(App(), kFolderSelectedStatus);
        return;
    }
    screens::SetStatusText(App(), kFolderSelectedStatus);
    App().Show(*this);
}

}  // namespace screens
