#include "screens/CloseAll.h"

#include <vector>

#include "forms/Application.h"

namespace screens {

void HideAll(forms::Application& app) {
    const std::vector<forms::Form*> loaded = app.Forms();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
        if (app.IsLoaded(**it)) app.Hide(**it);
    }
}

void UnloadAllButMain(forms::Application& app) {
    for (forms::Form* form : app.Forms()) {
        if (form->Name() != "Form1a") app.Unload(*form);
    }
}

void UnloadAll(forms::Application& app) {
    app.SetMousePointer(0);
    for (forms::Form* form : app.Forms()) app.Unload(*form);
}

}  // namespace screens
