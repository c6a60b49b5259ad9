#include "engine/CleanRun.h"

#include <memory>
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
        case StopCause::kStopClean:
            return "Stop Clean";
        case StopCause::kNone:
            break;
    }
    return "";
}

}  // namespace

// What cleaning one target did: whether the work got to it, and its tally.
struct TargetRun {
    bool reached = false;
    DeleteTally tally;
};

// One clean, from its start to its end.
class CleanRun : public std::enable_shared_from_this<CleanRun> {
public:
    CleanRun(Variant variant, CleanRunHost& host, Cleaner& owner)
        : variant_(variant), host_(host), owner_(owner), ports_(owner.ports_), report_(ports_, variant) {}

    void Start() {
        owner_.active_ = shared_from_this();
        const settings::IniSnapshot ini(ports_, settings::IniFilePath(*ports_.environment));
        // An unattended run that cannot read its settings has done nothing, and says so.
        if (variant_ == Variant::kAuto && !ini.Readable()) {
            return Record("Clean.ini could not be read, nothing cleaned", kExitSettingsUnreadable, [this] {
                host_.EndProcess(kExitSettingsUnreadable);
                Over(kExitSettingsUnreadable);
            });
        }
        settings_ = CleanSettings::Read(ini, *ports_.environment);
        report_.Options(settings_);
        if (Refused()) return;

        if (variant_ == Variant::kOptions) host_.ShowCleaning();

        if (settings_.NothingChosen()) {
            return Record("nothing chosen", kExitAllRemoved, [this] {
                if (variant_ == Variant::kAuto) {
                    host_.EndProcess(kExitAllRemoved);
                } else if (stop_ == StopCause::kNone) {
                    host_.ShowNothingChosen();
                }
                Over(kExitAllRemoved);
            });
        }

        if (variant_ != Variant::kAuto) {
            const std::string keep0 = ini.Read("Internet", "sFile0", "0");
            // What was chosen is not cleaned: the code says so, as a stop's does.
            if ((keep0 == "0" || keep0 == "No") && !host_.AskGoOnWithoutKeptCookies()) {
                return Record(stop_ != StopCause::kNone
                                  ? std::string("not continued (the question was ended by ") + CauseText(stop_) + ")"
                                  : "not continued (no cookies kept)",
                              kExitSomethingStayed, [this] { End(kExitSomethingStayed); });
            }
            // Answered Yes, but told to stop meanwhile: nothing begins.
            if (stop_ != StopCause::kNone) {
                return Record(std::string("not continued (") + CauseText(stop_) + ")", kExitSomethingStayed,
                              [this] { End(kExitSomethingStayed); });
            }
            host_.HideScreensForWork();
        }

        // The deleting runs beside the windows, which keep answering and show how far it got.
        runs_.resize(CleanTargets().size());
        host_.StartWork([this] { Work(); }, progress_, [self = shared_from_this()] { self->WorkDone(); });
    }

    // The work is told first; then a question it asks ends. The first cause is the one recorded.
    void Stop(StopCause cause, std::function<void(int)> then) {
        progress_.RequestStop();
        if (then) thens_.push_back(std::move(then));
        if (stop_ != StopCause::kNone) return;
        stop_ = cause;
        host_.EndQuestions();
    }

private:
    bool Refused() {
        const std::optional<RefusalFound> found = UserFolderRefusal(ports_, settings_);
        if (!found) return false;
        report_.Refused(found->text);
        Record("refused, nothing cleaned", kExitRefused, [this, refusal = found->refusal] {
            if (stop_ == StopCause::kNone) {
                host_.ShowRefusal(refusal);
                if (variant_ == Variant::kAuto) host_.EndWhenScreensClose(kExitRefused);
            } else if (variant_ == Variant::kAuto) {
                host_.EndProcess(kExitRefused);
            }
            Over(kExitRefused);
        });
        return true;
    }

    // On the work's own thread: each chosen target in turn, none begun after a stop.
    void Work() {
        const auto targets = CleanTargets();
        for (std::size_t i = 0; i < targets.size(); ++i) {
            if (!settings_.Chosen(i)) continue;
            if (progress_.StopRequested()) return;
            runs_[i].reached = true;
            targets[i].clean(ports_, settings_, runs_[i].tally, &progress_, CleanMode::kClean);
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
            Add(summary, i, run);
        }
        if (cutShort) {
            summary.stopped = true;
            return Record(std::string("stopped by ") + CauseText(stop_), kExitSomethingStayed, [this, summary] {
                ShowEnd(summary);
                End(kExitSomethingStayed);
            });
        }
        const int exitCode = summary.AllCleaned() ? kExitAllRemoved : kExitSomethingStayed;
        Record(summary.AllCleaned() ? "cleaned" : "cleaned, not everything could be removed", exitCode,
               [this, summary, exitCode] {
                   ShowEnd(summary);
                   End(exitCode);
               });
    }

