#pragma once
// Windows, controls, timers, message boxes and the mouse pointer, as plain data and callbacks.
// The forms runtime is written against this port; the real adapter makes Win32 windows, the
// fake keeps the state in memory with a virtual clock.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Geometry is in twips (1/1440 inch), as the forms hold it; adapters convert to pixels.
struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct FontSpec {
    std::string name = "MS Sans Serif";
    double size = 8.25;  // points
    bool bold = false;
    bool italic = false;

    bool operator==(const FontSpec&) const = default;
};

// 0x00BBGGRR, the platform's packed colour.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}
// The system's highlighted-text colour, resolved by the adapter.
inline constexpr Colour kSystemHighlightText = 0x8000000E;

// A vertical gradient: the top colour at the top edge, the bottom colour at the bottom edge.
struct Gradient {
    Colour top = 0;
    Colour bottom = 0;
    bool operator==(const Gradient&) const = default;
};

// A picture as 32-bit pixels, top row first, 0x00RRGGBB.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

enum class ControlType {
    kLabel,
    kListBox,
    kCheckBox,
    kPictureBox,
    kDriveList,  // a drop-down list of drives
    kDirList,    // the folders above and below the open folder
    kFileList,   // the files of a folder
    kButton,     // a push button
};

// The state a control's peer is made with, so that it is made once in place instead of being
// made and then moved, sized, given its font and text, and shown one call at a time.
struct ControlSetup {
    TwipRect bounds;
    FontSpec font;
    std::string text;
    bool visible = true;
};

// What a control's user did; the peer calls these on the UI thread.
class ControlEvents {
public:
    virtual ~ControlEvents() = default;
    virtual void OnDblClick() = 0;                   // a list item was double-clicked
    virtual void OnSelect(int index) = 0;            // the list selection moved (-1: none)
    virtual void OnCheckedByUser(bool checked) = 0;  // a check box was toggled
    virtual void OnClicked() {}                      // a button was pressed
};

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void SetBounds(const TwipRect& bounds) = 0;
    virtual void SetFont(const FontSpec& font) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void SetColours(Colour fore, Colour back, bool transparent) = 0;
    // Labels: the text centred in the control's width instead of starting at its left edge.
    virtual void SetCentred(bool centred) = 0;
    // Lists.
    virtual void AddItem(const std::string& item) = 0;
    virtual void RemoveItem(int index) = 0;
    virtual void ClearItems() = 0;
    virtual void SetItems(const std::vector<std::string>& items) = 0;
    virtual void SetSelected(int index) = 0;
    // Directory lists: the first count items are the open folders, from the root down to the
    // open one; the rest are closed.
    virtual void SetOpenItems(int count) = 0;
    // Check boxes.
    virtual void SetChecked(bool checked) = 0;
    // Picture boxes.
    virtual void SetImage(const Image& image) = 0;
    // Labels: whether the text, in the font and drawn as the label draws it (wrapped at its
    // width), shows whole inside the label.
    virtual bool TextFits(const FontSpec& font, const std::string& text) = 0;
};

// One item of a window's menu bar, with at most one level of sub-items.
struct MenuSpec {
    int id = 0;
    std::string caption;
    bool enabled = true;
    bool visible = true;
    std::vector<MenuSpec> children;
    bool separator = false;
};

// A window message as a hook sees it.
struct WindowMessage {
    std::uintptr_t window = 0;
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};
// Sees a window's messages before the window does; a result handles the message, nullopt
// passes it on to the window.
using MessageHook = std::function<std::optional<std::intptr_t>(const WindowMessage&)>;

// A notification-area icon.
struct TrayIconSpec {
    int id = 0;
    std::string tip;
    unsigned callbackMessage = 0;  // sent to the owner window, the mouse message in lParam
    unsigned flags = 0;            // which of message, icon and tip are given (1 | 2 | 4)
};

