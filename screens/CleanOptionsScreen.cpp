#include "screens/CleanOptionsScreen.h"

#include "engine/CleanRun.h"
#include "engine/CleanTargets.h"
#include "screens/InternetKeepScreen.h"
#include "screens/AboutScreen.h"
#include "screens/HelpPages.h"
#include "screens/PreviewLine.h"
#include "screens/SidePicture.h"
#include "screens/PathsView.h"
#include "screens/SettingNotSaved.h"
#include "screens/FolderPicker.h"
#include "screens/TargetsScreen.h"
#include "settings/SettingsFile.h"

namespace screens {


namespace {
constexpr const char* kHelpText =
    "Check the box for the options you want to use.The Clean Now Tab on the popup menu in the task bar, will clean "
    "all the files without any prompt. You can use this any time you want to clean the files.";

}  // namespace

CleanOptionsScreen::CleanOptionsScreen(const ScreenServices& services)
    : Screen(services, {"Form2", "  Kavlon Tarnwick----Choose The Folders You Want To Clean", "Select the options to clean!", 50,
              500, 50, CloseKind::kHideBackdropBusy, true, true}) {
    const platform::FontSpec boxFont{"MS Sans Serif", 9.75, true, true};
    sidePicture.Move(0, 0, 1335, 2295);
    services.sidePicture->Show(sidePicture);
    // Ends where "Temp Folder" begins: designed 15 twips wider, it was drawn over that box's edge.
    cacheBox.Move(1440, 120, 2640, 255);
    tempFolderBox.Move(4080, 120, 2055, 255);
    userFolderBox.Move(2280, 480, 2775, 255);
    // Each box stands for one cleaning target, stored under its key the moment it is clicked.
    for (std::size_t target = 0; target < Boxes().size(); ++target) {
        forms::CheckBox& box = *Boxes()[target];
        box.SetFont(boxFont);
        box.SetCaption(std::string(engine::CleanTargets()[target].label));
        box.onClick = [this, target] { StoreOption(target); };
    }
    helpText.Move(1560, 960, 4335, 1095);
    helpText.SetCaption(kHelpText);

    Command cleanNow{"sCleana", "Clean Now"};
    cleanNow.children.push_back({"sClean", "Are You Sure?", CommandKind::kOwn, {}, platform::kPointerArrowHourglass,
                                 true, false, [this] { CleanNow_Click(); }});
    Command userFolder{"sCookies", "User Folder", CommandKind::kOpen, Target::Of<FolderPicker>()};
    userFolder.showsTarget = true;  // also brings back a picker that is only hidden
    SetCommands({
        {"sPaths", "View Paths", CommandKind::kOpen, Target::Of<PathsView>()},
        {"sInternet", "View Cookies", CommandKind::kOpen, Target::Of<InternetKeepScreen>()},
        userFolder,
        cleanNow,
        {"sHelp", "Help", CommandKind::kHelp, Target::Of<OptionsHelp>()},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<AboutScreen>()},
        {"sClose", "Close", CommandKind::kClose, {}, platform::kPointerHourglass},
        {"sTargets", "All Targets", CommandKind::kOpen, Target::Of<TargetsScreen>()},
    });
}

std::array<forms::CheckBox*, 3> CleanOptionsScreen::Boxes() { return {&userFolderBox, &tempFolderBox, &cacheBox}; }

void CleanOptionsScreen::LoadContent() {
    const settings::IniSnapshot ini(Ports(), settings::IniFilePath(*Ports().environment));
    // Only the exact "Yes" ticks a box; the file keeps what it holds until the user clicks.
    for (std::size_t target = 0; target < Boxes().size(); ++target) {
        Boxes()[target]->SetValue(ini.Read("Delete", std::string(engine::CleanTargets()[target].key), "0") == "Yes");
    }
}

void CleanOptionsScreen::StoreOption(std::size_t target) {
    const std::string ini = settings::IniFilePath(*Ports().environment);
    const std::string key(engine::CleanTargets()[target].key);
    App().SetMousePointer(platform::kPointerArrowHourglass);
    pointerTimer.SetEnabled(true);
    const platform::FsError stored =
        settings::WriteINI(Ports(), ini, "Delete", key, Boxes()[target]->Value() == 1 ? "Yes" : "No");
    if (stored != platform::FsError::kNone) {
        // The box says what a clean will do: what is stored.
        Boxes()[target]->SetValue(settings::ReadINI(Ports(), ini, "Delete", key, "0") == "Yes");
        TellIfNotSaved(App(), ini, stored);
        return;
    }
    Services().previewLine->Update(App());
}

void CleanOptionsScreen::CleanNow_Click() {
    App().Hide(*this);
    App().SetMousePointer(platform::kPointerArrowHourglass);
    pointerTimer.SetEnabled(true);
    Services().cleaner->RunCleanFromOptions(*Services().cleanRunHost);
    if (DestroyTimer()) DestroyTimer()->SetEnabled(true);
}

}  // namespace screens
