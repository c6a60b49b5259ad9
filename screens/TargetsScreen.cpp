#include "screens/TargetsScreen.h"

#include <algorithm>

#include "engine/Amounts.h"
#include "engine/CleanPreview.h"
#include "engine/CleanTargets.h"
#include "engine/RunReport.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/PreviewLine.h"
#include "screens/SettingNotSaved.h"
#include "screens/SidePicture.h"
#include "settings/SettingsFile.h"

namespace screens {
namespace {

constexpr double kRowTop = 600;
constexpr double kRowHeight = 300;
constexpr double kWidth = 7800;
constexpr const char* kWorkingOut = "working it out ...";  // and, for the one in hand, how far

double ClientHeight() { return kRowTop + kRowHeight * static_cast<double>(engine::CleanTargets().size()) + 600; }

}  // namespace

TargetsScreen::TargetsScreen(const ScreenServices& services)
    : Screen(services, {"Targets", "  Kavlon Tarnwick----Everything A Clean Can Clean", "Choose what to clean!", 50, 500,
                        50, CloseKind::kHideBackdropBusy, true, false},
             kWidth, ClientHeight()) {
    const auto targets = engine::CleanTargets();
    sidePicture.Move(0, 0, 1335, ClientHeight());
    services.sidePicture->Show(sidePicture);
    heading.Move(1440, 120, kWidth - 1560, 375);
    heading.SetFont({"MS Sans Serif", 9.75, true, false});
    heading.SetCaption("What a clean now would free");
    const platform::FontSpec boxFont{"MS Sans Serif", 9.75, true, true};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const double top = kRowTop + kRowHeight * static_cast<double>(i);
        auto& box = *boxes.emplace_back(std::make_unique<forms::CheckBox>(*this, "TargetCheck" + std::to_string(i + 1)));
        box.Move(1440, top, 2775, 255);
        box.SetFont(boxFont);
        box.SetCaption(std::string(targets[i].label));
        box.onClick = [this, i] { StoreOption(i); };
        auto& amount = *amounts.emplace_back(std::make_unique<forms::Label>(*this, "TargetLabel" + std::to_string(i + 1)));
        amount.Move(4320, top + 30, kWidth - 4440, 255);
        amount.SetCaption(kWorkingOut);
    }
    total.Move(1440, kRowTop + kRowHeight * static_cast<double>(targets.size()) + 120, kWidth - 1560, 375);
    SetCommands({
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<CleanOptionsScreen>()},
        {"sClose", "Close", CommandKind::kClose, {}, platform::kPointerHourglass},
    });
}

TargetsScreen::~TargetsScreen() = default;

void TargetsScreen::LoadContent() {
    const settings::IniSnapshot ini(Ports(), settings::IniFilePath(*Ports().environment));
    // Only the exact "Yes" ticks a box, as on the clean options.
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->SetValue(ini.Read("Delete", std::string(engine::CleanTargets()[i].key), "0") == "Yes");
    }
    ShowResults();
}

void TargetsScreen::Form_Activate() {
    Screen::Form_Activate();
    // A clean that runs comes first; this screen is hidden meanwhile anyway.
    if (Services().cleaner->Running()) return;
    if (!previews_) {
        previews_ = std::make_unique<TargetPreviews>(Ports(), App().Desktop());
        previews_->onChange = [this] {
            if (Services().cleaner->Running()) {
                previews_->GiveUp();
                stale_ = true;
                return;
            }
            ShowResults();
        };
    }
    engine::CleanSettings settings = engine::CleanSettings::Read(
        settings::IniSnapshot(Ports(), settings::IniFilePath(*Ports().environment)), *Ports().environment);
    userFolderSet_ = settings.userFolder != "0" && !settings.userFolder.empty();
    std::fill(settings.values.begin(), settings.values.end(), std::string("Yes"));  // every target, chosen or not
    // What is known serves while the files it came from are the same; after a clean it is
    // worked out anew.
    previews_->Want(settings, stale_);
    stale_ = false;
    ShowResults();
}

void TargetsScreen::Form_Unload() {
    if (previews_) previews_->GiveUp();
    Screen::Form_Unload();
}

bool TargetsScreen::WorkedOut() const { return previews_ && previews_->Complete(); }

void TargetsScreen::ShowResults() {
    const auto targets = engine::CleanTargets();
    const engine::CleanPreview known = previews_ ? previews_->Known() : engine::CleanPreview{};
    const auto inHand = previews_ ? previews_->InHand() : std::nullopt;
    std::uint64_t items = 0, bytes = 0;
    bool complete = true, anyChosen = false;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const bool found = i < known.targets.size() && known.targets[i];
        std::string text = kWorkingOut;
        if (known.refusal) {
            text = i == engine::kUserFolderTarget ? "would be refused" : "not looked at: a clean would be refused";
        } else if (i == engine::kUserFolderTarget && !userFolderSet_) {
            text = "no folder chosen";
        } else if (found) {
            text = PreviewPartText(targets[i], *known.targets[i]);
        } else if (inHand && inHand->target == i) {
            text = std::string(kWorkingOut) + " " + engine::ItemsText(inHand->soFar.items) + ", " +
                   engine::BytesText(inHand->soFar.bytes) + " so far";
        }
        if (amounts[i]->Caption() != text) amounts[i]->SetCaption(text);
        if (boxes[i]->Value() != 1) continue;
        anyChosen = true;
        complete = complete && found;
        if (found) {
            items += known.targets[i]->removedItems;
            bytes += known.targets[i]->removedBytes;
        }
    }
    std::string sum = "Nothing is chosen.";
    if (anyChosen && known.refusal) {
        sum = "A clean now would be refused: " + known.refusalText;
    } else if (anyChosen) {
        sum = std::string(complete ? "The chosen ones would free " : "So far the chosen ones would free ") +
              engine::ItemsText(items) + ", " + engine::BytesText(bytes) + ".";
    }
    if (total.Caption() != sum) total.SetCaption(sum);
}

void TargetsScreen::StoreOption(std::size_t target) {
    const std::string ini = settings::IniFilePath(*Ports().environment);
    const std::string key(engine::CleanTargets()[target].key);
    App().SetMousePointer(platform::kPointerArrowHourglass);
    pointerTimer.SetEnabled(true);
    const platform::FsError stored =
        settings::WriteINI(Ports(), ini, "Delete", key, boxes[target]->Value() == 1 ? "Yes" : "No");
    if (stored != platform::FsError::kNone) {
        // The box says what a clean will do: what is stored.
        boxes[target]->SetValue(settings::ReadINI(Ports(), ini, "Delete", key, "0") == "Yes");
        TellIfNotSaved(App(), ini, stored);
    }
    // Every target is worked out whether chosen or not: the sum only counts again.
    ShowResults();
}

}  // namespace screens
