#include "app/MainWindow.h"

#include <algorithm>

#include "app/CleanRunWindows.h"
#include "app/StartupShortcut.h"
#include "app/WindowsVersion.h"
#include "app/TrayIcon.h"
#include "screens/Backdrop.h"
#include "screens/HelperWindow.h"
#include "screens/CloseAll.h"
#include "engine/Purges.h"
#include "engine/CleanPreview.h"
#include "engine/CleanRun.h"
#include "engine/CleanTargets.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "screens/StartPage.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/AboutScreen.h"
#include "settings/KnownFolders.h"
#include "settings/SettingsFile.h"
#include "ui/Skin.h"

namespace app {

using forms::App;

namespace {

int exitCode = 0;
CleanRunWindows cleanRunWindows;

constexpr const char* kShortcutName = "Tarnwick";
constexpr const char* kShortcutFile = "Tarnwick.lnk";
constexpr const char* kProgramFile = "Morvane.exe";
constexpr int kPopupBaseId = 1000;

// While a clean runs, the menu's items that would start another one or open the screens, where
// what is being cleaned could be changed, are not to be had.
bool AvailableWhileCleaning(int index) { return index == kExit || index == kRemoveAllPaths; }

// Exit and Remove All Paths stop a clean before anything else they do: hiding the windows and
// taking the icon away take seconds when the notification area is slow, and even the menu takes
// a while to close, while the clean would delete on. The process ends with the code of the
// clean's record.
void StopFirst(int index) {
    if (index == kExit) engine::StopClean(engine::StopCause::kExit, SetProcessExitCode);
    if (index == kRemoveAllPaths) engine::StopClean(engine::StopCause::kRemoveAllPaths, SetProcessExitCode);
}

// The StartUp folder with its trailing "\".
std::string StartUpFolder() {
    std::string folder = GetShellFolderPath(settings::kCsidlStartup);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace

const std::vector<std::string>& PopupMenuCaptions() {
    static const std::vector<std::string> captions = {"Change Configuration", "-", "Clean Now", "-", "Exit", "-",
                                                      "Remove All Paths", "-", "About"};
    return captions;
}

int ProcessExitCode() { return exitCode; }
void SetProcessExitCode(int code) { exitCode = code; }

// Off screen and off the task list.
MainWindow::MainWindow() : Form("Form1a", 1500, 1000, {false, true, false}) {
    closeAllTimer.onTimer = [this] {
        for (forms::Form* form : App().Forms()) {
            if (form->Name() != Name()) App().Unload(*form);
        }
        closeAllTimer.SetEnabled(false);
    };
}

void MainWindow::Form_Load() {
    screens::SetCleanRunHost(&cleanRunWindows);
    const std::string token = GetCommandArg();
    if (IsAutoCleanRequest(token)) {
        engine::RunAutoClean(cleanRunWindows);
        return;
    }
    if (IsPreviewRequest(token)) {
        // Nothing shown, nothing changed: the record and the exit code say what a clean would do.
        platform::Env().EndProcess(engine::RunUnattendedPreview());
        return;
    }
    // Each step stands on its own: what one of them could not do (a folder that is not found,
    // a settings file that cannot be written, no notification area) leaves the next to run.
    const std::string startUp = StartUpFolder();
    if (!ItemExists(startUp + kShortcutFile)) {
        CreateShortcut(settings::AppFolder() + kProgramFile, kShortcutName, kStartUpKeyword);
    }
    SetLeft(-30000);
    SetTop(-30000);
    settings::WriteINI(settings::IniFilePath(), "sAppPath", "ShortCut", settings::AppFolder());
    if (!IsWindowsXP()) ui::ApplySkin(Handle());
    App().Hide(*this);
    App().Load<screens::HelperWindow>();
    if (ShellTrayAdd() == 1) HookWindow();
    App().SetMousePointer(0);
    // The first run: nothing chosen yet ("No" counts as chosen), so the screens open.
    const settings::IniSnapshot ini(settings::IniFilePath());
    const auto targets = engine::CleanTargets();
    if (std::none_of(targets.begin(), targets.end(), [&](const engine::CleanTarget& target) {
            return engine::SetsUp(ini.Read("Delete", std::string(target.key), "0"));
        })) {
        App().Load<screens::Backdrop>();
        App().Load<screens::StartPage>();
    }
    App().Hide(*this);
}

void MainWindow::Form_Unload() { UnhookWindow(); }

void MainWindow::ShowPopupMenu() {
    if (!Peer()) return;
    std::vector<platform::MenuSpec> items;
    const std::vector<std::string>& captions = PopupMenuCaptions();
    for (size_t i = 0; i < captions.size(); ++i) {
        platform::MenuSpec item{kPopupBaseId + static_cast<int>(i), captions[i]};
        item.separator = captions[i] == "-";
        item.enabled = !engine::CleanRunning() || AvailableWhileCleaning(static_cast<int>(i));
        items.push_back(item);
    }
    // The menu takes the activation from the screen the user was working in.
    forms::Form* working = App().ActiveForm();
    Peer()->BringToForeground();
    const int chosen = Peer()->TrackPopupMenu(items, [](int id) { StopFirst(id - kPopupBaseId); });
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
    if (engine::CleanRunning()) {
        if (!AvailableWhileCleaning(index)) return;
        // The user sees the program go at once; it ends once the clean has stopped after the
        // item in hand, so that nothing is left half removed, and has left its record.
        screens::HideAll();
    }
    switch (index) {
        case kChangeConfiguration:
            App().Load<screens::Backdrop>();
            // A screen shown now hands over; the start page itself, shown, is restored in front.
            screens::OpenFromOutside<screens::StartPage>(platform::kPointerArrowHourglass);
            App().SetMousePointer(0);
            break;
        case kCleanNow:
            engine::RunCleanFromTray(cleanRunWindows);
            break;
        case kExit:
            App().SetMousePointer(0);
            ShellTrayDelete();
            engine::StopClean(engine::StopCause::kExit, [](int) { screens::UnloadAll(); });
            break;
        case kRemoveAllPaths: {
            ShellTrayDelete();
            // Only a shortcut in a StartUp folder that was found; never one relative to elsewhere.
            const std::string startUp = StartUpFolder();
            if (!startUp.empty() && ItemExists(startUp + kShortcutFile)) engine::ShellDelete(startUp + kShortcutFile);
            engine::StopClean(engine::StopCause::kRemoveAllPaths, [](int) { RemoveAllPaths(); });
            break;
        }
        case kAbout:
            App().Load<screens::Backdrop>();
            screens::OpenFromOutside<screens::AboutScreen>(platform::kPointerArrowHourglass);
            break;
        default:
            break;
    }
}

void MainWindow::Form_EndSession(bool ending) {
    if (!ending) {
        // Most likely it ends: the clean stops now, so that little is left to wait for.
        engine::StopClean(engine::StopCause::kEndOfSession);
        return;
    }
    engine::StopClean(engine::StopCause::kEndOfSession, SetProcessExitCode);
    if (engine::CleanRunning()) screens::HideAll();
    if (!IsAutoCleanRequest(GetCommandArg())) ShellTrayDelete();
    engine::StopClean(engine::StopCause::kEndOfSession, [](int) { screens::UnloadAll(); });
    // After this message the process may be ended at any moment: the item in hand is waited
    // for here, and the clean's record written, before the message is answered. Then the program
    // ends itself, with its record's code, rather than be ended by the system with another; a
    // question that is being ended still has its record to write and ends the program itself.
    App().Desktop().FinishBeside();
    if (!engine::CleanRunning()) platform::Env().EndProcess(ProcessExitCode());
}

void RemoveAllPaths() {
    const std::string ini = settings::IniFilePath();
    App().SetMousePointer(0);
    for (forms::Form* form : App().Forms()) App().Unload(*form);
    // A settings file that cannot be deleted (locked) simply stays.
    engine::ShellDelete(ini);
}

}  // namespace app
