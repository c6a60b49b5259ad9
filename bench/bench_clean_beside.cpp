// The purge of 3,000 files in 30 folders as the program runs it now, beside its windows (the
// work on a thread of its own, the backdrop showing its progress line), against the same purge
// run on the window thread without progress (and beside the windows without progress, which
// tells the thread's cost from the line's), in turns over 5 rounds, each on a copy of one tree
// made and flushed to the disk just before its turn.
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
#include "engine/CleanRun.h"
#include "engine/Purges.h"
#include "forms/Application.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"
#include "screens/Backdrop.h"

namespace {

using bench::Seconds;

const bench::TreeShape kShape{3, 9, 100};  // 3,000 files in 30 folders
constexpr int kRounds = 5;
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
    bench::RealPorts ports;
    win32::Win32Desktop desktop;
    forms::Application app(desktop);
    screens::Backdrop& backdrop = app.Get<screens::Backdrop>();
    screens::SetStatusText(app, "Cleaning Files Now !");
    bench::PumpUntilIdle();
    engine::Cleaner cleaner(ports.Ports());
    app::CleanRunWindows windows(app, ports.Ports(), cleaner);

    const bench::WorkFolder work(bench::TempFolder() + L"MorvaneBench-beside-" +
                                 std::to_wstring(::GetCurrentProcessId()));
    const std::wstring tree = work.path + L"\\tree";
    const std::string treePath = win32::Narrow(tree);
    const std::uint64_t expected = static_cast<std::uint64_t>(kShape.Files() + kShape.Folders());
    bench::FreshTrees trees(work.path, [](const std::wstring& at) { bench::MakeTree(at, kShape); });
    bool whole = true;
    const auto ready = [&] { whole = trees.Make(tree) && whole; };
    const auto emptied = [&](const engine::DeleteTally& tally) {
        whole = whole && tally.removedItems == expected && bench::IsEmptyFolder(tree);
        ::RemoveDirectoryW(tree.c_str());
    };

    // The purge beside the windows with its progress as the program runs it, on the window thread
    // without, and (to tell the thread's cost from the progress line's) beside the windows without.
    const auto untilDone = [](bool& done) {
        MSG message;
        while (!done && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    };
    const auto purgeBeside = [&](engine::DeleteTally& tally) {
        engine::CleanProgress progress;
        return Seconds([&] {
            bool done = false;
            windows.StartWork([&] { engine::PurgeFolderContents(ports.Ports(), treePath, tally, &progress); }, progress,
                              [&] { done = true; });
            untilDone(done);
        });
    };
    const auto purgeBesideQuiet = [&](engine::DeleteTally& tally) {
        return Seconds([&] {
            bool done = false;
            desktop.StartBeside([&] { engine::PurgeFolderContents(ports.Ports(), treePath, tally); }, 0, {}, [&] { done = true; });
            untilDone(done);
        });
    };
    std::printf("%d files in %d folders, each turn on a fresh copy flushed to the disk (seconds):\n", kShape.Files(),
                kShape.Folders());
    const auto times = bench::InRounds(kRounds,
                                       {{"beside the windows, with progress",
                                         [&] {
                                             engine::DeleteTally tally;
                                             const double seconds = purgeBeside(tally);
                                             emptied(tally);
                                             return seconds;
                                         },
                                         ready},
                                        {"on the window thread, no progress",
                                         [&] {
                                             engine::DeleteTally tally;
                                             const double seconds = Seconds(
                                                 [&] { engine::PurgeFolderContents(ports.Ports(), treePath, tally); });
                                             emptied(tally);
                                             return seconds;
                                         },
                                         ready},
                                        {"beside the windows, no progress",
                                         [&] {
                                             engine::DeleteTally tally;
                                             const double seconds = purgeBesideQuiet(tally);
                                             emptied(tally);
                                             return seconds;
                                         },
                                         ready}},
                                       "s");
    // Once more beside the windows, with another thread asking the backdrop all the while.
    ready();
    Prober prober;
    prober.window = reinterpret_cast<HWND>(backdrop.Handle());
    const win32::KernelHandle probing(::CreateThread(nullptr, 0, Prober::Run, &prober, 0, nullptr));
    engine::DeleteTally tally;
    purgeBeside(tally);
    prober.stop = true;
    // Its last message may be on its way: answered here while it ends.
    const HANDLE wait = probing.Get();
    while (::MsgWaitForMultipleObjects(1, &wait, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) bench::PumpUntilIdle();
    const std::string lastLine = backdrop.progressLine.Caption();
    emptied(tally);
    if (!whole) {
        std::fprintf(stderr, "bench_clean_beside: a tree was not emptied\n");
        return 1;
    }
    std::printf("the progress line at the end: %s\n", lastLine.c_str());
    const bool met =
        bench::AtMost("purge beside the windows / on the window thread", bench::RatioOf(times[0], times[1]), kTargetRatio);
    bench::Shown("purge beside the windows without progress / on the window thread", bench::RatioOf(times[2], times[1]));
    if (!met) {
        // Told from the measurements: whether the line or the thread costs the purge its time.
        const bench::Spread thread = bench::RatioOf(times[2], times[1]);
        bench::Why("purge beside the windows / on the window thread",
                   "without the progress line the purge beside the windows costs " + bench::Text(thread) +
                       (thread.median <= kTargetRatio
                            ? ": the rest is the line, repainted 10 times a second, each repaint a round of calls "
                              "to the one Wine server thread that every open and delete of the purge waits for too"
                            : ": the cost is the thread's, not the line's; the rounds' range shows how much of it "
                              "is this machine's noise"));
    }
    const bool answered = prober.longestMs <= kTargetAnswerMs;
    std::printf("longest wait for an answer: %.1f ms over %d messages during a purge\n", prober.longestMs,
                prober.answered);
    char longest[32];
    std::snprintf(longest, sizeof(longest), "%.1f ms (longest)", prober.longestMs);
    bench::Figure("window thread's answer during a purge", longest, "at most 50 ms", answered ? "met" : "NOT MET");
    return 0;
}
