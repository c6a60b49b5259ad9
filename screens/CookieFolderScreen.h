#pragma once
// The cookie-folder screen: the Cookies folder's files on top, the files to delete below.
#include "screens/CookieScreen.h"

namespace screens {

class CookieFolderScreen : public CookieScreen {
public:
    explicit CookieFolderScreen(const ScreenServices& services);

protected:
    void LoadContent() override;
    std::string StatusText() override;

private:
    void ReadFolder();
    void Delete_Click();
};

// Whether a bottom-list name may be deleted from the Cookies folder: a plain file name, not a
// path that could lead out of it.
bool IsPlainFileName(const std::string& name);

}  // namespace screens
