#include "screens/StartPage.h"

#include "screens/CleanOptionsScreen.h"
#include "screens/InternetKeepScreen.h"
#include "screens/AboutScreen.h"
#include "screens/HelpPages.h"
#include "screens/SidePicture.h"
#include "screens/PathsView.h"
#include "screens/FolderPicker.h"

namespace screens {

namespace {
constexpr const char* kInstruction =
    "Go to the View Internet Cookies page first and select the cookies you want to save. Some of them contain "
    "information that you may have entered to set up personal sites. If you save them first you will still have all "
    "the information when you visit the sites again. Click on one of the options above to get started.";
}

StartPage::StartPage(const ScreenServices& services)
    : Screen(services, {"Form1", "  Kavlon Tarnwick----Main Start Page", "Make a selection to get started!", 400, 600, 100,
              CloseKind::kHideBackdrop}) {
    const platform::FontSpec title{"MS Sans Serif", 18, true, false};
    sidePicture.Move(0, -600, 1215, 2895);
    services.sidePicture->Show(sidePicture);
    brandName.Move(1440, 0, 1935, 615);
    brandName.SetFont(title);
    brandName.SetCaption("Kavlon");
    productName.Move(2040, 360, 3615, 615);
    productName.SetFont(title);
    productName.SetCaption("Tarnwick Utility");
    instruction.Move(1440, 840, 4575, 1335);
    instruction.SetCaption(kInstruction);
    SetCommands({
        {"sPath", "View Paths", CommandKind::kOpen, Target::Of<PathsView>()},
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<CleanOptionsScreen>()},
        {"sInter", "View Cookies", CommandKind::kOpen, Target::Of<InternetKeepScreen>()},
        {"sCookies", "User Folder", CommandKind::kOpen, Target::Of<FolderPicker>()},
        {"sHelp", "Help", CommandKind::kHelp, Target::Of<StartPageHelp>(), platform::kPointerArrowHourglass, false},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<AboutScreen>()},
        {"sClose", "Close", CommandKind::kClose},
    });
}

}  // namespace screens
