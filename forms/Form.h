#pragma once
// A form: one top-level window with named controls, a menu bar, timers and one handler per
// event. A form type exists at most once; the Application creates, shows, hides and unloads it.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "forms/Control.h"
#include "platform/Desktop.h"

namespace forms {

class Application;

// One item of the menu bar, with at most one level of sub-items.
struct MenuItem {
    std::string name;
    std::string caption;
    std::function<void()> onClick;
    std::vector<MenuItem> children;
    int id = 0;
};

class Form : public platform::WindowEvents {
public:
    // The client size is the designed one, in twips; the frame is added when the window exists.
    Form(std::string name, double clientWidth, double clientHeight, platform::WindowStyle style = {});
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }
    // The application that made it; a form not made by one has none (a programming error).
    Application& App() const;

    // Event handlers; a form overrides the ones it has.
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}
    // The close box: unloads the form unless a form says otherwise.
    virtual void Form_QueryClose();
    // Esc: true when the form made something of it, else a form with a menu bar is closed as by
    // its close box.
    virtual bool Form_Escape() { return false; }
    // The session is about to end; ending: it ends now, and the process with it.
    virtual void Form_EndSession(bool ending) { (void)ending; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    // The whole window, frame included, in twips.
    double Left() const { return bounds_.left; }
    double Top() const { return bounds_.top; }
    double Width() const { return bounds_.width; }
    double Height() const { return bounds_.height; }
    void SetLeft(double v);
    void SetTop(double v);
    void SetWidth(double v);
    void SetHeight(double v);
    // All four at once: the window moves once.
    void Move(double left, double top, double width, double height);
    // The inner area, in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;

    bool Visible() const { return visible_; }

    void SetBackColour(platform::Colour colour);
    // A picture kept behind the controls, repainted whenever the window needs it.
    void SetBackground(std::shared_ptr<const platform::Image> image);
    // Instead of a picture: a vertical gradient over the inner area.
    void SetGradient(const platform::Gradient& gradient);
    const std::optional<platform::Gradient>& Gradient() const { return gradient_; }
    // Paints the window now.
    void Refresh();

    const std::vector<Control*>& Controls() const { return controls_; }
    const std::vector<Timer*>& Timers() const { return timers_; }

    const std::vector<MenuItem>& Menu() const { return menu_; }
    // The controls of a window that is never seen keep their state without native peers.
    void KeepControlsOffScreen() { nativeControls_ = false; }
    // Runs the handler of a menu item, as the user's choice of it would.
    void ClickMenu(const std::string& name);
    const MenuItem* FindMenu(const std::string& name) const;

    // The native handle of the window, 0 without one.
    std::uintptr_t Handle() const;
    platform::WindowPeer* Peer() const { return window_.get(); }
    bool Loaded() const { return loaded_; }

    // WindowEvents, from the peer.
    void OnActivated() override;
    void OnDeactivated() override;
    void OnResized() override;
    void OnCloseRequest() override;
    bool OnEscape() override;
    void OnMenu(int id) override;
    void OnTimer(int id) override;
    void OnEndSession(bool ending) override;

protected:
    // Menu bar construction, in left-to-right order.
    void AddMenu(const std::string& name, const std::string& caption, std::function<void()> onClick);
    void AddSubMenu(const std::string& parent, const std::string& name, const std::string& caption,
                    std::function<void()> onClick);

private:
    friend class Application;
    friend class Control;
    friend class Timer;

    // Controls and timers are members of the derived form, gone before ~Form runs: each one
    // registers itself when made and unregisters itself when destroyed.
    void Register(Control& control) { controls_.push_back(&control); }
    void Register(Timer& timer) { timers_.push_back(&timer); }
    void Unregister(const Control& control);
    void Unregister(const Timer& timer);
    void Attach(platform::Desktop& desktop);
    void AttachControls();
    void Detach();
    void SetVisibleFlag(bool visible) { visible_ = visible; }
    std::vector<platform::MenuSpec> MenuSpecs() const;
    const MenuItem* FindMenuById(int id) const;

    std::string name_;
    Application* app_ = nullptr;
    std::type_index type_ = typeid(void);
    platform::WindowStyle style_;
    double clientWidth_;
    double clientHeight_;
    platform::TwipRect frame_;  // what the frame adds to the client size
    platform::TwipRect bounds_;
    bool boundsSet_ = false;
    std::string caption_;
    bool visible_ = false;
    bool loaded_ = false;
    bool nativeControls_ = true;
    bool controlsAttached_ = false;
    std::optional<platform::Colour> backColour_;
    std::shared_ptr<const platform::Image> background_;
    std::optional<platform::Gradient> gradient_;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    std::vector<MenuItem> menu_;
    int nextMenuId_ = 100;
    int nextTimerId_ = 1;
    std::unique_ptr<platform::WindowPeer> window_;
};

}  // namespace forms
