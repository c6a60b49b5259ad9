#include "app/Usage.h"

#include "engine/RunLog.h"
#include "forms/Application.h"
#include "platform/Text.h"
#include "settings/SettingsFile.h"

namespace app {

bool IsHelpRequest(const std::string& token) {
    return token == "?" || token == "-?" || text::EqualsNoCase(token, "-h") || text::EqualsNoCase(token, "--help");
}

std::string UsageText(platform::Environment& env) {
    return "Morvane 2.6.01: cleans the Temp folder, the internet cache and a folder of your choice.\r\n"
           "\r\n"
           "  Morvane.exe           stays in the notification area; its icon's menu opens the settings\r\n"
           "  Morvane.exe A         cleans what Clean.ini chooses, once, asking nothing, and ends\r\n"
           "  Morvane.exe preview   tells what that clean would remove, changing nothing, and ends\r\n"
           "  Morvane.exe /?        this text (also -h, --help)\r\n"
           "\r\n"
           "A and preview end with:\r\n"
           "  0  everything chosen was cleaned, or nothing was chosen\r\n"
           "  1  something stayed, a chosen folder could not be cleaned, or the clean was stopped\r\n"
           "  2  the chosen folder is a drive root or a system folder: nothing was deleted\r\n"
           "  3  Clean.ini exists but cannot be read: nothing was done\r\n"
           "\r\n"
           "Settings:            " + settings::IniFilePath(env) + "\r\n" +
           "Record of each run:  " + engine::RunLogPath(env) + "\r\n";
}

void ShowUsage(forms::Application& app, platform::Environment& env) {
    const std::string usage = UsageText(env);
    if (!env.WriteOutput(usage)) app.MsgBox(usage, 64, "Kavlon Info.....");
}

}  // namespace app
