#include "app/ScreensForCleanRun.h"

#include "app/Form1a.h"
#include "forms/Application.h"
#include "screens/Form1.h"
#include "screens/Form2.h"
#include "screens/frmUser.h"

namespace app {

using forms::App;

void ScreensForCleanRun::ShowFolderPicker() { App().Show<screens::frmUser>(); }

void ScreensForCleanRun::ShowStartPage() { App().Show<screens::Form1>(); }

void ScreensForCleanRun::HideOptions() {
    if (screens::Form2* options = App().Find<screens::Form2>()) App().Hide(*options);
}

void ScreensForCleanRun::ScheduleCloseAll() {
    if (Form1a* main = App().Find<Form1a>()) {
        main->Timer2.SetEnabled(true);
    } else {
        // No resident window (an unattended start that was refused): close the screens now,
        // which ends the program.
        screens::CloseAllScreens();
    }
}

void ScreensForCleanRun::EndWhenScreensClose(int exitCode) {
    // Without its main window the program ends once the last screen is unloaded, instead of
    // lingering hidden with no icon.
    SetProcessExitCode(exitCode);
    App().Unload<Form1a>();
}

}  // namespace app
