// The screen of every target on the real desktop, over a Temp folder of 5,000 files and a Chrome
// cache of 10,000 (flushed to the disk), with the URL cache and the Recycle Bin of the prefix:
// from its Load until every target's amount is worked out beside the windows, another thread
// sends the backdrop WM_NULL every 20 ms and the longest wait for an answer counts (target: at
// most 50 ms, the median over 5 rounds). Beside it, the time the amounts took against the same
// previews on a thread of no windows.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "app/Program.h"
#include "bench/SettingsBench.h"
#include "bench/Trees.h"
#include "bench/WindowBench.h"
#include "engine/CleanPreview.h"
#include "engine/CleanTargets.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32RecycleBin.h"
#include "screens/Backdrop.h"
#include "screens/TargetsScreen.h"

namespace {

using bench::Milliseconds;
using bench::PumpUntilIdle;

constexpr int kRounds = 5;


}  // namespace

int main() {
    bench::RealPortsInScratch real("targets");
    win32::Win32RecycleBin bin;
    platform::Ports ports = real.Ports();
    ports.recycleBin = &bin;
    real.WriteIni("[User]\r\nsFile0=0\r\n[Delete]\r\nTemp=Yes\r\nChrome Cache=Yes\r\n");
    const std::string scratch = win32::Narrow(bench::TempFolder()) + "MorvaneBench-targets-trees-" +
                                std::to_string(::GetCurrentProcessId());
    const std::wstring wide = win32::Widen(scratch);
    ::CreateDirectoryW(wide.c_str(), nullptr);
    bench::MakeTree(wide + L"\\Temp", {5, 9, 100});
    for (const wchar_t* folder : {L"\\Local", L"\\Local\\Google", L"\\Local\\Google\\Chrome",
                                  L"\\Local\\Google\\Chrome\\User Data", L"\\Local\\Google\\Chrome\\User Data\\Default"}) {
        ::CreateDirectoryW((wide + folder).c_str(), nullptr);
    }
    bench::MakeTree(wide + L"\\Local\\Google\\Chrome\\User Data\\Default\\Cache", {10, 9, 100});
    bool flushed = bench::FlushToDisk(wide);
    ::SetEnvironmentVariableW(L"TEMP", (wide + L"\\Temp").c_str());
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", (wide + L"\\Local").c_str());
    ::SetEnvironmentVariableW(L"APPDATA", (wide + L"\\Roaming").c_str());

    win32::Win32Desktop desktop;
    app::Program program(desktop, ports);
    forms::Application& application = program.App();
    application.Dispatch([&] { screens::SetStatusText(application, ""); });
    PumpUntilIdle();
    const HWND backdrop = reinterpret_cast<HWND>(application.Find<screens::Backdrop>()->Handle());

    std::vector<double> longest, workedOut, bare;
    bool right = flushed;
    for (int round = 0; round < kRounds; ++round) {
        bench::InTurns(round, 2, [&](int turn) {
            if (turn == 0) {
                const bench::AnswerWatch watch(backdrop);
                workedOut.push_back(Milliseconds([&] {
                    application.Dispatch([&] { application.Load<screens::TargetsScreen>(); });
                    while (!application.Find<screens::TargetsScreen>()->WorkedOut()) {
                        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                        PumpUntilIdle();
                    }
                }));
                longest.push_back(watch.Longest());
                const screens::TargetsScreen& screen = *application.Find<screens::TargetsScreen>();
                right = right && screen.amounts[1]->Caption().starts_with("5,050 items") &&
                        screen.amounts[3]->Caption().starts_with("10,100 items");
                application.Dispatch([&] { application.Unload<screens::TargetsScreen>(); });
                PumpUntilIdle();
            } else {
                const engine::CleanSettings settings = engine::CleanSettings::Read(
                    settings::IniSnapshot(ports, settings::IniFilePath(*ports.environment)), *ports.environment);
                bare.push_back(Milliseconds([&] {
                    for (std::size_t i = 0; i < engine::CleanTargets().size(); ++i) engine::PreviewTarget(ports, settings, i);
                }));
            }
        });
        std::printf("round %d: worked out in %.0f ms, longest answer %.1f ms; the previews alone %.0f ms\n", round + 1,
                    workedOut.back(), longest.back(), bare.back());
        std::fflush(stdout);
    }
    engine::ShellDelete(*ports.fileSystem, scratch);
    if (!right) {
        std::fprintf(stderr, "bench_targets_screen: the trees were not flushed or the screen's amounts were wrong\n");
        return 1;
    }
    bench::AtMost("targets screen: the window thread's longest answer while its amounts are worked out",
                  bench::SpreadOf(longest), 50, " ms", "%.1f");
    bench::Shown("targets screen: its amounts worked out / the same previews alone", bench::RatioOf(workedOut, bare));
    return 0;
}
