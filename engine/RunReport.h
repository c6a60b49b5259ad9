#pragma once
// The record of one run, filled in as the run learns its options and results and written to the
// log once its outcome is known: by the clean run and by the preview alike.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/CleanRun.h"
#include "engine/CleanTargets.h"
#include "engine/RunLog.h"

namespace engine {

// The user folder a clean would refuse, and why in the record's words; nullopt when it passes.
// The folder is checked as the folder it names; "0" means none is stored, and a folder that
// cannot be opened is not refused here (its purge finds nothing to clean and says so).
struct RefusalFound {
    Refusal refusal;
    std::string text;
};
std::optional<RefusalFound> UserFolderRefusal(const platform::Ports& ports, const CleanSettings& settings);

// Why a chosen target (its folder, or the shell's container) could not be cleaned at all, as a sentence without its full stop:
// "Your Selected Folder D:\Gone could not be opened: not found", with the system's code in
// brackets when withCode (the record).
std::string NotCleanedText(const platform::Ports& ports, const CleanTarget& target, const std::string& folder,
                           const DeleteTally& tally, bool withCode);

class RunReport {
public:
    RunReport(const platform::Ports& ports, RunVariant variant);

    void Options(const CleanSettings& settings);
    void Refused(const std::string& text) { record_.refusals.push_back(text); }
    // What cleaning (or previewing) one chosen target did; reached false: a stop came first.
    void Cleaned(std::size_t target, bool reached, const DeleteTally& tally);
    // Writes the record; a record that cannot be written changes nothing.
    void Write(const std::string& outcome, int exitCode) {
        Conclude(outcome, exitCode);
        Append();
    }
    // The outcome is known: the record is complete, stamped with this moment.
    void Conclude(const std::string& outcome, int exitCode);
    // Appends the concluded record, on any thread (the wait for the log's turn may be long).
    void Append() const;
    // The record as concluded.
    const RunRecord& Record() const { return record_; }

private:
    void Stayed(const std::string& path, const std::string& reason);

    platform::Ports ports_;  // the clock, and where the record goes
    std::vector<std::string> keptPaths_;     // [Keep] as read
    std::vector<std::string> keptPathsMet_;  // met by the folders walked
    bool folderWalked_ = false;              // some folder target was walked through
    bool folderCutShort_ = false;            // some folder target was not
    std::uint64_t start_;  // the platform's tick count when the run began
    RunRecord record_;
};

}  // namespace engine
