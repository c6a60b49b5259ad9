#include "platform/win32/Win32Controls.h"

#include <algorithm>
#include <chrono>

#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Window.h"

namespace win32 {
namespace {

LPARAM TextParam(const std::wstring& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

// Widen into a buffer the caller keeps, for lists filled an item at a time: nothing is
// allocated per item, and plain ASCII, what the lists mostly hold, is copied as it is.
LPARAM TextParam(std::string_view utf8, std::wstring& buffer) {
    buffer.resize(utf8.size());
    size_t ascii = 0;
    while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80) {
        buffer[ascii] = static_cast<wchar_t>(utf8[ascii]);
        ++ascii;
    }
    if (ascii < utf8.size()) {
        // Never more UTF-16 units than UTF-8 bytes; malformed bytes become U+FFFD, as in Widen.
        const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                 buffer.data(), static_cast<int>(buffer.size()));
        buffer.resize(static_cast<size_t>(std::max(length, 0)));
    }
    return reinterpret_cast<LPARAM>(buffer.c_str());
}

}  // namespace

// ---- Win32Control

Win32Control::Win32Control(Win32Window& parent, platform::ControlEvents& events, int id)
    : parent_(&parent), events_(events), id_(id) {
    parent.Adopt(*this);
}

Win32Control::~Win32Control() {
    if (parent_) parent_->Forget(*this);
}

HWND Win32Control::Parent() const { return parent_ ? parent_->Hwnd() : nullptr; }

void Win32Control::Make(const wchar_t* className, DWORD style, DWORD exStyle, const platform::ControlSetup& setup) {
    if (!parent_) return;
    Win32Desktop& desktop = parent_->Desktop();
    const RECT place = desktop.PixelRect(setup.bounds);
    window_.Reset(::CreateWindowExW(exStyle, className, Widen(setup.text).c_str(),
                                    WS_CHILD | WS_CLIPSIBLINGS | style | (setup.visible ? WS_VISIBLE : 0),
                                    place.left, place.top, place.right - place.left,
                                    WindowHeight(place.bottom - place.top), Parent(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), ::GetModuleHandleW(nullptr),
                                    nullptr));
    ::SendMessageW(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(desktop.Font(setup.font)), FALSE);
    Stack(window_.Get());
}