// A notification balloon from an icon: its title, its text, and whether it warns (else it informs).
struct TrayBalloon {
    std::string title;
    std::string text;
    bool warning = false;
};

// What happened to a window; the peer calls these on the UI thread.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // This window became the active one.
    virtual void OnActivated() = 0;
    // This window stopped being active and no window of the program took over (it was hidden
    // or destroyed while active). Activation moving to a message box or another program is
    // not reported, so a window is not deactivated by its own message box.
    virtual void OnDeactivated() = 0;
    virtual void OnResized() = 0;
    virtual void OnCloseRequest() = 0;  // the close box or Alt+F4
    // Esc, where no control takes it: true when the window made something of it; otherwise a
    // window with a menu bar takes it for its close box.
    virtual bool OnEscape() { return false; }
    virtual void OnMenu(int id) = 0;
    virtual void OnTimer(int id) = 0;
    // The user's session is about to end (logoff, shutdown); ending says it really ends now.
    // After an ending one the process may be ended at any moment.
    virtual void OnEndSession(bool ending) { (void)ending; }
};

// The state a window is made with, so that it is made once in place.
struct WindowSetup {
    std::string caption;
    std::vector<MenuSpec> menu;
    TwipRect bounds{0, 0, 1500, 1500};  // the whole window, frame included
};

struct WindowStyle {
    bool hasMenu = false;
    bool toolWindow = false;  // kept off the task list
    bool popup = false;       // no caption and no frame
    // Behind every other window of the program, and off the task list: the program's windows
    // that are not tool windows stay in front of it (it owns them), and activating it while
    // one of them is shown passes the activation on to the one in front (a click on it does
    // not activate it at all).
    bool backdrop = false;
};

class WindowPeer {
public:
    virtual ~WindowPeer() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetBounds(const TwipRect& outer) = 0;  // the whole window, frame included
    virtual TwipRect ClientArea() = 0;                  // left/top 0
    virtual void SetBackColour(Colour colour) = 0;
    // A picture kept behind the controls (stretched to the client area), repainted by the
    // adapter whenever the window needs it.
    virtual void SetBackground(const Image& image) = 0;
    // Instead of a picture: a vertical gradient over the whole client area, behind the controls.
    virtual void SetGradient(const Gradient& gradient) = 0;
    virtual void SetMenu(const std::vector<MenuSpec>& menu) = 0;
    virtual void Show() = 0;  // shows, restores from minimised, and activates
    virtual void Hide() = 0;
    virtual void Repaint() = 0;  // paints now, not at the next idle moment
    virtual void StartTimer(int id, int milliseconds) = 0;
    virtual void StopTimer(int id) = 0;
    virtual std::unique_ptr<ControlPeer> CreateControl(ControlType type, const std::string& name,
                                                       ControlEvents& events, const ControlSetup& setup) = 0;
    std::unique_ptr<ControlPeer> CreateControl(ControlType type, const std::string& name, ControlEvents& events) {
        return CreateControl(type, name, events, ControlSetup{});
    }
    // The native handle (HWND) as a number, for the calls that need one; 0 for a fake.
    virtual std::uintptr_t NativeHandle() = 0;
    // Puts a hook in front of the window's own message handling; an empty hook removes it.
    virtual void SetMessageHook(MessageHook hook) { (void)hook; }
    virtual bool HasMessageHook() { return false; }
    virtual void BringToForeground() {}
    // Shows a popup menu at the mouse position, with the platform's default alignment, and
    // returns the id of the item chosen (0 for none). onChoosing, when given, is told the id the
    // moment the menu meets the key or click that chooses it, before the menu has closed.
    virtual int TrackPopupMenu(const std::vector<MenuSpec>& items, const std::function<void(int id)>& onChoosing = {}) {
        (void)items;
        (void)onChoosing;
        return 0;
    }
};

struct ScreenMetrics {
    double widthTwips = 0;
    double heightTwips = 0;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
};

