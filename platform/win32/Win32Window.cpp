#include "platform/win32/Win32Window.h"

#include "platform/win32/ControlIds.h"

#include <algorithm>

#include "platform/Text.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Controls.h"

namespace win32 {

namespace {

// The popup menu this thread tracks, for the filter hook that sees the menu's input first.
struct TrackedMenu {
    HMENU menu;
    const std::function<void(int)>& onChoosing;
    bool told = false;
};
thread_local TrackedMenu* tracked = nullptr;

// The id of the item that a message of the menu's loop chooses: Enter on the highlighted item,
// a button released over one; 0 for none.
int ChosenBy(const MSG& message, HMENU menu) {
    int index = -1;
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i) {
            if ((::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) != 0) index = i;
        }
    } else if (message.message == WM_LBUTTONUP || message.message == WM_RBUTTONUP) {
        index = ::MenuItemFromPoint(nullptr, menu, message.pt);
    }
    if (index < 0) return 0;
    const UINT state = ::GetMenuState(menu, static_cast<UINT>(index), MF_BYPOSITION);
    if ((state & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_POPUP)) != 0) return 0;
    return static_cast<int>(::GetMenuItemID(menu, index));
}

LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && tracked && !tracked->told) {
        if (const int id = ChosenBy(*reinterpret_cast<const MSG*>(lParam), tracked->menu); id > 0) {
            tracked->told = true;
            tracked->onChoosing(id);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Menu items with at most one level of sub-items; an invisible item is left out.
void AppendItems(HMENU menu, const std::vector<platform::MenuSpec>& items, bool allowSubMenus) {
    for (const platform::MenuSpec& item : items) {
        if (!item.visible) continue;
        if (item.separator) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED);
        const std::wstring caption = Widen(item.caption);
        if (item.children.empty() || !allowSubMenus) {
            ::AppendMenuW(menu, state, static_cast<UINT_PTR>(item.id), caption.c_str());
            continue;
        }
        MenuHandle sub(::CreatePopupMenu());
        AppendItems(sub.Get(), item.children, false);
        // Once appended, the menu owns its sub-menu.
        if (::AppendMenuW(menu, state | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Get()), caption.c_str())) {
            sub.Release();
        }
    }
}

// Brings the thread's message time up to now. Under Wine an activation asks X for the keyboard
// focus stamped with the time of the thread's last message, and X refuses a request older than
// the focus it has: the icon's click comes as a sent message, with no time of its own, and the
// task bar may have taken the focus since the program's last message. Sent messages wait.
void CatchUpMessageTime(HWND window) {
    ::PostMessageW(window, WM_NULL, 0, 0);
    MSG message;
    ::PeekMessageW(&message, window, WM_NULL, WM_NULL, PM_REMOVE | PM_QS_POSTMESSAGE);
}

// A menu bar made from its items; null for none.
MenuHandle MenuBar(const std::vector<platform::MenuSpec>& menu) {
    MenuHandle bar;
    if (!menu.empty()) {
        bar.Reset(::CreateMenu());
        AppendItems(bar.Get(), menu, true);
    }
    return bar;
}

}  // namespace

