// How long Morvane's window thread goes without answering a message at the two moments that held
// it up before: a start that makes the start-up shortcut (the shell is given three pauses of half
// a second to write its recent shortcut), and the end of a clean from the icon's menu whose record
// waits for the log's turn, which another process (this bench) holds for 5 s. Another thread of the
// bench sends the program's main window WM_NULL every few milliseconds all the while and keeps the
// longest wait for an answer; the target is at most 50 ms for both. Beside each, the same moment
// without the wait (a start that finds its shortcut, a clean whose log is free), which tells what
// the start and the clean cost the thread anyway.
//
// The longest wait of a start includes the first message, sent as soon as the program's first
// window is there, which waits for the rest of the start-up. Rounds take turns. `bench_window_answers <Morvane.exe>` measures
// another build of the program.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "platform/win32/WideText.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/E2eWorld.h"

#include <shlobj.h>

namespace {

constexpr int kRounds = 5;
constexpr int kLockedRounds = 3;
constexpr int kLockHeldMs = 5000;
constexpr double kTargetMs = 50;
constexpr UINT kIconMessage = WM_USER + 1;
constexpr UINT kIconId = 125;
constexpr int kCleanNow = 1;  // among the menu's items that are not separators

// The first window of the program: every window of it belongs to the window thread.
HWND FirstWindow(DWORD process) {
    for (HWND window : e2e::TopLevelWindows(process)) {
        if (e2e::ClassOf(window) == "MorvaneForm") return window;
    }
    return nullptr;
}

// Finds a window of the program as soon as one is made, then sends it WM_NULL every few
// milliseconds until told to stop, keeping the longest time one waited for its answer.
struct Prober {
    DWORD process = 0;
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> stop{false};
    double longestMs = 0;
    int answered = 0;

