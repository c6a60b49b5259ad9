#include "screens/TargetPreviews.h"

#include <algorithm>

#include "engine/CleanTargets.h"

namespace screens {

// One walk beside the windows: the refusal check when it is not known yet, then one target.
struct TargetPreviews::Job {
    TargetPreviews* owner = nullptr;  // null once given up
    std::optional<std::size_t> target;
    bool checkRefusal = false;
    engine::CleanSettings settings;
    engine::CleanProgress progress;  // its stop gives the walk up
    // Written by the walk, read once it has returned.
    std::optional<engine::RefusalFound> refusal;
    engine::DeleteTally tally;
};

TargetPreviews::TargetPreviews(const platform::Ports& ports, platform::Desktop& desktop)
    : ports_(ports), desktop_(desktop), known_(engine::CleanTargets().size()) {}

TargetPreviews::~TargetPreviews() { GiveUp(); }

void TargetPreviews::Want(const engine::CleanSettings& settings, bool fresh) {
    settings_ = settings;
    const engine::CleanSettings basis = settings.Basis();
    if (fresh || basis_ != basis) {
        GiveUp();
        basis_ = basis;
        refusal_.reset();
        std::fill(known_.begin(), known_.end(), std::nullopt);
    }
    // A walk of a target no longer chosen makes way for the chosen ones.
    if (inHand_ && inHand_->target && !settings_.Chosen(*inHand_->target)) GiveUp();
    if (!inHand_) StartNext();
}

void TargetPreviews::GiveUp() {
    if (!inHand_) return;
    inHand_->owner = nullptr;
    inHand_->progress.RequestStop();
    inHand_.reset();
}

void TargetPreviews::StartNext() {
    auto job = std::make_shared<Job>();
    job->checkRefusal = !refusal_.has_value();
    // A clean that would be refused cleans nothing: no target is walked for it.
    if (!refusal_ || !*refusal_) {
        for (std::size_t i = 0; i < known_.size(); ++i) {
            if (settings_.Chosen(i) && !known_[i]) {
                job->target = i;
                break;
            }
        }
    }
    if (!job->checkRefusal && !job->target) return;
    job->owner = this;
    job->settings = settings_;
    inHand_ = job;
    desktop_.StartBeside(
        [job, ports = ports_] {
            if (job->checkRefusal) job->refusal = engine::UserFolderRefusal(ports, job->settings);
            // Never looked at when refused, as a clean would not look at it.
            if (job->target && !job->refusal) {
                job->tally = engine::PreviewTarget(ports, job->settings, *job->target, &job->progress);
            }
        },
        kTickMs,
        [job] {
            if (job->owner && job->owner->onChange) job->owner->onChange();
        },
        [job] {
            if (job->owner) job->owner->Finished(*job);
        });
}

void TargetPreviews::Finished(Job& job) {
    inHand_.reset();
    job.owner = nullptr;
    if (job.checkRefusal) refusal_ = job.refusal;
    if (job.target && !job.refusal && !job.tally.stopped) known_[*job.target] = std::move(job.tally);
    StartNext();
    if (onChange) onChange();
}

engine::CleanPreview TargetPreviews::Known() const {
    engine::CleanPreview preview;
    if (refusal_ && *refusal_) {
        preview.refusal = (*refusal_)->refusal;
        preview.refusalText = (*refusal_)->text;
        return preview;
    }
    preview.nothingChosen = settings_.NothingChosen();
    preview.targets.resize(known_.size());
    for (std::size_t i = 0; i < known_.size() && !preview.nothingChosen; ++i) {
        if (settings_.Chosen(i)) preview.targets[i] = known_[i];
    }
    return preview;
}

bool TargetPreviews::Complete() const {
    if (!refusal_) return false;
    if (*refusal_ || settings_.NothingChosen()) return true;
    for (std::size_t i = 0; i < known_.size(); ++i) {
        if (settings_.Chosen(i) && !known_[i]) return false;
    }
    return true;
}

std::optional<TargetPreviews::Walking> TargetPreviews::InHand() const {
    if (!inHand_ || !inHand_->target) return std::nullopt;
    return Walking{*inHand_->target, inHand_->progress.Read()};
}

std::optional<engine::PreviewTotal> TargetPreviews::TotalFor(const engine::CleanSettings& settings) const {
    if (!basis_ || *basis_ != settings.Basis() || !refusal_ || *refusal_) return std::nullopt;
    engine::PreviewTotal total;
    for (std::size_t i = 0; i < known_.size(); ++i) {
        if (!settings.Chosen(i)) continue;
        if (!known_[i]) return std::nullopt;
        total.items += known_[i]->removedItems;
        total.bytes += known_[i]->removedBytes;
    }
    return total;
}

}  // namespace screens
