#include "screens/frmPath.h"

#include "screens/Form2.h"
#include "screens/Form3a.h"
#include "screens/Form5.h"
#include "screens/SidePicture.h"
#include "screens/frmUser.h"
#include "settings/CsdlConstants.h"
#include "settings/INISettings.h"

namespace screens {

namespace {
constexpr const char* kExplanation =
    "This form shows the location of the files to be cleaned. If these locations do not match the location of the "
    "folders on your computer, please let me know.";
}

frmPath::frmPath()
    : Screen({"frmPath", "  Kavlon Tarnwick----Paths To Be Cleaned", "Location of files to be cleaned!", 400, 600, 500,
              CloseKind::kHideBackdrop, true, true}) {
    const platform::FontSpec title{"MS Sans Serif", 13.5, true, false};
    Picture1.Move(0, 0, 1215, 2295);
    ShowSidePicture(Picture1);
    Label1.Move(1320, 0, 1935, 495);
    Label1.SetFont(title);
    Label1.SetCaption("Kavlon");
    Label3.Move(1680, 480, 2775, 375);
    Label3.SetFont(title);
    Label3.SetCaption("Tarnwick Utility");
    List1.Move(1320, 960, 3255, 1035);
    List1.SetFont({"MS Sans Serif", 8.25, true, false});
    Label2.Move(4800, 120, 1335, 1935);
    Label2.SetCaption(kExplanation);
    SetCommands({
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<Form2>()},
        {"sInter", "View Cookies", CommandKind::kOpen, Target::Of<Form3a>()},
        {"sCookies", "User Folder", CommandKind::kOpen, Target::Of<frmUser>()},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<Form5>()},
        {"sClose", "Close", CommandKind::kClose},
    });
}

void frmPath::LoadContent() {
    const std::string cache = settings::GetSpecialFolderPath(settings::kCsidlInternetCache);
    const std::string cookies = settings::GetSpecialFolderPath(settings::kCsidlCookies);
    const std::string temp = settings::TempFolder();
    const std::string stored = settings::ReadINI(settings::IniFilePath(), "User", "sFile0", "0");
    List1.AddItem(cache);
    List1.AddItem(cookies);
    List1.AddItem(temp);
    if (stored != "0" && !stored.empty()) List1.AddItem(stored + " \"Your file!\"");
}

}  // namespace screens
