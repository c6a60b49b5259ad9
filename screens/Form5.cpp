#include "screens/Form5.h"

#include "screens/Form2.h"
#include "screens/Form3a.h"
#include "screens/SidePicture.h"
#include "screens/frmPath.h"
#include "screens/frmUser.h"

namespace screens {

namespace {
constexpr const char* kDescription =
    "This program was written out of the frustration of trying to keep my hard drives clean. This edition should do "
    "a better job of cleaning them, since I finally figured out how the cookies work.:) Included is an option to run "
    "an AutoClean from a task scheduler, by using the letter \"A\" in the command line.. I hope that you enjoy the "
    "program.";
}

Form5::Form5()
    : Screen({"Form5", "  Kavlon Tarnwick----About File", "About this program!", 400, 600, 500, CloseKind::kPlain}) {
    Picture1.Move(0, 0, 1215, 2295);
    ShowSidePicture(Picture1);
    Label4.Move(1560, 120, 4575, 1335);
    Label4.SetCaption(kDescription);
    Label1.Move(1560, 1560, 2535, 255);
    Label1.SetCaption("Kavlon Tarnwick Utility");
    Label2.Move(4320, 1560, 1935, 255);
    Label2.SetCaption("Version  2.6.01");
    Label5.Move(1680, 1920, 2295, 255);
    Label5.SetCaption("Morvane, the Kavlon edition");
    Label3.Move(4080, 1920, 2055, 255);
    Label3.SetCaption("Free to use and share");
    SetCommands({
        {"sPath", "View Paths", CommandKind::kOpen, Target::Of<frmPath>()},
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<Form2>(), platform::kPointerHourglass},
        {"sInter", "View Cookies", CommandKind::kOpen, Target::Of<Form3a>(), platform::kPointerHourglass},
        {"sCookies", "User Folder", CommandKind::kOpen, Target::Of<frmUser>(), platform::kPointerHourglass},
        {"sClose", "Close", CommandKind::kClose},
    });
}

}  // namespace screens
