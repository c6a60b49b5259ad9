#include "forms/Application.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace forms {

Application::Application(platform::Desktop& desktop) : desktop_(desktop) {}

Application::~Application() {
    // The windows go first, without handlers, so that no window event reaches a form that is
    // being freed.
    active_ = nullptr;
    for (auto& form : forms_) form->loaded_ = false;
    for (auto& form : forms_) form->Detach();
    forms_.clear();
    graveyard_.clear();
}

std::unique_ptr<Form> Application::Make(std::type_index type) const {
    const auto maker = makers_.find(type);
    return maker == makers_.end() ? nullptr : maker->second();
}

void Application::NoMaker(std::type_index type) {
    std::fprintf(stderr, "no maker provided for the form %s\n", type.name());
    std::abort();
}

Form* Application::FindByType(std::type_index type) const {
    for (const auto& form : forms_) {
        if (form->type_ == type) return form.get();
    }
    return nullptr;
}

void Application::Create(std::unique_ptr<Form> form, std::type_index type) {
    windowThread_.Check("a form is made");
    form->type_ = type;
    form->app_ = this;
    Form& ref = *form;
    forms_.push_back(std::move(form));
    ref.loaded_ = true;
    ref.Attach(desktop_);
    Dispatch([&ref] { ref.Form_Load(); });
}

std::vector<Form*> Application::Forms() const {
    std::vector<Form*> out;
    for (const auto& form : forms_) out.push_back(form.get());
    return out;
}

bool Application::IsLoaded(const Form& form) const {
    return std::any_of(forms_.begin(), forms_.end(), [&](const auto& f) { return f.get() == &form; });
}

void Application::Show(Form& form) {
    windowThread_.Check("a form is shown");
    if (!form.loaded_) return;
    form.SetVisibleFlag(true);
    form.AttachControls();
    if (form.window_) form.window_->Show();
}

void Application::Hide(Form& form) {
    windowThread_.Check("a form is hidden");
    if (!form.loaded_) return;
    form.SetVisibleFlag(false);
    if (form.window_) form.window_->Hide();
}

void Application::Unload(Form& form) {
    windowThread_.Check("a form is unloaded");
    if (!form.loaded_) return;
    ++depth_;  // keeps the form alive until the outermost handler is done
    try {
        form.Form_Unload();
    } catch (...) {
        // A failing unload handler does not keep the form.
    }
    if (active_ == &form) active_ = nullptr;
    form.loaded_ = false;
    form.SetVisibleFlag(false);
    form.Detach();
    const auto it = std::find_if(forms_.begin(), forms_.end(), [&](const auto& f) { return f.get() == &form; });
    if (it != forms_.end()) {
        graveyard_.push_back(std::move(*it));
        forms_.erase(it);
    }
    --depth_;
    if (depth_ == 0) {
        graveyard_.clear();
        EndIfDone();
    }
}

void Application::SetMousePointer(int pointer) { desktop_.SetPointer(pointer); }

int Application::MsgBox(const std::string& text, int style, const std::string& caption) {
    return desktop_.MessageBox(text, caption, style);
}

void Application::Dispatch(const std::function<void()>& handler) {
    windowThread_.Check("a handler runs");
    ++depth_;
    try {
        handler();
    } catch (...) {
        // A handler that fails skips the rest of its own work; the program goes on.
    }
    --depth_;
    if (depth_ == 0) {
        graveyard_.clear();
        EndIfDone();
    }
}

void Application::EndIfDone() {
    if (Ended()) desktop_.Quit();
}

void Application::Run() {
    if (!Ended()) desktop_.RunLoop();
}

void Application::WindowActivated(Form& form) {
    if (!form.loaded_ || active_ == &form) return;
    Form* previous = active_;
    active_ = &form;
    // One outer boundary keeps both forms alive through both handlers.
    Dispatch([&] {
        if (previous) Dispatch([previous] { previous->Form_Deactivate(); });
        if (form.loaded_ && active_ == &form) Dispatch([&form] { form.Form_Activate(); });
    });
}

void Application::WindowDeactivated(Form& form) {
    if (!form.loaded_ || active_ != &form) return;
    active_ = nullptr;
    Dispatch([&form] { form.Form_Deactivate(); });
}

}  // namespace forms
