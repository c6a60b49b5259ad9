#pragma once
// The hidden helper window: its file list shows the Cookies folder to the cookie-folder screen.
// Its contents live as long as it.
#include "forms/Form.h"

namespace screens {

class HelperWindow : public forms::Form {
public:
    HelperWindow();
    void Form_Load() override;

    forms::FileListBox cookieFiles{*this, "File1"};
};

}  // namespace screens
