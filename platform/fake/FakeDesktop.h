#pragma once
// The headless desktop: windows and controls as recorded state, a virtual clock that tests
// advance, scripted message-box answers (each recorded), and activation as Windows does it:
// a shown window becomes active; hiding or destroying the active window activates the topmost
// visible one left. A backdrop owns the other windows that are not tool windows, which stay
// in front of it, and passes its activation on to the one in front, as the real desktop does.
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Desktop.h"

namespace fake {

class FakeDesktop;

class FakeControlPeer : public platform::ControlPeer {
public:
    FakeControlPeer(platform::ControlType type, std::string name, platform::ControlEvents& events)
        : type(type), name(std::move(name)), events(events) {}
    platform::ControlType type;
    std::string name;
    platform::ControlEvents& events;
    platform::TwipRect bounds;
    platform::FontSpec font;
    bool visible = true;
    std::string text;
    platform::Colour fore = 0, back = 0;
    bool transparent = false;
    bool centred = false;
    std::vector<std::string> items;
    int selected = -1;
    int openItems = 0;
    bool checked = false;
    int imageWidth = 0, imageHeight = 0;

    void SetBounds(const platform::TwipRect& b) override { bounds = b; }
    void SetFont(const platform::FontSpec& f) override { font = f; }
    void SetVisible(bool v) override { visible = v; }
    void SetText(const std::string& t) override { text = t; }
    void SetColours(platform::Colour f, platform::Colour b, bool t) override {
        fore = f;
        back = b;
        transparent = t;
    }
    void SetCentred(bool c) override { centred = c; }
    void AddItem(const std::string& item) override { items.push_back(item); }
    void RemoveItem(int index) override;
    void ClearItems() override { items.clear(); }
    void SetItems(const std::vector<std::string>& all) override { items = all; }
    void SetSelected(int index) override { selected = index; }
    void SetOpenItems(int count) override { openItems = count; }
    void SetChecked(bool c) override { checked = c; }
    void SetImage(const platform::Image& image) override {
        imageWidth = image.width;
        imageHeight = image.height;
    }
    // Every character half a point-size wide, lines 1.2 of it high, words wrapped at blanks.
    bool TextFits(const platform::FontSpec& font, const std::string& text) override;
};

class FakeWindowPeer : public platform::WindowPeer {
public:
    FakeWindowPeer(FakeDesktop& desktop, std::string name, platform::WindowStyle style,
                   platform::WindowEvents& events);
    ~FakeWindowPeer() override;

    FakeDesktop& desktop;
    std::string name;
    platform::WindowStyle style;
    platform::WindowEvents& events;
    std::string caption;
    platform::TwipRect bounds;
    platform::Colour backColour = 0;
    int backgroundWidth = 0, backgroundHeight = 0;
    std::optional<platform::Gradient> gradient;
    std::vector<platform::MenuSpec> menu;
    bool visible = false;
    FakeWindowPeer* owner = nullptr;  // the backdrop, for windows that are not tool windows
    int repaints = 0;
    std::vector<FakeControlPeer*> controls;

    FakeControlPeer* Control(const std::string& controlName) const;

    void SetCaption(const std::string& c) override { caption = c; }
    void SetBounds(const platform::TwipRect& outer) override;
    platform::TwipRect ClientArea() override;
    void SetBackColour(platform::Colour c) override { backColour = c; }
    void SetBackground(const platform::Image& image) override {
        backgroundWidth = image.width;
        backgroundHeight = image.height;
        gradient.reset();
    }
    void SetGradient(const platform::Gradient& g) override {
        gradient = g;
        backgroundWidth = backgroundHeight = 0;
    }
    void SetMenu(const std::vector<platform::MenuSpec>& m) override { menu = m; }
    void Show() override;
    void Hide() override;
    void Repaint() override { ++repaints; }
    void StartTimer(int id, int milliseconds) override;
    void StopTimer(int id) override;
    std::unique_ptr<platform::ControlPeer> CreateControl(platform::ControlType type, const std::string& controlName,
                                                         platform::ControlEvents& controlEvents,
                                                         const platform::ControlSetup& setup) override;
    using platform::WindowPeer::CreateControl;
    std::uintptr_t NativeHandle() override { return handle; }
    void SetMessageHook(platform::MessageHook newHook) override { hook = std::move(newHook); }
    bool HasMessageHook() override { return static_cast<bool>(hook); }
    // Activates the window, shown or not, as the platform does for the icon's popup menu.
    void BringToForeground() override;
    int TrackPopupMenu(const std::vector<platform::MenuSpec>& items, const std::function<void(int id)>& onChoosing) override;

