#pragma once
// The clean run: read the options and the user folder from Clean.ini, refuse a root or system
// folder, then empty the user folder, the Temp folder and the URL cache, sparing the kept
// cache entries. Three variants share the body and differ in what they show and how they end.
// The run knows nothing of windows: whatever it shows, asks or ends goes through its host.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/CleanProgress.h"

namespace engine {

// Everything a clean run shows, asks and ends, in the order the run needs it; the program
// provides it with its windows, the tests with theirs.
class CleanRunHost {
public:
    virtual ~CleanRunHost() = default;
    // The backdrop's status line: written and made visible (the backdrop made and shown first
    // when it does not exist), then the backdrop repainted.
    virtual void SetStatus(const std::string& text) = 0;
    // Repaints the backdrop, making it first when it does not exist.
    virtual void RepaintBackdrop() = 0;
    virtual void ShowBackdrop() = 0;
    virtual bool BackdropVisible() = 0;
    // A modal message box (style number as the platform defines it); returns the result code.
    virtual int MessageBox(const std::string& text, int style, const std::string& caption) = 0;
    virtual void SetPointer(int pointer) = 0;
    virtual void ShowFolderPicker() = 0;  // after a refusal
    virtual void ShowStartPage() = 0;     // after "nothing chosen"
    virtual void HideOptions() = 0;       // when the user goes on past the keep-list question
    // Runs the cleaning work beside the windows, which keep answering and show its progress,
    // and returns once the work has returned. The host may ask the work to stop through
    // progress (the program is told to end); the work then ends after the item in hand.
    virtual void RunBeside(const std::function<void()>& work, CleanProgress& progress) = 0;
    // Lets time pass while the windows keep answering.
    virtual void Pause(int milliseconds) = 0;
    // The end of an interactive run: every form hidden, the deferred close-all armed.
    virtual void EndInteractiveRun() = 0;
    // The end of an unattended run: every form hidden and unloaded, the process ended.
    virtual void EndUnattendedRun(int exitCode) = 0;
    // An unattended run was refused and left the folder picker open: the process ends, with
    // exitCode, once the user has closed the screens.
    virtual void EndWhenScreensClose(int exitCode) = 0;
    // Ends the process at once.
    virtual void EndProcess(int exitCode) = 0;
};

// Texts the run shows.
inline constexpr const char* kInfoCaption = "Kavlon Info.....";
inline constexpr const char* kQuestionCaption = "For Your Information.....";
inline constexpr const char* kFinishedCaption = "Kavlon Tarnwick.....";
std::string RootRefusalText();
std::string SystemRefusalText();
inline constexpr const char* kNothingChosenText = "You Have Not Entered Any Files To Be Cleaned !";
std::string NoCookiesSavedText();
inline constexpr const char* kCleaningStatus = "Cleaning Files Now !";
inline constexpr const char* kFinishedStatus = "All Finished Cleaning Files !";
inline constexpr const char* kAllCleanedText = "All Files Cleaned!";
// The final message when some items stayed or some chosen folders could not be cleaned at all.
std::string NotAllCleanedText(std::uint64_t itemsLeft, std::uint64_t foldersNotCleaned);

// Exit codes of the unattended run.
inline constexpr int kExitAllRemoved = 0;
inline constexpr int kExitSomethingStayed = 1;  // or a chosen folder could not be cleaned
inline constexpr int kExitRefused = 2;
inline constexpr int kExitSettingsUnreadable = 3;  // Clean.ini exists but cannot be read

// From the clean-options screen: status line, questions, final message.
void RunCleanFromOptions(CleanRunHost& host);
// From the tray menu: questions, no status line, no final message.
void RunCleanFromTray(CleanRunHost& host);
// Unattended: no question; ends the process with one of the exit codes above.
void RunAutoClean(CleanRunHost& host);

}  // namespace engine
