#include "engine/CleanTargets.h"

#include <algorithm>

#include "engine/BrowserCaches.h"
#include "engine/KeptBack.h"
#include "engine/Purges.h"
#include "engine/Reasons.h"
#include "engine/RecycleBinClean.h"
#include "engine/UrlCacheClean.h"
#include "settings/KnownFolders.h"

namespace engine {
namespace {

std::string NoPlace(const CleanSettings&) { return {}; }

// A folder target's clean, keeping back what its age limit ([Keep Newer] under its key) and
// the kept paths keep: worked out at its turn, then handed to purge (null: nothing to keep).
void KeepingBack(const platform::Ports& ports, const CleanSettings& s, std::string_view key, DeleteTally& t,
                 CleanProgress* p, const std::function<void(const KeepBack*)>& purge) {
    if (p && p->StopRequested()) {
        t.stopped = true;
        return;
    }
    const auto targets = CleanTargets();
    const auto at = static_cast<std::size_t>(
        std::find_if(targets.begin(), targets.end(), [&](const CleanTarget& target) { return target.key == key; }) -
        targets.begin());
    const std::string ageLimit = at < s.keepNewer.size() ? s.keepNewer[at] : "";
    const std::optional<KeepBack> keep = MakeKeepBack(*ports.fileSystem, s.start, ageLimit, s.keptPaths);
    if (!keep) {
        // Deleting what the user meant to keep, for want of reading the limit, would lose it.
        t.walkedWhole = false;
        t.ageLimitUnreadable = true;
        ++t.foldersNotCleaned;
        return;
    }
    t.keptPathsNotFound = keep->notFound;
    const bool keeps = keep->newerThan || !keep->paths.empty() || !keep->spelled.empty();
    purge(keeps ? &*keep : nullptr);
    for (const std::size_t met : t.keptMet) t.keptPathsMet.push_back(s.keptPaths[met]);
    t.walkedWhole = !t.stopped && t.foldersNotCleaned == 0 && t.skipped.empty();
}

CleanTarget FolderTarget(std::string_view key, std::string_view label, std::string (*folder)(const CleanSettings&)) {
    return {key,  label, label, TargetKind::kFolder, true, folder, {},
            [key, folder](const platform::Ports& ports, const CleanSettings& s, DeleteTally& t, CleanProgress* p,
                     CleanMode m) {
                KeepingBack(ports, s, key, t, p, [&](const KeepBack* keep) { PurgeFolderContents(ports, folder(s), t, p, m, keep); });
            }};
}

// A target of many folders: they are worked out at its turn, so that a browser started while an
// earlier target was cleaned is seen running.
CleanTarget FolderSetTarget(std::string_view key, std::string_view shortName,
                            std::function<std::string(const CleanSettings&)> place,
                            std::function<FolderSet(const platform::Ports&, const CleanSettings&)> folders) {
    CleanTarget target{key, key, shortName, TargetKind::kFolderSet, false, std::move(place), std::move(folders), {}};
    target.clean = [key, folders = target.folders](const platform::Ports& ports, const CleanSettings& s,
                                                   DeleteTally& t, CleanProgress* p, CleanMode m) {
        KeepingBack(ports, s, key, t, p,
                    [&](const KeepBack* keep) { CleanFolderSet(ports, folders(ports, s), t, p, m, keep); });
    };
    return target;
}

std::vector<CleanTarget> MakeTargets() {
    std::vector<CleanTarget> targets = {
        FolderTarget("User", "Your Selected Folder", [](const CleanSettings& s) { return s.userFolder; }),
        FolderTarget("Temp", "Temp Folder", [](const CleanSettings& s) { return s.tempFolder; }),
        {"Temporary Internet Files", "Clean Cookie Files", "cookies", TargetKind::kUrlCache, true, NoPlace, {},
         [](const platform::Ports& ports, const CleanSettings& s, DeleteTally& t, CleanProgress* p, CleanMode m) {
             CleanUrlCache(*ports.urlCache, s.keepList, t, p, m);
         }},
    };
    for (const ChromiumBrowser& browser : ChromiumBrowsers()) {
        targets.push_back(FolderSetTarget(
            browser.key, browser.shortName, [&browser](const CleanSettings& s) { return ChromiumUserData(s, browser); },
            [&browser](const platform::Ports& ports, const CleanSettings& s) {
                return ChromiumCacheFolders(ports, s, browser);
            }));
    }
    targets.push_back(FolderSetTarget("Firefox Cache", "Firefox cache", FirefoxProfiles, FirefoxCacheFolders));
    targets.push_back({"Recycle Bin", "Recycle Bin", "Recycle Bin", TargetKind::kShell, false, NoPlace, {},
                       [](const platform::Ports& ports, const CleanSettings&, DeleteTally& t, CleanProgress* p,
                          CleanMode m) {
                           if (ports.recycleBin) {
                               CleanRecycleBin(*ports.recycleBin, t, p, m);
                           } else {
                               ++t.foldersNotCleaned;  // no shell to ask
                           }
                       }});
    return targets;
}

}  // namespace

std::span<const CleanTarget> CleanTargets() {
    static const std::vector<CleanTarget> targets = MakeTargets();
    return targets;
}

void CleanFolderSet(const platform::Ports& ports, const FolderSet& set, DeleteTally& tally, CleanProgress* progress,
                    CleanMode mode, const KeepBack* keep) {
    tally.absent = set.absent;
    tally.skipped.insert(tally.skipped.end(), set.skipped.begin(), set.skipped.end());
    tally.foldersFound += set.folders.size();
    if (set.folders.empty()) return;
    // One reading of the protected folders serves every folder of the set.
    const settings::ProtectedIdentities protectedFolders = settings::ProtectedIdentities::Read(ports);
    for (const FoundFolder& folder : set.folders) {
        const std::uint64_t notCleaned = tally.foldersNotCleaned, notListed = tally.foldersNotListed;
        const platform::FsError openError = tally.openError;
        tally.openError = platform::FsError::kNone;
        PurgeFoundFolder(ports, protectedFolders, folder.path, folder.identity, tally, progress, mode, keep);
        // A cache folder that is no longer what was found, or cannot be opened or listed, is left
        // as it is: one place of many, not the whole target.
        if (tally.foldersNotCleaned > notCleaned) {
            const std::string why = tally.foldersNotListed > notListed ? "could not be listed"
                                    : tally.openError != platform::FsError::kNone
                                        ? "could not be opened: " + ReasonWords(tally.openError)
                                        : "changed since it was found";
            tally.foldersNotCleaned = notCleaned, tally.foldersNotListed = notListed;
            tally.skipped.push_back({folder.path, why});
        }
        tally.openError = openError;
        if (tally.stopped) return;
    }
}

CleanSettings CleanSettings::Read(const settings::IniSnapshot& ini, platform::Environment& env) {
    CleanSettings settings;
    settings.userFolder = ini.Read("User", "sFile0", "0");
    settings.tempFolder = settings::TempFolder(env);
    settings.start = env.FileTimeNow();
    settings.localAppData = env.Variable("LOCALAPPDATA").value_or("");
    settings.appData = env.Variable("APPDATA").value_or("");
    for (const CleanTarget& target : CleanTargets()) {
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
