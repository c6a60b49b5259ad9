#pragma once
// The resident main window: never seen, it runs the start-up in its load handler and owns the
// deferred close-all that ends an interactive clean run.
#include "forms/Form.h"

namespace app {

class Form1a : public forms::Form {
public:
    Form1a();
    // The start-up: the unattended clean, or the resident start.
    void Form_Load() override;
    void Form_Unload() override;

    forms::Timer Timer2{*this, "Timer2", 50};
};

// The exit code the process ends with once its last form is gone.
int ProcessExitCode();
void SetProcessExitCode(int code);

}  // namespace app
