#include "engine/CleanPreview.h"

#include "engine/RunReport.h"
#include "settings/SettingsFile.h"

namespace engine {

CleanPreview PreviewClean(const CleanSettings& settings, CleanProgress* progress) {
    CleanPreview preview;
    if (const std::optional<RefusalFound> found = UserFolderRefusal(settings)) {
        preview.refusal = found->refusal;
        preview.refusalText = found->text;
        return preview;
    }
    preview.nothingChosen = settings.NothingChosen();
    const auto targets = CleanTargets();
    preview.targets.resize(targets.size());
    for (std::size_t i = 0; i < targets.size() && !preview.nothingChosen; ++i) {
        if (!settings.Chosen(i)) continue;
        if (progress && progress->StopRequested()) {
            preview.stopped = true;
            break;
        }
        DeleteTally& tally = preview.targets[i].emplace();
        targets[i].clean(settings, tally, progress, CleanMode::kPreview);
        preview.stopped = preview.stopped || tally.stopped;
    }
    return preview;
}

int RunUnattendedPreview() {
    RunReport report(RunVariant::kPreview);
    const settings::IniSnapshot ini(settings::IniFilePath());
    if (!ini.Readable()) {
        report.Write("Clean.ini could not be read, nothing previewed", kExitSettingsUnreadable);
        return kExitSettingsUnreadable;
    }
    const CleanSettings settings = CleanSettings::Read(ini);
    report.Options(settings);
    const CleanPreview preview = PreviewClean(settings);
    if (preview.refusal) {
        report.Refused(preview.refusalText);
        report.Write("a clean would be refused; nothing changed", kExitRefused);
        return kExitRefused;
    }
    if (preview.nothingChosen) {
        report.Write("nothing chosen; nothing changed", kExitAllRemoved);
        return kExitAllRemoved;
    }
    // The code the clean would end with: 1 when something would stay or a chosen folder could
    // not be cleaned.
    int exitCode = kExitAllRemoved;
    for (std::size_t i = 0; i < preview.targets.size(); ++i) {
        if (!preview.targets[i]) continue;
        report.Cleaned(i, true, *preview.targets[i]);
        if (preview.targets[i]->keptItems > 0 || preview.targets[i]->foldersNotCleaned > 0) {
            exitCode = kExitSomethingStayed;
        }
    }
    report.Write("preview; nothing changed", exitCode);
    return exitCode;
}

}  // namespace engine
