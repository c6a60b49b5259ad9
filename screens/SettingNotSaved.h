#pragma once
// What a screen says when a setting it stores could not be written to Clean.ini (read-only,
// locked, in a folder the user may not write to): where and why. The screen puts its control
// back to what is stored.
#include <string>

#include "forms/Application.h"
#include "platform/FileSystem.h"

namespace screens {

std::string SettingNotSavedText(const std::string& file, platform::FsError why);
// Shows it; false (nothing shown) when the setting was stored.
bool TellIfNotSaved(forms::Application& app, const std::string& file, platform::FsError why);

}  // namespace screens
