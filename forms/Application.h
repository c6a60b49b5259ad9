#pragma once
// The forms of the program: the registry (each form type at most once, created on first
// reference, kept in creation order), showing and hiding with activation as Windows does it,
// unloading (deferred while a handler runs), the mouse pointer, message boxes and the handler
// boundary that nothing thrown escapes. A form that needs something of the program (its ports,
// the clean runs) is given it when it is made, by the maker the program provides for its type.
// Window thread only: the calls that change the windows check that they come from the thread
// that made the application.
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "forms/Form.h"
#include "platform/Desktop.h"
#include "platform/ThreadAffinity.h"

namespace forms {

class Application {
public:
    explicit Application(platform::Desktop& desktop);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // How to make a form of type F: with what it needs, given by the program. A type without
    // a maker is made by its default constructor.
    template <class F>
    void Provide(std::function<std::unique_ptr<F>()> make) {
        makers_[typeid(F)] = [make = std::move(make)]() -> std::unique_ptr<Form> { return make(); };
    }

    // The form of type F, created (and its Form_Load run) when it does not exist.
    template <class F>
    F& Get() {
        if (F* existing = Find<F>()) return *existing;
        std::unique_ptr<Form> form = Make(typeid(F));
        if constexpr (std::is_default_constructible_v<F>) {
            if (!form) form = std::make_unique<F>();
        }
        if (!form) NoMaker(typeid(F));
        F& ref = static_cast<F&>(*form);
        Create(std::move(form), typeid(F));
        return ref;
    }
    // Loads a form made by the caller, as Get would have made it; null-safe only for a type
    // that does not exist yet.
    template <class F>
    F& Adopt(std::unique_ptr<F> made) {
        F& ref = *made;
        Create(std::move(made), typeid(F));
        return ref;
    }
    // The form of type F when it exists, without creating it.
    template <class F>
    F* Find() const {
        return static_cast<F*>(FindByType(typeid(F)));
    }
    template <class F>
    bool Exists() const {
        return Find<F>() != nullptr;
    }
    // Load: creates the form when missing; an existing form is left as it is (a hidden one
    // stays hidden).
    template <class F>
    F& Load() {
        return Get<F>();
    }
    // Show: creates the form when missing, then makes it visible and active.
    template <class F>
    F& Show() {
        F& form = Get<F>();
        Show(form);
        return form;
    }
    void Show(Form& form);
    void Hide(Form& form);
    // Runs Form_Unload, destroys the window and removes the form from the registry; the object
    // itself lives on until the outermost handler has returned.
    void Unload(Form& form);
    template <class F>
    void Unload() {
        if (F* form = Find<F>()) Unload(*form);
    }

    // Loaded forms in creation order.
    std::vector<Form*> Forms() const;
    bool IsLoaded(const Form& form) const;
    Form* ActiveForm() const { return active_; }

    void SetMousePointer(int pointer);
    // A modal message box (style number as the platform defines it); returns the result code.
    int MsgBox(const std::string& text, int style, const std::string& caption);
    platform::ScreenMetrics Screen() const { return desktop_.Screen(); }
    platform::Desktop& Desktop() const { return desktop_; }

    // Runs a handler: anything it throws is caught here, and forms unloaded meanwhile are
    // freed once no handler is running any more.
    void Dispatch(const std::function<void()>& handler);
    // True once no form exists and no handler runs: the program is over.
    bool Ended() const { return forms_.empty() && depth_ == 0; }
    // Delivers events until the program is over.
    void Run();

    // From the windows.
    void WindowActivated(Form& form);
    void WindowDeactivated(Form& form);

private:
    std::unique_ptr<Form> Make(std::type_index type) const;
    [[noreturn]] static void NoMaker(std::type_index type);
    void Create(std::unique_ptr<Form> form, std::type_index type);
    Form* FindByType(std::type_index type) const;
    void EndIfDone();

    platform::Desktop& desktop_;
    std::vector<std::unique_ptr<Form>> forms_;      // creation order
    std::vector<std::unique_ptr<Form>> graveyard_;  // unloaded while a handler ran
    Form* active_ = nullptr;
    int depth_ = 0;
    std::unordered_map<std::type_index, std::function<std::unique_ptr<Form>()>> makers_;
    platform::ThreadAffinity windowThread_;
};

}  // namespace forms
