#include "settings/SettingsFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/Ports.h"
#include "platform/Text.h"
#include "settings/KnownFolders.h"
#include "settings/ProfileCodec.h"

namespace settings {
namespace {

// Far above any real Clean.ini (two full keep-lists stay under 600 KB); a larger file is not
// ours and reads as empty rather than stalling the program.
constexpr std::uint64_t kMaxFileBytes = 8u << 20;

std::optional<ProfileText> LoadProfile(platform::FileSystem& files, const std::string& file) {
    auto bytes = files.ReadWholeFile(file, kMaxFileBytes);
    if (!bytes) return std::nullopt;
    return DecodeProfile(std::move(*bytes));
}

// ASCII text is the same in UTF-8 and in every ANSI code page; skipping the conversion keeps
// a thousand-entry keep-list as cheap to read as one key.
bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string ToAnsi(platform::Environment& env, std::string_view utf8) {
    return IsAscii(utf8) ? std::string(utf8) : env.ToAnsi(utf8);
}

std::string FromAnsi(platform::Environment& env, std::string_view ansi) {
    return IsAscii(ansi) ? std::string(ansi) : env.FromAnsi(ansi);
}

// Names and values in the form the file holds them.
std::string InFileForm(platform::Environment& env, const ProfileText& profile, std::string_view utf8) {
    return profile.encoding == ProfileEncoding::kAnsi ? ToAnsi(env, utf8) : std::string(utf8);
}

// A stored value as the platform's reader hands it over, whole, in UTF-8. The design's reader
// had a buffer of 256 characters and cut longer values, so that a long folder read back named
// its parent or a sibling; nothing relies on the cut.
std::string AsRead(platform::Environment& env, const ProfileText& profile, std::string_view stored) {
    const std::string_view value = Unquoted(stored);
    return profile.encoding == ProfileEncoding::kAnsi ? FromAnsi(env, value) : std::string(value);
}

// The reader drops trailing blanks of the default it is given.
std::string AsDefault(std::string_view defaultValue) {
    return std::string(defaultValue.substr(0, defaultValue.find_last_not_of(' ') + 1));
}

// The index n of a key named "sFile<n>" (no leading zeros), or -1. Nine digits hold the index
// of any list a file of kMaxFileBytes can hold.
int KeepListIndex(std::string_view name) {
    constexpr std::string_view kPrefix = "sFile";
    if (name.size() <= kPrefix.size() || name.size() > kPrefix.size() + 9) return -1;
    if (!text::EqualsNoCase(name.substr(0, kPrefix.size()), kPrefix)) return -1;
    const std::string_view digits = name.substr(kPrefix.size());
    if (digits.size() > 1 && digits.front() == '0') return -1;
    int index = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return -1;
        index = index * 10 + (c - '0');
    }
    return index;
}

}  // namespace

std::string IniFilePath(platform::Environment& env) { return AppFolder(env) + "Clean.ini"; }

std::string ReadINI(const platform::Ports& ports, const std::string& file, const std::string& section,
                    const std::string& key, const std::string& defaultValue) {
    return IniSnapshot(ports, file).Read(section, key, defaultValue);
}

platform::FsError WriteINI(const platform::Ports& ports, const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value) {
    platform::Environment& env = *ports.environment;
    std::string oneLine = value;
    std::replace(oneLine.begin(), oneLine.end(), '\r', ' ');
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');

    ProfileText profile;
    if (auto loaded = LoadProfile(*ports.fileSystem, file)) {
        profile = std::move(*loaded);
    } else if (ports.fileSystem->Exists(file)) {
        // Locked, unreadable or not ours: replacing it would lose every other key.
        return platform::FsError::kOther;
    }
    std::string updated = SetProfileValue(profile.text, InFileForm(env, profile, section), InFileForm(env, profile, key),
                                          InFileForm(env, profile, oneLine));
    if (updated == profile.text) return platform::FsError::kNone;
    profile.text = std::move(updated);
    return ports.fileSystem->TryReplaceWholeFile(file, EncodeProfile(profile));
}

