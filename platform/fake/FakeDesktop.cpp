#include "platform/fake/FakeDesktop.h"

#include <algorithm>
#include <limits>

namespace fake {

void FakeControlPeer::RemoveItem(int index) {
    if (index >= 0 && index < static_cast<int>(items.size())) items.erase(items.begin() + index);
}

bool FakeControlPeer::TextFits(const platform::FontSpec& font, const std::string& text) {
    const double charWidth = font.size * 10 * (font.bold ? 1.1 : 1.0);  // twips
    const double lineHeight = font.size * 24;
    double line = 0;
    int lines = 1;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const double word = static_cast<double>(end - at) * charWidth;
        if (word > bounds.width) return false;
        const double withWord = line == 0 ? word : line + charWidth + word;
        if (withWord > bounds.width) {
            ++lines;
            line = word;
        } else {
            line = withWord;
        }
        at = end + 1;
    }
    return lines * lineHeight <= bounds.height;
}

// ---- FakeWindowPeer

FakeWindowPeer::FakeWindowPeer(FakeDesktop& desktop, std::string name, platform::WindowStyle style,
                               platform::WindowEvents& events)
    : desktop(desktop), name(std::move(name)), style(style), events(events), handle(desktop.nextHandle_ += 4) {}

int FakeWindowPeer::TrackPopupMenu(const std::vector<platform::MenuSpec>& items,
                                   const std::function<void(int id)>& onChoosing) {
    desktop.popupMenus.push_back(items);
    if (desktop.menuChoices.empty()) return 0;
    const std::string choice = desktop.menuChoices.front();
    desktop.menuChoices.pop_front();
    for (const platform::MenuSpec& item : items) {
        if (item.separator || !item.enabled || item.caption != choice) continue;
        if (onChoosing) onChoosing(item.id);
        return item.id;
    }
    return 0;
}

std::optional<std::intptr_t> FakeWindowPeer::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!hook) return std::nullopt;
    return hook({handle, message, wParam, lParam});
}

FakeWindowPeer::~FakeWindowPeer() { desktop.Forget(this); }

FakeControlPeer* FakeWindowPeer::Control(const std::string& controlName) const {
    for (FakeControlPeer* control : controls) {
        if (control->name == controlName) return control;
    }
    return nullptr;
}

void FakeWindowPeer::SetBounds(const platform::TwipRect& outer) {
    const bool resized = outer.width != bounds.width || outer.height != bounds.height;
    bounds = outer;
    if (resized) events.OnResized();
}

platform::TwipRect FakeWindowPeer::ClientArea() {
    const platform::TwipRect extra = desktop.FrameExtra(style);
    return {0, 0, std::max(0.0, bounds.width - extra.width), std::max(0.0, bounds.height - extra.height)};
}

void FakeWindowPeer::Show() {
    visible = true;
    desktop.BringToFront(this);
    desktop.Activate(this);
}

void FakeWindowPeer::BringToForeground() {
    ++foregroundCalls;
    desktop.Activate(this);
}

void FakeWindowPeer::Hide() {
    desktop.Effect("hide " + name);
    if (!visible) return;
    visible = false;
    if (desktop.active_ == this) desktop.LeaveActive(this, true);
}

void FakeWindowPeer::StartTimer(int id, int milliseconds) {
    StopTimer(id);
    desktop.timers_.push_back({this, id, milliseconds, desktop.now_ + milliseconds, desktop.timerOrder_++});
}

void FakeWindowPeer::StopTimer(int id) {
    auto& timers = desktop.timers_;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const auto& t) { return t.window == this && t.id == id; }),
                 timers.end());
}

std::unique_ptr<platform::ControlPeer> FakeWindowPeer::CreateControl(platform::ControlType type,
                                                                     const std::string& controlName,
                                                                     platform::ControlEvents& controlEvents,
                                                                     const platform::ControlSetup& setup) {
    auto control = std::make_unique<FakeControlPeer>(type, controlName, controlEvents);
    control->bounds = setup.bounds;
    control->font = setup.font;
    control->text = setup.text;
    control->visible = setup.visible;
    controls.push_back(control.get());
    return control;
}

// ---- FakeDesktop

