#pragma once
// The resident main window: never seen, it runs the start-up in its load handler and owns the
// deferred close-all that ends an interactive clean run.
#include <string>
#include <vector>

#include "app/CleanRunWindows.h"
#include "app/StartupShortcut.h"
#include "engine/CleanRun.h"
#include "forms/Form.h"
#include "platform/Ports.h"

namespace app {

// The items of the icon's popup menu, by index; the odd ones are separators. Stop Clean is
// there only while a clean runs, above the rest, with a separator after it.
enum PopupItem : int {
    kChangeConfiguration = 0,
    kCleanNow = 2,
    kExit = 4,
    kRemoveAllPaths = 6,
    kAbout = 8,
    kStopClean = 10,
};
// The captions of the popup menu in order, "-" for a separator, without Stop Clean.
const std::vector<std::string>& PopupMenuCaptions();
inline constexpr const char* kStopCleanCaption = "Stop Clean";

class MainWindow : public forms::Form {
public:
    MainWindow(const platform::Ports& ports, engine::Cleaner& cleaner, CleanRunWindows& cleanRunWindows);
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
    // The notification-area icon is there (added, and not taken away by Exit or Remove All
    // Paths): a clean can say how far it has got on it.
    bool HasIcon() const { return iconShown_; }

    forms::Timer closeAllTimer{*this, "Timer2", 50};

private:
    // Exit and Remove All Paths stop a clean before anything else they do: hiding the windows and
    // taking the icon away take seconds when the notification area is slow, and even the menu
    // takes a while to close, while the clean would delete on. The process ends with the code of
    // the clean's record. Stop Clean is asked first too, and leaves the program running.
    void StopFirst(int index);
    // Removes the settings file and every window, which ends the program.
    void RemoveAllPaths();

    platform::Ports ports_;
    engine::Cleaner& cleaner_;
    CleanRunWindows& cleanRunWindows_;
    ShortcutMaker shortcut_;
    bool iconShown_ = false;
};

}  // namespace app