    static DWORD WINAPI Run(void* self) {
        auto& prober = *static_cast<Prober*>(self);
        while (!prober.stop && !prober.window) {
            prober.window = FirstWindow(prober.process);
            if (!prober.window) ::Sleep(1);
        }
        LARGE_INTEGER frequency, sent, back;
        ::QueryPerformanceFrequency(&frequency);
        while (!prober.stop) {
            ::QueryPerformanceCounter(&sent);
            DWORD_PTR result = 0;
            if (!::SendMessageTimeoutW(prober.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result)) break;
            ::QueryPerformanceCounter(&back);
            prober.longestMs = std::max(prober.longestMs, 1000.0 * static_cast<double>(back.QuadPart - sent.QuadPart) /
                                                              static_cast<double>(frequency.QuadPart));
            ++prober.answered;
            ::Sleep(2);
        }
        return 0;
    }
};

class Probing {
public:
    explicit Probing(DWORD process) {
        prober_.process = process;
        thread_.Reset(::CreateThread(nullptr, 0, Prober::Run, &prober_, 0, nullptr));
    }
    HWND Window() const { return prober_.window; }
    // The longest wait for an answer; nullopt when the window never answered.
    std::optional<double> Stop() {
        prober_.stop = true;
        ::WaitForSingleObject(thread_.Get(), INFINITE);
        if (prober_.answered == 0) return std::nullopt;
        return prober_.longestMs;
    }

private:
    Prober prober_;
    win32::KernelHandle thread_;
};

std::string StartUpShortcut() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return win32::Narrow(folder) + "\\Tarnwick.lnk";
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesW(win32::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A resident start, from CreateProcess until the shortcut is there and a moment has passed; the
// longest wait for an answer meanwhile.
std::optional<double> Start(const std::string& exe, const std::string& temp, const std::string& shortcut) {
    e2e::MorvaneRun run(exe, "", temp);
    if (!run.Started()) return std::nullopt;
    Probing probing(run.Id());
    const bool made = e2e::WaitFor([&] { return Exists(shortcut) && probing.Window(); }, 20000);
    e2e::Wait(300);  // the rest of the start, and the shortcut's last step on the window thread
    const std::optional<double> longest = probing.Stop();
    run.Terminate();
    return made ? longest : std::nullopt;
}

// A clean from the icon's menu of a program that already runs, with the log's turn held by this
// process for kLockHeldMs when lockLog; the longest wait for an answer from the choice until the
// record is in the log and a moment has passed.
std::optional<double> CleanFromTheIcon(e2e::E2eWorld& world, const std::string& exe, const std::string& temp,
                                       const std::string& log, bool lockLog) {
    for (int i = 0; i < 50; ++i) world.MakeFile(temp + "\\f" + std::to_string(i) + ".tmp", "x");
    ::DeleteFileW(win32::Widen(log).c_str());
    e2e::MorvaneRun run(exe, "", temp);
    HWND main = nullptr;
    if (!run.Started() || !e2e::WaitFor([&] { return (main = e2e::MainWindow(run.Id())) != nullptr; }, 20000)) {
        return std::nullopt;
    }
    e2e::Wait(500);  // the icon and the hook are in place a moment after the window
    win32::KernelHandle turn;
    if (lockLog) {
        turn.Reset(::CreateMutexW(nullptr, FALSE, L"Local\\Morvane.log"));
        ::WaitForSingleObject(turn.Get(), INFINITE);
    }
    const ULONGLONG taken = ::GetTickCount64();
    Probing probing(run.Id());
    ::PostMessageW(main, kIconMessage, kIconId, WM_RBUTTONUP);
    const bool chosen = e2e::WaitFor([&] { return e2e::OpenPopupMenu(run.Id()) != nullptr; }, 5000) &&
                        e2e::ChoosePopupItem(kCleanNow);
    if (turn) {
        e2e::Wait(static_cast<int>(kLockHeldMs - std::min<ULONGLONG>(kLockHeldMs, ::GetTickCount64() - taken)));
        ::ReleaseMutex(turn.Get());
    }
    const bool written = e2e::WaitFor(
        [&] { return world.ReadBytes(log).value_or("").find("Outcome: cleaned") != std::string::npos; }, 20000);
    e2e::Wait(300);
    const std::optional<double> longest = probing.Stop();
    run.Terminate();
    return chosen && written && !world.Exists(temp + "\\f0.tmp") ? longest : std::nullopt;
}

void Report(const char* what, const std::vector<double>& with, const std::vector<double>& without) {
    std::printf("%s, longest wait for an answer: %s\n", what, bench::Text(bench::SpreadOf(with), "%.0f", " ms").c_str());
    std::printf("  the same without the wait: %s\n", bench::Text(bench::SpreadOf(without), "%.0f", " ms").c_str());
    const double worst = *std::max_element(with.begin(), with.end());
    char value[48];
    std::snprintf(value, sizeof(value), "%.0f ms (the worst of %zu rounds)", worst, with.size());
    bench::Figure(what, value, "at most 50 ms", worst <= kTargetMs ? "met" : "NOT MET");
}

}  // namespace

int main(int argc, char** argv) {
    e2e::E2eWorld world;
    const std::string program = world.Path("Program");
    const std::string temp = world.Path("Temp");
    world.MakeFolder(temp);
    if (!world.InstallMorvane(program)) {
        std::printf("Morvane.exe must lie beside the bench\n");
        return 1;
    }
    const std::string exe = program + "\\Morvane.exe";
    if (argc > 1 && !::CopyFileW(win32::Widen(argv[1]).c_str(), win32::Widen(exe).c_str(), FALSE)) {
        std::printf("%s could not be copied\n", argv[1]);
        return 1;
    }
    const std::string shortcut = StartUpShortcut();
    if (shortcut.empty()) return 1;
    // A clean option chosen and a kept entry: a start shows nothing, and a clean asks nothing.
    world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nUser=No\r\nTemp=Yes\r\nTemporary Internet Files=No\r\n"
                                            "[Internet]\r\nsFile0=http://kept.example/\r\n");

    std::vector<double> making, finding;
    for (int round = 0; round < kRounds; ++round) {
        std::optional<double> made, found;
        bench::InTurns(round, 2, [&](int turn) {
            if (turn == 0) {
                ::DeleteFileW(win32::Widen(shortcut).c_str());
                made = Start(exe, temp, shortcut);
            } else {
                found = Start(exe, temp, shortcut);  // the shortcut is there by now
            }
        });
        if (!made || !found) {
            std::printf("round %d: the program did not start as it should\n", round + 1);
            return 1;
        }
        making.push_back(*made);
        finding.push_back(*found);
        std::printf("round %d: start making the shortcut %.0f ms, start finding it %.0f ms\n", round + 1, *made, *found);
    }

    const std::string log = program + "\\Morvane.log";
    std::vector<double> locked, free;
    for (int round = 0; round < kLockedRounds; ++round) {
        std::optional<double> held, unheld;
        bench::InTurns(round, 2, [&](int turn) {
            (turn == 0 ? held : unheld) = CleanFromTheIcon(world, exe, temp, log, turn == 0);
        });
        if (!held || !unheld) {
            std::printf("round %d: the clean could not be driven\n", round + 1);
            return 1;
        }
        locked.push_back(*held);
        free.push_back(*unheld);
        std::printf("round %d: clean whose record waits %d ms for the log %.0f ms, with the log free %.0f ms\n",
                    round + 1, kLockHeldMs, *held, *unheld);
    }
    ::DeleteFileW(win32::Widen(shortcut).c_str());
    Report("start that makes the start-up shortcut", making, finding);
    Report("clean whose record waits 5 s for the log's turn", locked, free);
    return 0;
}
