#pragma once
// Ending a visit to the screens, and ending the program.
#include "forms/Application.h"

namespace screens {

// Hides every form, from the most recently created to the first; one that a hiding unloaded is
// passed over.
void HideAll(forms::Application& app);
// Unloads every form except the resident main window, in creation order.
void UnloadAllButMain(forms::Application& app);
// Resets the pointer and unloads every form, the main window included, in creation order.
void UnloadAll(forms::Application& app);

}  // namespace screens
