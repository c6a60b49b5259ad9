#pragma once
// What a clean of each target of the table would do now, worked out beside the windows target by
// target (each target's own clean in preview mode) and kept with what it was worked out from: a
// reader that changes which targets it asks for (a box clicked) gets at once what is known, and
// only a target not yet worked out is walked. One target is walked at a time, in table order, and
// how far it has got can be read meanwhile. Window thread only.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/CleanPreview.h"
#include "engine/RunReport.h"
#include "platform/Desktop.h"
#include "platform/Ports.h"

namespace screens {

class TargetPreviews {
public:
    TargetPreviews(const platform::Ports& ports, platform::Desktop& desktop);
    ~TargetPreviews();
    TargetPreviews(const TargetPreviews&) = delete;
    TargetPreviews& operator=(const TargetPreviews&) = delete;

    // Asks for what a clean from these settings would do: the refusal of the user folder and
    // every chosen target. What is known from the same basis (everything but the choices) serves
    // at once; the rest is walked. fresh forgets everything known first (the files may have
    // changed since). A target walked now that is no longer chosen is given up.
    void Want(const engine::CleanSettings& settings, bool fresh);
    // Gives up the walk in hand; what is known stays.
    void GiveUp();
    // Called on the window thread as the walk goes (about every tickMs) and when a target is known.
    std::function<void()> onChange;
    static constexpr int kTickMs = 100;

    // What is known of the settings last asked for: the refusal (once checked), and each chosen
    // target worked out so far.
    engine::CleanPreview Known() const;
    // Everything asked for is known.
    bool Complete() const;
    // The target being walked now and how far it has got; nullopt when none is.
    struct Walking {
        std::size_t target = 0;
        engine::CleanProgress::Snapshot soFar;
    };
    std::optional<Walking> InHand() const;
    // What a clean from these settings would remove, when every chosen target is known for them
    // and the clean would not be refused.
    std::optional<engine::PreviewTotal> TotalFor(const engine::CleanSettings& settings) const;

private:
    struct Job;
    void StartNext();
    void Finished(Job& job);

    platform::Ports ports_;
    platform::Desktop& desktop_;
    engine::CleanSettings settings_;  // last asked for
    std::optional<engine::CleanSettings> basis_;  // what the known results were worked out from
    std::optional<std::optional<engine::RefusalFound>> refusal_;  // checked, and what it found
    std::vector<std::optional<engine::DeleteTally>> known_;       // per target, in table order
    std::shared_ptr<Job> inHand_;
};

}  // namespace screens
