#include "screens/HelpPages.h"

#include "screens/StartPage.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/InternetKeepScreen.h"
#include "screens/CookieFolderScreen.h"
#include "screens/AboutScreen.h"
#include "screens/SidePicture.h"
#include "screens/FolderPicker.h"

namespace screens {


namespace {

constexpr const char* kStatus = "Hope this information helps!";

constexpr const char* kStartHelp =
    "This program will clean all the \"Cookies\", \"Temp Files\" and \"Temporary Internet Files\" that seem to "
    "accumulate very quickly.The program will automatically delete any files that you do not designate to keep. You "
    "should save any \"Cookies\" from sites where you have set up personal information. Just follow the directions "
    "on each form as you get to it, basicly you just save the \"Cookies\" you want and then check the boxes you want "
    "to clean. The program will do the rest. If you have any questions about any of the steps, just click on help, "
    "each form has its own help file.";
constexpr const char* kOptionsHelp =
    "Here you can designate the files you want to clean, checking the cookie box will clean all of the cookies from "
    "both the cookie folder and the Internet folder. You also have the option of cleaning your temp folder and "
    "another folder of your choice. One word of caution, do not clean the temp folder right after installing a "
    "program, until you reboot. Some installation programs store files in the temp folder that they need on the "
    "first reboot, to finish the installation. Also be sure you have selected the right user folder, there will be "
    "no warning before cleaning.";
constexpr const char* kPickerHelp =
    "This form allows you to designate a folder of your choice to be cleaned. One word of caution, be careful what "
    "folder you choose, as everything within it, including other folders will be deleted. So make sure you choose "
    "the right folder. There will be no warning when it is cleaned. When you double click on a folder the contents "
    "will be listed on the right side of the form. When you click on \"Save\" the folder that is open will be the "
    "one set to clean and everything listed in the contents folder will be deleted. You can double check the path "
    "by going to \"View Paths\".";
constexpr const char* kInternetHelp =
    "This form shows all of the \"Cookies\" you have accumulated in your travels on the internet. Double clicking on "
    "one in the top folder will move it to the bottom folder. Then click on \"Save\" to keep them. These store "
    "information about you and your computer, some of them are needed for your personal sites, so that you do not "
    "have to keep entering the same information each time you visit. The total internet files collected are listed "
    "below the form. You will notice that they grow very, very quickly as you use the internet. There are two types "
    "of cookies, Internet and Cookie folder. Click the \"Cookies\" Button to see the cookies in your Cookie Folder.";
constexpr const char* kFolderHelp =
    "This form shows all of the \"Cookies\" you have accumulated in your Cookie folder. When a cookie is created in "
    "your Internet File it is also created here. You should not delete any from here that you have marked to save in "
    "your Internet Cookies. If you find that you have more cookies collecting here then you have saved in your "
    "Internet File, just double click on the ones you do not want to keep. This will move them to the bottom list "
    "and then click on delete and they will be removed. Sometimes extra cookies do get created here and are not "
    "deleted when you remove the cookies from the Internet File.";

constexpr const char* kBackToCookies = "  Kavlon Tarnwick----Close Will  Take You Back To Cookies Page";

// Close and About of a help page: Close back to its screen (shown as it was, or loaded anew),
// About to the about screen.
std::vector<Command> BackAndAbout(Target screen, bool showScreen, int pointer) {
    Command back{"sClose", "Close", CommandKind::kBack, std::move(screen), pointer};
    back.showsTarget = showScreen;
    return {back, {"sAbout", "About", CommandKind::kBack, Target::Of<AboutScreen>(), pointer}};
}

}  // namespace

HelpScreen::HelpScreen(const ScreenServices& services, const char* name, const char* caption, const char* paragraph, double textLeft, double textWidth)
    : HelpPage(services, {name, caption, kStatus, 400, 500, 0, CloseKind::kPlain}) {
    sidePicture.Move(0, 0, 1215, 2295);
    services.sidePicture->Show(sidePicture);
    text.Move(textLeft, 120, textWidth, 1935);
    text.SetCaption(paragraph);
}

StartPageHelp::StartPageHelp(const ScreenServices& services)
    : HelpScreen(services, "Form4", "  Kavlon Tarnwick----Close Will  Take You Back To Main Start Page", kStartHelp, 1440, 4695) {
    SetCommands(BackAndAbout(Target::Of<StartPage>(), true, platform::kPointerArrowHourglass));
}

OptionsHelp::OptionsHelp(const ScreenServices& services)
    : HelpScreen(services, "Form4a", "  Kavlon Tarnwick----Close Will  Take You Back To Options Page", kOptionsHelp, 1440,
                 4695) {
    SetCommands(BackAndAbout(Target::Of<CleanOptionsScreen>(), false, platform::kPointerHourglass));
}

FolderPickerHelp::FolderPickerHelp(const ScreenServices& services)
    : HelpScreen(services, "Form4b", "  Kavlon Tarnwick----Close Will  Take You Back", kPickerHelp, 1320, 4815) {
    SetCommands(BackAndAbout(Target::Of<FolderPicker>(), true, platform::kPointerHourglass));
}

InternetCookiesHelp::InternetCookiesHelp(const ScreenServices& services)
    : HelpScreen(services, "Form4c", kBackToCookies, kInternetHelp, 1320, 4815) {
    std::vector<Command> commands = BackAndAbout(Target::Of<InternetKeepScreen>(), true, platform::kPointerHourglass);
    commands.push_back(
        {"sCookies", "Cookies", CommandKind::kOwn, {}, platform::kPointerDefault, true, false, [this] { sCookies_Click(); }});
    SetCommands(std::move(commands));
}

void InternetCookiesHelp::sCookies_Click() {
    App().Hide(*this);
    App().Unload<InternetKeepScreen>();
    App().Show<CookieFolderScreen>();
    closeTimer.SetEnabled(true);
}

CookieFolderHelp::CookieFolderHelp(const ScreenServices& services)
    : HelpScreen(services, "Form4d", kBackToCookies, kFolderHelp, 1320, 4815) {
    SetCommands(BackAndAbout(Target::Of<CookieFolderScreen>(), true, platform::kPointerHourglass));
}

}  // namespace screens
