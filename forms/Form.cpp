#include "forms/Form.h"

#include <cstdio>
#include <cstdlib>

#include "forms/Application.h"

namespace forms {

Form::Form(std::string name, double clientWidth, double clientHeight, platform::WindowStyle style)
    : name_(std::move(name)), style_(style), clientWidth_(clientWidth), clientHeight_(clientHeight) {
    bounds_ = {0, 0, clientWidth, clientHeight};
}

// Every control and timer has unregistered itself by now; only the window is left.
Form::~Form() { window_.reset(); }

void Form::Unregister(const Control& control) { std::erase(controls_, &control); }
void Form::Unregister(const Timer& timer) { std::erase(timers_, &timer); }

Application& Form::App() const {
    if (app_ == nullptr) {
        std::fprintf(stderr, "the form %s was not made by an application\n", name_.c_str());
        std::abort();
    }
    return *app_;
}

void Form::Form_QueryClose() { App().Unload(*this); }

void Form::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (window_) window_->SetCaption(caption_);
}

void Form::SetLeft(double v) {
    bounds_.left = v;
    if (window_) window_->SetBounds(bounds_);
}

void Form::SetTop(double v) {
    bounds_.top = v;
    if (window_) window_->SetBounds(bounds_);
}

void Form::SetWidth(double v) {
    bounds_.width = v;
    boundsSet_ = true;
    if (window_) window_->SetBounds(bounds_);
}

void Form::SetHeight(double v) {
    bounds_.height = v;
    boundsSet_ = true;
    if (window_) window_->SetBounds(bounds_);
}

void Form::Move(double left, double top, double width, double height) {
    bounds_ = {left, top, width, height};
    boundsSet_ = true;
    if (window_) window_->SetBounds(bounds_);
}

double Form::ScaleWidth() const { return window_ ? window_->ClientArea().width : bounds_.width - frame_.width; }
double Form::ScaleHeight() const { return window_ ? window_->ClientArea().height : bounds_.height - frame_.height; }

void Form::SetBackColour(platform::Colour colour) {
    backColour_ = colour;
    if (window_) window_->SetBackColour(colour);
}

void Form::SetBackground(std::shared_ptr<const platform::Image> image) {
    background_ = std::move(image);
    gradient_.reset();
    if (window_ && background_) window_->SetBackground(*background_);
}

void Form::SetGradient(const platform::Gradient& gradient) {
    gradient_ = gradient;
    background_.reset();
    if (window_) window_->SetGradient(gradient);
}

void Form::Refresh() {
    if (window_) window_->Repaint();
}

void Form::AddMenu(const std::string& name, const std::string& caption, std::function<void()> onClick) {
    menu_.push_back(MenuItem{name, caption, std::move(onClick), {}, nextMenuId_++});
}

void Form::AddSubMenu(const std::string& parent, const std::string& name, const std::string& caption,
                      std::function<void()> onClick) {
    for (MenuItem& item : menu_) {
        if (item.name == parent) item.children.push_back(MenuItem{name, caption, std::move(onClick), {}, nextMenuId_++});
    }
}

const MenuItem* Form::FindMenu(const std::string& name) const {
    for (const MenuItem& item : menu_) {
        if (item.name == name) return &item;
        for (const MenuItem& child : item.children) {
            if (child.name == name) return &child;
        }
    }
    return nullptr;
}

const MenuItem* Form::FindMenuById(int id) const {
    for (const MenuItem& item : menu_) {
        if (item.id == id) return &item;
        for (const MenuItem& child : item.children) {
            if (child.id == id) return &child;
        }
    }
    return nullptr;
}

void Form::ClickMenu(const std::string& name) {
    const MenuItem* item = FindMenu(name);
    if (item && item->onClick) App().Dispatch(item->onClick);
}

std::vector<platform::MenuSpec> Form::MenuSpecs() const {
    std::vector<platform::MenuSpec> items;
    for (const MenuItem& item : menu_) {
        platform::MenuSpec entry{item.id, item.caption, true, true, {}};
        for (const MenuItem& child : item.children) entry.children.push_back({child.id, child.caption, true, true, {}});
        items.push_back(std::move(entry));
    }
    return items;
}

std::uintptr_t Form::Handle() const { return window_ ? window_->NativeHandle() : 0; }

void Form::Attach(platform::Desktop& desktop) {
    frame_ = desktop.FrameExtra(style_);
    if (!boundsSet_) {
        bounds_.width = clientWidth_ + frame_.width;
        bounds_.height = clientHeight_ + frame_.height;
    }
    window_ = desktop.CreateWindowPeer(name_, style_, *this, {caption_, MenuSpecs(), bounds_});
    if (backColour_) window_->SetBackColour(*backColour_);
    if (background_) window_->SetBackground(*background_);
    if (gradient_) window_->SetGradient(*gradient_);
    for (Timer* timer : timers_) timer->Attach(*window_);
}

void Form::AttachControls() {
    // The native controls are made when the window first shows, from the state the form's
    // loading left them in: each is made once, in its final place, font and content.
    if (controlsAttached_ || !window_ || !nativeControls_) return;
    controlsAttached_ = true;
    for (Control* control : controls_) control->Attach(*window_);
}

void Form::Detach() {
    for (Timer* timer : timers_) timer->Detach();
    for (Control* control : controls_) control->Detach();
    controlsAttached_ = false;
    window_.reset();
}

void Form::OnActivated() { App().WindowActivated(*this); }
void Form::OnDeactivated() { App().WindowDeactivated(*this); }
void Form::OnResized() {
    App().Dispatch([this] { Form_Resize(); });
}
void Form::OnCloseRequest() {
    App().Dispatch([this] { Form_QueryClose(); });
}

bool Form::OnEscape() {
    bool handled = false;
    App().Dispatch([this, &handled] { handled = Form_Escape(); });
    return handled;
}

void Form::OnEndSession(bool ending) {
    App().Dispatch([this, ending] { Form_EndSession(ending); });
}

void Form::OnMenu(int id) {
    const MenuItem* item = FindMenuById(id);
    if (item && item->onClick) App().Dispatch(item->onClick);
}

void Form::OnTimer(int id) {
    for (Timer* timer : timers_) {
        if (timer->Id() == id) {
            timer->Fire();
            return;
        }
    }
}

}  // namespace forms
