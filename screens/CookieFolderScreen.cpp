#include "screens/CookieFolderScreen.h"

#include "screens/HelperWindow.h"
#include "engine/Purges.h"
#include "platform/Text.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/InternetKeepScreen.h"
#include "screens/AboutScreen.h"
#include "screens/HelpPages.h"
#include "screens/PathsView.h"
#include "screens/FolderPicker.h"
#include "settings/KnownFolders.h"

namespace screens {


namespace {
constexpr const char* kInstructions =
    "The top list shows all \"Cookies\"  collected in your cookie folder. To Delete one double click on it and then "
    "click on Delete.";
}

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\/:") == std::string::npos && name.find("..") == std::string::npos;
}

CookieFolderScreen::CookieFolderScreen(const ScreenServices& services)
    : CookieScreen(services, {"Form3c", "Kavlon Tarnwick----Save Your Cookies Here", "", 400, 50, 500,
                    CloseKind::kKeepBackdrop},
                   kInstructions, {1200, 0, 1035, 2205}, "Cookie Folder Files", 2775, "Cookies To Delete", 2535) {
    SetCommands({
        {"sPath", "View Paths", CommandKind::kOpen, Target::Of<PathsView>()},
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<CleanOptionsScreen>(), platform::kPointerHourglass},
        {"sCook", "User Folder", CommandKind::kOpen, Target::Of<FolderPicker>()},
        {"sDeleteCookies", "Delete", CommandKind::kOwn, {}, platform::kPointerDefault, true, false,
         [this] { Delete_Click(); }},
        {"sReturn", "Internet", CommandKind::kSwitch, Target::Of<InternetKeepScreen>()},
        {"sHelp", "Help", CommandKind::kHelp, Target::Of<CookieFolderHelp>(), platform::kPointerArrowHourglass, false},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<AboutScreen>()},
        {"sClose", "Close", CommandKind::kClose},
    });
}

void CookieFolderScreen::LoadContent() { ReadFolder(); }

std::string CookieFolderScreen::StatusText() { return TopCount() + " Cookie Folder Files !"; }

// The top list from the helper window's file list of the Cookies folder, read again.
void CookieFolderScreen::ReadFolder() {
    forms::FileListBox& files = App().Get<screens::HelperWindow>().cookieFiles;
    files.Refresh();
    bottomList.Clear();
    FillTopList(files.Items(), files.Found() - files.ListCount());
    ShowCounts();
}

void CookieFolderScreen::Delete_Click() {
    const std::string folder = settings::GetSpecialFolderPath(*Ports().folders, settings::kCsidlCookies);
    // Only inside the Cookies folder: nothing when it cannot be found, nothing that names a path.
    if (!folder.empty()) {
        const std::string base = text::WithTrailingBackslash(folder);
        for (const std::string& name : bottomList.Items()) {
            if (IsPlainFileName(name)) engine::ShellDelete(*Ports().fileSystem, base + name);
        }
    }
    topList.Clear();
    ReadFolder();
}

}  // namespace screens
