#pragma once
// Clean.ini: where it is, reading and writing one key, and reading a keep-list.
// Every call is one complete access to the file; nothing is cached between calls.
#include <string>
#include <vector>

namespace settings {

// The application folder (normalised with a trailing "\") followed by "Clean.ini".
std::string IniFilePath();

// The value of section/key, cut to at most 254 characters of the file's code page, or
// defaultValue when the file, the section or the key is missing or the file cannot be read.
// Section and key names match without regard to case; values come back as stored.
std::string ReadINI(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& defaultValue = "0");

// Stores section/key = value (CR and LF in the value become blanks), creating the file and
// the section when missing. The file is rewritten whole and atomically: every other line stays
// as it was, and a write that cannot be made leaves the old file intact. Nothing is reported.
void WriteINI(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value);

// The keep-list of a section of Clean.ini: "sFile0", "sFile1", ... up to "sFile1000", ending
// at the first value that is "" or "0" (an absent key reads "0").
std::vector<std::string> ReadKeepList(const std::string& section);

}  // namespace settings
