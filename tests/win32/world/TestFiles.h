#pragma once
// File helpers of the Windows-side tests: the long-path form, the test-folder check, removing a
// test's folder without following links, and reading back a shortcut.
#include <string>

namespace testing_support {

// "\\?\" + path, so that long and Unicode paths work.
std::wstring Long(const std::string& path);
// Whether path lies strictly inside folder.
bool IsInside(const std::string& path, const std::string& folder);
// Empties and removes a folder; a link inside is removed as a link, never followed.
void RemoveTree(const std::wstring& folder);
// What a shortcut file starts, as the shell reads it back; "" when it is none.
std::string ShortcutTarget(const std::string& path);

}  // namespace testing_support
