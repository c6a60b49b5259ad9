#include "engine/RunLog.h"

#include "engine/KeptBack.h"

#include <algorithm>
#include <cstdio>

#include "platform/Ports.h"
#include "settings/KnownFolders.h"

namespace engine {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
// A log larger than this is not read back to be cut (someone else made it so); it stays as it is.
constexpr std::uint64_t kLargestReadBack = 64u << 20;

// Text on one line: a control character (a line break in a name would start a line of its own,
// one that could even pass for a record's header) becomes "?".
void AppendOneLine(std::string& out, std::string_view text) {
    for (const char c : text) out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
}

const char* VariantText(RunVariant variant) {
    switch (variant) {
        case RunVariant::kOptions:
            return "clean from the options";
        case RunVariant::kTray:
            return "clean from the icon's menu";
        case RunVariant::kPreview:
            return "preview";
        case RunVariant::kAuto:
            break;
    }
    return "unattended clean";
}

// "1.2 GB (1,288,490,189 bytes)": readable, and exact for a script.
std::string BytesInFull(std::uint64_t bytes) {
    if (bytes < 1024) return BytesText(bytes);
    return BytesText(bytes) + " (" + CountText(bytes) + " bytes)";
}

std::string Stamp(const platform::LocalTime& t) {
    char stamp[64];
    std::snprintf(stamp, sizeof(stamp), "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return stamp;
}

void AppendHeader(std::string& out, const RunRecord& record) {
    out += kRecordMarker;
    out += Stamp(record.time);
    out += "  ";
    out += VariantText(record.variant);
    out += "  exit code ";
    out += std::to_string(record.exitCode);
    out += "  ended " + Stamp(record.endTime) + " after " + DurationText(record.durationMs);
    out += kLineEnd;
}

// What a preview found an option would do: "would remove 2,000 items, 77.5 MB (...), 3 items would
// stay"; the URL cache names how many of its entries would go.
std::string WouldText(const OptionRecord& option) {
    std::string text = "would remove " + ItemsText(option.removedItems);
    if (option.countsEntries) {
        text = "would remove " + CountText(option.removedItems) + " of " +
               CountText(option.removedItems + option.spared + option.leftItems) + " entries";
    }
    text += ", " + BytesInFull(option.removedBytes);
    if (option.leftItems > 0) text += ", " + ItemsText(option.leftItems) + " would stay";
    return text;
}

// What a folder kept back on purpose: "1,204 items newer than 24 hours; 2 kept paths, 310 items".
std::string KeptBackText(const OptionRecord& option) {
    std::string text;
    if (option.keptNewer > 0) {
        const std::uint64_t hours = AgeLimitHours(option.ageLimit).value_or(0);
        text = ItemsText(option.keptNewer) + " newer than " + CountText(hours) + (hours == 1 ? " hour" : " hours");
    }
    if (option.keptPaths > 0) {
        if (!text.empty()) text += "; ";
        text += CountText(option.keptPaths) + (option.keptPaths == 1 ? " kept path, " : " kept paths, ") +
                ItemsText(option.keptPathItems);
    }
    return text;
}

// What a clean did: "2,000 items removed, 77.5 MB (...), 3 items left"; what the shell's
// container held before and after goes first.
std::string DidText(const OptionRecord& option) {
    std::string text;
    if (option.before && option.after) {
        text = "held " + ItemsText(option.before->items) + ", " + BytesInFull(option.before->bytes) + ", then " +
               ItemsText(option.after->items) + ", " + BytesText(option.after->bytes) + "; ";
    }
    if (option.stopped) {
        // What it never reached was not counted, so nothing is said to be left.
        return text + ItemsText(option.removedItems) + " removed, " + BytesInFull(option.removedBytes) +
               ", then stopped: the rest not reached";
    }
    return text + ItemsText(option.removedItems) + " removed, " + BytesInFull(option.removedBytes) + ", " +
           ItemsText(option.leftItems) + " left";
}

// "skipped, Chrome is running": every place of the target was left whole.
std::string SkippedText(const OptionRecord& option) {
    std::string text = "skipped";
    for (std::size_t i = 0; i < option.skipped.size(); ++i) text += (i == 0 ? ", " : "; ") + option.skipped[i].reason;
    return text;
}

void AppendOption(std::string& out, const OptionRecord& option, bool preview) {
    AppendOneLine(out, option.name);
    out += " = ";
    // An absent key reads "0"; neither it nor an empty value was ever chosen.
    AppendOneLine(out, option.value == "0" || option.value.empty() ? "not set" : option.value);
    const bool allSkipped = option.ran && !option.notCleaned && !option.cleanedSome && !option.skipped.empty();
    if ((option.ran || option.notCleaned || option.notReached) && !allSkipped && !option.place.empty()) {
        out += ", ";
        AppendOneLine(out, option.place);
    }
    if (allSkipped) {
        out += ": ";
        AppendOneLine(out, SkippedText(option));
    } else if (option.notCleaned) {
        out += ": could not be cleaned at all";
    } else if (option.ran && option.absent && option.skipped.empty()) {
        out += ": not there, nothing to clean";
    } else if (option.ran) {
        out += ": " + (preview ? WouldText(option) : DidText(option));
        if (!option.skipped.empty()) {
            const std::size_t count = option.skipped.size();
            out += "; " + CountText(count) + (count == 1 ? " place skipped" : " places skipped");
        }
        if (const std::string kept = KeptBackText(option); !kept.empty() && !option.notCleaned) {
            out += preview ? "; would keep back " : "; kept back: ";
            out += kept;
        }
    } else if (option.notReached) {
        out += ": not reached";
    } else if (option.value == "Yes") {
        out += ", not cleaned in this run";
    }
    out += kLineEnd;
}

void AppendStayed(std::string& out, const RunRecord& record, const char* heading) {
    const std::size_t listed = std::min(record.stayed.size(), kItemsNamed);
    const std::uint64_t total = std::max<std::uint64_t>(record.stayedTotal, record.stayed.size());
    if (total == 0) return;
    out += std::string(heading) + " (" + CountText(listed) + " of " + CountText(total) + "):";
    out += kLineEnd;
    for (std::size_t i = 0; i < listed; ++i) {
        out += "  ";
        AppendOneLine(out, record.stayed[i].reason);
        out += ": ";
        AppendOneLine(out, record.stayed[i].path);
        out += kLineEnd;
    }
}

// A preview's largest files that would go, largest first, with their sizes.
void AppendLargest(std::string& out, const RunRecord& record, std::uint64_t removedItems) {
    if (record.largest.empty()) return;
    out += "Largest that would go (" + CountText(record.largest.size()) + " of " + CountText(removedItems) + "):";
    out += kLineEnd;
    for (const SizedItem& item : record.largest) {
        out += "  " + BytesText(item.size) + ": ";
        AppendOneLine(out, item.path);
        out += kLineEnd;
    }
}

// Whether a record's header begins at `at`: the marker at the start of a line.
bool IsRecordStart(std::string_view log, std::size_t at) {
    return log.substr(at, kRecordMarker.size()) == kRecordMarker &&
           (at == 0 || log[at - 1] == '\n' || log.substr(0, at) == kByteOrderMark);
}

// Where the first record that starts at `from` or later starts; npos when there is none.
std::size_t RecordStartFrom(std::string_view log, std::size_t from) {
    for (std::size_t at = log.find(kRecordMarker, from); at != std::string_view::npos;
         at = log.find(kRecordMarker, at + 1)) {
        if (IsRecordStart(log, at)) return at;
    }
    return std::string_view::npos;
}

// Where the newest record starts; npos when the log holds none.
std::size_t NewestRecordStart(std::string_view log) {
    for (std::size_t at = log.rfind(kRecordMarker); at != std::string_view::npos;
         at = at == 0 ? std::string_view::npos : log.rfind(kRecordMarker, at - 1)) {
        if (IsRecordStart(log, at)) return at;
    }
    return std::string_view::npos;
}

// Keeps the newest whole records that fit in half the limit (the newest one at least), so that
// the log starts at a record's header again.
void DropOlderRecords(platform::FileSystem& files, const std::string& path) {
    const std::optional<std::string> log = files.ReadWholeFile(path, kLargestReadBack);
    if (!log) return;
    const std::string_view all = *log;
    const std::uint64_t keep = kRunLogLimit / 2 - kByteOrderMark.size();
    std::size_t start = RecordStartFrom(all, all.size() > keep ? all.size() - keep : 0);
    if (start == std::string_view::npos) start = NewestRecordStart(all);
    if (start == std::string_view::npos || start <= kByteOrderMark.size()) return;
    std::string kept;
    kept.reserve(kByteOrderMark.size() + all.size() - start);
    kept += kByteOrderMark;
    kept += all.substr(start);
    files.ReplaceWholeFile(path, kept);  // when it fails the log is whole, only longer
}

}  // namespace

std::string RunLogPath(platform::Environment& env) {
    const std::string folder = env.ProgramFolder();
    // Without it the name would land in the root of the current drive.
    if (folder.empty()) return {};
    return settings::NormaliseAppFolder(folder) + "Morvane.log";
}

std::string RunRecordSummary(const RunRecord& record) {
    const std::string text = FormatRunRecord(record);
    // A list is a heading line followed by indented items; the summary ends before the first.
    const std::size_t item = text.find("\r\n  ");
    if (item == std::string::npos) return text;
    const std::size_t heading = text.rfind("\r\n", item - 1);
    return text.substr(0, heading == std::string::npos ? 0 : heading + 2);
}

std::string FormatRunRecord(const RunRecord& record) {
    std::string out;
    out.reserve(512 + std::min(record.stayed.size(), kItemsNamed) * 96);
    AppendHeader(out, record);
    const bool preview = record.variant == RunVariant::kPreview;
    std::uint64_t removedItems = 0, removedBytes = 0;
    std::uint64_t keptBack = 0;
    for (const OptionRecord& option : record.options) {
        AppendOption(out, option, preview);
        removedItems += option.removedItems;
        removedBytes += option.removedBytes;
        keptBack += option.keptNewer + option.keptPathItems;
    }
    const std::string left = ItemsText(std::max<std::uint64_t>(record.stayedTotal, record.stayed.size()));
    out += preview ? "In all: would remove " + ItemsText(removedItems) + ", " + BytesText(removedBytes) + "; " + left +
                         " would stay"
                   : "In all: " + ItemsText(removedItems) + " removed, " + BytesText(removedBytes) + "; " + left + " left";
    if (keptBack > 0) out += "; " + ItemsText(keptBack) + (preview ? " would be kept back" : " kept back");
    if (std::any_of(record.options.begin(), record.options.end(),
                    [](const OptionRecord& option) { return option.stopped || option.notReached; })) {
        out += " in what the clean reached";
    }
    out += kLineEnd;
    for (const std::string& refusal : record.refusals) {
        out += "Refused: ";
        AppendOneLine(out, refusal);
        out += kLineEnd;
    }
    for (const std::string& path : record.keptPathsNotFound) {
        out += "Kept path not found: ";
        AppendOneLine(out, path);
        out += kLineEnd;
    }
    for (const std::string& path : record.keptPathsOutside) {
        out += "Kept path outside the folders cleaned: ";
        AppendOneLine(out, path);
        out += kLineEnd;
    }
    // A line for each place left whole on purpose (a browser that runs, a link).
    for (const OptionRecord& option : record.options) {
        for (const SkippedPlace& skipped : option.skipped) {
            out += "Skipped: ";
            AppendOneLine(out, option.name + ", " + skipped.path + ": " + skipped.reason);
            out += kLineEnd;
        }
    }
    out += "Outcome: ";
    AppendOneLine(out, record.outcome);
    out += kLineEnd;
    AppendStayed(out, record, preview ? "Would stay" : "Left in place");
    AppendLargest(out, record, removedItems);
    return out;
}

bool AppendRunRecord(const platform::Ports& ports, const RunRecord& record) noexcept {
    try {
        const std::string path = RunLogPath(*ports.environment);
        if (path.empty()) return false;
        platform::FileSystem& files = *ports.fileSystem;
        // A rotation reads the log and replaces it: a record appended by another process in
        // between would be lost. Without the lock in time (its holder hangs) the record still
        // goes in, but nothing is rotated.
        const std::unique_ptr<platform::HeldLock> turn = ports.environment->LockByName(kRunLogLock, kRunLogLockWaitMs);
        // A record after others begins with a line end: an empty line between records, and a
        // header at the start of a line even when the last line of an edited log has no end. A
        // log that is there but empty (a full disk cut its first write) gets its mark too: it
        // is read whole only when it holds no byte.
        const bool empty = !files.Exists(path) || files.ReadWholeFile(path, 0).has_value();
        std::string text(empty ? kByteOrderMark : kLineEnd);
        text += FormatRunRecord(record);
        const std::optional<std::uint64_t> size = files.AppendToFile(path, text);
        if (!size) return false;
        if (*size > kRunLogLimit && turn) DropOlderRecords(files, path);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace engine
