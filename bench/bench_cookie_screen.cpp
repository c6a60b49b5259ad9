// The internet cookie keep screen over a URL cache of 11,500 entries with a keep-list of 1,001
// of them, on the real desktop and WinINet, against the bare work it stands on, in the same run:
// - opening it from the start page's "View Cookies" (the command to the screen visible and
//   painted; the cache is listed beside the windows) against a bare enumeration of the cache
//   plus a bare LB_ADDSTRING fill of the same items into two list boxes of the same size,
//   painted; meanwhile another thread sends the backdrop WM_NULL every 20 ms, and the longest
//   wait for an answer is printed;
// - its "Save" against SaveInternetKeepList plus that bare enumeration and fill.
// Each round runs both in turns; the median of the rounds' ratios counts, with their range.
//
// Its entries are committed without files and deleted at the end; other entries of the cache
// are listed like any (the screen shows them too) and left alone.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/Program.h"
#include "bench/WindowBench.h"
#include "bench/BareUrlCache.h"
#include "bench/SettingsBench.h"
#include "screens/Backdrop.h"
#include "engine/KeepLists.h"
#include "forms/Application.h"
#include "platform/win32/ControlIds.h"
#include "platform/win32/Win32Desktop.h"
#include "screens/StartPage.h"
#include "screens/InternetKeepScreen.h"

#include <wininet.h>

namespace {

using bench::Milliseconds;
using bench::PumpUntilIdle;

constexpr int kEntries = 11500;
constexpr int kKept = 1001;
constexpr int kRounds = 5;
constexpr const char* kSite = "http://morvane-bench-screen.example/";

std::string Name(int i) { return std::string(kSite) + "page/" + std::to_string(i) + "/index.html"; }
bool IsKept(int i) { return i % 7 == 0 && i / 7 < kKept; }

// The reference enumeration: one buffer that grows when an entry does not fit, over the
// patterns that reach content entries and cookies, each name once, as plain code would list them.
std::vector<std::string> BareEnumerate() {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const char* pattern : {static_cast<const char*>(nullptr), "cookie:", "Cookie:"}) {
        bench::ForEachBareCacheEntry(pattern, [&](const INTERNET_CACHE_ENTRY_INFOA& record) {
            if ((record.CacheEntryType & (NORMAL_CACHE_ENTRY | COOKIE_CACHE_ENTRY)) &&
                seen.insert(record.lpszSourceUrlName).second) {
                names.push_back(record.lpszSourceUrlName);
            }
        });
    }
    return names;
}

// Two bare list boxes with the classes, styles, sizes and font of the screen's lists, in a
// plain window of the screen's size.
class BareLists {
public:
    explicit BareLists(HWND screen) {
        WNDCLASSW kind{};
        kind.lpfnWndProc = ::DefWindowProcW;
        kind.hInstance = ::GetModuleHandleW(nullptr);
        kind.lpszClassName = L"MorvaneBenchBareLists";
        kind.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        ::RegisterClassW(&kind);
        RECT frame{};
        ::GetWindowRect(screen, &frame);
        window_ = ::CreateWindowExW(0, kind.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                    kind.hInstance, nullptr);
        for (const char* name : {"List1", "List2"}) {
            const HWND list = ::GetDlgItem(screen, win32::ControlIdOf(name));
            RECT box{};
            ::GetWindowRect(list, &box);
            ::MapWindowPoints(nullptr, screen, reinterpret_cast<POINT*>(&box), 2);
            const HWND twin = ::CreateWindowExW(static_cast<DWORD>(::GetWindowLongPtrW(list, GWL_EXSTYLE)), L"LISTBOX",
                                                L"", static_cast<DWORD>(::GetWindowLongPtrW(list, GWL_STYLE)), box.left,
                                                box.top, box.right - box.left, box.bottom - box.top, window_, nullptr,
                                                kind.hInstance, nullptr);
            ::SendMessageW(twin, WM_SETFONT, static_cast<WPARAM>(::SendMessageW(list, WM_GETFONT, 0, 0)), TRUE);
            lists_.push_back(twin);
        }
    }
    ~BareLists() { ::DestroyWindow(window_); }
    BareLists(const BareLists&) = delete;
    BareLists& operator=(const BareLists&) = delete;

    // Both lists emptied and filled, then painted.
    void Fill(const std::vector<std::string>& top, const std::vector<std::string>& bottom) {
        for (size_t i = 0; i < 2; ++i) {
            const HWND list = lists_[i];
            ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
            ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
            for (const std::string& item : i == 0 ? top : bottom) {
                ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            }
            ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
            ::InvalidateRect(list, nullptr, TRUE);
        }
        ::UpdateWindow(window_);
    }
    int Count(int list) const { return static_cast<int>(::SendMessageW(lists_[list], LB_GETCOUNT, 0, 0)); }

private:
    HWND window_ = nullptr;
    std::vector<HWND> lists_;
};


}  // namespace

