#include "engine/CleanTargets.h"

#include <algorithm>

#include "engine/BrowserCaches.h"
#include "engine/Purges.h"
#include "engine/Reasons.h"
#include "engine/RecycleBinClean.h"
#include "engine/UrlCacheClean.h"
#include "settings/KnownFolders.h"

namespace engine {
namespace {

std::string NoPlace(const CleanSettings&) { return {}; }

CleanTarget FolderTarget(std::string_view key, std::string_view label, std::string (*folder)(const CleanSettings&)) {
    return {key,  label, label, TargetKind::kFolder, true, folder, {},
            [folder](const platform::Ports& ports, const CleanSettings& s, DeleteTally& t, CleanProgress* p,
                     CleanMode m) { PurgeFolderContents(ports, folder(s), t, p, m); }};
}

// A target of many folders: they are worked out at its turn, so that a browser started while an
// earlier target was cleaned is seen running.
CleanTarget FolderSetTarget(std::string_view key, std::string_view shortName,
                            std::function<std::string(const CleanSettings&)> place,
                            std::function<FolderSet(const platform::Ports&, const CleanSettings&)> folders) {
    CleanTarget target{key, key, shortName, TargetKind::kFolderSet, false, std::move(place), std::move(folders), {}};
    target.clean = [folders = target.folders](const platform::Ports& ports, const CleanSettings& s, DeleteTally& t,
                                              CleanProgress* p, CleanMode m) {
        if (p && p->StopRequested()) {
            t.stopped = true;
            return;
        }
        CleanFolderSet(ports, folders(ports, s), t, p, m);
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
                    CleanMode mode) {
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
        PurgeFoundFolder(ports, protectedFolders, folder.path, folder.identity, tally, progress, mode);
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
    settings.localAppData = env.Variable("LOCALAPPDATA").value_or("");
    settings.appData = env.Variable("APPDATA").value_or("");
    for (const CleanTarget& target : CleanTargets()) {
        settings.values.push_back(ini.Read("Delete", std::string(target.key), "0"));
    }
    settings.keepList = ini.KeepList("Internet");
    return settings;
}

bool CleanSettings::NothingChosen() const {
    return std::all_of(values.begin(), values.end(),
                       [](const std::string& value) { return value == "0" || value == "No" || value.empty(); });
}

bool SetsUp(std::string_view value) { return value != "0" && !value.empty(); }

}  // namespace engine
