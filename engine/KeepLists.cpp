#include "engine/KeepLists.h"

#include <algorithm>

#include "common/Form6.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "settings/INISettings.h"

namespace engine {
namespace {

// Larger than any settings file of ours; what cannot be read within it is not replaced.
constexpr std::uint64_t kReadableLimit = 8u << 20;

void EmptyHelperLists() {
    common::Form6& helper = forms::App().Get<common::Form6>();
    helper.List1.Clear();
    helper.List2.Clear();
    helper.List3.Clear();
}

// One "key=value" line as WriteINI would store it: line breaks become blanks, ANSI text.
void AppendKey(std::string& out, const std::string& key, std::string value) {
    std::replace(value.begin(), value.end(), '\r', ' ');
    std::replace(value.begin(), value.end(), '\n', ' ');
    out += key;
    out += '=';
    out += platform::Env().ToAnsi(value);
    out += "\r\n";
}

void AppendList(std::string& out, const char* section, const std::vector<std::string>& entries) {
    if (entries.empty()) return;
    out += "[";
    out += section;
    out += "]\r\n";
    for (size_t i = 0; i < entries.size(); ++i) AppendKey(out, "sFile" + std::to_string(i), entries[i]);
}

}  // namespace

void SaveInternetKeepList(const std::vector<std::string>& savedList) {
    EmptyHelperLists();
    const std::string file = settings::IniFilePath();
    if (platform::Files().Exists(file) && !platform::Files().ReadWholeFile(file, kReadableLimit)) return;

    const std::string user = settings::ReadINI(file, "User", "sFile0", "0");
    const std::string temp = settings::ReadINI(file, "Delete", "Temp", "0");
    const std::string cache = settings::ReadINI(file, "Delete", "Temporary Internet Files", "0");
    const std::string userOption = settings::ReadINI(file, "Delete", "User", "0");
    const std::vector<std::string> cookies = settings::ReadKeepList("Cookies");

    std::string text = "[User]\r\n";
    AppendKey(text, "sFile0", user);
    text += "[Delete]\r\n";
    AppendKey(text, "Temp", temp);
    AppendKey(text, "Temporary Internet Files", cache);
    AppendKey(text, "User", userOption);
    AppendList(text, "Internet", savedList);
    AppendList(text, "Cookies", cookies);
    platform::Files().ReplaceWholeFile(file, text);

    EmptyHelperLists();
}

}  // namespace engine
