#pragma once
// The backdrop: a window nearly as large as the screen behind every screen, with the title and
// the status line that the active screen writes.
#include <functional>
#include <string>

#include "forms/Form.h"

namespace screens {

class Backdrop : public forms::Form {
public:
    Backdrop();
    void Form_Load() override;
    // Esc is the Cancel while one shows.
    bool Form_Escape() override;

    forms::Label title{*this, "Label1"};  // the title
    forms::Label statusLine{*this, "Label6"};  // the status line
    forms::Label progressLine{*this, "Label7"};  // how far a clean has got, while one runs
    forms::Button cancelButton{*this, "CancelButton"};  // stops the clean the backdrop shows

    // Shows the Cancel, which (or Esc) runs onCancel; an empty one takes it away.
    void OfferCancel(std::function<void()> onCancel);

private:
    std::function<void()> onCancel_;
};

// Writes the status line (creating and showing the backdrop when it does not exist) and makes
// it visible.
void SetStatusText(forms::Application& app, const std::string& text);

}  // namespace screens
