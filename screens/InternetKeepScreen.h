#pragma once
// The internet cookie keep screen: the URL cache's entries on top, the keep-list below.
#include "screens/CookieScreen.h"

namespace screens {

// Why Save stores nothing when the keep-list holds more entries than the saved list can show.
std::string KeepListTooLongText(std::size_t stored);

class InternetKeepScreen : public CookieScreen {
public:
    InternetKeepScreen();
    // Lists the cache (beside the windows, before a command builds the screen); what it hands
    // back builds the screen from that listing instead of listing again.
    static Target::Prepared Prepare(const std::function<bool()>& stop);

protected:
    void LoadContent() override;
    std::string StatusText() override;

private:
    void Rebuild();
    void Delete_Click();
};

}  // namespace screens
