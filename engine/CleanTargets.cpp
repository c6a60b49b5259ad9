#include "engine/CleanTargets.h"

#include <algorithm>
#include <array>

#include "engine/UrlCacheClean.h"
#include "engine/KeptBack.h"
#include "engine/Purges.h"
#include "settings/KnownFolders.h"

namespace engine {
namespace {

std::string UserFolder(const CleanSettings& settings) { return settings.userFolder; }
std::string Temp(const CleanSettings& settings) { return settings.tempFolder; }
std::string NoFolder(const CleanSettings&) { return {}; }

// The purge of a folder target, keeping back what its age limit and the kept paths keep.
void PurgeKeepingBack(const platform::Ports& ports, const CleanSettings& s, std::size_t target, const std::string& folder,
                      DeleteTally& t, CleanProgress* p, CleanMode m) {
    if (p && p->StopRequested()) {
        t.stopped = true;
        return;
    }
    const std::optional<KeepBack> keep = MakeKeepBack(*ports.fileSystem, s.start, s.keepNewer[target], s.keptPaths);
    if (!keep) {
        // Deleting what the user meant to keep, for want of reading the limit, would lose it.
        t.walkedWhole = false;
        t.ageLimitUnreadable = true;
        ++t.foldersNotCleaned;
        return;
    }
    t.keptPathsNotFound = keep->notFound;
    const bool keeps = keep->newerThan || !keep->paths.empty() || !keep->spelled.empty();
    PurgeFolderContents(ports, folder, t, p, m, keeps ? &*keep : nullptr);
    for (const std::size_t met : t.keptMet) t.keptPathsMet.push_back(s.keptPaths[met]);
    t.walkedWhole = !t.stopped && t.foldersNotCleaned == 0;
}

void PurgeUserFolder(const platform::Ports& ports, const CleanSettings& s, DeleteTally& t, CleanProgress* p, CleanMode m) {
    PurgeKeepingBack(ports, s, 0, UserFolder(s), t, p, m);
}
void PurgeTemp(const platform::Ports& ports, const CleanSettings& s, DeleteTally& t, CleanProgress* p, CleanMode m) {
    PurgeKeepingBack(ports, s, 1, Temp(s), t, p, m);
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
    settings.start = env.FileTimeNow();
    for (const CleanTarget& target : kTargets) {
        settings.values.push_back(ini.Read("Delete", std::string(target.key), "0"));
        settings.keepNewer.push_back(ini.Read("Keep Newer", std::string(target.key), ""));
    }
    settings.keepList = ini.KeepList("Internet");
    settings.keptPaths = ini.NumberedList("Keep");
    return settings;
}

bool CleanSettings::NothingChosen() const {
    return std::all_of(values.begin(), values.end(),
                       [](const std::string& value) { return value == "0" || value == "No" || value.empty(); });
}

bool SetsUp(std::string_view value) { return value != "0" && !value.empty(); }

}  // namespace engine