int FakeDesktop::AddTrayIcon(platform::WindowPeer&, const platform::TrayIconSpec& icon) {
    trayLog.push_back("add " + std::to_string(icon.id));
    if (trayAddResult == 1) trayIcons[icon.id] = icon;
    return trayAddResult;
}

void FakeDesktop::DeleteTrayIcon(platform::WindowPeer&, const platform::TrayIconSpec& icon) {
    trayLog.push_back("delete " + std::to_string(icon.id));
    Effect(trayLog.back());
    trayIcons.erase(icon.id);
}

bool FakeDesktop::SetTrayTip(platform::WindowPeer&, const platform::TrayIconSpec& icon) {
    const auto found = trayIcons.find(icon.id);
    if (found == trayIcons.end()) return false;
    found->second.tip = icon.tip;
    tipChanges.push_back({icon.tip, now_});
    return true;
}

bool FakeDesktop::ShowTrayBalloon(platform::WindowPeer&, const platform::TrayIconSpec& icon,
                                  const platform::TrayBalloon& balloon) {
    if (!trayIcons.count(icon.id)) return false;
    balloons.push_back(balloon);
    return true;
}

std::unique_ptr<platform::WindowPeer> FakeDesktop::CreateWindowPeer(const std::string& name,
                                                                    const platform::WindowStyle& style,
                                                                    platform::WindowEvents& events,
                                                                    const platform::WindowSetup& setup) {
    auto window = std::make_unique<FakeWindowPeer>(*this, name, style, events);
    window->caption = setup.caption;
    window->menu = setup.menu;
    window->bounds = setup.bounds;
    if (style.backdrop) {
        // A backdrop made after other windows still lies behind them.
        backdrop_ = window.get();
        for (FakeWindowPeer* other : zOrder_) {
            if (!other->style.toolWindow) other->owner = backdrop_;
        }
    } else if (backdrop_ && !style.toolWindow) {
        window->owner = backdrop_;
    }
    zOrder_.insert(zOrder_.begin(), window.get());  // a new hidden window sits at the back
    BringToFront(nullptr);  // but the windows a backdrop owns stay in front of it
    return window;
}

void FakeDesktop::BringToFront(FakeWindowPeer* window) {
    if (window) {
        zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
        zOrder_.push_back(window);
    }
    // Owned windows lie just in front of their owner, in the order they had.
    const auto present = [&](const FakeWindowPeer* w) {
        return w && std::find(zOrder_.begin(), zOrder_.end(), w) != zOrder_.end();
    };
    std::vector<FakeWindowPeer*> ordered;
    for (FakeWindowPeer* w : zOrder_) {
        if (present(w->owner)) continue;
        ordered.push_back(w);
        for (FakeWindowPeer* owned : zOrder_) {
            if (owned->owner == w) ordered.push_back(owned);
        }
    }
    zOrder_ = std::move(ordered);
}

FakeWindowPeer* FakeDesktop::FrontOwned(const FakeWindowPeer* window) const {
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
        if ((*it)->owner == window && (*it)->visible) return *it;
    }
    return nullptr;
}

FakeWindowPeer* FakeDesktop::FrontWindow() const {
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
        if ((*it)->visible) return *it;
    }
    return nullptr;
}

void FakeDesktop::BringForward(FakeWindowPeer& window) {
    if (!window.visible) return;
    BringToFront(&window);
    Activate(&window);
}

FakeWindowPeer* FakeDesktop::Window(const std::string& name) const {
    for (FakeWindowPeer* window : zOrder_) {
        if (window->name == name) return window;
    }
    return nullptr;
}

void FakeDesktop::Activate(FakeWindowPeer* window) {
    // The backdrop passes its activation on to the window in front of it.
    if (FakeWindowPeer* front = window->style.backdrop ? FrontOwned(window) : nullptr) window = front;
    if (active_ == window) return;
    active_ = window;
    window->events.OnActivated();
}

void FakeDesktop::LeaveActive(FakeWindowPeer* window, bool notifyLeaving) {
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
        if (*it != window && (*it)->visible) {
            Activate(*it);
            return;
        }
    }
    active_ = nullptr;
    if (notifyLeaving) window->events.OnDeactivated();
}

