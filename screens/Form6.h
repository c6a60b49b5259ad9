#pragma once
// The hidden helper window: its file list shows the Cookies folder to the cookie-folder screen.
// Its contents live as long as it.
#include "forms/Form.h"

namespace screens {

class Form6 : public forms::Form {
public:
    Form6();
    void Form_Load() override;

    forms::FileListBox File1{*this, "File1"};
};

}  // namespace screens
