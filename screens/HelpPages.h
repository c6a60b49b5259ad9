#pragma once
// The help pages, one per screen that has a Help command. Close returns to that screen.
#include "screens/ScreenFrame.h"

namespace screens {

// A help page with its one paragraph.
class HelpScreen : public HelpPage {
public:
    HelpScreen(const ScreenServices& services, const char* name, const char* caption, const char* paragraph, double textLeft, double textWidth);

    forms::PictureBox sidePicture{*this, "Picture1"};
    forms::Label text{*this, "Label1"};
};

class StartPageHelp : public HelpScreen {  // the start page's
public:
    explicit StartPageHelp(const ScreenServices& services);
};
class OptionsHelp : public HelpScreen {  // the clean options'
public:
    explicit OptionsHelp(const ScreenServices& services);
};
class FolderPickerHelp : public HelpScreen {  // the folder picker's
public:
    explicit FolderPickerHelp(const ScreenServices& services);
};
class InternetCookiesHelp : public HelpScreen {  // the internet cookie screen's; it leads to the cookie folder too
public:
    explicit InternetCookiesHelp(const ScreenServices& services);

private:
    void sCookies_Click();
};
class CookieFolderHelp : public HelpScreen {  // the cookie folder screen's
public:
    explicit CookieFolderHelp(const ScreenServices& services);
};

}  // namespace screens
