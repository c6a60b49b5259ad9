#pragma once
// Work that runs on threads of its own beside the windows: each work's ticks and its end reach
// the window thread as messages of a window of their own (message-only), so that every loop
// that delivers the thread's messages delivers them too: the program's own, a message box's,
// a menu's.
#include <functional>
#include <memory>
#include <vector>

#include "platform/win32/NativeWindow.h"
#include "platform/win32/UniqueHandle.h"

namespace win32 {

class BesideWork final : public NativeWindow {
public:
    BesideWork();
    // Waits for work that still runs (its onDone is not called: nothing is left to call it on).
    ~BesideWork() override;

    void Start(std::function<void()> work, int tickMs, std::function<void()> onTick, std::function<void()> onDone);
    // Waits for every work to return and calls its onDone, the work those start included.
    void FinishAll();

private:
    struct Work {
        UINT id = 0;
        std::function<void()> work;
        std::function<void()> onTick;
        std::function<void()> onDone;
        KernelHandle thread;
        HWND notify = nullptr;
    };

    static DWORD WINAPI RunWork(void* parameter);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The work has returned: its thread is joined and its onDone called.
    void Done(UINT id);

    std::vector<std::unique_ptr<Work>> works_;
    UINT nextId_ = 1;
};

}  // namespace win32
