#include "app/Form1a.h"

#include <functional>

#include "app/ScreensForCleanRun.h"
#include "app/VersionInfo.h"
#include "app/WinProc.h"
#include "common/Form10.h"
#include "common/Form6.h"
#include "engine/CleanRun.h"
#include "forms/Application.h"
#include "screens/Form1.h"
#include "settings/CsdlConstants.h"
#include "settings/INISettings.h"
#include "ui/Skin.h"

namespace app {

using forms::App;

namespace {

int exitCode = 0;
ScreensForCleanRun cleanRunScreens;

// Each start-up step stands on its own: one that fails is passed over and the next runs.
void Step(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

int ProcessExitCode() { return exitCode; }
void SetProcessExitCode(int code) { exitCode = code; }

// Off screen and off the task list.
Form1a::Form1a() : Form("Form1a", 1500, 1000, {false, true, false}) {
    Timer2.onTimer = [this] {
        for (forms::Form* form : App().Forms()) {
            if (form->Name() != Name()) App().Unload(*form);
        }
        Timer2.SetEnabled(false);
    };
}

void Form1a::Form_Load() {
    engine::SetCleanRunScreens(&cleanRunScreens);
    if (IsAutoCleanRequest(GetCommandArg())) {
        engine::RunAutoClean();
        return;
    }
    Step([&] { SetLeft(-30000); });
    Step([&] { SetTop(-30000); });
    Step([&] {
        settings::WriteINI(settings::IniFilePath(), "sAppPath", "ShortCut", settings::AppFolder());
    });
    Step([&] {
        if (!IsWindowsXP()) ui::ApplySkin(Handle());
    });
    Step([&] { App().Hide(*this); });
    Step([&] { App().Load<common::Form6>(); });
    Step([&] { App().SetMousePointer(0); });
    Step([&] {
        // The first run: nothing chosen yet ("No" counts as chosen), so the screens open.
        const std::string ini = settings::IniFilePath();
        const auto unset = [&](const char* key) {
            const std::string value = settings::ReadINI(ini, "Delete", key, "0");
            return value == "0" || value.empty();
        };
        if (unset("User") && unset("Temp") && unset("Temporary Internet Files")) {
            App().Load<common::Form10>();
            App().Load<screens::Form1>();
        }
    });
    Step([&] { App().Hide(*this); });
}

void Form1a::Form_Unload() {}

}  // namespace app
