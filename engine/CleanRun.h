#pragma once
// The clean run: read the options and the user folder from Clean.ini, refuse a root or system
// folder, then clean every chosen target (the user folder, the Temp folder, the URL cache, in
// that order), sparing the kept cache entries. Three variants share the body and differ in what
// they show and how they end. The run knows nothing of windows: it asks its host for what it
// means to show, ask and end, and the host says it with the program's windows.
//
// One clean runs at a time in a process, from its start to its end, questions included. It
// deletes only after every question it asks was answered Yes. A stop (Exit, Remove All Paths,
// the end of the session) ends it after the item in hand, with no further step begun.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/CleanProgress.h"
#include "engine/DeleteWalk.h"
#include "engine/RunLog.h"
#include "platform/Ports.h"
#include "platform/ThreadAffinity.h"

namespace engine {

enum class Refusal {
    kRoot,       // the root of the system drive
    kProtected,  // a protected folder, or one that holds one
};

// How a clean went, for what shows at its end.
struct CleanSummary {
    std::uint64_t itemsRemoved = 0;
    std::uint64_t bytesRemoved = 0;
    std::uint64_t itemsLeft = 0;          // items that stayed
    std::uint64_t foldersNotCleaned = 0;  // chosen folders that could not be cleaned at all
    std::uint64_t keptBack = 0;           // kept back on purpose (age limit, kept paths): no failure
    std::uint64_t leftFor[kStayReasons] = {};  // the items that stayed, by why
    // Each chosen folder that could not be cleaned, and why, as a sentence without its full stop:
    // "Your Selected Folder D:\Gone could not be cleaned: not found".
    std::vector<std::string> notCleaned;
    bool stopped = false;  // Stop Clean (or the backdrop's Cancel) ended it before its end
    std::vector<std::string> skipped;  // why places were left whole ("Chrome is running")
    bool AllCleaned() const { return itemsLeft == 0 && foldersNotCleaned == 0 && skipped.empty(); }
};

// What a clean run shows, asks and ends, in the program's own terms; the program says it with
// its windows, the tests with theirs.
class CleanRunHost {
public:
    virtual ~CleanRunHost() = default;
    // The user folder is refused: the refusal, the backdrop repainted, the folder picker shown.
    virtual void ShowRefusal(Refusal refusal) = 0;
    // The backdrop's status line says that the clean is under way.
    virtual void ShowCleaning() = 0;
    // Nothing was chosen: the message, then the backdrop and the start page.
    virtual void ShowNothingChosen() = 0;
    // The backdrop shown, then the question whether to clean although no cache entry is kept:
    // true only for an explicit Yes. A question closed any other way is a No.
    virtual bool AskGoOnWithoutKeptCookies() = 0;
    // Ends whatever question or message the run shows now, as unanswered: it is being stopped.
    virtual void EndQuestions() = 0;
    // The work is about to begin: no screen can start another clean or change what this one
    // reads meanwhile.
    virtual void HideScreensForWork() = 0;
    // Starts the work beside the windows, which keep answering and show its progress; onDone
    // is called on the window thread once the work has returned.
    virtual void StartWork(std::function<void()> work, CleanProgress& progress, std::function<void()> onDone) = 0;
    // Runs work beside the windows, which keep answering, with nothing shown of it: the record's
    // append, which may wait for another run's turn at the log. then is called on the window
    // thread once the work has returned.
    virtual void StartBeside(std::function<void()> work, std::function<void()> then) = 0;
    // The end of a clean from the options: with the backdrop shown, its status line says the
    // clean is over and a moment passes while the windows answer; false (nothing shown) when
    // the backdrop is not shown.
    virtual bool ShowFinishing() = 0;
    // The message that ends a clean from the options (or says what it did before it was stopped).
    virtual void ShowFinished(const CleanSummary& summary) = 0;
    // The end of a clean from the icon's menu: the icon says what it removed and what stayed, and
    // why, or what it did before it was stopped.
    virtual void ShowEndOnIcon(const CleanSummary& summary) = 0;
    // The end of an interactive run: the pointer back to default, every form hidden, the
    // deferred close-all armed.
    virtual void EndInteractiveRun() = 0;
    // The end of an unattended run: the pointer back to default, every form hidden and
    // unloaded, the process ended with exitCode.
    virtual void EndUnattendedRun(int exitCode) = 0;
    // An unattended run was refused and left the folder picker open: the process ends, with
    // exitCode, once the user has closed the screens.
    virtual void EndWhenScreensClose(int exitCode) = 0;
    // Ends the process at once.
    virtual void EndProcess(int exitCode) = 0;
    // The run's record was written (or could not be), before anything about its outcome shows.
    virtual void RecordWritten(const RunRecord& record) { (void)record; }
};

// Exit codes of the unattended run.
inline constexpr int kExitAllRemoved = 0;
// Or a chosen folder could not be cleaned, or a stop cut the clean short, or it did not go on
// after its question: what was chosen was not all cleaned.
inline constexpr int kExitSomethingStayed = 1;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitSettingsUnreadable = 3;  // Clean.ini exists but cannot be read

// What stops a clean. Stop Clean (the icon's menu, the backdrop's Cancel or Esc) stops only the
// clean, and the program stays; the others end the program too.
enum class StopCause { kNone, kExit, kRemoveAllPaths, kEndOfSession, kStopClean };

class CleanRun;

// The program's clean runs: one at a time, from its start to its end (questions included). Each
// run is an object made with its variant, the host it shows itself through and the ports it
// works on. Window thread only: every call checks that it comes from the thread that made this.
class Cleaner {
public:
    explicit Cleaner(const platform::Ports& ports);
    ~Cleaner();
    Cleaner(const Cleaner&) = delete;
    Cleaner& operator=(const Cleaner&) = delete;

    // From the clean-options screen: status line, question, final message. Returns once the
    // work has started (or the run has ended without any); the run ends through its host.
    void RunCleanFromOptions(CleanRunHost& host);
    // From the tray menu: question, no status line, no final message.
    void RunCleanFromTray(CleanRunHost& host);
    // Unattended: no question; ends the process with one of the exit codes above.
    void RunAutoClean(CleanRunHost& host);
    // A start while a clean runs does nothing.

    // Whether a clean runs now, from its start to its end (questions included).
    bool Running() const;
    // Stops the clean that runs: its work is told first, and ends after the item in hand with no
    // further step begun; then a question it asks counts as unanswered; its record names the
    // cause (the first, when asked again). `then` runs once it has ended, with the exit code of
    // its record (at once when none runs: with the code of the last clean if a stop for the same
    // cause ended it, else 0); an interactive clean with something to run then leaves its end to
    // it (it ends the program), instead of closing the screens itself. A stop is asked before
    // anything else its cause does, and what waits for it is handed over by asking again.
    void Stop(StopCause cause, std::function<void(int exitCode)> then = {});

    const platform::Ports& Ports() const { return ports_; }

private:
    friend class CleanRun;
    void Begin(RunVariant variant, CleanRunHost& host);

    // The last clean, when a stop ended it: the same stop asked again afterwards (its cause's own
    // steps ask it more than once) hands what waits for it that clean's code.
    struct StoppedRun {
        StopCause cause;
        int exitCode;
    };

    platform::Ports ports_;
    platform::ThreadAffinity windowThread_;
    std::shared_ptr<CleanRun> active_;  // the clean that runs now
    std::optional<StoppedRun> lastStopped_;
};

}  // namespace engine
