#pragma once
// The hidden helper window: its file list shows the Cookies folder to the cookie-folder screen.
// Its contents live as long as it.
#include "forms/Form.h"
#include "platform/Ports.h"

namespace screens {

class HelperWindow : public forms::Form {
public:
    explicit HelperWindow(const platform::Ports& ports);
    void Form_Load() override;

    forms::FileListBox cookieFiles;

private:
    platform::Folders& folders_;
};

}  // namespace screens
