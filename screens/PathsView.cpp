#include "screens/PathsView.h"

#include "screens/CleanOptionsScreen.h"
#include "screens/InternetKeepScreen.h"
#include "screens/AboutScreen.h"
#include "screens/SidePicture.h"
#include "screens/FolderPicker.h"
#include "engine/CleanTargets.h"
#include "settings/KnownFolders.h"
#include "settings/SettingsFile.h"

namespace screens {

namespace {
constexpr const char* kExplanation =
    "This form shows the location of the files to be cleaned. If these locations do not match the location of the "
    "folders on your computer, please let me know.";
}

PathsView::PathsView(const ScreenServices& services)
    : Screen(services, {"frmPath", "  Kavlon Tarnwick----Paths To Be Cleaned", "Location of files to be cleaned!", 400, 600, 500,
              CloseKind::kHideBackdrop, true, true}) {
    const platform::FontSpec title{"MS Sans Serif", 13.5, true, false};
    sidePicture.Move(0, 0, 1215, 2295);
    services.sidePicture->Show(sidePicture);
    brandName.Move(1320, 0, 1935, 495);
    brandName.SetFont(title);
    brandName.SetCaption("Kavlon");
    productName.Move(1680, 480, 2775, 375);
    productName.SetFont(title);
    productName.SetCaption("Tarnwick Utility");
    pathList.Move(1320, 960, 3255, 1035);
    pathList.SetFont({"MS Sans Serif", 8.25, true, false});
    pathList.SetMinimumRows(4);  // all it ever holds
    explanation.Move(4800, 120, 1335, 1935);
    explanation.SetCaption(kExplanation);
    SetCommands({
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<CleanOptionsScreen>()},
        {"sInter", "View Cookies", CommandKind::kOpen, Target::Of<InternetKeepScreen>()},
        {"sCookies", "User Folder", CommandKind::kOpen, Target::Of<FolderPicker>()},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<AboutScreen>()},
        {"sClose", "Close", CommandKind::kClose},
    });
}

void PathsView::LoadContent() {
    const std::string cache = settings::GetSpecialFolderPath(*Ports().folders, settings::kCsidlInternetCache);
    const std::string cookies = settings::GetSpecialFolderPath(*Ports().folders, settings::kCsidlCookies);
    const std::string temp = settings::TempFolder(*Ports().environment);
    const std::string stored = settings::ReadINI(Ports(), settings::IniFilePath(*Ports().environment), "User", "sFile0", "0");
    pathList.AddItem(cache);
    pathList.AddItem(cookies);
    pathList.AddItem(temp);
    if (stored != "0" && !stored.empty()) pathList.AddItem(stored + " \"Your file!\"");
    // Then the chosen targets of many folders and of the shell, where they clean.
    const engine::CleanSettings chosen = engine::CleanSettings::Read(
        settings::IniSnapshot(Ports(), settings::IniFilePath(*Ports().environment)), *Ports().environment);
    const auto targets = engine::CleanTargets();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const engine::TargetKind kind = targets[i].kind;
        if (!chosen.Chosen(i) || (kind != engine::TargetKind::kFolderSet && kind != engine::TargetKind::kShell)) continue;
        const std::string place = targets[i].place(chosen);
        pathList.AddItem(place.empty() ? std::string(targets[i].label) : place);
    }
}

}  // namespace screens
