#pragma once
// The internet cookie keep screen: the URL cache's entries on top, the keep-list below.
#include "screens/CookieScreen.h"

namespace screens {

// Why Save stores nothing when the keep-list holds more entries than the saved list can show.
std::string KeepListTooLongText(std::size_t stored);

class Form3a : public CookieScreen {
public:
    Form3a();

protected:
    void LoadContent() override;
    std::string StatusText() override;

private:
    void Rebuild();
    void sDeleteCookies_Click();
};

}  // namespace screens
