#pragma once
// The command line, and the notification-area icon with the hook that hears its clicks.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Desktop.h"
#include "platform/Environment.h"

namespace app {

class MainWindow;

// The last token of argText, or the maxArgs-th when there are more than maxArgs tokens; ""
// when there is none. Tokens are separated by runs of blanks, "/", tabs and double quotes.
std::string GetCommandArg(std::string_view argText, int maxArgs = 10);
// The same on the argument text of this process.
std::string GetCommandArg(platform::Environment& env, int maxArgs = 10);

// Whether the command line asks for the unattended clean: its token is exactly "a" or "A".
bool IsAutoCleanRequest(const std::string& token);
// Whether it asks for the unattended preview: its token is "preview", in any letter case.
bool IsPreviewRequest(const std::string& token);

// ---- The notification-area icon and the hook on the main window.

inline constexpr int kTrayIconId = 125;
inline constexpr unsigned kTrayCallbackMessage = 1025;  // the first user message plus one
inline constexpr unsigned kTrayIconFlags = 7;           // message, icon and tip
inline constexpr const char* kTrayTip = "Kavlon Tarnwick";
// Mouse messages the icon reports in lParam.
inline constexpr std::intptr_t kLeftButtonUp = 514;
inline constexpr std::intptr_t kRightButtonUp = 517;

// Adds the icon, owned by the main window; the platform's result (1: added).
int ShellTrayAdd(MainWindow& main);
// Removes the icon.
void ShellTrayDelete(MainWindow& main);
// Gives the icon a tip: how far a clean has got while one runs, kTrayTip otherwise.
void ShellTrayTip(MainWindow& main, const std::string& tip);
// A balloon from the icon.
void ShellTrayBalloon(MainWindow& main, const platform::TrayBalloon& balloon);
// Puts TrayWndProc in front of the main window's message handling.
void HookWindow(MainWindow& main);
// Takes it away again, when it is there.
void UnhookWindow(MainWindow& main);
// The icon's messages: a left or right button released on it brings the main window to the
// foreground and opens the popup menu; every other icon message is swallowed. Other messages
// pass on (nullopt).
std::optional<std::intptr_t> TrayWndProc(MainWindow& main, const platform::WindowMessage& message);

}  // namespace app
