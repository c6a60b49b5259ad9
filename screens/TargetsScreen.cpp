#include "screens/TargetsScreen.h"

#include <algorithm>
#include <mutex>

#include "engine/Amounts.h"
#include "engine/CleanPreview.h"
#include "engine/CleanTargets.h"
#include "engine/RunReport.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/PreviewLine.h"
#include "screens/SidePicture.h"
#include "settings/SettingsFile.h"

namespace screens {
namespace {

constexpr double kRowTop = 600;
constexpr double kRowHeight = 300;
constexpr double kWidth = 7800;
// The amounts are redrawn this often while they are worked out.
constexpr int kTickMs = 50;
constexpr const char* kWorkingOut = "working it out ...";

double ClientHeight() { return kRowTop + kRowHeight * static_cast<double>(engine::CleanTargets().size()) + 600; }

}  // namespace

// The work beside the windows and what it has found so far. The screen reads it on the window
// thread; the screen may go first (screen is then null).
struct TargetsScreen::Job {
    TargetsScreen* screen = nullptr;
    platform::Ports ports;
    engine::CleanSettings settings;
    engine::CleanProgress progress;  // its stop gives the work up
    std::mutex lock;
    std::vector<std::optional<engine::DeleteTally>> found;
    std::optional<std::string> refusal;
};

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
    results_.resize(targets.size());
}

TargetsScreen::~TargetsScreen() { Abandon(); }

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
    // Worked out once a screen; given up by a clean, taken up again when the screen comes back.
    if (!job_ && !WorkedOut()) Start();
}

void TargetsScreen::Form_Unload() {
    Abandon();
    Screen::Form_Unload();
}

bool TargetsScreen::WorkedOut() const {
    return std::all_of(results_.begin(), results_.end(), [](const auto& result) { return result.has_value(); });
}

void TargetsScreen::Start() {
    // A clean that runs comes first; this screen is hidden meanwhile anyway.
    if (Services().cleaner->Running()) return;
    auto job = std::make_shared<Job>();
    job->screen = this;
    job->ports = Ports();
    job->settings = engine::CleanSettings::Read(settings::IniSnapshot(Ports(), settings::IniFilePath(*Ports().environment)),
                                                *Ports().environment);
    job->found.resize(results_.size());
    userFolderSet_ = job->settings.userFolder != "0" && !job->settings.userFolder.empty();
    job_ = job;
    App().Desktop().StartBeside(
        [job] {
            const auto refused = engine::UserFolderRefusal(job->ports, job->settings);
            if (refused) {
                const std::lock_guard<std::mutex> hold(job->lock);
                job->refusal = refused->text;
            }
            for (std::size_t i = 0; i < job->found.size(); ++i) {
                if (job->progress.StopRequested()) return;
                // A refused folder is never looked at, as a clean would not.
                engine::DeleteTally tally;
                if (!(i == engine::kUserFolderTarget && refused)) tally = engine::PreviewTarget(job->ports, job->settings, i, &job->progress);
                if (tally.stopped) return;
                const std::lock_guard<std::mutex> hold(job->lock);
                job->found[i] = std::move(tally);
            }
        },
        kTickMs,
        [job] {
            if (TargetsScreen* screen = job->screen) {
                if (screen->Services().cleaner->Running()) return screen->Abandon();
                screen->ShowResults();
            }
        },
        [job] {
            if (TargetsScreen* screen = job->screen) {
                screen->ShowResults();
                screen->job_.reset();
                job->screen = nullptr;
            }
        });
}

void TargetsScreen::Abandon() {
    if (!job_) return;
    job_->progress.RequestStop();
    job_->screen = nullptr;
    job_.reset();
}

void TargetsScreen::ShowResults() {
    if (job_) {
        const std::lock_guard<std::mutex> hold(job_->lock);
        refusal_ = job_->refusal;
        for (std::size_t i = 0; i < results_.size(); ++i) {
            if (job_->found[i] && !results_[i]) results_[i] = job_->found[i];
        }
    }
    const auto targets = engine::CleanTargets();
    std::uint64_t items = 0, bytes = 0;
    bool known = true;
    for (std::size_t i = 0; i < results_.size(); ++i) {
        std::string text = kWorkingOut;
        if (i == engine::kUserFolderTarget && refusal_) {
            text = "would be refused";
        } else if (i == engine::kUserFolderTarget && !userFolderSet_) {
            text = "no folder chosen";
        } else if (results_[i]) {
            text = PreviewPartText(targets[i], *results_[i]);
        }
        if (amounts[i]->Caption() != text) amounts[i]->SetCaption(text);
        if (boxes[i]->Value() != 1) continue;
        known = known && (results_[i] || (i == engine::kUserFolderTarget && refusal_));
        if (results_[i]) {
            items += results_[i]->removedItems;
            bytes += results_[i]->removedBytes;
        }
    }
    std::string sum = "Nothing is chosen.";
    if (refusal_ && boxes[engine::kUserFolderTarget]->Value() == 1) {
        sum = "A clean now would be refused: " + *refusal_;
    } else if (std::any_of(boxes.begin(), boxes.end(), [](const auto& box) { return box->Value() == 1; })) {
        sum = std::string(known ? "The chosen ones would free " : "So far the chosen ones would free ") +
              engine::ItemsText(items) + ", " + engine::BytesText(bytes) + ".";
    }
    if (total.Caption() != sum) total.SetCaption(sum);
}

void TargetsScreen::StoreOption(std::size_t target) {
    App().SetMousePointer(platform::kPointerArrowHourglass);
    pointerTimer.SetEnabled(true);
    settings::WriteINI(Ports(), settings::IniFilePath(*Ports().environment), "Delete",
                       std::string(engine::CleanTargets()[target].key), boxes[target]->Value() == 1 ? "Yes" : "No");
    ShowResults();
}

}  // namespace screens