int main() {
    bench::RealPortsInScratch ports("screen");
    win32::Win32Desktop desktop;
    app::Program program(desktop, ports.Ports());
    forms::Application& application = program.App();

    // Leftovers of an earlier run are ours.
    for (const std::string& name : BareEnumerate()) {
        if (name.rfind(kSite, 0) == 0) ::DeleteUrlCacheEntryA(name.c_str());
    }
    const FILETIME never{};
    std::vector<std::string> keepList;
    for (int i = 0; i < kEntries; ++i) {
        ::CommitUrlCacheEntryA(Name(i).c_str(), nullptr, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr);
        if (IsKept(i)) keepList.push_back(Name(i));
    }
    std::string ini = "[User]\r\nsFile0=C:\\Data\r\n[Delete]\r\nTemp=Yes\r\n[Internet]\r\n";
    for (size_t i = 0; i < keepList.size(); ++i) ini += "sFile" + std::to_string(i) + "=" + keepList[i] + "\r\n";
    ports.WriteIni(ini);

    // The backdrop is up before any screen opens.
    application.Dispatch([&] { screens::SetStatusText(application, ""); });
    PumpUntilIdle();

    const auto screenHandle = [&] { return reinterpret_cast<HWND>(application.Find<screens::InternetKeepScreen>()->Handle()); };
    // Shown, with every item in its list (a long list takes its items a slice at a time).
    const auto shown = [&] {
        const screens::InternetKeepScreen* screen = application.Find<screens::InternetKeepScreen>();
        if (!screen || !::IsWindowVisible(reinterpret_cast<HWND>(screen->Handle()))) return false;
        const HWND list = ::GetDlgItem(reinterpret_cast<HWND>(screen->Handle()), win32::ControlIdOf("List1"));
        return ::SendMessageW(list, LB_GETCOUNT, 0, 0) == screen->topList.ListCount();
    };
    // As the user opens it: the start page's command, then whatever loop delivers the messages
    // until the screen is there.
    const auto open = [&] {
        application.Dispatch([&] { application.Load<screens::StartPage>(); });
        PumpUntilIdle();
        return Milliseconds([&] {
            application.Find<screens::StartPage>()->Run("sInter");
            while (!shown()) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                PumpUntilIdle();
            }
            ::UpdateWindow(screenHandle());
        });
    };
    const auto close = [&] {
        application.Dispatch([&] { screens::CloseAllScreens(application); });
        PumpUntilIdle();
        application.Dispatch([&] { screens::SetStatusText(application, ""); });
        PumpUntilIdle();
    };
    // The keep-list stored, and the lists rebuilt from the cache listed beside the windows.
    const auto save = [&] {
        application.Find<screens::InternetKeepScreen>()->Run("sDeleteCookies");
        while (application.Find<screens::InternetKeepScreen>()->Busy() || !shown()) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            PumpUntilIdle();
        }
        ::UpdateWindow(screenHandle());
    };

    open();
    const std::vector<std::string> top = application.Find<screens::InternetKeepScreen>()->topList.Items();
    BareLists bare(screenHandle());
    bool alike = top.size() >= static_cast<size_t>(kEntries) &&
                 application.Find<screens::InternetKeepScreen>()->bottomList.Items() == keepList;
    close();

    std::vector<double> opening, saving, enumeration, fill, keepListSave;
    double longestAnswer = 0;
    std::vector<std::string> listed;
    for (int round = 0; round < kRounds; ++round) {
        bench::InTurns(round, 2, [&](int turn) {
            if (turn == 0) {
                {
                    const bench::AnswerWatch watch(reinterpret_cast<HWND>(application.Find<screens::Backdrop>()->Handle()));
                    opening.push_back(open());
                    longestAnswer = std::max(longestAnswer, watch.Longest());
                }
                alike = alike && application.Find<screens::InternetKeepScreen>()->topList.ListCount() == static_cast<int>(top.size());
                saving.push_back(Milliseconds(save));
                alike = alike && application.Find<screens::InternetKeepScreen>()->bottomList.Items() == keepList;
                close();
            } else {
                enumeration.push_back(Milliseconds([&] { listed = BareEnumerate(); }));
                fill.push_back(Milliseconds([&] { bare.Fill(listed, keepList); }));
                keepListSave.push_back(Milliseconds([&] { engine::SaveInternetKeepList(ports.Ports(), keepList); }));
                alike = alike && listed == top && bare.Count(0) == static_cast<int>(top.size()) &&
                        bare.Count(1) == kKept;
            }
        });
        std::printf("round %d: open %.1f ms, Save %.1f ms; bare enumeration %.1f ms, fill %.1f ms, keep-list save "
                    "%.1f ms\n",
                    round + 1, opening.back(), saving.back(), enumeration.back(), fill.back(), keepListSave.back());
    }

    for (int i = 0; i < kEntries; ++i) ::DeleteUrlCacheEntryA(Name(i).c_str());
    const std::vector<std::string> after = BareEnumerate();
    const auto left = std::count_if(after.begin(), after.end(),
                                    [](const std::string& name) { return name.rfind(kSite, 0) == 0; });
    if (left > 0) {
        std::fprintf(stderr, "bench_cookie_screen: %ld of its entries stayed in the cache\n", static_cast<long>(left));
        return 1;
    }
    if (!alike) {
        std::fprintf(stderr, "bench_cookie_screen: the screen and the reference did not list the same entries\n");
        return 1;
    }

    std::vector<double> bareOpen, bareSave;
    for (int round = 0; round < kRounds; ++round) {
        bareOpen.push_back(enumeration[round] + fill[round]);
        bareSave.push_back(keepListSave[round] + bareOpen.back());
    }
    std::printf("cache of %zu listed entries (%d of this bench), keep-list of %d\n", top.size(), kEntries, kKept);
    bench::AtMost("keep screen from View Cookies / bare enumeration and fill", bench::RatioOf(opening, bareOpen), 1.2);
    bench::AtMost("keep screen Save / bare keep-list save, enumeration and fill", bench::RatioOf(saving, bareSave), 1.5);
    bench::Figure("backdrop's longest answer while InternetKeepScreen opens", std::to_string(static_cast<int>(longestAnswer)) + " ms",
                  "at most 50 ms", longestAnswer <= 50 ? "met" : "NOT MET");
    return 0;
}
