#include "screens/PreviewLine.h"

#include <algorithm>

#include "engine/Amounts.h"
#include "forms/Application.h"
#include "screens/Backdrop.h"
#include "settings/SettingsFile.h"

namespace screens {
namespace {

constexpr const char* kWorkingOut = "Working out what a clean now would remove";

}  // namespace

PreviewLine::PreviewLine(const platform::Ports& ports, platform::Desktop& desktop, engine::Cleaner& cleaner)
    : ports_(ports), cleaner_(cleaner), previews_(ports, desktop) {
    previews_.onChange = [this] { Refresh(); };
}

void PreviewLine::SetLine(forms::Application& app, const std::string& text) {
    lineShown_ = !text.empty();
    Backdrop* backdrop = app.Find<Backdrop>();
    if (!backdrop) return;
    if (backdrop->progressLine.Caption() != text) backdrop->progressLine.SetCaption(text);
    backdrop->progressLine.SetVisible(lineShown_);
}

void PreviewLine::Refresh() {
    if (!app_) return;
    const engine::CleanPreview known = previews_.Known();
    SetLine(*app_, previews_.Complete() ? PreviewText(known) : CountingText(known, previews_.InHand()));
}

void PreviewLine::Want(forms::Application& app, bool fresh) {
    // A clean that runs has the line for its progress.
    if (cleaner_.Running()) return;
    app_ = &app;
    previews_.Want(engine::CleanSettings::Read(settings::IniSnapshot(ports_, settings::IniFilePath(*ports_.environment)),
                                               *ports_.environment),
                   fresh);
    Refresh();
}

void PreviewLine::Show(forms::Application& app) { Want(app, true); }

void PreviewLine::Update(forms::Application& app) { Want(app, false); }

void PreviewLine::End(forms::Application& app) {
    previews_.GiveUp();
    app_ = nullptr;
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

std::string CountingText(const engine::CleanPreview& known, const std::optional<TargetPreviews::Walking>& inHand) {
    engine::PreviewTotal soFar = engine::TotalOf(known);
    if (inHand) {
        soFar.items += inHand->soFar.items;
        soFar.bytes += inHand->soFar.bytes;
    }
    return std::string(kWorkingOut) + ", counting: " + engine::ItemsText(soFar.items) + ", " +
           engine::BytesText(soFar.bytes) + " so far";
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
