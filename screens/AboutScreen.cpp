#include "screens/AboutScreen.h"

#include "screens/CleanOptionsScreen.h"
#include "screens/InternetKeepScreen.h"
#include "screens/SidePicture.h"
#include "screens/PathsView.h"
#include "screens/FolderPicker.h"

namespace screens {

namespace {
constexpr const char* kDescription =
    "This program was written out of the frustration of trying to keep my hard drives clean. This edition should do "
    "a better job of cleaning them, since I finally figured out how the cookies work.:) Included is an option to run "
    "an AutoClean from a task scheduler, by using the letter \"A\" in the command line.. I hope that you enjoy the "
    "program.";
}

AboutScreen::AboutScreen(const ScreenServices& services)
    : Screen(services, {"Form5", "  Kavlon Tarnwick----About File", "About this program!", 400, 600, 500, CloseKind::kPlain}) {
    sidePicture.Move(0, 0, 1215, 2295);
    services.sidePicture->Show(sidePicture);
    description.Move(1560, 120, 4575, 1335);
    description.SetCaption(kDescription);
    productName.Move(1560, 1560, 2535, 255);
    productName.SetCaption("Kavlon Tarnwick Utility");
    version.Move(4320, 1560, 1935, 255);
    version.SetCaption("Version  2.6.01");
    edition.Move(1680, 1920, 2295, 255);
    edition.SetCaption("Morvane, the Kavlon edition");
    licence.Move(4080, 1920, 2055, 255);
    licence.SetCaption("Free to use and share");
    SetCommands({
        {"sPath", "View Paths", CommandKind::kOpen, Target::Of<PathsView>()},
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<CleanOptionsScreen>(), platform::kPointerHourglass},
        {"sInter", "View Cookies", CommandKind::kOpen, Target::Of<InternetKeepScreen>(), platform::kPointerHourglass},
        {"sCookies", "User Folder", CommandKind::kOpen, Target::Of<FolderPicker>(), platform::kPointerHourglass},
        {"sClose", "Close", CommandKind::kClose},
    });
}

}  // namespace screens
