#include "screens/Form3a.h"

#include "engine/InternetDelete.h"
#include "engine/KeepLists.h"
#include "screens/Form2.h"
#include "screens/Form3c.h"
#include "screens/Form5.h"
#include "screens/HelpPages.h"
#include "screens/frmPath.h"
#include "screens/frmUser.h"
#include "settings/INISettings.h"

namespace screens {

using forms::App;

namespace {
constexpr const char* kInstructions =
    "The top list shows all \"Cookies\"  collected.      To save a cookie double click on it, then click \"Save\"";
}  // namespace

std::string KeepListTooLongText(std::size_t stored) {
    return "You have saved " + std::to_string(stored) + " Cookies, more than this list can show (" +
           std::to_string(forms::kMaxListItems) + ") !\r\rNothing has been saved, all of them are still kept.";
}

Form3a::Form3a()
    : CookieScreen({"Form3a", "Kavlon Tarnwick----Save Your Cookies Here", "", 400, 50, 500,
                    CloseKind::kKeepBackdrop},
                   kInstructions, {1320, 120, 975, 2115}, "Internet Files Collected", 2535, "Internet Cookies Saved",
                   2655) {
    SetCommands({
        {"sPath", "View Paths", CommandKind::kOpen, Target::Of<frmPath>()},
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<Form2>(), platform::kPointerHourglass},
        {"sCook", "User Folder", CommandKind::kOpen, Target::Of<frmUser>()},
        {"sDeleteCookies", "Save", CommandKind::kOwn, {}, platform::kPointerDefault, true, false,
         [this] { sDeleteCookies_Click(); }},
        {"sCookies", "Cookies", CommandKind::kSwitch, Target::Of<Form3c>()},
        {"sHelp", "Help", CommandKind::kHelp, Target::Of<Form4c>()},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<Form5>()},
        {"sClose", "Close", CommandKind::kClose},
    });
}

void Form3a::LoadContent() { Rebuild(); }

std::string Form3a::StatusText() { return TopCount() + " Internet Files Collected !"; }

// Both lists from the cache and the settings file.
void Form3a::Rebuild() {
    List1.Clear();
    List2.Clear();
    const std::vector<std::string> collected = engine::CollectUrlCacheEntries();
    FillBottomList(settings::ReadKeepList("Internet"));
    FillTopList(collected);
    ShowCounts();
}

void Form3a::sDeleteCookies_Click() {
    // Storing what the list shows would drop the kept entries it could not show.
    if (BottomUnlisted() > 0) {
        App().MsgBox(KeepListTooLongText(static_cast<std::size_t>(List2.ListCount()) + BottomUnlisted()), 16,
                     "Kavlon Info.....");
        return;
    }
    engine::SaveInternetKeepList(List2.Items());
    Rebuild();
}

}  // namespace screens
