#include "screens/Form3c.h"

#include "screens/Form6.h"
#include "engine/ListFiles.h"
#include "platform/Text.h"
#include "screens/Form2.h"
#include "screens/Form3a.h"
#include "screens/Form5.h"
#include "screens/HelpPages.h"
#include "screens/frmPath.h"
#include "screens/frmUser.h"
#include "settings/CsdlConstants.h"

namespace screens {

using forms::App;

namespace {
constexpr const char* kInstructions =
    "The top list shows all \"Cookies\"  collected in your cookie folder. To Delete one double click on it and then "
    "click on Delete.";
}

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\/:") == std::string::npos && name.find("..") == std::string::npos;
}

Form3c::Form3c()
    : CookieScreen({"Form3c", "Kavlon Tarnwick----Save Your Cookies Here", "", 400, 50, 500,
                    CloseKind::kKeepBackdrop},
                   kInstructions, {1200, 0, 1035, 2205}, "Cookie Folder Files", 2775, "Cookies To Delete", 2535) {
    SetCommands({
        {"sPath", "View Paths", CommandKind::kOpen, Target::Of<frmPath>()},
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<Form2>(), platform::kPointerHourglass},
        {"sCook", "User Folder", CommandKind::kOpen, Target::Of<frmUser>()},
        {"sDeleteCookies", "Delete", CommandKind::kOwn, {}, platform::kPointerDefault, true, false,
         [this] { sDeleteCookies_Click(); }},
        {"sReturn", "Internet", CommandKind::kSwitch, Target::Of<Form3a>()},
        {"sHelp", "Help", CommandKind::kHelp, Target::Of<Form4d>(), platform::kPointerArrowHourglass, false},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<Form5>()},
        {"sClose", "Close", CommandKind::kClose},
    });
}

void Form3c::LoadContent() { ReadFolder(); }

std::string Form3c::StatusText() { return TopCount() + " Cookie Folder Files !"; }

// The top list from the helper window's file list of the Cookies folder, read again.
void Form3c::ReadFolder() {
    forms::FileListBox& files = App().Get<screens::Form6>().File1;
    files.Refresh();
    List2.Clear();
    FillTopList(files.Items(), files.Found() - files.ListCount());
    ShowCounts();
}

void Form3c::sDeleteCookies_Click() {
    const std::string folder = settings::GetSpecialFolderPath(settings::kCsidlCookies);
    // Only inside the Cookies folder: nothing when it cannot be found, nothing that names a path.
    if (!folder.empty()) {
        const std::string base = text::WithTrailingBackslash(folder);
        for (const std::string& name : List2.Items()) {
            if (IsPlainFileName(name)) engine::ShellDelete(base + name);
        }
    }
    List1.Clear();
    ReadFolder();
}

}  // namespace screens
