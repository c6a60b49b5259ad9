#include "engine/CleanRun.h"

#include <memory>
#include <optional>
#include <vector>

#include "engine/CleanTargets.h"
#include "engine/RunReport.h"
#include "platform/Ports.h"
#include "settings/SettingsFile.h"

namespace engine {
namespace {

using Variant = RunVariant;

const char* CauseText(StopCause cause) {
    switch (cause) {
        case StopCause::kExit:
            return "Exit";
        case StopCause::kRemoveAllPaths:
            return "Remove All Paths";
        case StopCause::kEndOfSession:
            return "the end of the session";
        case StopCause::kNone:
            break;
    }
    return "";
}

// What cleaning one target did: whether the work got to it, and its tally.
struct TargetRun {
    bool reached = false;
    DeleteTally tally;
};

class Run;
// The clean that runs in this process; window thread only.
std::shared_ptr<Run> active;
// The last clean, when a stop ended it: the same stop asked again afterwards (its cause's own
// steps ask it more than once) hands what waits for it that clean's code.
struct StoppedRun {
    StopCause cause;
    int exitCode;
};
std::optional<StoppedRun> lastStopped;

class Run : public std::enable_shared_from_this<Run> {
public:
    Run(Variant variant, CleanRunHost& host) : variant_(variant), host_(host), report_(variant) {}

    void Start() {
        active = shared_from_this();
        const settings::IniSnapshot ini(settings::IniFilePath());
        // An unattended run that cannot read its settings has done nothing, and says so.
        if (variant_ == Variant::kAuto && !ini.Readable()) {
            report_.Write("Clean.ini could not be read, nothing cleaned", kExitSettingsUnreadable);
            host_.EndProcess(kExitSettingsUnreadable);
            return Over(kExitSettingsUnreadable);
        }
        settings_ = CleanSettings::Read(ini);
        report_.Options(settings_);
        if (Refused()) return;

        if (variant_ == Variant::kOptions) host_.ShowCleaning();

        if (settings_.NothingChosen()) {
            report_.Write("nothing chosen", kExitAllRemoved);
            if (variant_ == Variant::kAuto) {
                host_.EndProcess(kExitAllRemoved);
            } else {
                host_.ShowNothingChosen();
            }
            return Over(kExitAllRemoved);
        }

        if (variant_ != Variant::kAuto) {
            const std::string keep0 = ini.Read("Internet", "sFile0", "0");
            // What was chosen is not cleaned: the code says so, as a stop's does.
            if ((keep0 == "0" || keep0 == "No") && !host_.AskGoOnWithoutKeptCookies()) {
                report_.Write(stop_ != StopCause::kNone
                                  ? std::string("not continued (the question was ended by ") + CauseText(stop_) + ")"
                                  : "not continued (no cookies kept)",
                              kExitSomethingStayed);
                return End(kExitSomethingStayed);
            }
            // Answered Yes, but told to stop meanwhile: nothing begins.
            if (stop_ != StopCause::kNone) {
                report_.Write(std::string("not continued (") + CauseText(stop_) + ")", kExitSomethingStayed);
                return End(kExitSomethingStayed);
            }
            host_.HideScreensForWork();
        }

        // The deleting runs beside the windows, which keep answering and show how far it got.
        runs_.resize(CleanTargets().size());
        host_.StartWork([this] { Work(); }, progress_, [self = shared_from_this()] { self->WorkDone(); });
    }

    void Stop(StopCause cause, std::function<void(int)> then) {
        progress_.RequestStop();
        if (then) thens_.push_back(std::move(then));
        if (stop_ != StopCause::kNone) return;
        stop_ = cause;
        host_.EndQuestions();
    }

private:
    bool Refused() {
        const std::optional<RefusalFound> found = UserFolderRefusal(settings_);
        if (!found) return false;
        report_.Refused(found->text);
        report_.Write("refused, nothing cleaned", kExitRefused);
        host_.ShowRefusal(found->refusal);
        if (variant_ == Variant::kAuto) host_.EndWhenScreensClose(kExitRefused);
        Over(kExitRefused);
        return true;
    }

    // On the work's own thread: each chosen target in turn, none begun after a stop.
    void Work() {
        const auto targets = CleanTargets();
        for (std::size_t i = 0; i < targets.size(); ++i) {
            if (!settings_.Chosen(i)) continue;
            if (progress_.StopRequested()) return;
            runs_[i].reached = true;
            targets[i].clean(settings_, runs_[i].tally, &progress_, CleanMode::kClean);
        }
    }

    void WorkDone() {
        CleanSummary summary;
        bool cutShort = false;
        for (std::size_t i = 0; i < runs_.size(); ++i) {
            if (!settings_.Chosen(i)) continue;
            const TargetRun& run = runs_[i];
            report_.Cleaned(i, run.reached, run.tally);
            cutShort = cutShort || !run.reached || run.tally.stopped;
            summary.itemsLeft += run.tally.keptItems;
            summary.foldersNotCleaned += run.tally.foldersNotCleaned;
        }
        if (cutShort) {
            report_.Write(std::string("stopped by ") + CauseText(stop_), kExitSomethingStayed);
            return End(kExitSomethingStayed);
        }
        const int exitCode = summary.AllCleaned() ? kExitAllRemoved : kExitSomethingStayed;
        report_.Write(summary.AllCleaned() ? "cleaned" : "cleaned, not everything could be removed", exitCode);
        if (variant_ == Variant::kOptions && stop_ == StopCause::kNone) {
            // A stop during the moment before the message ends the run there.
            if (host_.ShowFinishing() && stop_ == StopCause::kNone) host_.ShowFinished(summary);
        }
        End(exitCode);
    }

    void End(int exitCode) {
        if (variant_ == Variant::kAuto) {
            host_.EndUnattendedRun(exitCode);
        } else if (thens_.empty()) {
            host_.EndInteractiveRun();
        }
        Over(exitCode);
    }

    // The clean is over: another may start, and what waited for this one runs.
    void Over(int exitCode) {
        const std::vector<std::function<void(int)>> thens = std::move(thens_);
        thens_.clear();
        if (active.get() == this) active.reset();  // the caller still holds this run
        lastStopped.reset();
        if (stop_ != StopCause::kNone) lastStopped = StoppedRun{stop_, exitCode};
        for (const auto& then : thens) then(exitCode);
    }

    Variant variant_;
    CleanRunHost& host_;
    RunReport report_;
    CleanSettings settings_;
    CleanProgress progress_;
    std::vector<TargetRun> runs_;
    StopCause stop_ = StopCause::kNone;
    std::vector<std::function<void(int)>> thens_;
};

void Begin(Variant variant, CleanRunHost& host) {
    if (active) return;  // one clean at a time
    const auto run = std::make_shared<Run>(variant, host);
    run->Start();
}

}  // namespace

void RunCleanFromOptions(CleanRunHost& host) { Begin(Variant::kOptions, host); }
void RunCleanFromTray(CleanRunHost& host) { Begin(Variant::kTray, host); }
void RunAutoClean(CleanRunHost& host) { Begin(Variant::kAuto, host); }

bool CleanRunning() { return active != nullptr; }

void StopClean(StopCause cause, std::function<void(int)> then) {
    if (!active) {
        if (then) then(lastStopped && lastStopped->cause == cause ? lastStopped->exitCode : kExitAllRemoved);
        return;
    }
    // Held here: ending a question may end the run, and with it its last other holder.
    const std::shared_ptr<Run> run = active;
    run->Stop(cause, std::move(then));
}

}  // namespace engine
