// Filling a list of the program with 32,767 items of 60 characters, as a handler does, against a
// bare LB_ADDSTRING loop with redrawing switched off on an identical list box beside it, in the
// same run on the same display. Both start empty with no sideways range and end full, scrolling
// sideways as far as the longest item, and painted.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/WindowBench.h"
#include "forms/Application.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"

namespace {

using bench::Milliseconds;
using bench::PumpUntilIdle;

constexpr int kRounds = 7;

class Lists : public forms::Form {
public:
    Lists() : Form("Lists", 9000, 6000) {
        SetCaption("bench_listfill");
        SetLeft(300);
        SetTop(300);
        List1.Move(120, 120, 4200, 5700);
    }
    forms::ListBox List1{*this, "List1"};
};

// Cache-entry-like names, all different, 60 characters each.
std::vector<std::string> Items() {
    std::vector<std::string> items;
    items.reserve(forms::kMaxListItems);
    for (int i = 0; i < forms::kMaxListItems; ++i) {
        std::string item = "Cookie:user@www.example" + std::to_string(i % 977) + ".com/path/" + std::to_string(i) + "/";
        while (item.size() < 60) item += static_cast<char>('a' + (i + item.size()) % 26);
        items.push_back(item.substr(0, 60));
    }
    return items;
}

// A list box made as the bare Win32 way would make it: the same class, styles, size and font.
HWND TwinOf(HWND list) {
    const HWND parent = ::GetParent(list);
    RECT box = {};
    ::GetWindowRect(list, &box);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
    // A list whose scroll bars are hidden (an empty one) no longer shows the scroll-bar styles it
    // was made with; the twin is made with them, as ours was.
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(list, GWL_STYLE)) | WS_VSCROLL | WS_HSCROLL;
    const HWND twin = ::CreateWindowExW(
        static_cast<DWORD>(::GetWindowLongPtrW(list, GWL_EXSTYLE)), L"LISTBOX", L"", style, box.right + 10, box.top, box.right - box.left,
        box.bottom - box.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(1)), ::GetModuleHandleW(nullptr),
        nullptr);
    ::SendMessageW(twin, WM_SETFONT, static_cast<WPARAM>(::SendMessageW(list, WM_GETFONT, 0, 0)), TRUE);
    return twin;
}

}  // namespace

int main() {
    win32::Win32Desktop desktop;
    forms::Application app(desktop);
    Lists& form = app.Show<Lists>();
    const HWND ours = ::FindWindowExW(reinterpret_cast<HWND>(form.Handle()), nullptr, L"ListBox", nullptr);
    const HWND bare = TwinOf(ours);
    const std::vector<std::string> items = Items();
    std::vector<std::wstring> wideItems;
    for (const std::string& item : items) wideItems.push_back(win32::Widen(item));
    PumpUntilIdle();

    const auto fillOurs = [&] {
        // As a handler fills a list: the list redraws once the handler has returned.
        app.Dispatch([&] {
            for (const std::string& item : items) form.List1.AddItem(item);
        });
        PumpUntilIdle();
        ::UpdateWindow(ours);
    };
    LRESULT sideways = 0;  // ours's sideways range when full, which the twin takes too
    const auto fillBare = [&] {
        ::SendMessageW(bare, WM_SETREDRAW, FALSE, 0);
        for (const std::wstring& item : wideItems) {
            ::SendMessageW(bare, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        ::SendMessageW(bare, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(sideways), 0);
        ::SendMessageW(bare, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(bare, nullptr, TRUE);
        ::UpdateWindow(bare);
    };
    // Both start each fill empty, with nothing to scroll sideways to.
    const auto empty = [&] {
        form.List1.Clear();
        ::SendMessageW(bare, LB_RESETCONTENT, 0, 0);
        ::SendMessageW(bare, LB_SETHORIZONTALEXTENT, 0, 0);
        PumpUntilIdle();
    };

    std::vector<double> oursMs, bareMs;
    fillOurs();  // once unmeasured, for its sideways range
    sideways = ::SendMessageW(ours, LB_GETHORIZONTALEXTENT, 0, 0);
    empty();
    for (int round = 0; round < kRounds; ++round) {
        // Taking turns, so that neither always meets a warmer heap.
        bench::InTurns(round, 2, [&](int turn) {
            if (turn == 0) {
                oursMs.push_back(Milliseconds(fillOurs));
            } else {
                bareMs.push_back(Milliseconds(fillBare));
            }
        });
        const LRESULT oursCount = ::SendMessageW(ours, LB_GETCOUNT, 0, 0);
        const LRESULT bareCount = ::SendMessageW(bare, LB_GETCOUNT, 0, 0);
        if (oursCount != forms::kMaxListItems || bareCount != forms::kMaxListItems) {
            std::fprintf(stderr, "bench_listfill: the lists hold %ld and %ld items\n", static_cast<long>(oursCount),
                         static_cast<long>(bareCount));
            return 1;
        }
        empty();
    }

    std::printf("ListBox.AddItem x %d (60 characters): %s; bare LB_ADDSTRING loop: %s\n", forms::kMaxListItems,
                bench::Text(bench::SpreadOf(oursMs), "%.1f", " ms").c_str(),
                bench::Text(bench::SpreadOf(bareMs), "%.1f", " ms").c_str());
    bench::AtMost("ListBox.AddItem fill / bare LB_ADDSTRING loop", bench::RatioOf(oursMs, bareMs), 1.5);
    return 0;
}
