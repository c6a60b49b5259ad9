#include "engine/CleanProgress.h"

namespace engine {

void CleanProgress::WorkingIn(const std::string& place) {
    const std::lock_guard<std::mutex> guard(placeLock_);
    place_ = place;
}

CleanProgress::Snapshot CleanProgress::Read() const {
    Snapshot snapshot{items_.load(std::memory_order_relaxed), bytes_.load(std::memory_order_relaxed),
                      stayed_.load(std::memory_order_relaxed), {}, keptBack_.load(std::memory_order_relaxed)};
    const std::lock_guard<std::mutex> guard(placeLock_);
    snapshot.place = place_;
    return snapshot;
}

}  // namespace engine
