#include "screens/PreviewLine.h"

#include <memory>

#include "engine/Amounts.h"
#include "forms/Application.h"
#include "screens/Backdrop.h"
#include "settings/SettingsFile.h"

namespace screens {
namespace {

constexpr const char* kWorkingOut = "Working out what a clean now would remove ...";

struct PreviewJob {
    engine::CleanSettings settings;
    engine::CleanProgress progress;
    engine::CleanPreview result;
};

// The preview being worked out, and whether the line shows one; window thread only.
std::shared_ptr<PreviewJob> current;
bool lineShown = false;

void SetLine(const std::string& text) {
    lineShown = !text.empty();
    Backdrop* backdrop = forms::App().Find<Backdrop>();
    if (!backdrop) return;
    backdrop->progressLine.SetCaption(text);
    backdrop->progressLine.SetVisible(lineShown);
}

void Abandon() {
    if (current) current->progress.RequestStop();
    current.reset();
}

}  // namespace

void ShowCleanPreview() {
    Abandon();
    // A clean that runs has the line for its progress.
    if (engine::CleanRunning()) return;
    auto job = std::make_shared<PreviewJob>();
    job->settings = engine::CleanSettings::Read(settings::IniSnapshot(settings::IniFilePath()));
    current = job;
    SetLine(kWorkingOut);
    forms::App().Desktop().StartBeside(
        [job] { job->result = engine::PreviewClean(job->settings, &job->progress); }, 250, {},
        [job] {
            if (current != job) return;  // abandoned meanwhile
            current.reset();
            SetLine(PreviewText(job->result));
        });
}

void EndCleanPreview() {
    Abandon();
    // A clean that runs has taken the line over.
    if (lineShown && !engine::CleanRunning()) SetLine("");
    lineShown = false;
}

std::string PreviewText(const engine::CleanPreview& preview) {
    const std::string start = "A clean now would ";
    if (preview.refusal) return start + "be refused: " + preview.refusalText;
    std::uint64_t items = 0, bytes = 0;
    std::string parts;
    const auto targets = engine::CleanTargets();
    for (std::size_t i = 0; i < preview.targets.size(); ++i) {
        if (!preview.targets[i]) continue;
        const engine::DeleteTally& tally = *preview.targets[i];
        const engine::CleanTarget& target = targets[i];
        items += tally.removedItems;
        bytes += tally.removedBytes;
        std::string part(target.shortName);
        if (tally.foldersNotCleaned > 0) {
            part += " cannot be cleaned";
        } else if (target.countsEntries) {
            part += " " + engine::CountText(tally.removedItems) + " of " +
                    engine::CountText(tally.removedItems + tally.spared + tally.keptItems) + " entries";
        } else {
            part += " " + engine::ItemsText(tally.removedItems) + ", " + engine::BytesText(tally.removedBytes);
        }
        parts += (parts.empty() ? "" : "; ") + part;
    }
    if (parts.empty()) return start + "remove nothing: nothing is chosen";
    return start + "remove " + engine::ItemsText(items) + ", " + engine::BytesText(bytes) + ": " + parts;
}

}  // namespace screens
