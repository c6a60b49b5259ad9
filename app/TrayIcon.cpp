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

std::string GetCommandArg(int maxArgs) { return GetCommandArg(platform::Env().CommandArgs(), maxArgs); }

bool IsAutoCleanRequest(const std::string& token) { return token == "a" || token == "A"; }

bool IsPreviewRequest(const std::string& token) { return text::EqualsNoCase(token, "preview"); }

namespace {

platform::TrayIconSpec TrayIconData() { return {kTrayIconId, kTrayTip, kTrayCallbackMessage, kTrayIconFlags}; }

platform::WindowPeer* MainWindowPeer() {
    MainWindow* main = forms::App().Find<MainWindow>();
    return main ? main->Peer() : nullptr;
}

}  // namespace

int ShellTrayAdd() {
    platform::WindowPeer* owner = MainWindowPeer();
    return owner ? forms::App().Desktop().AddTrayIcon(*owner, TrayIconData()) : 0;
}

void ShellTrayDelete() {
    if (platform::WindowPeer* owner = MainWindowPeer()) forms::App().Desktop().DeleteTrayIcon(*owner, TrayIconData());
}

void HookWindow() {
    if (platform::WindowPeer* owner = MainWindowPeer()) owner->SetMessageHook(TrayWndProc);
}

void UnhookWindow() {
    platform::WindowPeer* owner = MainWindowPeer();
    if (owner && owner->HasMessageHook()) owner->SetMessageHook({});
}

std::optional<std::intptr_t> TrayWndProc(const platform::WindowMessage& message) {
    MainWindow* main = forms::App().Find<MainWindow>();
    if (!main || message.window != main->Handle() || message.message != kTrayCallbackMessage) return std::nullopt;
    if (message.lParam == kLeftButtonUp || message.lParam == kRightButtonUp) {
        forms::App().Dispatch([main] { main->ShowPopupMenu(); });
    }
    return 0;
}

}  // namespace app
