#include "screens/Form1.h"

#include "screens/Form2.h"
#include "screens/Form3a.h"
#include "screens/Form5.h"
#include "screens/HelpPages.h"
#include "screens/SidePicture.h"
#include "screens/frmPath.h"
#include "screens/frmUser.h"

namespace screens {

namespace {
constexpr const char* kInstruction =
    "Go to the View Internet Cookies page first and select the cookies you want to save. Some of them contain "
    "information that you may have entered to set up personal sites. If you save them first you will still have all "
    "the information when you visit the sites again. Click on one of the options above to get started.";
}

Form1::Form1()
    : Screen({"Form1", "  Kavlon Tarnwick----Main Start Page", "Make a selection to get started!", 400, 600, 100,
              CloseKind::kHideBackdrop}) {
    const platform::FontSpec title{"MS Sans Serif", 18, true, false};
    Picture1.Move(0, -600, 1215, 2895);
    ShowSidePicture(Picture1);
    Label1.Move(1440, 0, 1935, 615);
    Label1.SetFont(title);
    Label1.SetCaption("Kavlon");
    Label3.Move(2040, 360, 3615, 615);
    Label3.SetFont(title);
    Label3.SetCaption("Tarnwick Utility");
    Label2.Move(1440, 840, 4575, 1335);
    Label2.SetCaption(kInstruction);
    SetCommands({
        {"sPath", "View Paths", CommandKind::kOpen, Target::Of<frmPath>()},
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<Form2>()},
        {"sInter", "View Cookies", CommandKind::kOpen, Target::Of<Form3a>()},
        {"sCookies", "User Folder", CommandKind::kOpen, Target::Of<frmUser>()},
        {"sHelp", "Help", CommandKind::kHelp, Target::Of<Form4>(), platform::kPointerArrowHourglass, false},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<Form5>()},
        {"sClose", "Close", CommandKind::kClose},
    });
}

}  // namespace screens