bool FitsSettingsFile(platform::Environment& env, const std::string& value) {
    return IsAscii(value) || FromAnsi(env, ToAnsi(env, value)) == value;
}

std::vector<std::string> ReadKeepList(const platform::Ports& ports, const std::string& section) {
    return IniSnapshot(ports, IniFilePath(*ports.environment)).KeepList(section);
}

IniSnapshot::IniSnapshot(const platform::Ports& ports, const std::string& file)
    : env_(ports.environment), profile_(LoadProfile(*ports.fileSystem, file)) {
    readable_ = profile_.has_value() || !ports.fileSystem->Exists(file);
}

std::string IniSnapshot::Read(const std::string& section, const std::string& key,
                              const std::string& defaultValue) const {
    if (!profile_) return AsDefault(defaultValue);
    const auto stored = FindProfileValue(profile_->text, InFileForm(*env_, *profile_, section), InFileForm(*env_, *profile_, key));
    if (!stored) return AsDefault(defaultValue);
    return AsRead(*env_, *profile_, *stored);
}

std::vector<std::pair<std::string, std::string>> IniSnapshot::Keys(const std::string& section) const {
    std::vector<std::pair<std::string, std::string>> keys;
    if (!profile_) return keys;
    const ProfileText& profile = *profile_;
    ForEachProfileKey(profile.text, InFileForm(*env_, profile, section),
                      [&](std::string_view name, std::optional<std::string_view> value) {
                          if (!value) return;
                          std::string utf8 = profile.encoding == ProfileEncoding::kAnsi ? FromAnsi(*env_, name)
                                                                                         : std::string(name);
                          const bool seen = std::any_of(keys.begin(), keys.end(), [&](const auto& key) {
                              return text::EqualsNoCase(key.first, utf8);
                          });
                          if (!seen) keys.emplace_back(std::move(utf8), AsRead(*env_, profile, *value));
                      });
    return keys;
}

std::vector<std::string> IniSnapshot::KeepList(const std::string& section) const {
    std::vector<std::string> entries;
    if (!profile_) return entries;
    const ProfileText* profile = &*profile_;

    // One pass over the section instead of one per key; the first key of an index wins, as it
    // does for a reader that asks each key in turn. Every entry counts, however many: a reader
    // that stopped early (the design's stopped at 1,001) let a clean delete the rest. A list of
    // n keys ends before index n, so no index beyond the count of keys needs a slot.
    struct Slot {
        bool seen = false;
        std::optional<std::string_view> value;
    };
    std::vector<std::pair<int, std::optional<std::string_view>>> keys;
    ForEachProfileKey(profile->text, InFileForm(*env_, *profile, section),
                      [&](std::string_view name, std::optional<std::string_view> value) {
                          if (const int index = KeepListIndex(name); index >= 0) keys.emplace_back(index, value);
                      });
    std::vector<Slot> slots(keys.size());
    for (const auto& [index, value] : keys) {
        if (static_cast<std::size_t>(index) < slots.size() && !slots[index].seen) slots[index] = {true, value};
    }
    for (const Slot& slot : slots) {
        if (!slot.value) break;  // missing, or a line without "=": reads "0"
        std::string entry = AsRead(*env_, *profile, *slot.value);
        if (entry.empty() || entry == "0") break;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::string> IniSnapshot::NumberedList(const std::string& section) const {
    std::vector<std::string> entries;
    if (!profile_) return entries;
    const ProfileText& profile = *profile_;
    std::vector<std::pair<int, std::string_view>> keys;
    ForEachProfileKey(profile.text, InFileForm(*env_, profile, section),
                      [&](std::string_view name, std::optional<std::string_view> value) {
                          if (const int index = KeepListIndex(name); index >= 0 && value) keys.emplace_back(index, *value);
                      });
    // The first key of an index wins, as for a reader.
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i > 0 && keys[i].first == keys[i - 1].first) continue;
        std::string entry = AsRead(*env_, profile, keys[i].second);
        if (!entry.empty() && entry != "0") entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace settings
