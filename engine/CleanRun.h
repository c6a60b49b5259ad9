#pragma once
// The clean run: read the options and the user folder from Clean.ini, refuse a root or system
// folder, then empty the user folder, the Temp folder and the URL cache, sparing the kept
// cache entries. Three variants share the body and differ in what they show and how they end.
#include <cstdint>
#include <string>

namespace engine {

// The screens a clean run shows or hides besides the backdrop; the program provides them.
class CleanRunScreens {
public:
    virtual ~CleanRunScreens() = default;
    virtual void ShowFolderPicker() = 0;  // after a refusal
    virtual void ShowStartPage() = 0;     // after "nothing chosen"
    virtual void HideOptions() = 0;       // when the user goes on past the keep-list question
    // The deferred close-all of the resident main window, once an interactive run is over.
    virtual void ScheduleCloseAll() = 0;
    // An unattended run was refused and left the folder picker open: the process must end,
    // with exitCode, once the user has closed the screens.
    virtual void EndWhenScreensClose(int exitCode) = 0;
};
void SetCleanRunScreens(CleanRunScreens* screens);

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
// The final message when some items stayed, or a chosen folder could not be cleaned at all.
std::string NotAllCleanedText(std::uint64_t itemsLeft, std::uint64_t foldersNotCleaned);

// Exit codes of the unattended run.
inline constexpr int kExitAllRemoved = 0;
inline constexpr int kExitSomethingStayed = 1;  // or a chosen folder could not be cleaned
inline constexpr int kExitRefused = 2;
inline constexpr int kExitSettingsUnreadable = 3;  // Clean.ini exists but cannot be read

// From the clean-options screen: status line, questions, final message.
void RunCleanFromOptions();
// From the tray menu: questions, no status line, no final message.
void RunCleanFromTray();
// Unattended: no question; ends the process with one of the exit codes above.
void RunAutoClean();

}  // namespace engine
