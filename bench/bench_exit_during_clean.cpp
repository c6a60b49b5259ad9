// Exit chosen from the icon's menu while Morvane.exe purges a Temp folder of 40,000 files: the
// time from the choice until the process has ended, against the same Exit of the same program
// when no clean runs; how many files were deleted after the choice; and meanwhile how long the
// program's main window takes to answer a message. The stop comes first and the clean ends after
// the file in hand, so the targets are the idle Exit plus a moment (at most 1 s in all) and at
// most 10 files. Morvane.exe runs as a user runs it, driven from outside through its icon.
//
// The files gone at the choice are counted just before the key that chooses Exit: the purge
// deletes in the order the folders list (bench's own listing finds the same order), so the files
// gone are the first ones of that order, found by halving with a look at a dozen files.
//
// Each round tops the tree up to 40,000 files again and flushes it to the disk, so that every
// Exit meets a purge in full swing of a tree as it lies on the disk. Rounds take turns: idle
// Exit, then Exit during the clean.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "bench/Trees.h"
#include "platform/win32/WideText.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/E2eWorld.h"

namespace {

constexpr int kRounds = 5;
constexpr int kFiles = 40000;
constexpr int kPerFolder = 100;
constexpr UINT kIconMessage = WM_USER + 1;
constexpr UINT kIconId = 125;
enum MenuItem : int { kChangeConfiguration, kCleanNow, kExit };
// While a clean runs, Stop Clean stands above the rest.
constexpr int kExitWhileCleaning = kExit + 1;

bool OpenMenuAndChoose(DWORD process, HWND main, int item, const std::function<void()>& atChoice = {}) {
    ::PostMessageW(main, kIconMessage, kIconId, WM_RBUTTONUP);
    return e2e::WaitFor([&] { return e2e::OpenPopupMenu(process) != nullptr; }, 5000) &&
           e2e::ChoosePopupItem(item, atChoice);
}

std::string FileName(int i) { return "part-" + std::to_string(i / kPerFolder) + "\\f" + std::to_string(i) + ".tmp"; }

// Puts back every file of the tree that is missing; how many it made.
int TopUp(e2e::E2eWorld& world, const std::string& temp) {
    int made = 0;
    for (int i = 0; i < kFiles; ++i) {
        const std::string path = temp + "\\" + FileName(i);
        if (world.Exists(path)) continue;
        if (i % kPerFolder == 0 || !made) world.MakeFolder(path.substr(0, path.rfind('\\')));
        world.MakeFile(path, "x");
        ++made;
    }
    return made;
}

// Starts the program and waits for its icon's window; nullptr when it did not come.
HWND Start(std::optional<e2e::MorvaneRun>& run, const std::string& program, const std::string& temp) {
    run.emplace(program + "\\Morvane.exe", "", temp);
    HWND main = nullptr;
    e2e::WaitFor([&] { return (main = e2e::MainWindow(run->Id())) != nullptr; }, 20000);
    e2e::Wait(300);  // the icon and the hook are in place a moment after the window
    return main;
}

// Chooses Exit (at its place in the menu) and times it until the process has ended; meanwhile the
// longest answer of the main window, in ms, into slowest. With order, how many of its files were
// gone at the choice, into goneAtChoice.
std::optional<double> TimeExit(e2e::MorvaneRun& run, HWND main, int exit, double& slowest,
                               const std::vector<std::string>* order = nullptr, e2e::E2eWorld* world = nullptr,
                               std::size_t* goneAtChoice = nullptr) {
    auto chosen = std::chrono::steady_clock::now();
    const auto atChoice = [&] {
        if (order) *goneAtChoice = e2e::GoneSoFar(*order, [&](const std::string& path) { return world->Exists(path); });
        chosen = std::chrono::steady_clock::now();
    };
    if (!OpenMenuAndChoose(run.Id(), main, exit, atChoice)) return std::nullopt;
    while (!run.WaitForEnd(0)) {
        DWORD_PTR result = 0;
        const double took = bench::Milliseconds([&] {
            ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
        });
        if (!run.WaitForEnd(0)) slowest = std::max(slowest, took);
        if (std::chrono::steady_clock::now() - chosen > std::chrono::seconds(30)) return std::nullopt;
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - chosen).count();
}

}  // namespace