// The mouse pointer shown over every window of the program.
enum Pointer : int {
    kPointerDefault = 0,
    kPointerHourglass = 11,
    kPointerArrowHourglass = 13,
};

// Message-box results, as the platform numbers them.
enum MessageResult : int {
    kResultOk = 1,
    kResultCancel = 2,
    kResultYes = 6,
    kResultNo = 7,
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // A top-level window, hidden, made with its caption, menu bar and place.
    virtual std::unique_ptr<WindowPeer> CreateWindowPeer(const std::string& name, const WindowStyle& style,
                                                         WindowEvents& events, const WindowSetup& setup) = 0;
    std::unique_ptr<WindowPeer> CreateWindowPeer(const std::string& name, const WindowStyle& style,
                                                 WindowEvents& events) {
        return CreateWindowPeer(name, style, events, WindowSetup{});
    }
    // Size of the frame around the client area for a style, in twips (width and height added).
    virtual TwipRect FrameExtra(const WindowStyle& style) = 0;
    // A modal message box with the platform's style number; timers keep firing while it waits.
    virtual int MessageBox(const std::string& text, const std::string& caption, int style) = 0;
    virtual void SetPointer(int pointer) = 0;
    virtual ScreenMetrics Screen() = 0;
    // The height a list needs to show rows whole rows of text in a font, its frame and a
    // sideways scroll bar included, in twips.
    virtual double ListHeight(const FontSpec& font, int rows) = 0;
    // The width a menu bar with these captions takes on one line, in twips.
    virtual double MenuBarWidth(const std::vector<std::string>& captions) = 0;
    // Delivers events until Quit is called.
    virtual void RunLoop() = 0;
    virtual void Quit() = 0;
    // Starts work on a thread of its own and returns at once; this thread goes on delivering the
    // program's events, in whatever loop delivers them (its own, a message box's, a menu's).
    // Meanwhile onTick is called here about every tickMs; once the work has returned (or thrown),
    // onDone is called here, once, from that loop. The work must not touch a window.
    virtual void StartBeside(std::function<void()> work, int tickMs, std::function<void()> onTick,
                             std::function<void()> onDone) = 0;
    // Waits here until every work started beside has returned, and calls its onDone (work an
    // onDone starts is waited for too), without delivering any other event meanwhile: for the
    // end of the session, when the process may not get another chance.
    virtual void FinishBeside() = 0;
    // Lets time pass while this thread goes on delivering the program's events.
    virtual void Wait(int milliseconds) = 0;
    // Ends every message box the program shows now as if it had been closed (kResultCancel).
    virtual void EndMessageBoxes() = 0;
    // Adds a notification-area icon owned by the window, showing the window's own icon; the
    // platform's result (1: added). Once added, the icon comes back by itself when the
    // notification area is restarted.
    virtual int AddTrayIcon(WindowPeer& owner, const TrayIconSpec& icon) {
        (void)owner;
        (void)icon;
        return 0;
    }
    virtual void DeleteTrayIcon(WindowPeer& owner, const TrayIconSpec& icon) {
        (void)owner;
        (void)icon;
    }
    // Gives an icon added before the spec's tip (kept when the notification area restarts);
    // false when the platform refused.
    virtual bool SetTrayTip(WindowPeer& owner, const TrayIconSpec& icon) {
        (void)owner;
        (void)icon;
        return false;
    }
    // A balloon from an icon added before; false when the platform refused.
    virtual bool ShowTrayBalloon(WindowPeer& owner, const TrayIconSpec& icon, const TrayBalloon& balloon) {
        (void)owner;
        (void)icon;
        (void)balloon;
        return false;
    }
    // A picture built into the program, by its resource name; nullopt when there is none.
    virtual std::optional<Image> LoadPicture(const std::string& resourceName) {
        (void)resourceName;
        return std::nullopt;
    }
};

}  // namespace platform
