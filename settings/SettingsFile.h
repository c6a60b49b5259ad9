#pragma once
// Clean.ini: where it is, reading and writing one key, and reading a keep-list.
// Every call is one complete access to the file; nothing is cached between calls.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Ports.h"
#include "settings/ProfileCodec.h"

namespace settings {

// The application folder (normalised with a trailing "\") followed by "Clean.ini".
std::string IniFilePath(platform::Environment& env);

// The whole value of section/key (matching quotes around it dropped, as the platform's reader
// drops them), or defaultValue when the file, the section or the key is missing or the file
// cannot be read. Section and key names match without regard to case; values come back as
// stored, however long.
std::string ReadINI(const platform::Ports& ports, const std::string& file, const std::string& section, const std::string& key,
                    const std::string& defaultValue = "0");

// Stores section/key = value (CR and LF in the value become blanks), creating the file and
// the section when missing. The file is rewritten whole and atomically: every other line stays
// as it was, and a write that cannot be made leaves the old file intact. Answers kNone when the
// value is stored (or was already), else why not: the replacement's failure, or kOther with no
// code for a file that exists but cannot be read (it is never replaced unread).
platform::FsError WriteINI(const platform::Ports& ports, const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value);

// Whether the value comes back from Clean.ini as it was written: the file holds the ANSI code
// page, where a character it lacks would come back as "?".
bool FitsSettingsFile(platform::Environment& env, const std::string& value);

// The keep-list of a section of Clean.ini: "sFile0", "sFile1", ..., every entry however many,
// ending at the first value that is "" or "0" (an absent key reads "0").
std::vector<std::string> ReadKeepList(const platform::Ports& ports, const std::string& section);

// One reading of a settings file, for a reader of many keys that wants them all from one
// moment of the file (and the file opened once). Reads answer as ReadINI and ReadKeepList do.
class IniSnapshot {
public:
    IniSnapshot(const platform::Ports& ports, const std::string& file);
    // False when the file exists but could not be read (locked, denied, far too large).
    bool Readable() const { return readable_; }
    std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue = "0") const;
    std::vector<std::string> KeepList(const std::string& section) const;
    // Every "sFile<n>" entry of the section in the order of n, none dropped for a gap before it
    // ("" and "0" are no entries): a list of what must stay, where a reader that stopped at a
    // gap would let a clean delete the rest.
    std::vector<std::string> NumberedList(const std::string& section) const;
    // Every key of the section that has a value, in file order, each name once (the first of a
    // name wins, as for a reader), with its value as Read answers it.
    std::vector<std::pair<std::string, std::string>> Keys(const std::string& section) const;

private:
    platform::Environment* env_;  // for the ANSI code page of what is read
    std::optional<ProfileText> profile_;
    bool readable_ = true;
};

}  // namespace settings
