#include "platform/win32/Win32Beside.h"

#include <algorithm>

namespace win32 {
namespace {

constexpr const wchar_t* kBesideClass = L"MorvaneBeside";
constexpr UINT kWorkDone = WM_APP + 0x40;

}  // namespace

BesideWork::BesideWork() {
    RegisterWindowClass(kBesideClass, 0, nullptr);
    Create(0, kBesideClass, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr);
}

BesideWork::~BesideWork() {
    for (const auto& work : works_) {
        if (work->thread) ::WaitForSingleObject(work->thread.Get(), INFINITE);
    }
    Destroy();
}

DWORD WINAPI BesideWork::RunWork(void* parameter) {
    auto* work = static_cast<Work*>(parameter);
    try {
        work->work();
    } catch (...) {
        // Nothing thrown crosses into the window thread; the work simply ends.
    }
    ::PostMessageW(work->notify, kWorkDone, work->id, 0);
    return 0;
}

void BesideWork::Start(std::function<void()> work, int tickMs, std::function<void()> onTick,
                       std::function<void()> onDone) {
    auto entry = std::make_unique<Work>();
    entry->id = nextId_++;
    entry->work = std::move(work);
    entry->onTick = std::move(onTick);
    entry->onDone = std::move(onDone);
    entry->notify = Hwnd();
    Work& started = *entry;
    works_.push_back(std::move(entry));
    if (started.onTick) ::SetTimer(Hwnd(), started.id, static_cast<UINT>(tickMs > 0 ? tickMs : 100), nullptr);
    started.thread.Reset(::CreateThread(nullptr, 0, RunWork, &started, 0, nullptr));
    // No thread to be had: the work runs here, and ends as it would have.
    if (!started.thread) RunWork(&started);
}

void BesideWork::FinishAll() {
    // An onDone may start more work (a clean's end writes its record beside): that is waited for too.
    while (!works_.empty()) Done(works_.front()->id);
}

void BesideWork::Done(UINT id) {
    const auto found = std::find_if(works_.begin(), works_.end(), [&](const auto& w) { return w->id == id; });
    if (found == works_.end()) return;  // finished already
    if ((*found)->thread) ::WaitForSingleObject((*found)->thread.Get(), INFINITE);
    ::KillTimer(Hwnd(), id);
    const std::function<void()> onDone = std::move((*found)->onDone);
    works_.erase(found);
    if (onDone) onDone();
}

LRESULT BesideWork::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kWorkDone) {
        Done(static_cast<UINT>(wParam));
        return 0;
    }
    if (message == WM_TIMER) {
        for (const auto& work : works_) {
            if (work->id == wParam) {
                // A copy: the tick may start or end work.
                const std::function<void()> onTick = work->onTick;
                if (onTick) onTick();
                break;
            }
        }
        return 0;
    }
    return Default(message, wParam, lParam);
}

}  // namespace win32
