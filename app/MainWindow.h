#pragma once
// The resident main window: never seen, it runs the start-up in its load handler and owns the
// deferred close-all that ends an interactive clean run.
#include <string>
#include <vector>

#include "forms/Form.h"

namespace app {

// The items of the icon's popup menu, by index; the odd ones are separators.
enum PopupItem : int {
    kChangeConfiguration = 0,
    kCleanNow = 2,
    kExit = 4,
    kRemoveAllPaths = 6,
    kAbout = 8,
};
// The captions of the popup menu in order, "-" for a separator.
const std::vector<std::string>& PopupMenuCaptions();

class MainWindow : public forms::Form {
public:
    MainWindow();
    // The start-up: the unattended clean, or the resident start.
    void Form_Load() override;
    // Takes the hook away again; the icon stays (it goes only with Exit and Remove All Paths).
    void Form_Unload() override;
    // The session ends: a clean that runs stops after the item in hand and leaves its record,
    // and the program ends with the record's code (the session would end it anyway).
    void Form_EndSession(bool ending) override;

    // Shows the popup menu mnuPopUp at the mouse and runs the chosen item.
    void ShowPopupMenu();
    void PopupMenu_Click(int index);

    forms::Timer closeAllTimer{*this, "Timer2", 50};
};

// Removes the settings file and every window, which ends the program.
void RemoveAllPaths();

// The exit code the process ends with once its last form is gone.
int ProcessExitCode();
void SetProcessExitCode(int code);

}  // namespace app