LRESULT MenuAccessKey(HMENU menu, WPARAM typed) {
    const int count = ::GetMenuItemCount(menu);
    std::vector<std::string> captions;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        wchar_t caption[256] = {};
        const bool separator = ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && (info.fType & MFT_SEPARATOR);
        if (!separator) ::GetMenuStringW(menu, static_cast<UINT>(i), caption, 256, MF_BYPOSITION);
        captions.push_back(separator ? std::string("-") : Narrow(caption));
    }
    const std::vector<char> keys = text::AccessKeys(captions);
    // Only ASCII letters and digits are keys; anything else matches none.
    wchar_t key = static_cast<wchar_t>(LOWORD(typed));
    if (key >= L'a' && key <= L'z') key = static_cast<wchar_t>(key - L'a' + L'A');
    for (int i = 0; i < count; ++i) {
        if (keys[static_cast<size_t>(i)] && static_cast<wchar_t>(keys[static_cast<size_t>(i)]) == key) {
            return MAKELRESULT(i, MNC_EXECUTE);
        }
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

Win32Window::Win32Window(Win32Desktop& desktop, const platform::WindowStyle& style, platform::WindowEvents& events,
                         const platform::WindowSetup& setup)
    : desktop_(desktop), style_(style), events_(events) {
    MenuHandle menu = MenuBar(setup.menu);
    const platform::TwipRect& bounds = setup.bounds;
    // Owned by the backdrop, a window stays in front of it and has no button on the task bar.
    Create(FormExStyle(style), kFormClass, FormStyle(style), desktop_.PixelsX(bounds.left),
           desktop_.PixelsY(bounds.top), desktop_.PixelsX(bounds.width), desktop_.PixelsY(bounds.height),
           desktop_.OwnerFor(style), menu.Get(), Widen(setup.caption).c_str());
    // The window owns the menu bar it was made with.
    if (Hwnd() && menu) menu.Release();
    KeepClientHeight();
    RECT client = {};
    ::GetClientRect(Hwnd(), &client);
    clientSize_ = {client.right, client.bottom};
    desktop_.Adopt(*this);
    created_ = true;
}

void Win32Window::KeepClientHeight() {
    if (!style_.hasMenu) return;
    RECT window = {}, client = {}, frame = {0, 0, 0, 0};
    ::GetWindowRect(Hwnd(), &window);
    ::GetClientRect(Hwnd(), &client);
    ::AdjustWindowRectEx(&frame, FormStyle(style_), TRUE, FormExStyle(style_));
    // A menu bar too wide for the window takes a second line out of the inner area.
    const int missing = (window.bottom - window.top) - (frame.bottom - frame.top) - client.bottom;
    if (missing <= 0) return;
    ::SetWindowPos(Hwnd(), nullptr, window.left, window.top - missing / 2, window.right - window.left,
                   window.bottom - window.top + missing, SWP_NOZORDER | SWP_NOACTIVATE);
}

Win32Window::~Win32Window() {
    for (Win32Control* control : controls_) control->ParentGone();
    desktop_.Forget(*this);
    destroying_ = true;
    Destroy();
}

void Win32Window::SetCaption(const std::string& caption) { ::SetWindowTextW(Hwnd(), Widen(caption).c_str()); }

void Win32Window::SetBounds(const platform::TwipRect& outer) {
    ::SetWindowPos(Hwnd(), nullptr, desktop_.PixelsX(outer.left), desktop_.PixelsY(outer.top),
                   desktop_.PixelsX(outer.width), desktop_.PixelsY(outer.height), SWP_NOZORDER | SWP_NOACTIVATE);
    KeepClientHeight();
}

platform::TwipRect Win32Window::ClientArea() {
    RECT client = {};
    ::GetClientRect(Hwnd(), &client);
    return {0, 0, desktop_.TwipsX(client.right), desktop_.TwipsY(client.bottom)};
}

void Win32Window::SetBackColour(platform::Colour colour) {
    backBrush_.Reset(::CreateSolidBrush(ResolveColour(colour)));
    // Transparent children show the background too.
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Win32Window::SetBackground(const platform::Image& image) {
    gradient_.reset();
    picture_ = BitmapFromImage(image);
    pictureWidth_ = image.width;
    pictureHeight_ = image.height;
    ForgetScaledPicture();
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Win32Window::SetGradient(const platform::Gradient& gradient) {
    gradient_ = Gradient{ResolveColour(gradient.top), ResolveColour(gradient.bottom)};
    picture_.Reset();
    ForgetScaledPicture();
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Win32Window::ForgetScaledPicture() {
    scaled_.Reset();
    scaledBrush_.Reset();
    scaledSize_ = {0, 0};
}

void Win32Window::SetMenu(const std::vector<platform::MenuSpec>& menu) {
    MenuHandle bar = MenuBar(menu);
    const HMENU old = ::GetMenu(Hwnd());
    quietResize_ = true;
    if (::SetMenu(Hwnd(), bar.Get())) bar.Release();
    quietResize_ = false;
    KeepClientHeight();
    if (old && old != ::GetMenu(Hwnd())) ::DestroyMenu(old);
}

int Win32Window::TrackPopupMenu(const std::vector<platform::MenuSpec>& items,
                                const std::function<void(int id)>& onChoosing) {
    const MenuHandle popup(::CreatePopupMenu());
    AppendItems(popup.Get(), items, true);
    POINT at = {};
    ::GetCursorPos(&at);
    // The keyboard reaches a menu through the foreground window, and under Wine only through
    // one shown on the screen: with nothing of ours shown, an unseen one holds the menu.
    const bool held = !::IsWindowVisible(Hwnd()) && !desktop_.AnyShown();
    const HWND owner = held ? desktop_.ShowMenuHolder(at, Hwnd()) : Hwnd();
    if (held) {
        CatchUpMessageTime(owner);
        ::SetForegroundWindow(owner);
    }
    // The menu's loop shows every message to this thread's filter hook before it acts on it:
    // closing the menu takes Wine tens of milliseconds more.
    TrackedMenu menu{popup.Get(), onChoosing};
    const HHOOK filter = onChoosing ? ::SetWindowsHookExW(WH_MSGFILTER, MenuFilter, nullptr, ::GetCurrentThreadId())
                                    : nullptr;
    tracked = &menu;
    const int chosen = static_cast<int>(
        ::TrackPopupMenu(popup.Get(), TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
    tracked = nullptr;
    if (filter) ::UnhookWindowsHookEx(filter);
    if (held) desktop_.HideMenuHolder();
    // Without a message after it, a menu opened from the notification area may not close when
    // the user clicks elsewhere the next time.
    ::PostMessageW(Hwnd(), WM_NULL, 0, 0);
    return chosen;
}

void Win32Window::BringToForeground() {
    CatchUpMessageTime(Hwnd());
    ::SetForegroundWindow(Hwnd());
}

void Win32Window::Show() {
    const HWND hwnd = Hwnd();
    const LifeToken::Watch watch = life_.Watcher();
    // Lists filled while the window was hidden are finished now, before anything is drawn.
    for (Win32Control* control : controls_) control->OnShowing();
    CatchUpMessageTime(hwnd);
    // Activates a hidden window, and brings a minimised one back; its handlers may run here.
    ::ShowWindow(hwnd, ::IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
    if (!watch.Alive()) return;
    // A window that was visible already is brought forward and activated.
    if (::GetActiveWindow() != hwnd) ::SetForegroundWindow(hwnd);
}

void Win32Window::Hide() {
    if (!::IsWindowVisible(Hwnd())) return;
    const LifeToken::Watch watch = life_.Watcher();
    hiding_ = true;
    ::ShowWindow(Hwnd(), SW_HIDE);
    if (watch.Alive()) hiding_ = false;
}

void Win32Window::Repaint() {
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32Window::StartTimer(int id, int milliseconds) {
    ::SetTimer(Hwnd(), static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr);
}

void Win32Window::StopTimer(int id) { ::KillTimer(Hwnd(), static_cast<UINT_PTR>(id)); }

std::unique_ptr<platform::ControlPeer> Win32Window::CreateControl(platform::ControlType type, const std::string& name,
                                                                  platform::ControlEvents& events,
                                                                  const platform::ControlSetup& setup) {
    const int id = ControlIdOf(name);
    switch (type) {
        case platform::ControlType::kLabel:
            return std::make_unique<Win32Label>(*this, events, id, setup);
        case platform::ControlType::kCheckBox:
            return std::make_unique<Win32CheckBox>(*this, events, id, setup);
        case platform::ControlType::kButton:
            return std::make_unique<Win32Button>(*this, events, id, setup);
        case platform::ControlType::kPictureBox:
            return std::make_unique<Win32PictureBox>(*this, events, id, setup);
        case platform::ControlType::kDriveList:
            return std::make_unique<Win32DriveList>(*this, events, id, setup);
        case platform::ControlType::kDirList:
            return std::make_unique<Win32DirList>(*this, events, id, setup);
        case platform::ControlType::kListBox:
        case platform::ControlType::kFileList:
            return std::make_unique<Win32ListBox>(*this, events, id, setup);
    }
    return nullptr;
}

void Win32Window::Forget(Win32Control& control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
}

Win32Control* Win32Window::ControlOf(HWND child) const {
    for (Win32Control* control : controls_) {
        if (control->Hwnd() == child) return control;
    }
    return nullptr;
}

HWND Win32Window::LowestForegroundControl() const {
    HWND lowest = nullptr;
    for (HWND child = ::GetWindow(Hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const Win32Control* control = ControlOf(child);
        if (control && !control->InBackground()) lowest = child;
    }
    return lowest;
}

HBRUSH Win32Window::BackdropFor(HWND child, HDC dc) {
    if (EnsureScaledPicture() && scaledBrush_) {
        POINT origin = {0, 0};
        ::MapWindowPoints(child, Hwnd(), &origin, 1);
        ::SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
        return scaledBrush_.Get();
    }
    return backBrush_ ? backBrush_.Get() : ::GetSysColorBrush(COLOR_BTNFACE);
}

bool Win32Window::EnsureScaledPicture() {
    if (!picture_ && !gradient_) return false;
    RECT client = {};
    ::GetClientRect(Hwnd(), &client);
    if (client.right <= 0 || client.bottom <= 0) return false;
    if (scaled_ && scaledSize_.cx == client.right && scaledSize_.cy == client.bottom) return true;
    scaled_ = gradient_ ? GradientBitmap(client.right, client.bottom, gradient_->top, gradient_->bottom)
                        : StretchedCopy(picture_.Get(), pictureWidth_, pictureHeight_, client.right, client.bottom);
    scaledBrush_.Reset(scaled_ ? ::CreatePatternBrush(scaled_.Get()) : nullptr);
    scaledSize_ = {client.right, client.bottom};
    return static_cast<bool>(scaled_);
}

void Win32Window::PaintBackground(HDC dc, const RECT& area) {
    if (gradient_) {
        // Drawing the gradient costs half of copying it from a picture. Over the whole client
        // area, so that each row keeps its colour; the paint's clipping keeps the rest as it is.
        RECT client = {};
        ::GetClientRect(Hwnd(), &client);
        FillGradient(dc, client, gradient_->top, gradient_->bottom);
        return;
    }
    if (EnsureScaledPicture()) {
        const MemoryDc source(::CreateCompatibleDC(dc));
        const Selection selection(source.Get(), scaled_.Get());
        ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, source.Get(), area.left,
                 area.top, SRCCOPY);
        return;
    }
    ::FillRect(dc, &area, backBrush_ ? backBrush_.Get() : ::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT Win32Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (hook_) {
        // A copy, since the hook may take itself away.
        const platform::MessageHook hook = hook_;
        const LifeToken::Watch watch = life_.Watcher();
        const std::optional<std::intptr_t> handled = hook({reinterpret_cast<std::uintptr_t>(Hwnd()), message,
                                                           static_cast<std::uintptr_t>(wParam),
                                                           static_cast<std::intptr_t>(lParam)});
        if (handled) return static_cast<LRESULT>(*handled);
        if (!watch.Alive()) return 0;
    }
    if (message != 0 && message == desktop_.TaskbarCreatedMessage()) {
        desktop_.RestoreTrayIcons(Hwnd());
        return 0;
    }
    switch (message) {
        case WM_ACTIVATE:
            return OnActivate(wParam, lParam);
        case WM_MOUSEACTIVATE:
            // A click on the backdrop leaves the window in front of it active, and brings it
            // back when it was minimised; a hidden one is not in front of it.
            if (!style_.backdrop) break;
            if (const HWND front = FrontOwned()) {
                if (::IsIconic(front)) ::ShowWindow(front, SW_RESTORE);
                return MA_NOACTIVATE;
            }
            break;
        case kPassActivation:
            if (::GetActiveWindow() == Hwnd()) {
                if (const HWND front = FrontOwned()) {
                    if (::IsIconic(front)) ::ShowWindow(front, SW_RESTORE);
                    ::SetForegroundWindow(front);
                }
            }
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (Win32Control* control = ControlOf(item->hwndItem)) control->OnDrawItem(*item);
            return TRUE;
        }
        case WM_SIZE:
            return OnSize(lParam);
        case WM_MENUCHAR:
            return MenuAccessKey(reinterpret_cast<HMENU>(lParam), wParam);
        case WM_CLOSE:
            events_.OnCloseRequest();
            return 0;
        case WM_TIMER:
            events_.OnTimer(static_cast<int>(wParam));
            return 0;
        case WM_QUERYENDSESSION:
            events_.OnEndSession(false);
            return TRUE;  // the program never holds the session up
        case WM_ENDSESSION:
            if (wParam) events_.OnEndSession(true);
            return 0;
        case WM_COMMAND:
            return OnCommand(wParam, lParam);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLOREDIT:
            return OnCtlColor(message, wParam, lParam);
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers every pixel, so nothing flashes in between
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = ::BeginPaint(Hwnd(), &paint);
            PaintBackground(dc, paint.rcPaint);
            ::EndPaint(Hwnd(), &paint);
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client = {};
            ::GetClientRect(Hwnd(), &client);
            PaintBackground(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_SETCURSOR:
            if (desktop_.ApplyPointer()) return TRUE;
            break;
        case kEndListBurst:
            if (Win32Control* control = ControlOf(reinterpret_cast<HWND>(lParam))) control->OnBurstEnded();
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

LRESULT Win32Window::OnActivate(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(Hwnd(), focus)) focus_ = focus;
    }
    const LRESULT result = Default(WM_ACTIVATE, wParam, lParam);  // gives the window the keyboard
    if (!created_) return result;
    if (LOWORD(wParam) != WA_INACTIVE) {
        if (style_.backdrop && FrontOwned()) {
            // Passed on once this activation is over; the window in front never lost it to us.
            ::PostMessageW(Hwnd(), kPassActivation, 0, 0);
            return result;
        }
        if (!HIWORD(wParam)) RestoreFocus();  // not while minimised
        events_.OnActivated();
        return result;
    }
    // A window of ours taking over reports its own activation, and a message box or another
    // program taking over is no deactivation; only leaving by hiding or destruction is.
    if (!desktop_.IsOurs(reinterpret_cast<HWND>(lParam)) && (hiding_ || destroying_)) events_.OnDeactivated();
    return result;
}

HWND Win32Window::FrontOwned() const {
    // Owned windows made before their owner may lie behind it for a moment under Wine.
    for (HWND window = ::GetWindow(Hwnd(), GW_HWNDFIRST); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (::GetWindow(window, GW_OWNER) == Hwnd() && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
            return window;
        }
    }
    return nullptr;
}

std::vector<HWND> Win32Window::TabStops() const {
    std::vector<HWND> stops;
    for (const Win32Control* control : controls_) {
        const HWND window = control->Hwnd();
        if ((::GetWindowLongPtrW(window, GWL_STYLE) & WS_TABSTOP) && ::IsWindowVisible(window) &&
            ::IsWindowEnabled(window)) {
            stops.push_back(window);
        }
    }
    return stops;
}

void Win32Window::RestoreFocus() {
    const std::vector<HWND> stops = TabStops();
    if (std::find(stops.begin(), stops.end(), focus_) != stops.end()) {
        ::SetFocus(focus_);
    } else if (!stops.empty()) {
        ::SetFocus(stops.front());
    }
}

bool Win32Window::OnDialogKey(HWND from, WPARAM key) {
    // The control the key came from (a combo box's own edit or list is part of it).
    Win32Control* source = nullptr;
    for (Win32Control* control : controls_) {
        if (control->Hwnd() == from || ::IsChild(control->Hwnd(), from)) source = control;
    }
    if (key == VK_RETURN) return source && source->OnEnterKey();
    if (key == VK_ESCAPE) {
        // Esc is the window's own first (a screen's work in hand given up, the backdrop's Cancel),
        // then the screen's Close, once an open drop-down list has closed.
        if (source && source->TakesEscape()) return false;
        const LifeToken::Watch watch = life_.Watcher();
        if (events_.OnEscape() || !watch.Alive()) return true;
        if (!style_.hasMenu) return false;
        events_.OnCloseRequest();  // may destroy this window
        return true;
    }
    if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
    const std::vector<HWND> stops = TabStops();
    if (stops.empty()) return false;
    const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
    const auto at = std::find(stops.begin(), stops.end(), source ? source->Hwnd() : nullptr);
    size_t next = 0;
    if (at == stops.end()) {
        next = backwards ? stops.size() - 1 : 0;
    } else {
        const size_t index = static_cast<size_t>(at - stops.begin());
        next = backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    }
    ::SetFocus(stops[next]);
    return true;
}

LRESULT Win32Window::OnSize(LPARAM lParam) {
    const SIZE size = {LOWORD(lParam), HIWORD(lParam)};
    const bool changed = size.cx != clientSize_.cx || size.cy != clientSize_.cy;
    clientSize_ = size;
    if (created_ && !quietResize_ && changed) events_.OnResized();
    return 0;
}

LRESULT Win32Window::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) {
        if (HIWORD(wParam) == 0) events_.OnMenu(LOWORD(wParam));
        return 0;
    }
    if (Win32Control* control = ControlOf(reinterpret_cast<HWND>(lParam))) control->OnNotify(HIWORD(wParam));
    return 0;
}

LRESULT Win32Window::OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam) {
    if (Win32Control* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
    }
    return Default(message, wParam, lParam);
}

}  // namespace win32
