#include "engine/CleanTargets.h"

#include <algorithm>
#include <array>

#include "engine/UrlCacheClean.h"
#include "engine/Purges.h"
#include "settings/KnownFolders.h"

namespace engine {
namespace {

std::string UserFolder(const CleanSettings& settings) { return settings.userFolder; }
std::string Temp(const CleanSettings& settings) { return settings.tempFolder; }
std::string NoFolder(const CleanSettings&) { return {}; }

void PurgeUserFolder(const platform::Ports& ports, const CleanSettings& s, DeleteTally& t, CleanProgress* p, CleanMode m) {
    PurgeFolderContents(ports, UserFolder(s), t, p, m);
}
void PurgeTemp(const platform::Ports& ports, const CleanSettings& s, DeleteTally& t, CleanProgress* p, CleanMode m) {
    PurgeFolderContents(ports, Temp(s), t, p, m);
}
void CleanCache(const platform::Ports& ports, const CleanSettings& s, DeleteTally& t, CleanProgress* p, CleanMode m) {
    CleanUrlCache(*ports.urlCache, s.keepList, t, p, m);
}

const std::array<CleanTarget, 3> kTargets = {{
    {"User", "Your Selected Folder", "Your Selected Folder", false, UserFolder, PurgeUserFolder},
    {"Temp", "Temp Folder", "Temp Folder", false, Temp, PurgeTemp},
    {"Temporary Internet Files", "Clean Cookie Files", "cookies", true, NoFolder, CleanCache},
}};

}  // namespace

std::span<const CleanTarget> CleanTargets() { return kTargets; }

CleanSettings CleanSettings::Read(const settings::IniSnapshot& ini, platform::Environment& env) {
    CleanSettings settings;
    settings.userFolder = ini.Read("User", "sFile0", "0");
    settings.tempFolder = settings::TempFolder(env);
    for (const CleanTarget& target : kTargets) settings.values.push_back(ini.Read("Delete", std::string(target.key), "0"));
    settings.keepList = ini.KeepList("Internet");
    return settings;
}

bool CleanSettings::NothingChosen() const {
    return std::all_of(values.begin(), values.end(),
                       [](const std::string& value) { return value == "0" || value == "No" || value.empty(); });
}

bool SetsUp(std::string_view value) { return value != "0" && !value.empty(); }

}  // namespace engine
