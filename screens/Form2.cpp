#include "screens/Form2.h"

#include "engine/CleanRun.h"
#include "engine/CleanTargets.h"
#include "screens/Form3a.h"
#include "screens/Form5.h"
#include "screens/HelpPages.h"
#include "screens/PreviewLine.h"
#include "screens/SidePicture.h"
#include "screens/frmPath.h"
#include "screens/frmUser.h"
#include "settings/INISettings.h"

namespace screens {

using forms::App;

namespace {
constexpr const char* kHelpText =
    "Check the box for the options you want to use.The Clean Now Tab on the popup menu in the task bar, will clean "
    "all the files without any prompt. You can use this any time you want to clean the files.";

}  // namespace

Form2::Form2()
    : Screen({"Form2", "  Kavlon Tarnwick----Choose The Folders You Want To Clean", "Select the options to clean!", 50,
              500, 50, CloseKind::kHideBackdropBusy, true, true}) {
    const platform::FontSpec boxFont{"MS Sans Serif", 9.75, true, true};
    Picture1.Move(0, 0, 1335, 2295);
    ShowSidePicture(Picture1);
    // Ends where "Temp Folder" begins: designed 15 twips wider, it was drawn over that box's edge.
    Check3.Move(1440, 120, 2640, 255);
    Check2.Move(4080, 120, 2055, 255);
    Check1.Move(2280, 480, 2775, 255);
    // Each box stands for one cleaning target, stored under its key the moment it is clicked.
    for (std::size_t target = 0; target < Boxes().size(); ++target) {
        forms::CheckBox& box = *Boxes()[target];
        box.SetFont(boxFont);
        box.SetCaption(std::string(engine::CleanTargets()[target].label));
        box.onClick = [this, target] { StoreOption(target); };
    }
    Label5.Move(1560, 960, 4335, 1095);
    Label5.SetCaption(kHelpText);

    Command cleanNow{"sCleana", "Clean Now"};
    cleanNow.children.push_back({"sClean", "Are You Sure?", CommandKind::kOwn, {}, platform::kPointerArrowHourglass,
                                 true, false, [this] { sClean_Click(); }});
    Command userFolder{"sCookies", "User Folder", CommandKind::kOpen, Target::Of<frmUser>()};
    userFolder.showsTarget = true;  // also brings back a picker that is only hidden
    SetCommands({
        {"sPaths", "View Paths", CommandKind::kOpen, Target::Of<frmPath>()},
        {"sInternet", "View Cookies", CommandKind::kOpen, Target::Of<Form3a>()},
        userFolder,
        cleanNow,
        {"sHelp", "Help", CommandKind::kHelp, Target::Of<Form4a>()},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<Form5>()},
        {"sClose", "Close", CommandKind::kClose, {}, platform::kPointerHourglass},
    });
}

std::array<forms::CheckBox*, 3> Form2::Boxes() { return {&Check1, &Check2, &Check3}; }

void Form2::LoadContent() {
    const settings::IniSnapshot ini(settings::IniFilePath());
    // Only the exact "Yes" ticks a box; the file keeps what it holds until the user clicks.
    for (std::size_t target = 0; target < Boxes().size(); ++target) {
        Boxes()[target]->SetValue(ini.Read("Delete", std::string(engine::CleanTargets()[target].key), "0") == "Yes");
    }
}

void Form2::StoreOption(std::size_t target) {
    const std::string ini = settings::IniFilePath();
    App().SetMousePointer(platform::kPointerArrowHourglass);
    Timer1.SetEnabled(true);
    settings::WriteINI(ini, "Delete", std::string(engine::CleanTargets()[target].key),
                       Boxes()[target]->Value() == 1 ? "Yes" : "No");
    ShowCleanPreview();
}

namespace {
engine::CleanRunHost* cleanRunHost = nullptr;
}  // namespace

void SetCleanRunHost(engine::CleanRunHost* host) { cleanRunHost = host; }

void Form2::sClean_Click() {
    App().Hide(*this);
    App().SetMousePointer(platform::kPointerArrowHourglass);
    Timer1.SetEnabled(true);
    if (cleanRunHost) engine::RunCleanFromOptions(*cleanRunHost);
    if (Timer3()) Timer3()->SetEnabled(true);
}

}  // namespace screens
