#include "platform/win32/Win32Desktop.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string_view>

#include "platform/win32/NativeWindow.h"
#include "platform/win32/Win32Beside.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Window.h"

#include <commctrl.h>
#include <shellapi.h>

namespace win32 {
namespace {

HICON ProgramIcon() {
    // The program's own icon; test programs have none.
    if (HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), L"MAINICON")) return icon;
    return ::LoadIconW(nullptr, IDI_APPLICATION);
}

// Copies text into a fixed field, cut to fit with its terminating zero.
template <std::size_t N>
void CopyInto(wchar_t (&field)[N], const std::string& text) {
    const std::wstring wide = Widen(text).substr(0, N - 1);
    std::copy(wide.begin(), wide.end(), field);
}

NOTIFYICONDATAW IconData(HWND owner, const platform::TrayIconSpec& icon) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = static_cast<UINT>(icon.id);
    data.uFlags = icon.flags;
    data.uCallbackMessage = icon.callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(owner, GCLP_HICON));  // the window's own icon
    CopyInto(data.szTip, icon.tip);
    return data;
}

bool NotifyIcon(DWORD action, HWND owner, const platform::TrayIconSpec& icon) {
    NOTIFYICONDATAW data = IconData(owner, icon);
    return ::Shell_NotifyIconW(action, &data) != FALSE;
}

LPCWSTR CursorOf(int pointer) {
    switch (pointer) {
        case platform::kPointerHourglass:
            return IDC_WAIT;
        case platform::kPointerArrowHourglass:
            return IDC_APPSTARTING;
        default:
            return nullptr;
    }
}

}  // namespace

class MenuHolder final : public NativeWindow {
public:
    MenuHolder() {
        RegisterWindowClass(kHolderClass, 0, nullptr);
        Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED, kHolderClass, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr);
        ::SetLayeredWindowAttributes(Hwnd(), 0, 0, LWA_ALPHA);
    }
    ~MenuHolder() override { Destroy(); }

private:
    static constexpr const wchar_t* kHolderClass = L"MorvaneMenuHolder";
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_MENUCHAR) return MenuAccessKey(reinterpret_cast<HMENU>(lParam), wParam);
        return Default(message, wParam, lParam);
    }
};

DWORD FormStyle(const platform::WindowStyle& style) {
    if (style.popup) return WS_POPUP | WS_CLIPCHILDREN;
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
}

DWORD FormExStyle(const platform::WindowStyle& style) {
    return style.toolWindow || style.backdrop ? WS_EX_TOOLWINDOW : 0;
}

Win32Desktop::Win32Desktop() {
    // The standard controls of common controls 6, where the program's manifest asks for them.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const WindowDc screen(nullptr);
    const int perInchX = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
    const int perInchY = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    if (perInchX > 0) twipsPerPixelX_ = 1440.0 / perInchX;
    if (perInchY > 0) {
        twipsPerPixelY_ = 1440.0 / perInchY;
        pixelsPerInchY_ = perInchY;
    }
    // A stretched background is redrawn whole when the window changes size.
    NativeWindow::RegisterWindowClass(kFormClass, CS_HREDRAW | CS_VREDRAW, ProgramIcon());
    NativeWindow::RegisterWindowClass(kPictureClass, CS_HREDRAW | CS_VREDRAW, nullptr);
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
}

// Work still beside is waited for before the windows go.
Win32Desktop::~Win32Desktop() {
    beside_.reset();
    menuHolder_.reset();
}

int Win32Desktop::PixelsX(double twips) const { return static_cast<int>(std::lround(twips / twipsPerPixelX_)); }
int Win32Desktop::PixelsY(double twips) const { return static_cast<int>(std::lround(twips / twipsPerPixelY_)); }

RECT Win32Desktop::PixelRect(const platform::TwipRect& bounds) const {
    return {PixelsX(bounds.left), PixelsY(bounds.top), PixelsX(bounds.left + bounds.width),
            PixelsY(bounds.top + bounds.height)};
}

std::unique_ptr<platform::WindowPeer> Win32Desktop::CreateWindowPeer(const std::string&,
                                                                     const platform::WindowStyle& style,
                                                                     platform::WindowEvents& events,
                                                                     const platform::WindowSetup& setup) {
    return std::make_unique<Win32Window>(*this, style, events, setup);
}