    void Add(CleanSummary& summary, std::size_t target, const TargetRun& run) const {
        if (!run.reached) return;
        const DeleteTally& tally = run.tally;
        summary.itemsRemoved += tally.removedItems;
        summary.bytesRemoved += tally.removedBytes;
        summary.itemsLeft += tally.keptItems;
        summary.foldersNotCleaned += tally.foldersNotCleaned;
        summary.keptBack += tally.KeptBack();
        for (int reason = 0; reason < kStayReasons; ++reason) summary.leftFor[reason] += tally.keptBy[reason];
        for (const SkippedPlace& place : tally.skipped) summary.skipped.push_back(place.reason);
        if (tally.foldersNotCleaned > 0) {
            const CleanTarget& cleaned = CleanTargets()[target];
            summary.notCleaned.push_back(NotCleanedText(ports_, cleaned, cleaned.place(settings_), tally, false));
        }
    }

    // A stop that ends the program too ends the run with nothing more shown, also one that came
    // while the record was written or during the moment before the message.
    bool Ending() const { return stop_ != StopCause::kNone && stop_ != StopCause::kStopClean; }

    // What an interactive clean shows at its end: the message of a clean from the options (after
    // the moment its status line says it is over, when it was not stopped), the icon's balloon.
    void ShowEnd(const CleanSummary& summary) {
        if (Ending()) return;
        if (variant_ == Variant::kOptions) {
            if ((summary.stopped || host_.ShowFinishing()) && !Ending()) host_.ShowFinished(summary);
        } else if (variant_ == Variant::kTray) {
            host_.ShowEndOnIcon(summary);
        }
    }

    // The record is written beside the windows, since another run's turn at the log may be long
    // in coming, before anything about the outcome shows; then the run goes on here. It is still
    // the clean that runs meanwhile: a stop is heard, and no other clean starts.
    void Record(std::string outcome, int exitCode, std::function<void()> then) {
        report_.Conclude(outcome, exitCode);
        host_.StartBeside([self = shared_from_this()] { self->report_.Append(); },
                          [self = shared_from_this(), then = std::move(then)] {
                              self->host_.RecordWritten(self->report_.Record());
                              then();
                          });
    }

    void End(int exitCode) {
        if (variant_ == Variant::kAuto) {
            host_.EndUnattendedRun(exitCode);
        } else if (thens_.empty()) {
            host_.EndInteractiveRun();
        }
        Over(exitCode);
    }

    // The clean is over: another may start, and what waited for this one runs with its code.
    void Over(int exitCode) {
        const std::vector<std::function<void(int)>> thens = std::move(thens_);
        thens_.clear();
        if (owner_.active_.get() == this) owner_.active_.reset();  // the caller still holds this run
        owner_.lastStopped_.reset();
        if (stop_ != StopCause::kNone) owner_.lastStopped_ = Cleaner::StoppedRun{stop_, exitCode};
        for (const auto& then : thens) then(exitCode);
    }

    Variant variant_;
    CleanRunHost& host_;
    Cleaner& owner_;
    const platform::Ports& ports_;
    RunReport report_;
    CleanSettings settings_;
    CleanProgress progress_;
    std::vector<TargetRun> runs_;
    StopCause stop_ = StopCause::kNone;
    std::vector<std::function<void(int)>> thens_;
};

Cleaner::Cleaner(const platform::Ports& ports) : ports_(ports) {}

Cleaner::~Cleaner() = default;

void Cleaner::Begin(Variant variant, CleanRunHost& host) {
    windowThread_.Check("a clean starts");
    if (active_) return;  // one clean at a time
    const auto run = std::make_shared<CleanRun>(variant, host, *this);
    run->Start();
}

void Cleaner::RunCleanFromOptions(CleanRunHost& host) { Begin(Variant::kOptions, host); }
void Cleaner::RunCleanFromTray(CleanRunHost& host) { Begin(Variant::kTray, host); }
void Cleaner::RunAutoClean(CleanRunHost& host) { Begin(Variant::kAuto, host); }

bool Cleaner::Running() const {
    windowThread_.Check("whether a clean runs");
    return active_ != nullptr;
}

void Cleaner::Stop(StopCause cause, std::function<void(int)> then) {
    windowThread_.Check("a clean stops");
    if (!active_) {
        if (then) then(lastStopped_ && lastStopped_->cause == cause ? lastStopped_->exitCode : kExitAllRemoved);
        return;
    }
    // Held here: ending a question may end the run, and with it its last other holder.
    const std::shared_ptr<CleanRun> run = active_;
    run->Stop(cause, std::move(then));
}

}  // namespace engine
