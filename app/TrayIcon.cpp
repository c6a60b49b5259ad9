#include "app/TrayIcon.h"

#include "platform/Text.h"

#include <vector>

#include "app/MainWindow.h"
#include "forms/Application.h"
#include "platform/Ports.h"

namespace app {
namespace {
bool IsSeparator(char c) { return c == ' ' || c == '/' || c == '\t' || c == '"'; }
}  // namespace

std::string GetCommandArg(std::string_view argText, int maxArgs) {
    if (maxArgs < 0) maxArgs = 0;
    std::vector<std::string> tokens(static_cast<size_t>(maxArgs) + 1);  // slot 0 stays empty
    int count = 0;
    bool inside = false;
    for (const char c : argText) {
        if (IsSeparator(c)) {
            inside = false;
            continue;
        }
        if (!inside) {
            if (count == maxArgs) break;  // the token after the last slot is not read
            ++count;
            inside = true;
        }
        tokens[static_cast<size_t>(count)] += c;
    }
    return tokens[static_cast<size_t>(count)];
}

std::string GetCommandArg(platform::Environment& env, int maxArgs) { return GetCommandArg(env.CommandArgs(), maxArgs); }

bool IsAutoCleanRequest(const std::string& token) { return token == "a" || token == "A"; }

bool IsPreviewRequest(const std::string& token) { return text::EqualsNoCase(token, "preview"); }

namespace {

platform::TrayIconSpec TrayIconData() { return {kTrayIconId, kTrayTip, kTrayCallbackMessage, kTrayIconFlags}; }

}  // namespace

int ShellTrayAdd(MainWindow& main) {
    platform::WindowPeer* owner = main.Peer();
    return owner ? main.App().Desktop().AddTrayIcon(*owner, TrayIconData()) : 0;
}

void ShellTrayDelete(MainWindow& main) {
    if (platform::WindowPeer* owner = main.Peer()) main.App().Desktop().DeleteTrayIcon(*owner, TrayIconData());
}

void ShellTrayTip(MainWindow& main, const std::string& tip) {
    platform::TrayIconSpec icon = TrayIconData();
    icon.tip = tip;
    if (platform::WindowPeer* owner = main.Peer()) main.App().Desktop().SetTrayTip(*owner, icon);
}

void ShellTrayBalloon(MainWindow& main, const platform::TrayBalloon& balloon) {
    if (platform::WindowPeer* owner = main.Peer()) main.App().Desktop().ShowTrayBalloon(*owner, TrayIconData(), balloon);
}

void HookWindow(MainWindow& main) {
    if (platform::WindowPeer* owner = main.Peer()) {
        owner->SetMessageHook([&main](const platform::WindowMessage& message) { return TrayWndProc(main, message); });
    }
}

void UnhookWindow(MainWindow& main) {
    platform::WindowPeer* owner = main.Peer();
    if (owner && owner->HasMessageHook()) owner->SetMessageHook({});
}

std::optional<std::intptr_t> TrayWndProc(MainWindow& main, const platform::WindowMessage& message) {
    if (message.window != main.Handle() || message.message != kTrayCallbackMessage) return std::nullopt;
    if (message.lParam == kLeftButtonUp || message.lParam == kRightButtonUp) {
        main.App().Dispatch([&main] { main.ShowPopupMenu(); });
    }
    return 0;
}

}  // namespace app
