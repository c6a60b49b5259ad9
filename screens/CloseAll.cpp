#include "screens/CloseAll.h"

#include <vector>

#include "forms/Application.h"

namespace screens {

void HideAll() {
    const std::vector<forms::Form*> loaded = forms::App().Forms();
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
        if (forms::App().IsLoaded(**it)) forms::App().Hide(**it);
    }
}

void UnloadAllButMain() {
    for (forms::Form* form : forms::App().Forms()) {
        if (form->Name() != "Form1a") forms::App().Unload(*form);
    }
}

void UnloadAll() {
    forms::App().SetMousePointer(0);
    for (forms::Form* form : forms::App().Forms()) forms::App().Unload(*form);
}

}  // namespace screens
