#pragma once
// The real desktop: top-level windows with native controls, message boxes, the pointer shown
// over every window of the program, the screen and the message loop, all on the UI thread.
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Desktop.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Gdi.h"

namespace win32 {

class Win32Window;
class BesideWork;
class MenuHolder;

// The window classes of ours.
inline constexpr const wchar_t* kFormClass = L"MorvaneForm";
inline constexpr const wchar_t* kPictureClass = L"MorvanePicture";

class Win32Desktop : public platform::Desktop {
public:
    Win32Desktop();
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    std::unique_ptr<platform::WindowPeer> CreateWindowPeer(const std::string& name, const platform::WindowStyle& style,
                                                           platform::WindowEvents& events,
                                                           const platform::WindowSetup& setup) override;
    using platform::Desktop::CreateWindowPeer;
    platform::TwipRect FrameExtra(const platform::WindowStyle& style) override;
    int MessageBox(const std::string& text, const std::string& caption, int style) override;
    void SetPointer(int pointer) override;
    platform::ScreenMetrics Screen() override;
    double ListHeight(const platform::FontSpec& font, int rows) override;
    double MenuBarWidth(const std::vector<std::string>& captions) override;
    void RunLoop() override;
    void Quit() override;
    void StartBeside(std::function<void()> work, int tickMs, std::function<void()> onTick,
                     std::function<void()> onDone) override;
    void FinishBeside() override;
    void Wait(int milliseconds) override;
    void EndMessageBoxes() override;
    int AddTrayIcon(platform::WindowPeer& owner, const platform::TrayIconSpec& icon) override;
    void DeleteTrayIcon(platform::WindowPeer& owner, const platform::TrayIconSpec& icon) override;
    bool SetTrayTip(platform::WindowPeer& owner, const platform::TrayIconSpec& icon) override;
    bool ShowTrayBalloon(platform::WindowPeer& owner, const platform::TrayIconSpec& icon,
                         const platform::TrayBalloon& balloon) override;
    std::optional<platform::Image> LoadPicture(const std::string& resourceName) override;

    // Twips and the display's pixels.
    int PixelsX(double twips) const;
    int PixelsY(double twips) const;
    // A rectangle in pixels whose edges are the twip edges rounded, so that rectangles that
    // meet in twips meet in pixels too, without a pixel of overlap or gap.
    RECT PixelRect(const platform::TwipRect& bounds) const;
    double TwipsX(int pixels) const { return pixels * twipsPerPixelX_; }
    double TwipsY(int pixels) const { return pixels * twipsPerPixelY_; }

    // The font a FontSpec describes, made once and kept until the desktop goes.
    HFONT Font(const platform::FontSpec& wanted);
    // A text's width in a font, in pixels, and the font's average character width, measured
    // on a device context of the desktop's own rather than a window's.
    struct TextSize {
        int width = 0;
        int averageCharWidth = 0;
    };
    TextSize MeasureText(HFONT font, std::wstring_view text);
    // The box a text takes in a font, broken into lines at a width as a label breaks it, in
    // pixels; wider than the width when one word is.
    SIZE WrappedTextSize(HFONT font, std::wstring_view text, int width);
    // The picture as a bitmap shared with every other window showing the same one.
    std::shared_ptr<SharedPicture> Picture(const platform::Image& image);
    // True for the top-level windows this desktop made.
    bool IsOurs(HWND window) const;
    // Whether any of them is shown.
    bool AnyShown() const;
    // A window of one transparent pixel at a point, on top and owned (no task bar gives it a
    // button), that holds a menu while nothing of ours is shown: the same one each time, since
    // under Wine's virtual desktop the keyboard does not find a second one. Hidden again after.
    HWND ShowMenuHolder(POINT at, HWND owner);
    void HideMenuHolder();
    // Shows the pointer's cursor; false for the default pointer, where each window's own
    // cursor applies.
    bool ApplyPointer() const;

    void Adopt(Win32Window& window);
    // A window about to be destroyed.
    void Forget(Win32Window& window);
    // The window a new window of this style is owned by: the backdrop, for every window that
    // is not a tool window; null for none.
    HWND OwnerFor(const platform::WindowStyle& style) const;
    // Handles a key of the dialog keyboard (Tab, Shift+Tab, Enter) for the window whose
    // control has the focus; false leaves the message to be translated and dispatched.
    bool HandleDialogKey(const MSG& message);
    // The notification area says it has been (re)started, and the icons go back into it.
    UINT TaskbarCreatedMessage() const { return taskbarCreated_; }
    void RestoreTrayIcons(HWND owner);

private:
    struct CachedFont {
        platform::FontSpec wanted;
        GdiFont font;
    };
    struct TrayIcon {
        HWND owner;
        platform::TrayIconSpec data;
    };

    double twipsPerPixelX_ = 15;
    double twipsPerPixelY_ = 15;
    int pixelsPerInchY_ = 96;
    int pointer_ = platform::kPointerDefault;
    std::vector<Win32Window*> windows_;
    Win32Window* backdrop_ = nullptr;
    std::vector<CachedFont> fonts_;
    MemoryDc measuring_;
    std::vector<std::shared_ptr<SharedPicture>> pictures_;  // the most recently shown first
    std::vector<TrayIcon> trayIcons_;
    UINT taskbarCreated_ = 0;
    std::unique_ptr<BesideWork> beside_;
    std::unique_ptr<MenuHolder> menuHolder_;
};

// The window styles a form's window is made with.
DWORD FormStyle(const platform::WindowStyle& style);
DWORD FormExStyle(const platform::WindowStyle& style);

}  // namespace win32
