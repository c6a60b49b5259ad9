#include "screens/frmUnload.h"

#include "forms/Application.h"

namespace screens {

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