void Win32Control::Stack(HWND window) const {
    // Labels are painted on the form itself in the designs these windows come from: any other
    // control that overlaps one lies on top of it, whatever the order they were made in, and
    // among labels the later one lies on top.
    HWND after = HWND_TOP;
    if (InBackground() && parent_) {
        if (const HWND lowest = parent_->LowestForegroundControl()) after = lowest;
    }
    // A new window often lies where it belongs already; moving it costs more than looking.
    const HWND above = ::GetWindow(window, GW_HWNDPREV);
    if (after == HWND_TOP ? above == nullptr : above == after) return;
    ::SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Control::SetBounds(const platform::TwipRect& bounds) {
    if (!parent_) return;
    const RECT place = parent_->Desktop().PixelRect(bounds);
    ::SetWindowPos(Hwnd(), nullptr, place.left, place.top, place.right - place.left,
                   WindowHeight(place.bottom - place.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Control::SetFont(const platform::FontSpec& font) {
    if (!parent_) return;
    ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(parent_->Desktop().Font(font)), TRUE);
}

bool Win32Control::TextFits(const platform::FontSpec& font, const std::string& text) {
    if (!parent_) return true;
    RECT client = {};
    ::GetClientRect(Hwnd(), &client);
    const SIZE size = parent_->Desktop().WrappedTextSize(parent_->Desktop().Font(font), Widen(text), client.right);
    return size.cx <= client.right && size.cy <= client.bottom;
}

void Win32Control::SetVisible(bool visible) { ::ShowWindow(Hwnd(), visible ? SW_SHOWNA : SW_HIDE); }

void Win32Control::SetText(const std::string& text) { ::SetWindowTextW(Hwnd(), Widen(text).c_str()); }

void Win32Control::SetColours(platform::Colour fore, platform::Colour back, bool transparent) {
    coloured_ = true;
    fore_ = ResolveColour(fore);
    back_ = ResolveColour(back);
    transparent_ = transparent;
    backBrush_.Reset(::CreateSolidBrush(back_));
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

HBRUSH Win32Control::OnCtlColor(HDC dc) {
    if (!coloured_) return nullptr;
    ::SetTextColor(dc, fore_);
    if (transparent_ && parent_) {
        // The control fills its box with this brush before it draws the text, so the picture
        // behind comes back wherever the old text was.
        ::SetBkMode(dc, TRANSPARENT);
        return parent_->BackdropFor(Hwnd(), dc);
    }
    ::SetBkColor(dc, back_);
    return backBrush_.Get();
}

// ---- Win32Label

Win32Label::Win32Label(Win32Window& parent, platform::ControlEvents& events, int id,
                       const platform::ControlSetup& setup)
    : Win32Control(parent, events, id) {
    // Texts are shown as they are: "&" is no access key.
    Make(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, setup);
}

void Win32Label::SetCentred(bool centred) {
    LONG_PTR style = ::GetWindowLongPtrW(Hwnd(), GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
    style |= centred ? SS_CENTER : SS_LEFT;
    ::SetWindowLongPtrW(Hwnd(), GWL_STYLE, style);
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

// ---- Win32CheckBox

int CheckBoxTextLeft(const TEXTMETRICW& font) { return font.tmHeight + font.tmAveCharWidth / 2; }

Win32CheckBox::Win32CheckBox(Win32Window& parent, platform::ControlEvents& events, int id,
                             const platform::ControlSetup& setup)
    : Win32Control(parent, events, id) {
    Make(L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0, setup);
    ::SetWindowSubclass(Hwnd(), CheckState, 0, reinterpret_cast<DWORD_PTR>(this));
}

Win32CheckBox::~Win32CheckBox() { ::RemoveWindowSubclass(Hwnd(), CheckState, 0); }

LRESULT CALLBACK Win32CheckBox::CheckState(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
    auto* box = reinterpret_cast<Win32CheckBox*>(self);
    if (message == BM_GETCHECK) return box->checked_ ? BST_CHECKED : BST_UNCHECKED;
    if (message == BM_SETCHECK) {
        box->SetChecked(wParam == BST_CHECKED);
        return 0;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

void Win32CheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
}

void Win32CheckBox::OnNotify(int code) {
    // A second click in quick succession comes as a double click.
    if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return;
    SetChecked(!checked_);
    events_.OnCheckedByUser(checked_);
}

void Win32CheckBox::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    // The background and text colour the window gives its buttons.
    auto back = reinterpret_cast<HBRUSH>(
        ::SendMessageW(Parent(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Hwnd())));
    ::FillRect(dc, &area, back ? back : ::GetSysColorBrush(COLOR_BTNFACE));
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
    const Selection selection(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    const int side = std::min<int>(metrics.tmHeight, area.bottom - area.top);
    const int top = (area.top + area.bottom - side) / 2;
    RECT square = {area.left, top, area.left + side, top + side};
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    ::DrawFrameControl(dc, &square, DFC_BUTTON,
                       DFCS_BUTTONCHECK | (checked_ ? DFCS_CHECKED : 0) |
                           ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0));
    const int length = ::GetWindowTextLengthW(Hwnd());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(Hwnd(), text.data(), length + 1)));
    RECT label = {area.left + CheckBoxTextLeft(metrics), area.top, area.right, area.bottom};
    ::SetBkMode(dc, TRANSPARENT);
    if (disabled) ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    constexpr UINT kFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label, kFormat);
    if (item.itemState & ODS_FOCUS) {
        RECT extent = label;
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, kFormat | DT_CALCRECT);
        const int height = extent.bottom - extent.top;
        extent.top = (area.top + area.bottom - height) / 2 - 1;
        extent.bottom = extent.top + height + 2;
        extent.left -= 1;
        extent.right = std::min(extent.right + 1, area.right);
        ::DrawFocusRect(dc, &extent);
    }
}

// ---- Win32Button

Win32Button::Win32Button(Win32Window& parent, platform::ControlEvents& events, int id, const platform::ControlSetup& setup)
    : Win32Control(parent, events, id) {
    Make(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, setup);
}

void Win32Button::OnNotify(int code) {
    if (code == BN_CLICKED) events_.OnClicked();
}

bool Win32Button::OnEnterKey() {
    events_.OnClicked();
    return true;
}

// ---- Win32ListBox

Win32ListBox::Win32ListBox(Win32Window& parent, platform::ControlEvents& events, int id,
                           const platform::ControlSetup& setup)
    : Win32ListBox(parent, events, id, setup, 0) {}

Win32ListBox::Win32ListBox(Win32Window& parent, platform::ControlEvents& events, int id,
                           const platform::ControlSetup& setup, DWORD extraStyle)
    : Win32Control(parent, events, id) {
    Make(L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | extraStyle,
         WS_EX_CLIENTEDGE, setup);
}

void Win32ListBox::SetFont(const platform::FontSpec& font) {
    Win32Control::SetFont(font);
    UpdateScrollWidth();
}

int Win32ListBox::ItemWidth(HFONT font, const std::wstring& item) {
    return parent_ ? parent_->Desktop().MeasureText(font, item).width : 0;
}

void Win32ListBox::UpdateScrollWidth() {
    int width = 0;
    if (!longest_.empty() && parent_) {
        const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
        // Room for the item's margins, and for a shorter item that still draws wider.
        width = ItemWidth(font, longest_) + 2 * parent_->Desktop().MeasureText(font, L"").averageCharWidth;
    }
    if (width == scrollWidth_) return;
    scrollWidth_ = width;
    ::SendMessageW(Hwnd(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

void Win32ListBox::NoteFill() {
    if (!fillNoted_) {
        fillNoted_ = true;
        ::PostMessageW(Parent(), kEndListBurst, 0, reinterpret_cast<LPARAM>(Hwnd()));
    }
    // A list on screen repaints after every item it is given, which costs milliseconds each
    // under Wine; a hidden list paints nothing, so switching its redrawing is wasted work.
    if (!redrawOff_ && ::IsWindowVisible(Hwnd())) {
        redrawOff_ = true;
        ::SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
    }
}

void Win32ListBox::AddPending(bool whole) {
    // A slice is short enough for the window to answer within a few tens of milliseconds.
    constexpr auto kSlice = std::chrono::milliseconds(10);
    const auto end = std::chrono::steady_clock::now() + kSlice;
    while (pendingAt_ < pending_.size()) {
        ::SendMessageW(Hwnd(), LB_ADDSTRING, 0, TextParam(pending_[pendingAt_++], wide_));
        if (!whole && pendingAt_ % 256 == 0 && std::chrono::steady_clock::now() >= end) return;
    }
    pending_.clear();
    pendingAt_ = 0;
}

void Win32ListBox::OnShowing() {
    if (pending_.empty()) {
        OnBurstEnded();
    } else if (!redrawOff_) {
        // Shown while the rest comes, it would repaint after every item.
        redrawOff_ = true;
        ::SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
    }
}

void Win32ListBox::OnBurstEnded() {
    if (!fillNoted_) return;
    AddPending(false);
    if (!pending_.empty()) {
        ::PostMessageW(Parent(), kEndListBurst, 0, reinterpret_cast<LPARAM>(Hwnd()));
        return;
    }
    fillNoted_ = false;
    UpdateScrollWidth();
    if (!redrawOff_) return;
    redrawOff_ = false;
    ::SendMessageW(Hwnd(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void Win32ListBox::AddItem(const std::string& item) {
    if (!pending_.empty()) {
        pending_.push_back(item);  // after those still to come
        if (item.size() > longest_.size()) longest_ = Widen(item);
        return;
    }
    NoteFill();
    const LRESULT index = ::SendMessageW(Hwnd(), LB_ADDSTRING, 0, TextParam(item, wide_));
    if (wide_.size() > longest_.size()) longest_ = wide_;
    // Room for as many items again as the list holds: left alone, the list grows its storage
    // a few items at a time, and a long fill spends much of its time copying it.
    if (index >= 0 && index + 1 >= reserved_) {
        const LRESULT more = std::max<LRESULT>(256, index + 1);
        ::SendMessageW(Hwnd(), LB_INITSTORAGE, static_cast<WPARAM>(more),
                       more * static_cast<LPARAM>((item.size() + 1) * sizeof(wchar_t)));
        reserved_ = index + 1 + more;
    }
}

void Win32ListBox::RemoveItem(int index) {
    const LRESULT added = ::SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0);
    if (index < added) {
        ::SendMessageW(Hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    } else if (pendingAt_ + static_cast<size_t>(index - added) < pending_.size()) {
        pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(pendingAt_ + static_cast<size_t>(index - added)));
    }
}

void Win32ListBox::ClearItems() {
    // Emptying is part of a burst too: a refill in the same handler then paints once, and the
    // sideways range changes only if the new longest item differs.
    pending_.clear();
    pendingAt_ = 0;
    NoteFill();
    ::SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
    reserved_ = 0;
    longest_.clear();
}

void Win32ListBox::SetItems(const std::vector<std::string>& items) {
    NoteFill();
    ::SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
    size_t bytes = 0;
    for (const std::string& item : items) bytes += (item.size() + 1) * sizeof(wchar_t);
    ::SendMessageW(Hwnd(), LB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
    reserved_ = static_cast<LRESULT>(items.size());
    const std::string* longest = nullptr;
    for (const std::string& item : items) {
        if (!longest || item.size() > longest->size()) longest = &item;
    }
    longest_ = longest ? Widen(*longest) : std::wstring();
    pending_ = items;
    pendingAt_ = 0;
    AddPending(false);
}

void Win32ListBox::SetSelected(int index) {
    if (index >= ::SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0)) AddPending(true);
    ::SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32ListBox::OnNotify(int code) {
    const int index = static_cast<int>(::SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0));
    if (code == LBN_SELCHANGE) {
        events_.OnSelect(index);
    } else if (code == LBN_DBLCLK) {
        const LifeToken::Watch watch = life_.Watcher();
        events_.OnSelect(index);
        if (watch.Alive()) events_.OnDblClick();
    }
}

bool Win32ListBox::OnEnterKey() {
    OnNotify(LBN_DBLCLK);
    return true;
}

// ---- Win32DirList

namespace {

int DepthOf(const std::wstring& item) {
    const size_t blanks = std::min(item.find_first_not_of(L' '), item.size());
    return static_cast<int>(blanks / 2);
}

// A folder picture in a square box: a closed folder, or an open one with its front tilted down.
void DrawFolder(HDC dc, const RECT& box, bool open) {
    const int size = std::min(box.right - box.left, box.bottom - box.top);
    const int x = box.left, y = box.top + (box.bottom - box.top - size) / 2;
    const auto at = [&](int dx, int dy) { return POINT{x + dx * size / 16, y + dy * size / 16}; };
    const GdiPen outline(::CreatePen(PS_SOLID, 1, RGB(128, 96, 0)));
    const GdiBrush back(::CreateSolidBrush(open ? RGB(224, 176, 48) : RGB(255, 216, 96)));
    const Selection pen(dc, outline.Get());
    const Selection brush(dc, back.Get());
    const POINT body[] = {at(1, 3), at(6, 3), at(7, 5), at(14, 5), at(14, 14), at(1, 14)};
    ::Polygon(dc, body, 6);
    if (!open) return;
    const GdiBrush front(::CreateSolidBrush(RGB(255, 232, 140)));
    const Selection frontBrush(dc, front.Get());
    const POINT flap[] = {at(4, 8), at(16, 8), at(13, 14), at(1, 14)};
    ::Polygon(dc, flap, 4);
}

}  // namespace

Win32DirList::Win32DirList(Win32Window& parent, platform::ControlEvents& events, int id,
                           const platform::ControlSetup& setup)
    : Win32ListBox(parent, events, id, setup, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS) {
    FitRows();
}

void Win32DirList::SetFont(const platform::FontSpec& font) {
    Win32ListBox::SetFont(font);
    FitRows();
}

void Win32DirList::FitRows() {
    if (!parent_) return;
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
    const WindowDc dc(Hwnd());
    const Selection selection(dc.Get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc.Get(), &metrics);
    rowHeight_ = std::max<int>(12, metrics.tmHeight);
    ::SendMessageW(Hwnd(), LB_SETITEMHEIGHT, 0, rowHeight_);
    UpdateScrollWidth();
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void Win32DirList::SetOpenItems(int count) {
    openItems_ = count;
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

int Win32DirList::ItemWidth(HFONT font, const std::wstring& item) {
    const int depth = DepthOf(item);
    return depth * Indent() + PictureWidth() + 8 +
           Win32ListBox::ItemWidth(font, item.substr(static_cast<size_t>(depth) * 2));
}

void Win32DirList::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const RECT& row = item.rcItem;
    ::FillRect(dc, &row, ::GetSysColorBrush(COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1)) {
        if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &row);
        return;
    }
    const LRESULT length = ::SendMessageW(Hwnd(), LB_GETTEXTLEN, item.itemID, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max<LRESULT>(
        ::SendMessageW(Hwnd(), LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data())), 0)));
    const int depth = DepthOf(text);
    const std::wstring name = text.substr(std::min(text.size(), static_cast<size_t>(depth) * 2));

    const int left = row.left + 2 + depth * Indent();
    const RECT picture = {left, row.top + 1, left + PictureWidth() - 2, row.bottom - 1};
    DrawFolder(dc, picture, static_cast<int>(item.itemID) < openItems_);

    // The highlight covers the name, as on the classic list.
    SIZE extent = {};
    ::GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &extent);
    RECT label = {picture.right + 2, row.top, picture.right + 2 + extent.cx + 4, row.bottom};
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(dc, &label, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT textBox = {label.left + 2, row.top, label.right, row.bottom};
    ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &textBox,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &label);
}

// ---- Win32DriveList

Win32DriveList::Win32DriveList(Win32Window& parent, platform::ControlEvents& events, int id,
                               const platform::ControlSetup& setup)
    : Win32Control(parent, events, id) {
    Make(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, setup);
}

int Win32DriveList::WindowHeight(int boundsHeight) const {
    // The bounds are the closed box; the window also holds the list that drops down.
    return boundsHeight * 9;
}

void Win32DriveList::AddItem(const std::string& item) {
    ::SendMessageW(Hwnd(), CB_ADDSTRING, 0, TextParam(Widen(item)));
}

void Win32DriveList::RemoveItem(int index) {
    ::SendMessageW(Hwnd(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Win32DriveList::ClearItems() { ::SendMessageW(Hwnd(), CB_RESETCONTENT, 0, 0); }

void Win32DriveList::SetItems(const std::vector<std::string>& items) {
    ::SendMessageW(Hwnd(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) ::SendMessageW(Hwnd(), CB_ADDSTRING, 0, TextParam(Widen(item)));
}

void Win32DriveList::SetSelected(int index) {
    ::SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool Win32DriveList::TakesEscape() { return ::SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0) != FALSE; }

void Win32DriveList::OnNotify(int code) {
    if (code == CBN_SELCHANGE) events_.OnSelect(static_cast<int>(::SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0)));
}

// ---- Win32PictureBox

Win32PictureBox::Win32PictureBox(Win32Window& parent, platform::ControlEvents& events, int id,
                                 const platform::ControlSetup& setup)
    : Win32Control(parent, events, id) {
    const Win32Desktop& desktop = parent.Desktop();
    const platform::TwipRect& bounds = setup.bounds;
    Create(0, kPictureClass, WS_CHILD | WS_CLIPSIBLINGS | (setup.visible ? WS_VISIBLE : 0),
           desktop.PixelsX(bounds.left), desktop.PixelsY(bounds.top), desktop.PixelsX(bounds.width),
           desktop.PixelsY(bounds.height), Parent(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    Stack(Hwnd());
}

Win32PictureBox::~Win32PictureBox() { Destroy(); }

void Win32PictureBox::SetImage(const platform::Image& image) {
    picture_ = parent_ ? parent_->Desktop().Picture(image) : nullptr;
    scaled_.reset();
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
}

void Win32PictureBox::Paint(HDC dc) {
    RECT client = {};
    ::GetClientRect(Hwnd(), &client);
    if (picture_ && (!scaled_ || scaledSize_.cx != client.right || scaledSize_.cy != client.bottom)) {
        scaled_ = picture_->At(client.right, client.bottom);
        scaledSize_ = {client.right, client.bottom};
    }
    if (scaled_ && *scaled_) {
        const MemoryDc source(::CreateCompatibleDC(dc));
        const Selection selection(source.Get(), scaled_->Get());
        ::BitBlt(dc, 0, 0, client.right, client.bottom, source.Get(), 0, 0, SRCCOPY);
        return;
    }
    ::FillRect(dc, &client, coloured_ ? backBrush_.Get() : ::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT Win32PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers every pixel
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = ::BeginPaint(Hwnd(), &paint);
            Paint(dc);
            ::EndPaint(Hwnd(), &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace win32