int main() {
    e2e::E2eWorld world;
    const std::string program = world.Path("Program");
    const std::string temp = world.Path("Temp");
    world.MakeFolder(temp);
    if (!world.InstallMorvane(program)) {
        std::printf("Morvane.exe must lie beside the bench\n");
        return 1;
    }
    world.MakeFile(program + "\\Clean.ini", "[Delete]\r\nUser=No\r\nTemp=Yes\r\nTemporary Internet Files=No\r\n"
                                            "[Internet]\r\nsFile0=http://kept.example/\r\n");
    std::vector<double> idle, during, afterChoice;
    double slowest = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::optional<e2e::MorvaneRun> run;
        HWND main = Start(run, program, temp);
        double unused = 0;
        std::optional<double> bare;
        if (main) bare = TimeExit(*run, main, kExit, unused);

        const int made = TopUp(world, temp);
        if (!bench::FlushToDisk(win32::Widen(program))) {
            std::printf("round %d: the tree could not be flushed to the disk\n", round + 1);
            return 1;
        }
        const std::vector<std::string> order = world.FilesInWalkOrder(temp);
        std::size_t goneAtChoice = 0;
        main = Start(run, program, temp);
        std::optional<double> stopped;
        if (main && OpenMenuAndChoose(run->Id(), main, kCleanNow)) {
            // Into the purge: the first file of some folder gone. (The purge goes in the order the
            // disk lists, so any one file may be among the last; each round then puts back little.)
            e2e::WaitFor(
                [&] {
                    for (int i = 0; i < kFiles; i += kPerFolder) {
                        if (!world.Exists(temp + "\\" + FileName(i))) return true;
                    }
                    return false;
                },
                60000);
            stopped = TimeExit(*run, main, kExitWhileCleaning, slowest, &order, &world, &goneAtChoice);
        }
        if (!bare || !stopped) {
            std::printf("round %d: the program could not be driven (%s)\n", round + 1, bare ? "during the purge" : "idle");
            return 1;
        }
        const std::size_t gone = e2e::GoneSoFar(order, [&](const std::string& path) { return world.Exists(path); });
        std::size_t outOfOrder = 0;
        for (std::size_t i = 0; i < order.size(); ++i) outOfOrder += world.Exists(order[i]) != (i >= gone);
        if (outOfOrder > 0) {
            std::printf("round %d: %zu files were not deleted in the order listed\n", round + 1, outOfOrder);
            return 1;
        }
        idle.push_back(*bare);
        during.push_back(*stopped);
        afterChoice.push_back(static_cast<double>(gone - goneAtChoice));
        std::printf("round %d: Exit idle %.0f ms, Exit during the purge %.0f ms, %zu files deleted after the choice "
                    "(%d files put back)\n",
                    round + 1, *bare, *stopped, gone - goneAtChoice, made);
    }
    std::printf("Exit to the end of the idle program: %s\n", bench::Text(bench::SpreadOf(idle), "%.0f", " ms").c_str());
    std::printf("Exit during the purge / idle Exit: %s\n", bench::Text(bench::RatioOf(during, idle)).c_str());
    bench::AtMost("Exit to the end during a purge of 40,000 files", bench::SpreadOf(during), 1000, " ms", "%.0f");
    bench::AtMost("files deleted after Exit was chosen during the purge", bench::SpreadOf(afterChoice), 10, "",
                  "%.0f");
    char answer[32];
    std::snprintf(answer, sizeof(answer), "%.0f ms (slowest)", slowest);
    bench::Figure("main window's answer while it stops", answer, "at most 50 ms", slowest <= 50 ? "met" : "NOT MET");
    return 0;
}
