#pragma once
// A form's top-level window: caption, menu bar, background colour or picture, timers,
// activation as the forms expect it, and the native controls on it.
#include <optional>
#include <vector>

#include "platform/Desktop.h"
#include "platform/win32/NativeWindow.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Gdi.h"

namespace win32 {

class Win32Control;

// Posted by a list to its form once a burst of additions has ended (lParam: the list).
inline constexpr UINT kEndListBurst = WM_APP + 1;
// Posted by a backdrop to itself when it was activated while a window it owns was shown.
inline constexpr UINT kPassActivation = WM_APP + 2;

// The answer to WM_MENUCHAR: the item of the menu whose access key (text::AccessKeys) was typed,
// chosen, so that menu items have access keys while their captions stay as they are.
LRESULT MenuAccessKey(HMENU menu, WPARAM typed);

class Win32Window final : public NativeWindow, public platform::WindowPeer {
public:
    Win32Window(Win32Desktop& desktop, const platform::WindowStyle& style, platform::WindowEvents& events,
                const platform::WindowSetup& setup);
    ~Win32Window() override;

    void SetCaption(const std::string& caption) override;
    void SetBounds(const platform::TwipRect& outer) override;
    platform::TwipRect ClientArea() override;
    void SetBackColour(platform::Colour colour) override;
    void SetBackground(const platform::Image& image) override;
    void SetGradient(const platform::Gradient& gradient) override;
    void SetMenu(const std::vector<platform::MenuSpec>& menu) override;
    void Show() override;
    void Hide() override;
    void Repaint() override;
    void StartTimer(int id, int milliseconds) override;
    void StopTimer(int id) override;
    std::unique_ptr<platform::ControlPeer> CreateControl(platform::ControlType type, const std::string& name,
                                                         platform::ControlEvents& events,
                                                         const platform::ControlSetup& setup) override;
    using platform::WindowPeer::CreateControl;
    std::uintptr_t NativeHandle() override { return reinterpret_cast<std::uintptr_t>(Hwnd()); }
    void SetMessageHook(platform::MessageHook hook) override { hook_ = std::move(hook); }
    bool HasMessageHook() override { return static_cast<bool>(hook_); }
    void BringToForeground() override;
    int TrackPopupMenu(const std::vector<platform::MenuSpec>& items, const std::function<void(int id)>& onChoosing) override;

    const platform::WindowStyle& Style() const { return style_; }
    // Tab and Shift+Tab move the focus among the controls that take it, in the order they were
    // made; Enter on a control is its default action; Esc on a window with a menu bar is its
    // close box. False for a key left to the control.
    bool OnDialogKey(HWND from, WPARAM key);

    // For the controls on the window.
    Win32Desktop& Desktop() const { return desktop_; }
    void Adopt(Win32Control& control) { controls_.push_back(&control); }
    void Forget(Win32Control& control);
    // The bottom-most control that lies above the labels; null when there is none.
    HWND LowestForegroundControl() const;
    // What shows through a transparent child: the window's background, aligned to the child.
    HBRUSH BackdropFor(HWND child, HDC dc);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    // The window grows by what a menu bar on more than one line takes, so that the inner area
    // keeps the height the form laid its controls out in; its middle stays where it was.
    void KeepClientHeight();
    // The topmost shown and enabled window this one owns; null for none.
    HWND FrontOwned() const;
    // Gives the focus back to the control that had it when the window was last active, or
    // to the first control that takes it.
    void RestoreFocus();
    std::vector<HWND> TabStops() const;
    LRESULT OnSize(LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintBackground(HDC dc, const RECT& area);
    // The picture (or the gradient) at the size of the client area, remade when the size changed.
    bool EnsureScaledPicture();
    void ForgetScaledPicture();
    Win32Control* ControlOf(HWND child) const;

    Win32Desktop& desktop_;
    platform::WindowStyle style_;
    platform::WindowEvents& events_;
    platform::MessageHook hook_;
    std::vector<Win32Control*> controls_;
    GdiBrush backBrush_;
    GdiBitmap picture_;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    struct Gradient {
        COLORREF top;
        COLORREF bottom;
    };
    std::optional<Gradient> gradient_;  // drawn directly, not from a picture
    GdiBitmap scaled_;
    GdiBrush scaledBrush_;
    SIZE scaledSize_ = {0, 0};
    SIZE clientSize_ = {0, 0};  // the size last reported as a resize
    HWND focus_ = nullptr;      // the control that had the focus when the window was left
    bool created_ = false;      // no events while the window is being made
    bool quietResize_ = false;  // a new menu bar changes the client size without a resize
    bool hiding_ = false;
    bool destroying_ = false;
    LifeToken life_;
};

}  // namespace win32
