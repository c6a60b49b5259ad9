#include "engine/KeepLists.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "engine/CleanTargets.h"
#include "platform/Ports.h"
#include "platform/Text.h"
#include "settings/SettingsFile.h"

namespace engine {
namespace {

// One "key=value" line as WriteINI would store it: ANSI text, line breaks as blanks. Plain
// ASCII, by far the usual value, is the same in every code page and goes in as it is.
void AppendKey(platform::Environment& env, std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += '=';
    const bool plain = std::all_of(value.begin(), value.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80 && c != '\r' && c != '\n';
    });
    if (plain) {
        out += value;
    } else {
        std::string line(value);
        std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        out += env.ToAnsi(line);
    }
    out += "\r\n";
}

void AppendList(platform::Environment& env, std::string& out, const char* section,
                const std::vector<std::string>& entries) {
    if (entries.empty()) return;
    out += "[";
    out += section;
    out += "]\r\n";
    char key[16] = "sFile";
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto end = std::to_chars(key + 5, key + sizeof(key), i).ptr;
        AppendKey(env, out, std::string_view(key, static_cast<size_t>(end - key)), entries[i]);
    }
}

// What a rewrite carries over from the old file, all from one reading of it.
struct Carried {
    std::string user;
    std::vector<std::pair<std::string, std::string>> options;  // [Delete], the table's keys first
    std::vector<std::string> cookies;
    // What a clean keeps back: a rewrite that dropped it would have the next clean delete it.
    std::vector<std::pair<std::string, std::string>> keepNewer;
    std::vector<std::string> keptPaths;
};

Carried ReadCarried(const settings::IniSnapshot& old) {
    Carried carried{old.Read("User", "sFile0"), {}, old.KeepList("Cookies"), old.Keys("Keep Newer"),
                    old.NumberedList("Keep")};
    // The keys the program began with, always, in the order its first writer had them (that of
    // their names); then every other target of the table that has a value.
    std::vector<std::string_view> always, others;
    for (const CleanTarget& target : CleanTargets()) (target.alwaysStored ? always : others).push_back(target.key);
    std::sort(always.begin(), always.end());
    for (const std::string_view key : always) carried.options.emplace_back(key, old.Read("Delete", std::string(key)));
    const std::vector<std::pair<std::string, std::string>> stored = old.Keys("Delete");
    for (const std::string_view key : others) {
        const auto found = std::find_if(stored.begin(), stored.end(),
                                        [&](const auto& entry) { return text::EqualsNoCase(entry.first, key); });
        if (found != stored.end()) carried.options.emplace_back(key, found->second);
    }
    // Every other option of [Delete] goes along too: a cleaning target this program does not
    // know of keeps its setting.
    for (const auto& [key, value] : stored) {
        if (std::none_of(CleanTargets().begin(), CleanTargets().end(),
                         [&](const CleanTarget& target) { return text::EqualsNoCase(target.key, key); })) {
            carried.options.emplace_back(key, value);
        }
    }
    return carried;
}

}  // namespace

platform::FsError SaveInternetKeepList(const platform::Ports& ports, const std::vector<std::string>& savedList) {
    platform::Environment& env = *ports.environment;
    const std::string file = settings::IniFilePath(env);
    const settings::IniSnapshot old(ports, file);
    if (!old.Readable()) return platform::FsError::kOther;  // replacing a file we cannot read would lose the settings
    const Carried carried = ReadCarried(old);

    size_t size = 200;
    for (const auto* list : {&savedList, &carried.cookies, &carried.keptPaths}) {
        for (const std::string& entry : *list) size += entry.size() + 16;
    }
    std::string text;
    text.reserve(size);
    text += "[User]\r\n";
    AppendKey(env, text, "sFile0", carried.user);
    text += "[Delete]\r\n";
    for (const auto& [key, value] : carried.options) AppendKey(env, text, key, value);
    AppendList(env, text, "Internet", savedList);
    AppendList(env, text, "Cookies", carried.cookies);
    if (!carried.keepNewer.empty()) text += "[Keep Newer]\r\n";
    for (const auto& [key, value] : carried.keepNewer) AppendKey(env, text, key, value);
    AppendList(env, text, "Keep", carried.keptPaths);
    return ports.fileSystem->TryReplaceWholeFile(file, text);
}

}  // namespace engine
