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

PreviewTotal TotalOf(const CleanPreview& preview) {
    PreviewTotal total;
    for (const std::optional<DeleteTally>& tally : preview.targets) {
        if (!tally) continue;
        total.items += tally->removedItems;
        total.bytes += tally->removedBytes;
    }
    return total;
}

int RunUnattendedPreview(const platform::Ports& ports, const std::function<void(const RunRecord&)>& written) {
    RunReport report(ports, RunVariant::kPreview);
    // The record is written, and handed on, once for whichever outcome.
    const auto end = [&](const std::string& outcome, int exitCode) {
        report.Write(outcome, exitCode);
        if (written) written(report.Record());
        return exitCode;
    };
    const settings::IniSnapshot ini(ports, settings::IniFilePath(*ports.environment));
    if (!ini.Readable()) {
        return end("Clean.ini could not be read, nothing previewed", kExitSettingsUnreadable);
    }
    const CleanSettings settings = CleanSettings::Read(ini, *ports.environment);
    report.Options(settings);
    const CleanPreview preview = PreviewClean(ports, settings);
    if (preview.refusal) {
        report.Refused(preview.refusalText);
        return end("a clean would be refused; nothing changed", kExitRefused);
    }
    if (preview.nothingChosen) {
        return end("nothing chosen; nothing changed", kExitAllRemoved);
    }
    // The code the clean would end with: 1 when something would stay, a chosen folder could not
    // be cleaned or a place would be left whole (a browser that runs).
    int exitCode = kExitAllRemoved;
    for (std::size_t i = 0; i < preview.targets.size(); ++i) {
        if (!preview.targets[i]) continue;
        const DeleteTally& tally = *preview.targets[i];
        report.Cleaned(i, true, tally);
        if (tally.keptItems > 0 || tally.foldersNotCleaned > 0 || !tally.skipped.empty()) {
            exitCode = kExitSomethingStayed;
        }
    }
    return end("preview; nothing changed", exitCode);
}

}  // namespace engine
