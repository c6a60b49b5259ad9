// The purge of 50,000 files in 500 folders as the program runs it now, beside its windows (the
// work on a thread of its own, the backdrop showing its progress line), against the same purge
// run on the window thread without progress, each on an identical tree made in the same run.
// Meanwhile another thread sends the backdrop a message every few milliseconds and times the
// answers: the longest time a message waited is how long the window thread did not answer.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "app/CleanRunWindows.h"
#include "bench/BareFiles.h"
#include "bench/Timing.h"
#include "bench/Trees.h"
#include "bench/WindowBench.h"
#include "engine/ListFiles.h"
#include "forms/Application.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"
#include "screens/Form10.h"

namespace {

using bench::Seconds;

const bench::TreeShape kShape;  // 50,000 files in 500 folders
constexpr int kRounds = 2;
constexpr double kTargetRatio = 1.05;
constexpr double kTargetAnswerMs = 50;

// Sends a window WM_NULL every few milliseconds until told to stop, and keeps the longest time
// one took to be answered.
struct Prober {
    HWND window = nullptr;
    std::atomic<bool> stop{false};
    double longestMs = 0;
    int answered = 0;

    static DWORD WINAPI Run(void* self) {
        auto& prober = *static_cast<Prober*>(self);
        LARGE_INTEGER frequency, sent, back;
        ::QueryPerformanceFrequency(&frequency);
        while (!prober.stop) {
            ::QueryPerformanceCounter(&sent);
            DWORD_PTR result = 0;
            ::SendMessageTimeoutW(prober.window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            ::QueryPerformanceCounter(&back);
            const double ms = 1000.0 * static_cast<double>(back.QuadPart - sent.QuadPart) / frequency.QuadPart;
            prober.longestMs = std::max(prober.longestMs, ms);
            ++prober.answered;
            ::Sleep(5);
        }
        return 0;
    }
};

}  // namespace

int main() {
    const bench::RealPorts ports;
    win32::Win32Desktop desktop;
    forms::Application app(desktop);
    screens::Form10& backdrop = app.Get<screens::Form10>();
    screens::SetStatusText("Cleaning Files Now !");
    bench::PumpUntilIdle();
    app::CleanRunWindows windows;

    const std::wstring root = bench::TempFolder() + L"MorvaneBench-beside-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring tree = root + L"\\tree";
    ::CreateDirectoryW(root.c_str(), nullptr);
    const std::string treePath = win32::Narrow(tree);
    const std::uint64_t expected = static_cast<std::uint64_t>(kShape.Files() + kShape.Folders());

    // The purge beside the windows with its progress, and on the window thread without: taking
    // turns, the best of each counts.
    const auto purgeBeside = [&](engine::DeleteTally& tally) {
        engine::CleanProgress progress;
        return Seconds([&] {
            bool done = false;
            windows.StartWork([&] { engine::PurgeFolderContents(treePath, tally, &progress); }, progress,
                              [&] { done = true; });
            MSG message;
            while (!done && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        });
    };
    double beside = 1e300, plain = 1e300;
    bool whole = true;
    for (int round = 0; round < kRounds; ++round) {
        for (const bool besideTurn : {round % 2 == 0, round % 2 != 0}) {
            bench::MakeTree(tree, kShape);
            engine::DeleteTally tally;
            if (besideTurn) {
                const double seconds = purgeBeside(tally);
                std::printf("round %d: beside the windows, with progress %.3f s\n", round + 1, seconds);
                beside = std::min(beside, seconds);
            } else {
                const double seconds = Seconds([&] { engine::PurgeFolderContents(treePath, tally); });
                std::printf("round %d: on the window thread, no progress %.3f s\n", round + 1, seconds);
                plain = std::min(plain, seconds);
            }
            whole = whole && tally.removedItems == expected && bench::IsEmptyFolder(tree);
        }
    }
    // Once more beside the windows, with another thread asking the backdrop all the while.
    bench::MakeTree(tree, kShape);
    Prober prober;
    prober.window = reinterpret_cast<HWND>(backdrop.Handle());
    const win32::KernelHandle probing(::CreateThread(nullptr, 0, Prober::Run, &prober, 0, nullptr));
    engine::DeleteTally tally;
    purgeBeside(tally);
    prober.stop = true;
    // Its last message may be on its way: answered here while it ends.
    const HANDLE wait = probing.Get();
    while (::MsgWaitForMultipleObjects(1, &wait, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) bench::PumpUntilIdle();
    whole = whole && tally.removedItems == expected && bench::IsEmptyFolder(tree);
    const std::string lastLine = backdrop.Label7.Caption();
    ::RemoveDirectoryW(tree.c_str());
    ::RemoveDirectoryW(root.c_str());
    if (!whole) {
        std::fprintf(stderr, "bench_clean_beside: a tree was not emptied\n");
        return 1;
    }
    std::printf("the progress line at the end: %s\n", lastLine.c_str());
    std::printf("purge beside the windows with progress: %.3f s; on the window thread: %.3f s (best of %d)\n", beside,
                plain, kRounds);
    std::printf("ratio %.3f (target at most %.2f)\n", beside / plain, kTargetRatio);
    std::printf("longest wait for an answer %.1f ms over %d messages during a purge (target at most %.0f ms)\n",
                prober.longestMs, prober.answered, kTargetAnswerMs);
    return 0;
}
