#include "engine/CleanPreview.h"

#include "engine/RunReport.h"
#include "settings/SettingsFile.h"

namespace engine {

CleanPreview PreviewClean(const platform::Ports& ports, const CleanSettings& settings, CleanProgress* progress) {
    CleanPreview preview;
    if (const std::optional<RefusalFound> found = UserFolderRefusal(ports, settings)) {
        preview.refusal = found->refusal;
        preview.refusalText = found->text;
        return preview;
    }
    preview.nothingChosen = settings.NothingChosen();
    preview.targets.resize(CleanTargets().size());
    for (std::size_t i = 0; i < preview.targets.size() && !preview.nothingChosen; ++i) {
        if (!settings.Chosen(i)) continue;
        if (progress && progress->StopRequested()) {
            preview.stopped = true;
            break;
        }
        const DeleteTally& tally = preview.targets[i].emplace(PreviewTarget(ports, settings, i, progress));
        preview.stopped = preview.stopped || tally.stopped;
    }
    return preview;
}

DeleteTally PreviewTarget(const platform::Ports& ports, const CleanSettings& settings, std::size_t target,
                          CleanProgress* progress) {
    DeleteTally tally;
    CleanTargets()[target].clean(ports, settings, tally, progress, CleanMode::kPreview);
    return tally;
}

int RunUnattendedPreview(const platform::Ports& ports) {
    RunReport report(ports, RunVariant::kPreview);
    const settings::IniSnapshot ini(ports, settings::IniFilePath(*ports.environment));
    if (!ini.Readable()) {
        report.Write("Clean.ini could not be read, nothing previewed", kExitSettingsUnreadable);
        return kExitSettingsUnreadable;
    }
    const CleanSettings settings = CleanSettings::Read(ini, *ports.environment);
    report.Options(settings);
    const CleanPreview preview = PreviewClean(ports, settings);
    if (preview.refusal) {
        report.Refused(preview.refusalText);
        report.Write("a clean would be refused; nothing changed", kExitRefused);
        return kExitRefused;
    }
    if (preview.nothingChosen) {
        report.Write("nothing chosen; nothing changed", kExitAllRemoved);
        return kExitAllRemoved;
    }
    for (std::size_t i = 0; i < preview.targets.size(); ++i) {
        if (preview.targets[i]) report.Cleaned(i, true, *preview.targets[i]);
    }
    report.Write("preview; nothing changed", kExitAllRemoved);
    return kExitAllRemoved;
}

}  // namespace engine
