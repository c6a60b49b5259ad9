#include "engine/CleanProgress.h"

namespace engine {

class CleanProgress::Guard {
public:
    explicit Guard(std::atomic_flag& lock) : lock_(lock) {
        while (lock_.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~Guard() { lock_.clear(std::memory_order_release); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    std::atomic_flag& lock_;
};

void CleanProgress::WorkingIn(const std::string& place) {
    const Guard guard(placeLock_);
    place_ = place;
}

CleanProgress::Snapshot CleanProgress::Read() const {
    Snapshot snapshot{items_.load(std::memory_order_relaxed), bytes_.load(std::memory_order_relaxed),
                      stayed_.load(std::memory_order_relaxed), {}};
    const Guard guard(placeLock_);
    snapshot.place = place_;
    return snapshot;
}

}  // namespace engine
