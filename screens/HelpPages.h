#pragma once
// The help pages, one per screen that has a Help command. Close returns to that screen.
#include "screens/ScreenFrame.h"

namespace screens {

// A help page with its one paragraph.
class HelpScreen : public HelpPage {
public:
    HelpScreen(const char* name, const char* caption, const char* text, double textLeft, double textWidth);

    forms::PictureBox Picture1{*this, "Picture1"};
    forms::Label Label1{*this, "Label1"};
};

class Form4 : public HelpScreen {  // the start page's
public:
    Form4();
};
class Form4a : public HelpScreen {  // the clean options'
public:
    Form4a();
};
class Form4b : public HelpScreen {  // the folder picker's
public:
    Form4b();
};
class Form4c : public HelpScreen {  // the internet cookie screen's; it leads to the cookie folder too
public:
    Form4c();

private:
    void sCookies_Click();
};
class Form4d : public HelpScreen {  // the cookie folder screen's
public:
    Form4d();
};

}  // namespace screens
