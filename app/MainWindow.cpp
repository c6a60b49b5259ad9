#include "app/MainWindow.h"

#include <algorithm>

#include "app/CleanRunWindows.h"
#include "app/StartupShortcut.h"
#include "app/WindowsVersion.h"
#include "app/TrayIcon.h"
#include "app/Usage.h"
#include "screens/Backdrop.h"
#include "screens/HelperWindow.h"
#include "screens/CloseAll.h"
#include "engine/Purges.h"
#include "engine/CleanPreview.h"
#include "engine/CleanRun.h"
#include "engine/CleanTargets.h"
#include "engine/RunLog.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "screens/StartPage.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/AboutScreen.h"
#include "settings/KnownFolders.h"
#include "settings/SettingsFile.h"
#include "ui/Skin.h"

namespace app {


namespace {

constexpr const char* kShortcutName = "Tarnwick";
constexpr const char* kShortcutFile = "Tarnwick.lnk";
constexpr const char* kProgramFile = "Morvane.exe";
constexpr int kPopupBaseId = 1000;

// While a clean runs, the menu's items that would start another one or open the screens, where
// what is being cleaned could be changed, are not to be had.
bool AvailableWhileCleaning(int index) { return index == kExit || index == kRemoveAllPaths; }

// The StartUp folder with its trailing "\".
std::string StartUpFolder(platform::Folders& folders) {
    std::string folder = GetShellFolderPath(folders, settings::kCsidlStartup);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace

const std::vector<std::string>& PopupMenuCaptions() {
    static const std::vector<std::string> captions = {"Change Configuration", "-", "Clean Now", "-", "Exit", "-",
                                                      "Remove All Paths", "-", "About"};
    return captions;
}

// Off screen and off the task list.
MainWindow::MainWindow(const platform::Ports& ports, engine::Cleaner& cleaner, CleanRunWindows& cleanRunWindows)
    : Form("Form1a", 1500, 1000, {false, true, false}),
      ports_(ports),
      cleaner_(cleaner),
      cleanRunWindows_(cleanRunWindows),
      shortcut_(ports) {
    closeAllTimer.onTimer = [this] {
        for (forms::Form* form : App().Forms()) {
            if (form->Name() != Name()) App().Unload(*form);
        }
        closeAllTimer.SetEnabled(false);
    };
}

void MainWindow::Form_Load() {
    const std::string token = GetCommandArg(*ports_.environment);
    if (IsHelpRequest(token)) {
        ShowUsage(App(), *ports_.environment);
        ports_.environment->EndProcess(0);
        return;
    }
    // What the record of an unattended run says goes to the console it was started from too.
    const auto print = [&env = *ports_.environment](const engine::RunRecord& record) {
        env.WriteOutput(engine::RunRecordSummary(record));
    };
    if (IsAutoCleanRequest(token)) {
        cleanRunWindows_.PrintRecords(print);
        cleaner_.RunAutoClean(cleanRunWindows_);
        return;
    }
    if (IsPreviewRequest(token)) {
        // Nothing shown, nothing changed: the record and the exit code say what a clean would do.
        ports_.environment->EndProcess(engine::RunUnattendedPreview(ports_, print));
        return;
    }
    // Each step stands on its own: what one of them could not do (a folder that is not found,
    // a settings file that cannot be written, no notification area) leaves the next to run.
    const std::string startUp = StartUpFolder(*ports_.folders);
    if (!ItemExists(*ports_.folders, startUp + kShortcutFile)) {
        shortcut_.Make(App(), settings::AppFolder(*ports_.environment) + kProgramFile, kShortcutName, kStartUpKeyword);
    }
    SetLeft(-30000);
    SetTop(-30000);
    const std::string ini = settings::IniFilePath(*ports_.environment);
    settings::WriteINI(ports_, ini, "sAppPath", "ShortCut", settings::AppFolder(*ports_.environment));
    if (!IsWindowsXP(*ports_.environment)) ui::ApplySkin(*ports_.automation, Handle());
    App().Hide(*this);
    App().Load<screens::HelperWindow>();
    iconShown_ = ShellTrayAdd(*this) == 1;
    if (iconShown_) HookWindow(*this);
    App().SetMousePointer(0);
    // The first run: nothing chosen yet ("No" counts as chosen), so the screens open.
    const settings::IniSnapshot settings(ports_, ini);
    const auto targets = engine::CleanTargets();
    if (std::none_of(targets.begin(), targets.end(), [&](const engine::CleanTarget& target) {
            return engine::SetsUp(settings.Read("Delete", std::string(target.key), "0"));
        })) {
        App().Load<screens::Backdrop>();
        App().Load<screens::StartPage>();
    }
    App().Hide(*this);
}

void MainWindow::Form_Unload() {
    UnhookWindow(*this);
    // Exit, Remove All Paths or the end of the session: a shortcut made now would outlive them.
    shortcut_.GiveUp();
}

void MainWindow::ShowPopupMenu() {
    if (!Peer()) return;
    std::vector<platform::MenuSpec> items;
    if (cleaner_.Running()) {
        items.push_back({kPopupBaseId + kStopClean, kStopCleanCaption});
        platform::MenuSpec separator{kPopupBaseId + kStopClean + 1, "-"};
        separator.separator = true;
        items.push_back(separator);
    }
    const std::vector<std::string>& captions = PopupMenuCaptions();
    for (size_t i = 0; i < captions.size(); ++i) {
        platform::MenuSpec item{kPopupBaseId + static_cast<int>(i), captions[i]};
        item.separator = captions[i] == "-";
        item.enabled = !cleaner_.Running() || AvailableWhileCleaning(static_cast<int>(i));
        items.push_back(item);
    }
    // The menu takes the activation from the screen the user was working in.
    forms::Form* working = App().ActiveForm();
    Peer()->BringToForeground();
    const int chosen = Peer()->TrackPopupMenu(items, [this](int id) { StopFirst(id - kPopupBaseId); });
    if (chosen >= kPopupBaseId) PopupMenu_Click(chosen - kPopupBaseId);
    // A menu that left that screen shown, and no other one active, gives it back.
    forms::Form* active = App().ActiveForm();
    if (working && working != this && App().IsLoaded(*working) && working->Visible() &&
        (!active || active == this)) {
        App().Show(*working);
    }
}

void MainWindow::PopupMenu_Click(int index) {
    StopFirst(index);
    App().Hide(*this);
    // Stop Clean has stopped the clean: its end leaves the program resident, as any clean's end does.
    if (index == kStopClean) return;
    if (cleaner_.Running()) {
        if (!AvailableWhileCleaning(index)) return;
        // The user sees the program go at once; it ends once the clean has stopped after the
        // item in hand, so that nothing is left half removed, and has left its record.
        screens::HideAll(App());
    }
    switch (index) {
        case kChangeConfiguration:
            App().Load<screens::Backdrop>();
            // A screen shown now hands over; the start page itself, shown, is restored in front.
            screens::OpenFromOutside<screens::StartPage>(App(), platform::kPointerArrowHourglass);
            App().SetMousePointer(0);
            break;
        case kCleanNow:
            cleaner_.RunCleanFromTray(cleanRunWindows_);
            break;
        case kExit:
            App().SetMousePointer(0);
            ShellTrayDelete(*this);
            iconShown_ = false;
            cleaner_.Stop(engine::StopCause::kExit, [&app = App()](int) { screens::UnloadAll(app); });
            break;
        case kRemoveAllPaths: {
            ShellTrayDelete(*this);
            iconShown_ = false;
            // Only a shortcut in a StartUp folder that was found; never one relative to elsewhere.
            const std::string startUp = StartUpFolder(*ports_.folders);
            if (!startUp.empty() && ItemExists(*ports_.folders, startUp + kShortcutFile)) {
                engine::ShellDelete(*ports_.fileSystem, startUp + kShortcutFile);
            }
            cleaner_.Stop(engine::StopCause::kRemoveAllPaths, [this](int) { RemoveAllPaths(); });
            break;
        }
        case kAbout:
            App().Load<screens::Backdrop>();
            screens::OpenFromOutside<screens::AboutScreen>(App(), platform::kPointerArrowHourglass);
            break;
        default:
            break;
    }
}

void MainWindow::Form_EndSession(bool ending) {
    if (!ending) {
        // Most likely it ends: the clean stops now, so that little is left to wait for.
        cleaner_.Stop(engine::StopCause::kEndOfSession);
        return;
    }
    // Held: unloading every form below may free this window, and its members with it.
    engine::Cleaner& cleaner = cleaner_;
    CleanRunWindows& runWindows = cleanRunWindows_;
    platform::Environment& environment = *ports_.environment;
    forms::Application& app = App();
    cleaner.Stop(engine::StopCause::kEndOfSession, [&runWindows](int code) { runWindows.SetExitCode(code); });
    if (cleaner.Running()) screens::HideAll(app);
    if (!IsAutoCleanRequest(GetCommandArg(environment))) ShellTrayDelete(*this);
    iconShown_ = false;
    cleaner.Stop(engine::StopCause::kEndOfSession, [&app](int) { screens::UnloadAll(app); });
    // After this message the process may be ended at any moment: the item in hand is waited
    // for here, and the clean's record written, before the message is answered. Then the program
    // ends itself, with its record's code, rather than be ended by the system with another; a
    // question that is being ended still has its record to write and ends the program itself.
    app.Desktop().FinishBeside();
    if (!cleaner.Running()) environment.EndProcess(runWindows.ExitCode());
}

void MainWindow::StopFirst(int index) {
    const auto keepCode = [this](int code) { cleanRunWindows_.SetExitCode(code); };
    if (index == kExit) cleaner_.Stop(engine::StopCause::kExit, keepCode);
    if (index == kRemoveAllPaths) cleaner_.Stop(engine::StopCause::kRemoveAllPaths, keepCode);
    if (index == kStopClean) cleaner_.Stop(engine::StopCause::kStopClean);
}

void MainWindow::RemoveAllPaths() {
    const std::string ini = settings::IniFilePath(*ports_.environment);
    // Held: unloading this window frees it once the handler returns, and its members with it.
    forms::Application& app = App();
    platform::FileSystem& files = *ports_.fileSystem;
    app.SetMousePointer(0);
    for (forms::Form* form : app.Forms()) app.Unload(*form);
    // A settings file that cannot be deleted (locked) simply stays.
    engine::ShellDelete(files, ini);
}

}  // namespace app
