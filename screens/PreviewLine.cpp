#include "screens/PreviewLine.h"

#include <algorithm>
#include <memory>

#include "engine/Amounts.h"
#include "forms/Application.h"
#include "screens/Backdrop.h"
#include "settings/SettingsFile.h"

namespace screens {
namespace {

constexpr const char* kWorkingOut = "Working out what a clean now would remove ...";

}  // namespace

struct PreviewLine::Job {
    engine::CleanSettings settings;
    engine::CleanProgress progress;
    engine::CleanPreview result;
};

void PreviewLine::SetLine(forms::Application& app, const std::string& text) {
    lineShown_ = !text.empty();
    Backdrop* backdrop = app.Find<Backdrop>();
    if (!backdrop) return;
    backdrop->progressLine.SetCaption(text);
    backdrop->progressLine.SetVisible(lineShown_);
}

void PreviewLine::Abandon() {
    if (current_) current_->progress.RequestStop();
    current_.reset();
}

void PreviewLine::Show(forms::Application& app) {
    Abandon();
    // A clean that runs has the line for its progress.
    if (cleaner_.Running()) return;
    auto job = std::make_shared<Job>();
    job->settings = engine::CleanSettings::Read(
        settings::IniSnapshot(ports_, settings::IniFilePath(*ports_.environment)), *ports_.environment);
    current_ = job;
    SetLine(app, kWorkingOut);
    app.Desktop().StartBeside(
        [job, ports = ports_] { job->result = engine::PreviewClean(ports, job->settings, &job->progress); }, 250, {},
        [this, &app, job] {
            if (current_ != job) return;  // abandoned meanwhile
            current_.reset();
            SetLine(app, PreviewText(job->result));
        });
}

void PreviewLine::End(forms::Application& app) {
    Abandon();
    // A clean that runs has taken the line over.
    if (lineShown_ && !cleaner_.Running()) SetLine(app, "");
    lineShown_ = false;
}

std::string PreviewPartText(const engine::CleanTarget& target, const engine::DeleteTally& tally) {
    if (tally.foldersNotCleaned > 0) return "cannot be cleaned";
    if (!tally.skipped.empty() && tally.foldersFound == 0) {
        // Every place was left: why, each reason once.
        std::vector<std::string> reasons;
        for (const engine::SkippedPlace& skipped : tally.skipped) {
            if (std::find(reasons.begin(), reasons.end(), skipped.reason) == reasons.end()) reasons.push_back(skipped.reason);
        }
        std::string why;
        for (const std::string& reason : reasons) why += (why.empty() ? "" : "; ") + reason;
        return "skipped: " + why;
    }
    if (tally.absent && tally.skipped.empty()) return "not there";
    if (target.CountsEntries()) {
        return engine::CountText(tally.removedItems) + " of " +
               engine::CountText(tally.removedItems + tally.spared + tally.keptItems) + " entries";
    }
    std::string text = engine::ItemsText(tally.removedItems) + ", " + engine::BytesText(tally.removedBytes);
    const std::size_t skipped = tally.skipped.size();
    if (skipped > 0) text += "; " + engine::CountText(skipped) + (skipped == 1 ? " place skipped" : " places skipped");
    return text;
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
        items += tally.removedItems;
        bytes += tally.removedBytes;
        parts += (parts.empty() ? "" : "; ") + std::string(targets[i].shortName) + " " + PreviewPartText(targets[i], tally);
    }
    if (parts.empty()) return start + "remove nothing: nothing is chosen";
    return start + "remove " + engine::ItemsText(items) + ", " + engine::BytesText(bytes) + ": " + parts;
}

}  // namespace screens
