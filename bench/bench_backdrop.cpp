// Repainting the backdrop on a 1024 x 768 display, as the window manager asks for it when a
// screen in front of it goes away, against a bare window of the same size and place whose paint
// is one GradientFill of its client area, repainted the same way in the same run. Both count
// from the invalidation to the end of the paint, the pixels handed to the display. The target
// is the backdrop's own paint (the gradient); the whole repaint with its title and status line
// is printed beside it. Taking turns over 50 rounds, the median of the per-round ratios.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/WindowBench.h"
#include "screens/Backdrop.h"
#include "forms/Application.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Gdi.h"

namespace {

using bench::Median;
using bench::Milliseconds;
using bench::PumpUntilIdle;

constexpr int kRuns = 50;
constexpr double kTarget = 2.0;
constexpr const wchar_t* kBareClass = L"BareGradient";

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = ::BeginPaint(window, &paint);
            RECT client = {};
            ::GetClientRect(window, &client);
            TRIVERTEX corners[2] = {{client.left, client.top, 0xFF00, 0x8000, 0xFF00, 0},
                                    {client.right, client.bottom, 0, 0, 0, 0}};
            GRADIENT_RECT rect = {0, 1};
            ::GradientFill(dc, corners, 2, &rect, 1, GRADIENT_FILL_RECT_V);
            ::EndPaint(window, &paint);
            return 0;
        }
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// A bare window exactly over the backdrop's client area.
HWND BareTwin(HWND backdrop) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = BareProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kBareClass;
    ::RegisterClassW(&windowClass);
    RECT client = {};
    ::GetClientRect(backdrop, &client);
    ::MapWindowPoints(backdrop, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return ::CreateWindowExW(0, kBareClass, L"", WS_POPUP, client.left, client.top, client.right - client.left,
                             client.bottom - client.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

// Shows one of the two on top, so that the other's paint would draw nothing.
void Uncover(HWND bare, bool showBare) {
    ::ShowWindow(bare, showBare ? SW_SHOWNA : SW_HIDE);
    PumpUntilIdle();
}

}  // namespace

int main() {
    win32::Win32Desktop desktop;
    forms::Application app(desktop);
    screens::Backdrop& backdrop = app.Get<screens::Backdrop>();
    screens::SetStatusText(app, "Repainting the backdrop");
    const HWND window = reinterpret_cast<HWND>(backdrop.Handle());
    PumpUntilIdle();
    const HWND bare = BareTwin(window);
    RECT client = {};
    ::GetClientRect(window, &client);

    const auto repaint = [](HWND target, UINT children) {
        return Milliseconds([&] {
            ::RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | children);
            ::GdiFlush();
        });
    };
    std::vector<double> own;
    std::vector<double> whole;
    std::vector<double> reference;
    for (int run = 0; run < kRuns; ++run) {
        const auto ours = [&] {
            Uncover(bare, false);
            own.push_back(repaint(window, RDW_NOCHILDREN));
            whole.push_back(repaint(window, RDW_ALLCHILDREN));
        };
        const auto theirs = [&] {
            Uncover(bare, true);
            reference.push_back(repaint(bare, RDW_NOCHILDREN));
        };
        bench::InTurns(run, 2, [&](int turn) { turn == 0 ? ours() : theirs(); });
    }
    ::DestroyWindow(bare);
    PumpUntilIdle();

    std::printf("backdrop at %ld x %ld pixels: its paint %.2f ms (with title and status line %.2f ms); a bare window "
                "painting one GradientFill: %.2f ms (medians of %d)\n",
                static_cast<long>(client.right), static_cast<long>(client.bottom), Median(own), Median(whole),
                Median(reference), kRuns);
    bench::AtMost("backdrop's paint / one bare GradientFill", bench::RatioOf(own, reference), kTarget);
    bench::Shown("backdrop's paint with title and status line / one bare GradientFill",
                 bench::RatioOf(whole, reference));
    return 0;
}