    // Sends a message to the window as the platform would: through the hook, if there is one.
    // The window's own handling is not modelled; a passed-on message returns nullopt.
    std::optional<std::intptr_t> Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    std::uintptr_t handle;
    platform::MessageHook hook;
    int foregroundCalls = 0;
};

class FakeDesktop : public platform::Desktop {
public:
    struct Message {
        std::string text;
        std::string caption;
        int style = 0;
        long long at = 0;  // virtual time it was shown
    };
    struct Answer {
        int result = platform::kResultOk;
        int waitMs = 0;  // how long the user takes; timers fire meanwhile
        // What happens while the box is up (the icon's menu used, the session ended, ...).
        std::function<void()> meanwhile;
    };

    // The frame every window gets around its client area, in twips.
    platform::TwipRect frame{0, 0, 120, 690};
    platform::TwipRect frameWithMenu{0, 0, 120, 990};
    platform::TwipRect noFrame{0, 0, 0, 0};
    platform::ScreenMetrics screen{1024 * 15.0, 768 * 15.0, 15, 15};

    std::vector<Message> messages;
    std::deque<Answer> answers;
    // Popup menus shown, and the choices the user will make (by caption; "" dismisses).
    std::vector<std::vector<platform::MenuSpec>> popupMenus;
    std::deque<std::string> menuChoices;
    // Notification-area icons present now, by id.
    std::map<int, platform::TrayIconSpec> trayIcons;
    std::vector<std::string> trayLog;  // "add 125", "delete 125" in order
    // Told of each effect the program has on the windows and the icon as it happens ("hide Form1",
    // "pointer 0", "delete 125", "box <caption>", "end boxes").
    std::function<void(const std::string& effect)> onEffect;
    int trayAddResult = 1;
    // Every tip an icon was given after it was added, with the virtual time it came, and every
    // balloon shown.
    struct TipChange {
        std::string tip;
        long long at = 0;
    };
    std::vector<TipChange> tipChanges;
    std::vector<platform::TrayBalloon> balloons;
    std::vector<int> pointerHistory;
    int pointer = 0;
    bool quit = false;
    int besideRuns = 0;  // work started beside
    // How work beside runs: at once on the caller's thread, its onDone called before StartBeside
    // returns (the default); or on a thread of its own, its onDone called by Advance or
    // FinishBeside once it has returned; or deferred: run with its onDone on the caller's thread
    // once time passes (Advance, for the work started before it) or by FinishBeside, so that a
    // test acts while it is under way.
    bool besideOnThread = false;
    bool besideDeferred = false;

    void Answer(int result, int waitMs = 0, std::function<void()> meanwhile = {}) {
        answers.push_back({result, waitMs, std::move(meanwhile)});
    }
    // Work started beside that has not had its onDone yet.
    std::size_t BesideRunning() const { return beside_.size() + deferred_.size(); }

    long long Now() const { return now_; }
    // Moves the virtual clock forward, firing every timer that falls due, in time order.
    void Advance(long long milliseconds);
    FakeWindowPeer* Window(const std::string& name) const;
    FakeWindowPeer* ActiveWindow() const { return active_; }
    // Windows from back to front.
    const std::vector<FakeWindowPeer*>& ZOrder() const { return zOrder_; }
    // The visible window in front of every other; null when none is shown.
    FakeWindowPeer* FrontWindow() const;
    // The user (or another program) brings a shown window forward and activates it.
    void BringForward(FakeWindowPeer& window);

