#include "screens/InternetKeepScreen.h"

#include "engine/UrlCacheClean.h"
#include "engine/KeepLists.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/CookieFolderScreen.h"
#include "screens/AboutScreen.h"
#include "screens/HelpPages.h"
#include "screens/PathsView.h"
#include "screens/FolderPicker.h"
#include "screens/SettingNotSaved.h"
#include "settings/SettingsFile.h"

namespace screens {


namespace {
constexpr const char* kInstructions =
    "The top list shows all \"Cookies\"  collected.      To save a cookie double click on it, then click \"Save\"";
}  // namespace

std::string KeepListTooLongText(std::size_t stored) {
    return "You have saved " + std::to_string(stored) + " Cookies, more than this list can show (" +
           std::to_string(forms::kMaxListItems) + ") !\r\rNothing has been saved, all of them are still kept.";
}

Target::Prepared InternetKeepScreen::Prepare(const ScreenServices& services, BesideProgress& progress) {
    auto entries = std::make_shared<std::vector<std::string>>(engine::CollectUrlCacheEntries(
        *services.ports.urlCache, [&progress] { return progress.Stopped(); }, &progress.found));
    return [&services, entries] { return std::make_unique<InternetKeepScreen>(services, std::move(*entries)); };
}

InternetKeepScreen::InternetKeepScreen(const ScreenServices& services, std::optional<std::vector<std::string>> listed)
    : CookieScreen(services, {"Form3a", "Kavlon Tarnwick----Save Your Cookies Here", "", 400, 50, 500,
                    CloseKind::kKeepBackdrop},
                   kInstructions, {1320, 120, 975, 2115}, "Internet Files Collected", 2535, "Internet Cookies Saved",
                   2655),
      listed_(std::move(listed)) {
    SetCommands({
        {"sPath", "View Paths", CommandKind::kOpen, Target::Of<PathsView>()},
        {"sOptions", "Options", CommandKind::kOpen, Target::Of<CleanOptionsScreen>(), platform::kPointerHourglass},
        {"sCook", "User Folder", CommandKind::kOpen, Target::Of<FolderPicker>()},
        {"sDeleteCookies", "Save", CommandKind::kOwn, {}, platform::kPointerDefault, true, false,
         [this] { Delete_Click(); }},
        {"sCookies", "Cookies", CommandKind::kSwitch, Target::Of<CookieFolderScreen>()},
        {"sHelp", "Help", CommandKind::kHelp, Target::Of<InternetCookiesHelp>()},
        {"sAbout", "About", CommandKind::kOpen, Target::Of<AboutScreen>()},
        {"sClose", "Close", CommandKind::kClose},
    });
}

void InternetKeepScreen::LoadContent() {
    std::vector<std::string> collected =
        listed_ ? std::move(*listed_) : engine::CollectUrlCacheEntries(*Ports().urlCache);
    listed_.reset();  // once: Save lists afresh
    Rebuild(collected);
}

std::string InternetKeepScreen::StatusText() { return TopCount() + " Internet Files Collected !"; }

// Both lists, from the cache's listing and the settings file.
void InternetKeepScreen::Rebuild(const std::vector<std::string>& collected) {
    topList.Clear();
    bottomList.Clear();
    FillBottomList(settings::ReadKeepList(Ports(), "Internet"));
    FillTopList(collected);
    ShowCounts();
}

void InternetKeepScreen::Delete_Click() {
    // Storing what the list shows would drop the kept entries it could not show.
    if (BottomUnlisted() > 0) {
        App().MsgBox(KeepListTooLongText(static_cast<std::size_t>(bottomList.ListCount()) + BottomUnlisted()), 16,
                     "Kavlon Info.....");
        return;
    }
    TellIfNotSaved(App(), settings::IniFilePath(*Ports().environment),
                   engine::SaveInternetKeepList(Ports(), bottomList.Items()));
    // What is stored shows once the cache is listed again, beside the windows.
    RunBeside("sDeleteCookies", platform::kPointerArrowHourglass, kPreparing,
              [this, cache = Ports().urlCache](BesideProgress& progress) {
                  auto entries = std::make_shared<std::vector<std::string>>(engine::CollectUrlCacheEntries(
                      *cache, [&progress] { return progress.Stopped(); }, &progress.found));
                  return std::function<void()>([this, entries] { Rebuild(*entries); });
              });
}

}  // namespace screens
