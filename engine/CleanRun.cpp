#include "engine/CleanRun.h"

#include <memory>
#include <vector>

#include "engine/CleanTargets.h"
#include "engine/RunLog.h"
#include "platform/Ports.h"
#include "settings/CsdlConstants.h"
#include "settings/INISettings.h"

namespace engine {
namespace {

using Variant = RunVariant;

const char* ReasonText(const StayedItem& item) {
    if (item.folder && item.readOnly) return "read-only folder";
    switch (item.reason) {
        case StayReason::kInUse:
            return "in use";
        case StayReason::kAccessDenied:
            return "access denied";
        case StayReason::kLinkLeft:
            return "link left in place";
        case StayReason::kOther:
            break;
    }
    return "other";
}

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

// Why a folder is not purged, for the record.
std::string WhyNot(const std::string& folder, settings::FolderVerdict verdict) {
    if (verdict == settings::FolderVerdict::kRoot) return folder + " is the root of the system drive";
    if (verdict == settings::FolderVerdict::kSystem) return folder + " is a protected folder";
    return folder + " could not be opened";
}

// Why a chosen folder was not purged at all.
std::string WhyNotCleaned(const std::string& folder) {
    if (folder.empty() || folder == "0") return "is not set";
    return WhyNot(folder, settings::CheckUserFolder(folder));
}

// What cleaning one target did: whether the work got to it, and its tally.
struct TargetRun {
    bool reached = false;
    DeleteTally tally;
};

// The run's record, filled in as the run learns its options and results, and written once its
// outcome is known, before anything is shown about it: a run ended from outside while a message
// is up has its record all the same. A record that cannot be written changes nothing.
class RunReport {
public:
    explicit RunReport(Variant variant) {
        record_.time = platform::Env().Now();
        record_.variant = variant;
    }

    void Options(const CleanSettings& settings) {
        const auto targets = CleanTargets();
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const CleanTarget& target = targets[i];
            record_.options.push_back(
                {std::string(target.label), settings.values[i], settings.Chosen(i) ? target.place(settings) : ""});
        }
    }

    void Refused(const std::string& text) { record_.refusals.push_back(text); }

    // What the work did of one chosen target; one it never got to was not reached.
    void Cleaned(std::size_t target, const TargetRun& run) {
        OptionRecord& record = record_.options[target];
        if (!run.reached) {
            record.notReached = true;
            return;
        }
        const DeleteTally& tally = run.tally;
        record.ran = true;
        record.stopped = tally.stopped;
        record.notCleaned = tally.foldersNotCleaned > 0;
        record.removedItems = tally.removedItems;
        record.removedBytes = tally.removedBytes;
        record.leftItems = tally.keptItems;
        record_.stayedTotal += tally.keptItems;
        for (const StayedItem& item : tally.stayed) Stayed(item.path, ReasonText(item));
        if (record.notCleaned) Refused(record.name + " " + WhyNotCleaned(record.place));
    }

    void Write(const std::string& outcome, int exitCode) {
        record_.outcome = outcome;
        record_.exitCode = exitCode;
        AppendRunRecord(record_);
    }

private:
    void Stayed(const std::string& path, const char* reason) {
        if (record_.stayed.size() < kMaxStayedListed) record_.stayed.push_back({path, reason});
    }

    RunRecord record_;
};

class Run;
// The clean that runs in this process; window thread only.
std::shared_ptr<Run> active;

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
            return Over();
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
            return Over();
        }

        if (variant_ != Variant::kAuto) {
            const std::string keep0 = ini.Read("Internet", "sFile0", "0");
            if ((keep0 == "0" || keep0 == "No") && !host_.AskGoOnWithoutKeptCookies()) {
                report_.Write(stop_ != StopCause::kNone
                                  ? std::string("not continued (the question was ended by ") + CauseText(stop_) + ")"
                                  : "not continued (no cookies kept)",
                              kExitAllRemoved);
                return End(kExitAllRemoved);
            }
            // Answered Yes, but told to stop meanwhile: nothing begins.
            if (stop_ != StopCause::kNone) {
                report_.Write(std::string("not continued (") + CauseText(stop_) + ")", kExitAllRemoved);
                return End(kExitAllRemoved);
            }
            host_.HideScreensForWork();
        }

        // The deleting runs beside the windows, which keep answering and show how far it got.
        runs_.resize(CleanTargets().size());
        host_.StartWork([this] { Work(); }, progress_, [self = shared_from_this()] { self->WorkDone(); });
    }

    void Stop(StopCause cause, std::function<void()> then) {
        if (stop_ == StopCause::kNone) stop_ = cause;
        if (then) thens_.push_back(std::move(then));
        progress_.RequestStop();
        host_.EndQuestions();
    }

private:
    // The user folder is checked as a folder, not as a spelling; "0" means none is stored. A
    // folder that cannot be opened is not refused here: its purge finds nothing to clean and
    // says so.
    bool Refused() {
        const std::string& folder = settings_.userFolder;
        if (folder == "0") return false;
        const settings::FolderVerdict verdict = settings::CheckUserFolder(folder);
        if (verdict != settings::FolderVerdict::kRoot && verdict != settings::FolderVerdict::kSystem) return false;
        report_.Refused("Your Selected Folder " + WhyNot(folder, verdict));
        report_.Write("refused, nothing cleaned", kExitRefused);
        host_.ShowRefusal(verdict == settings::FolderVerdict::kRoot ? Refusal::kRoot : Refusal::kProtected);
        if (variant_ == Variant::kAuto) host_.EndWhenScreensClose(kExitRefused);
        Over();
        return true;
    }

    // On the work's own thread: each chosen target in turn, none begun after a stop.
    void Work() {
        const auto targets = CleanTargets();
        for (std::size_t i = 0; i < targets.size(); ++i) {
            if (!settings_.Chosen(i)) continue;
            if (progress_.StopRequested()) return;
            runs_[i].reached = true;
            targets[i].clean(settings_, runs_[i].tally, &progress_);
        }
    }

    void WorkDone() {
        CleanSummary summary;
        bool cutShort = false;
        for (std::size_t i = 0; i < runs_.size(); ++i) {
            if (!settings_.Chosen(i)) continue;
            const TargetRun& run = runs_[i];
            report_.Cleaned(i, run);
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
        if (variant_ == Variant::kOptions && stop_ == StopCause::kNone && host_.ShowFinishing() &&
            stop_ == StopCause::kNone) {
            host_.ShowFinished(summary);
        }
        End(exitCode);
    }

    void End(int exitCode) {
        if (variant_ == Variant::kAuto) {
            host_.EndUnattendedRun(exitCode);
        } else if (thens_.empty()) {
            host_.EndInteractiveRun();
        }
        Over();
    }

    // The clean is over: another may start, and what waited for this one runs.
    void Over() {
        const std::vector<std::function<void()>> thens = std::move(thens_);
        thens_.clear();
        if (active.get() == this) active.reset();  // the caller still holds this run
        for (const auto& then : thens) then();
    }

    Variant variant_;
    CleanRunHost& host_;
    RunReport report_;
    CleanSettings settings_;
    CleanProgress progress_;
    std::vector<TargetRun> runs_;
    StopCause stop_ = StopCause::kNone;
    std::vector<std::function<void()>> thens_;
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

void StopClean(StopCause cause, std::function<void()> then) {
    if (!active) {
        if (then) then();
        return;
    }
    // Held here: ending a question may end the run, and with it its last other holder.
    const std::shared_ptr<Run> run = active;
    run->Stop(cause, std::move(then));
}

}  // namespace engine
