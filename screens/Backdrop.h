#pragma once
// The backdrop: a window nearly as large as the screen behind every screen, with the title and
// the status line that the active screen writes.
#include <string>

#include "forms/Form.h"

namespace screens {

class Backdrop : public forms::Form {
public:
    Backdrop();
    void Form_Load() override;

    forms::Label title{*this, "Label1"};  // the title
    forms::Label statusLine{*this, "Label6"};  // the status line
    forms::Label progressLine{*this, "Label7"};  // how far a clean has got, while one runs
};

// Writes the status line (creating and showing the backdrop when it does not exist) and makes
// it visible.
void SetStatusText(forms::Application& app, const std::string& text);

}  // namespace screens
