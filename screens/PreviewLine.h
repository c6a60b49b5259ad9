#pragma once
// While the clean options or the paths view is shown, the backdrop's progress line tells what a
// clean now would remove, worked out beside the windows by the clean's own walk and decisions.
#include <string>

#include "engine/CleanPreview.h"

namespace screens {

// Works it out anew from Clean.ini as it is now; one still being worked out is abandoned.
void ShowCleanPreview();
// Abandons it, and the line goes.
void EndCleanPreview();

// "A clean now would remove 53,234 items, 1.3 GB: Your Selected Folder 51,234 items, 1.2 GB; ..."
std::string PreviewText(const engine::CleanPreview& preview);

}  // namespace screens