platform::TwipRect Win32Desktop::FrameExtra(const platform::WindowStyle& style) {
    RECT frame = {0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, FormStyle(style), style.hasMenu ? TRUE : FALSE, FormExStyle(style));
    return {TwipsX(-frame.left), TwipsY(-frame.top), TwipsX(frame.right - frame.left),
            TwipsY(frame.bottom - frame.top)};
}

int Win32Desktop::MessageBox(const std::string& text, const std::string& caption, int style) {
    // The box belongs to the window the user is working in, so that window cannot be used
    // meanwhile and comes back to the front afterwards.
    HWND owner = ::GetActiveWindow();
    if (!IsOurs(owner) || !::IsWindowVisible(owner)) owner = nullptr;
    return ::MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(),
                         static_cast<UINT>(style) | MB_SETFOREGROUND);
}

void Win32Desktop::SetPointer(int pointer) {
    pointer_ = pointer;
    // At once, not at the next mouse move.
    if (!ApplyPointer()) ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

bool Win32Desktop::ApplyPointer() const {
    const LPCWSTR cursor = CursorOf(pointer_);
    if (!cursor) return false;
    ::SetCursor(::LoadCursorW(nullptr, cursor));
    return true;
}

platform::ScreenMetrics Win32Desktop::Screen() {
    platform::ScreenMetrics metrics;
    metrics.twipsPerPixelX = twipsPerPixelX_;
    metrics.twipsPerPixelY = twipsPerPixelY_;
    metrics.widthTwips = TwipsX(::GetSystemMetrics(SM_CXSCREEN));
    metrics.heightTwips = TwipsY(::GetSystemMetrics(SM_CYSCREEN));
    return metrics;
}

double Win32Desktop::ListHeight(const platform::FontSpec& font, int rows) {
    if (!measuring_) measuring_.Reset(::CreateCompatibleDC(nullptr));
    const Selection selection(measuring_.Get(), Font(font));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(measuring_.Get(), &metrics);
    // A list box's rows are the font's lines; a folder list's are never lower than 12 pixels.
    const int row = std::max<int>(12, metrics.tmHeight);
    const int frame = 2 * ::GetSystemMetrics(SM_CYEDGE) + ::GetSystemMetrics(SM_CYHSCROLL);
    // One pixel spare: the twips are rounded to pixels edge by edge.
    return TwipsY(rows * row + frame + 1);
}

double Win32Desktop::MenuBarWidth(const std::vector<std::string>& captions) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return 0;
    const GdiFont font(::CreateFontIndirectW(&metrics.lfMenuFont));
    if (!measuring_) measuring_.Reset(::CreateCompatibleDC(nullptr));
    const Selection selection(measuring_.Get(), font.Get());
    TEXTMETRICW text = {};
    ::GetTextMetricsW(measuring_.Get(), &text);
    // Each item is its text with an average character of room on either side, and a little
    // more, so that an estimate errs on the wide side.
    int width = 2 * ::GetSystemMetrics(SM_CXEDGE);
    for (const std::string& caption : captions) {
        const std::wstring wide = Widen(caption);
        SIZE size = {};
        ::GetTextExtentPoint32W(measuring_.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        width += size.cx + 2 * text.tmAveCharWidth + 4;
    }
    return TwipsX(width);
}

void Win32Desktop::RunLoop() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (HandleDialogKey(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool Win32Desktop::HandleDialogKey(const MSG& message) {
    const bool menuKey = (message.message == WM_SYSKEYDOWN || message.message == WM_SYSKEYUP) &&
                         (message.wParam == VK_MENU || message.wParam == VK_F10);
    const bool dialogKey = message.message == WM_KEYDOWN &&
                           (message.wParam == VK_TAB || message.wParam == VK_RETURN || message.wParam == VK_ESCAPE);
    if (!menuKey && !dialogKey) return false;
    for (Win32Window* window : windows_) {
        if (window->Hwnd() != message.hwnd && !::IsChild(window->Hwnd(), message.hwnd)) continue;
        if (dialogKey) return window->OnDialogKey(message.hwnd, message.wParam);
        if (window->Hwnd() == message.hwnd) return false;
        // Alt and F10 open the menu bar from any control: straight to the default handling,
        // which some controls (a drop-down list under Wine) never pass them on to.
        ::DefWindowProcW(message.hwnd, message.message, message.wParam, message.lParam);
        return true;
    }
    return false;
}

void Win32Desktop::Quit() { ::PostQuitMessage(0); }

void Win32Desktop::StartBeside(std::function<void()> work, int tickMs, std::function<void()> onTick,
                               std::function<void()> onDone) {
    if (!beside_) beside_ = std::make_unique<BesideWork>();
    beside_->Start(std::move(work), tickMs, std::move(onTick), std::move(onDone));
}

void Win32Desktop::FinishBeside() {
    if (beside_) beside_->FinishAll();
}

void Win32Desktop::Wait(int milliseconds) {
    const DWORD start = ::GetTickCount();
    const DWORD length = static_cast<DWORD>(milliseconds > 0 ? milliseconds : 0);
    std::optional<int> quitCode;
    for (;;) {
        const DWORD passed = ::GetTickCount() - start;
        if (passed >= length) break;
        if (::MsgWaitForMultipleObjectsEx(0, nullptr, length - passed, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
            WAIT_TIMEOUT) {
            break;
        }
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitCode = static_cast<int>(message.wParam);  // for the outer loop, once the wait is over
                continue;
            }
            if (HandleDialogKey(message)) continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    if (quitCode) ::PostQuitMessage(*quitCode);
}

namespace {

BOOL CALLBACK EndMessageBox(HWND window, LPARAM) {
    // The program makes no dialog of its own: a dialog of this thread is a message box.
    wchar_t className[16] = {};
    if (::GetClassNameW(window, className, 16) && std::wstring_view(className) == L"#32770") {
        ::EndDialog(window, IDCANCEL);
    }
    return TRUE;
}

}  // namespace

void Win32Desktop::EndMessageBoxes() { ::EnumThreadWindows(::GetCurrentThreadId(), EndMessageBox, 0); }

int Win32Desktop::AddTrayIcon(platform::WindowPeer& owner, const platform::TrayIconSpec& icon) {
    const HWND window = reinterpret_cast<HWND>(owner.NativeHandle());
    if (!NotifyIcon(NIM_ADD, window, icon)) return 0;
    trayIcons_.push_back({window, icon});
    return 1;
}

void Win32Desktop::DeleteTrayIcon(platform::WindowPeer& owner, const platform::TrayIconSpec& icon) {
    const HWND window = reinterpret_cast<HWND>(owner.NativeHandle());
    NotifyIcon(NIM_DELETE, window, icon);
    trayIcons_.erase(std::remove_if(trayIcons_.begin(), trayIcons_.end(),
                                    [&](const TrayIcon& t) { return t.owner == window && t.data.id == icon.id; }),
                     trayIcons_.end());
}

bool Win32Desktop::SetTrayTip(platform::WindowPeer& owner, const platform::TrayIconSpec& icon) {
    const HWND window = reinterpret_cast<HWND>(owner.NativeHandle());
    NOTIFYICONDATAW data = IconData(window, icon);
    data.uFlags = NIF_TIP;
    if (!::Shell_NotifyIconW(NIM_MODIFY, &data)) return false;
    for (TrayIcon& kept : trayIcons_) {
        if (kept.owner == window && kept.data.id == icon.id) kept.data.tip = icon.tip;  // as it comes back
    }
    return true;
}

bool Win32Desktop::ShowTrayBalloon(platform::WindowPeer& owner, const platform::TrayIconSpec& icon,
                                   const platform::TrayBalloon& balloon) {
    NOTIFYICONDATAW data = IconData(reinterpret_cast<HWND>(owner.NativeHandle()), icon);
    data.uFlags = NIF_INFO;
    CopyInto(data.szInfoTitle, balloon.title);
    CopyInto(data.szInfo, balloon.text);
    data.dwInfoFlags = balloon.warning ? NIIF_WARNING : NIIF_INFO;
    data.uTimeout = 15000;  // what systems before Vista read; later ones keep their own time
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void Win32Desktop::RestoreTrayIcons(HWND owner) {
    for (const TrayIcon& icon : trayIcons_) {
        if (icon.owner == owner) NotifyIcon(NIM_ADD, owner, icon.data);
    }
}

std::optional<platform::Image> Win32Desktop::LoadPicture(const std::string& resourceName) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceW(module, Widen(resourceName).c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!found) return std::nullopt;
    const HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return std::nullopt;
    return DecodePicture(bytes, ::SizeofResource(module, found));
}

HFONT Win32Desktop::Font(const platform::FontSpec& wanted) {
    for (const CachedFont& cached : fonts_) {
        if (cached.wanted == wanted) return cached.font.Get();
    }
    LOGFONTW font = {};
    font.lfHeight = -static_cast<LONG>(std::lround(wanted.size * pixelsPerInchY_ / 72.0));
    font.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = wanted.italic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = Widen(wanted.name).substr(0, LF_FACESIZE - 1);
    std::copy(face.begin(), face.end(), font.lfFaceName);
    fonts_.push_back({wanted, GdiFont(::CreateFontIndirectW(&font))});
    return fonts_.back().font.Get();
}

Win32Desktop::TextSize Win32Desktop::MeasureText(HFONT font, std::wstring_view text) {
    if (!measuring_) measuring_.Reset(::CreateCompatibleDC(nullptr));
    const Selection selection(measuring_.Get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
    SIZE size = {};
    TEXTMETRICW metrics = {};
    ::GetTextExtentPoint32W(measuring_.Get(), text.data(), static_cast<int>(text.size()), &size);
    ::GetTextMetricsW(measuring_.Get(), &metrics);
    return {static_cast<int>(size.cx), static_cast<int>(metrics.tmAveCharWidth)};
}

SIZE Win32Desktop::WrappedTextSize(HFONT font, std::wstring_view text, int width) {
    if (!measuring_) measuring_.Reset(::CreateCompatibleDC(nullptr));
    const Selection selection(measuring_.Get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
    RECT box = {0, 0, width, 0};
    // The flags a STATIC with SS_NOPREFIX draws with.
    ::DrawTextW(measuring_.Get(), text.data(), static_cast<int>(text.size()), &box,
                DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    return {box.right - box.left, box.bottom - box.top};
}

std::shared_ptr<SharedPicture> Win32Desktop::Picture(const platform::Image& image) {
    // A few pictures are kept, which is all a program shows; older ones live on in the
    // windows that still show them.
    constexpr size_t kKeptPictures = 4;
    const auto found = std::find_if(pictures_.begin(), pictures_.end(),
                                    [&](const std::shared_ptr<SharedPicture>& p) { return p->Shows(image); });
    if (found != pictures_.end()) {
        std::rotate(pictures_.begin(), found, found + 1);
        return pictures_.front();
    }
    if (pictures_.size() == kKeptPictures) pictures_.pop_back();
    pictures_.insert(pictures_.begin(), std::make_shared<SharedPicture>(image));
    return pictures_.front();
}

bool Win32Desktop::IsOurs(HWND window) const {
    return window && std::any_of(windows_.begin(), windows_.end(), [&](Win32Window* w) { return w->Hwnd() == window; });
}

bool Win32Desktop::AnyShown() const {
    return std::any_of(windows_.begin(), windows_.end(), [](Win32Window* w) { return ::IsWindowVisible(w->Hwnd()); });
}

HWND Win32Desktop::ShowMenuHolder(POINT at, HWND owner) {
    if (!menuHolder_ || !menuHolder_->Hwnd()) menuHolder_ = std::make_unique<MenuHolder>();
    ::SetWindowLongPtrW(menuHolder_->Hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    ::SetWindowPos(menuHolder_->Hwnd(), HWND_TOPMOST, at.x, at.y, 1, 1, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return menuHolder_->Hwnd();
}

void Win32Desktop::HideMenuHolder() {
    if (menuHolder_) ::ShowWindow(menuHolder_->Hwnd(), SW_HIDE);
}

HWND Win32Desktop::OwnerFor(const platform::WindowStyle& style) const {
    return backdrop_ && !style.toolWindow && !style.backdrop ? backdrop_->Hwnd() : nullptr;
}

void Win32Desktop::Adopt(Win32Window& window) {
    windows_.push_back(&window);
    if (!window.Style().backdrop) return;
    // A backdrop made after the screens still lies behind them.
    backdrop_ = &window;
    for (Win32Window* other : windows_) {
        if (other != &window && !other->Style().toolWindow) {
            ::SetWindowLongPtrW(other->Hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(window.Hwnd()));
        }
    }
}

void Win32Desktop::Forget(Win32Window& window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
    if (backdrop_ == &window) {
        // Destroying an owner destroys what it owns; the other windows are ours to destroy.
        backdrop_ = nullptr;
        for (Win32Window* other : windows_) {
            if (::GetWindow(other->Hwnd(), GW_OWNER) == window.Hwnd()) {
                ::SetWindowLongPtrW(other->Hwnd(), GWLP_HWNDPARENT, 0);
            }
        }
    }
    // Its icons go with the window; its handle may come back as another window's.
    trayIcons_.erase(std::remove_if(trayIcons_.begin(), trayIcons_.end(),
                                    [&](const TrayIcon& icon) { return icon.owner == window.Hwnd(); }),
                     trayIcons_.end());
}

}  // namespace win32
