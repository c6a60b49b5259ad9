#pragma once
// What a clean has done so far, written by the work as it goes (on a thread of its own) and read
// by the window thread for the progress line; and the window thread's request that the work
// stop after the item in hand.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace engine {

class CleanProgress {
public:
    // From the window thread: the work ends after the item in hand, and no further step begins.
    void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
    bool StopRequested() const { return stop_.load(std::memory_order_relaxed); }

    // From the work.
    void Removed(std::uint64_t bytes) {
        items_.fetch_add(1, std::memory_order_relaxed);
        bytes_.fetch_add(bytes, std::memory_order_relaxed);
    }
    // Many at once (a container the shell emptied).
    void Removed(std::uint64_t items, std::uint64_t bytes) {
        items_.fetch_add(items, std::memory_order_relaxed);
        bytes_.fetch_add(bytes, std::memory_order_relaxed);
    }
    void Stayed() { stayed_.fetch_add(1, std::memory_order_relaxed); }
    // Kept back on purpose (newer than the age limit, or a kept path): not a failure.
    void KeptBack() { keptBack_.fetch_add(1, std::memory_order_relaxed); }
    void WorkingIn(const std::string& place);

    struct Snapshot {
        std::uint64_t items = 0;
        std::uint64_t bytes = 0;
        std::uint64_t stayed = 0;
        std::string place;  // the folder (or the cache) being worked on
        std::uint64_t keptBack = 0;
    };
    Snapshot Read() const;

private:
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> items_{0};
    std::atomic<std::uint64_t> bytes_{0};
    std::atomic<std::uint64_t> stayed_{0};
    std::atomic<std::uint64_t> keptBack_{0};
    mutable std::mutex placeLock_;  // the place changes once a folder, and is read a few times a second
    std::string place_;
};

}  // namespace engine