    std::unique_ptr<platform::WindowPeer> CreateWindowPeer(const std::string& name, const platform::WindowStyle& style,
                                                           platform::WindowEvents& events,
                                                           const platform::WindowSetup& setup) override;
    using platform::Desktop::CreateWindowPeer;
    platform::TwipRect FrameExtra(const platform::WindowStyle& style) override {
        if (style.popup) return noFrame;
        return style.hasMenu ? frameWithMenu : frame;
    }
    int MessageBox(const std::string& text, const std::string& caption, int style) override;
    void SetPointer(int p) override {
        pointer = p;
        pointerHistory.push_back(p);
        Effect("pointer " + std::to_string(p));
    }
    platform::ScreenMetrics Screen() override { return screen; }
    // Rows as high as the fake measures a line (1.2 times the point size), 300 twips of frame
    // and scroll bar.
    double ListHeight(const platform::FontSpec& font, int rows) override { return rows * font.size * 24 + 300; }
    // 90 twips a character and 180 around each item.
    double MenuBarWidth(const std::vector<std::string>& captions) override {
        double width = 0;
        for (const std::string& caption : captions) width += caption.size() * 90.0 + 180;
        return width;
    }
    void RunLoop() override {}
    void Quit() override { quit = true; }
    // Without besideOnThread the work runs at once, on this thread; the ticks it would have had
    // are one, at its end.
    void StartBeside(std::function<void()> work, int tickMs, std::function<void()> onTick,
                     std::function<void()> onDone) override;
    void FinishBeside() override;
    void Wait(int milliseconds) override { Advance(milliseconds); }
    void EndMessageBoxes() override {
        endBoxes_ = true;
        Effect("end boxes");
    }
    ~FakeDesktop() override;
    int AddTrayIcon(platform::WindowPeer& owner, const platform::TrayIconSpec& icon) override;
    void DeleteTrayIcon(platform::WindowPeer& owner, const platform::TrayIconSpec& icon) override;
    bool SetTrayTip(platform::WindowPeer& owner, const platform::TrayIconSpec& icon) override;
    bool ShowTrayBalloon(platform::WindowPeer& owner, const platform::TrayIconSpec& icon,
                         const platform::TrayBalloon& balloon) override;
    // Any picture asked for: a blank one of the side picture's size.
    std::optional<platform::Image> LoadPicture(const std::string&) override {
        return platform::Image{160, 322, std::vector<std::uint32_t>(160 * 322, 0)};
    }

private:
    friend class FakeWindowPeer;
    void Effect(const std::string& effect) {
        if (onEffect) onEffect(effect);
    }
    struct TimerEntry {
        FakeWindowPeer* window;
        int id;
        int interval;
        long long due;
        long long order;
    };
    void Activate(FakeWindowPeer* window);
    void LeaveActive(FakeWindowPeer* window, bool notifyLeaving);
    void Forget(FakeWindowPeer* window);
    void BringToFront(FakeWindowPeer* window);
    // The topmost shown window that the window owns; null for none.
    FakeWindowPeer* FrontOwned(const FakeWindowPeer* window) const;

    long long now_ = 0;
    long long timerOrder_ = 0;
    std::uintptr_t nextHandle_ = 0x1000;
    std::vector<TimerEntry> timers_;
    std::vector<FakeWindowPeer*> zOrder_;
    FakeWindowPeer* active_ = nullptr;
    FakeWindowPeer* backdrop_ = nullptr;
    struct Beside {
        std::thread thread;
        std::atomic<bool> done{false};
        std::function<void()> onTick;
        std::function<void()> onDone;
    };
    // Calls the onDone of work that has returned (all of it, waiting, with wait).
    void DeliverBeside(bool wait);
    // The deferred work and its onDone: only what was started before, or all, whatever it starts.
    void RunDeferred(bool startedBefore);
    static void RunNow(const std::function<void()>& work, const std::function<void()>& onTick,
                       const std::function<void()>& onDone);
    std::vector<std::unique_ptr<Beside>> beside_;
    struct Deferred {
        std::function<void()> work, onTick, onDone;
    };
    std::deque<Deferred> deferred_;
    bool endBoxes_ = false;
};

}  // namespace fake