void FakeDesktop::Forget(FakeWindowPeer* window) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const auto& t) { return t.window == window; }),
                  timers_.end());
    const bool wasActive = active_ == window;
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
    for (FakeWindowPeer* other : zOrder_) {
        if (other->owner == window) other->owner = nullptr;
    }
    if (backdrop_ == window) backdrop_ = nullptr;
    if (wasActive) LeaveActive(window, false);
}

void FakeDesktop::StartBeside(std::function<void()> work, int, std::function<void()> onTick,
                              std::function<void()> onDone) {
    ++besideRuns;
    if (besideDeferred) {
        deferred_.push_back({std::move(work), std::move(onTick), std::move(onDone)});
        return;
    }
    if (!besideOnThread) {
        RunNow(work, onTick, onDone);
        return;
    }
    auto entry = std::make_unique<Beside>();
    entry->onTick = std::move(onTick);
    entry->onDone = std::move(onDone);
    Beside& started = *entry;
    beside_.push_back(std::move(entry));
    started.thread = std::thread([&started, work = std::move(work)] {
        try {
            work();
        } catch (...) {
        }
        started.done.store(true, std::memory_order_release);
    });
}

void FakeDesktop::DeliverBeside(bool wait) {
    for (std::size_t i = 0; i < beside_.size();) {
        Beside& entry = *beside_[i];
        if (!wait && !entry.done.load(std::memory_order_acquire)) {
            if (entry.onTick) entry.onTick();
            ++i;
            continue;
        }
        entry.thread.join();
        std::unique_ptr<Beside> finished = std::move(beside_[i]);
        beside_.erase(beside_.begin() + static_cast<std::ptrdiff_t>(i));
        if (finished->onTick) finished->onTick();
        if (finished->onDone) finished->onDone();  // may start more work, at the end of the list
    }
}

void FakeDesktop::FinishBeside() {
    DeliverBeside(true);
    RunDeferred(false);
}

void FakeDesktop::RunDeferred(bool startedBefore) {
    // What an onDone defers meanwhile runs too, unless only the work started before is due.
    std::size_t due = startedBefore ? deferred_.size() : std::numeric_limits<std::size_t>::max();
    while (!deferred_.empty() && due-- > 0) {
        const Deferred next = std::move(deferred_.front());
        deferred_.pop_front();
        RunNow(next.work, next.onTick, next.onDone);
    }
}

void FakeDesktop::RunNow(const std::function<void()>& work, const std::function<void()>& onTick,
                         const std::function<void()>& onDone) {
    try {
        work();
    } catch (...) {
    }
    if (onTick) onTick();
    if (onDone) onDone();
}

FakeDesktop::~FakeDesktop() {
    for (const auto& entry : beside_) entry->thread.join();
}

void FakeDesktop::Advance(long long milliseconds) {
    DeliverBeside(false);
    RunDeferred(true);
    const long long target = now_ + milliseconds;
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->due <= target && (next == timers_.end() || it->due < next->due ||
                                      (it->due == next->due && it->order < next->order))) {
                next = it;
            }
        }
        if (next == timers_.end()) break;
        now_ = std::max(now_, next->due);
        next->due = now_ + next->interval;  // periodic until stopped
        next->order = timerOrder_++;
        FakeWindowPeer* window = next->window;
        const int id = next->id;
        window->events.OnTimer(id);  // may start, stop or destroy timers and windows
    }
    now_ = std::max(now_, target);
}

int FakeDesktop::MessageBox(const std::string& text, const std::string& caption, int style) {
    messages.push_back({text, caption, style, now_});
    Effect("box " + caption);
    // Unscripted questions are answered No, the answer that changes nothing.
    struct Answer answer{(style & 0xF) == 4 ? platform::kResultNo : platform::kResultOk, 0, {}};
    if (!answers.empty()) {
        answer = std::move(answers.front());
        answers.pop_front();
    }
    endBoxes_ = false;
    if (answer.meanwhile) answer.meanwhile();
    if (answer.waitMs > 0) Advance(answer.waitMs);
    const bool ended = endBoxes_;
    endBoxes_ = false;
    return ended ? platform::kResultCancel : answer.result;
}

}  // namespace fake
