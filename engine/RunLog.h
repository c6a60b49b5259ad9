#pragma once
// The record of every clean: one record per run appended to Morvane.log beside the program,
// in UTF-8 with CRLF line ends (readable in Notepad), one line per item. Each record starts with
// a header line that begins with kRecordMarker and names the time, the variant and the exit code.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Amounts.h"
#include "engine/DeleteWalk.h"
#include "platform/Ports.h"

namespace engine {

enum class RunVariant { kOptions, kTray, kAuto, kPreview };

// Something the run left in place, and why: "in use", "access denied", "link left in place",
// "read-only folder", "other".
struct StayedLine {
    std::string path;
    std::string reason;
};

// One clean option as the run found it, and what cleaning it did.
struct OptionRecord {
    std::string name;          // "Your Selected Folder", "Temp Folder", "Clean Cookie Files"
    std::string value;         // as stored: "Yes", "No", "0", ...
    std::string place;         // the folder it cleans, "" for the URL cache
    bool ran = false;          // this run cleaned it
    bool notCleaned = false;   // chosen, but its folder could not be cleaned at all
    std::uint64_t removedItems = 0, removedBytes = 0, leftItems = 0;
    bool stopped = false;     // a stop ended its cleaning before the end: the rest was not reached
    bool notReached = false;  // chosen, but a stop ended the run before it began
    std::uint64_t spared = 0;  // kept on purpose (cache entries on the keep-list)
    // Kept back on purpose in a folder: its age limit as stored ([Keep Newer]), what was newer,
    // the kept paths met and the items they are and hold.
    std::string ageLimit;
    std::uint64_t keptNewer = 0, keptPaths = 0, keptPathItems = 0;
    bool countsEntries = false;  // it counts entries of which some are kept (the URL cache)
    bool absent = false;         // its place is not there at all: nothing to clean
    bool cleanedSome = true;     // it went on to clean something (not every place was skipped)
    std::vector<SkippedPlace> skipped;  // places left whole on purpose, and why
    std::optional<platform::BinContents> before, after;  // what the shell's container held
};


struct RunRecord {
    platform::LocalTime time;     // when it started
    platform::LocalTime endTime;  // when its outcome was known
    std::uint64_t durationMs = 0;
    RunVariant variant = RunVariant::kAuto;
    std::vector<OptionRecord> options;
    std::vector<std::string> refusals;  // one line each: the refused folder and why
    std::string outcome;                // "cleaned", "nothing chosen", "refused", "not continued", ...
    int exitCode = 0;                   // the unattended run's code for this outcome
    std::uint64_t stayedTotal = 0;      // everything that stayed, also beyond the listed items
    std::vector<StayedLine> stayed;     // the first kItemsNamed at most
    std::vector<SizedItem> largest;     // a preview's largest files that would go, largest first
    std::vector<std::string> keptPathsNotFound;  // [Keep] entries that named nothing
    std::vector<std::string> keptPathsOutside;   // [Keep] entries in none of the folders walked
};

// How every record's header line begins, at the start of a line.
inline constexpr std::string_view kRecordMarker = "==== ";
// Past this size the log drops its older records, keeping the newest within half of it.
inline constexpr std::uint64_t kRunLogLimit = 1u << 20;
// The lock every writer of the log holds while it appends and rotates, and how long one waits
// for it (a write takes milliseconds; a holder that hangs must not hold a clean's end up).
inline constexpr std::string_view kRunLogLock = "Morvane.log";
inline constexpr int kRunLogLockWaitMs = 10'000;

// The program's folder + "Morvane.log"; "" when the program's folder is unknown.
std::string RunLogPath(platform::Environment& env);
// The record's lines, each ending in CRLF.
std::string FormatRunRecord(const RunRecord& record);
// Appends one record to the log, after an empty line (a new or empty log starts with a UTF-8
// byte-order mark instead, for Notepads that would read it as ANSI otherwise). A log past
// kRunLogLimit then keeps only its newest whole records within half the limit, in one atomic
// replace. Appends and rotations of every process take turns (the lock kRunLogLock), so that no
// record is lost to a rotation. Never throws; false when the record could not be written, which
// must never change the outcome of a clean.
bool AppendRunRecord(const platform::Ports& ports, const RunRecord& record) noexcept;
// The record's summary: its lines before the lists of items that stayed or would go.
std::string RunRecordSummary(const RunRecord& record);

}  // namespace engine
