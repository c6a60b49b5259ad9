#pragma once
// Today's browsers keep their caches in their own profile folders: where, and which folders a
// clean empties there. Only the contents of those cache folders go: the folders themselves and
// everything else of a profile (cookies, history, passwords, settings, bookmarks) are never
// opened for deletion, and a profile, user data or cache folder that is a link is left.
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "engine/CleanTargets.h"

namespace engine {

// A browser of the Chromium family: another one is one more row of ChromiumBrowsers().
struct ChromiumBrowser {
    std::string_view name;       // as "<name> is running" says it
    std::string_view key;        // its [Delete] key, also its label
    std::string_view shortName;  // as a sentence that names several targets says it
    std::string_view userData;   // its user data folder, below LOCALAPPDATA
};
std::span<const ChromiumBrowser> ChromiumBrowsers();

// The caches of each profile, and of the user data folder itself (shared by its profiles).
inline constexpr std::array<std::string_view, 5> kChromiumProfileCaches = {
    "Cache", "Code Cache", "GPUCache", "DawnGraphiteCache", "DawnWebGPUCache"};
inline constexpr std::array<std::string_view, 3> kChromiumSharedCaches = {"ShaderCache", "GrShaderCache",
                                                                          "GraphiteDawnCache"};
// The caches of each Firefox profile.
inline constexpr std::array<std::string_view, 3> kFirefoxCaches = {"cache2", "startupCache", "jumpListCache"};

// A profile folder of a Chromium browser: "Default", "Profile <n>" or "Guest Profile" (never the
// "System Profile" nor anything else).
bool IsChromiumProfile(std::string_view name);

// The user data folder of the browser, "" when LOCALAPPDATA is unset.
std::string ChromiumUserData(const CleanSettings& settings, const ChromiumBrowser& browser);
// Its cache folders. A browser that runs holds <User Data>\lockfile open, without sharing its
// deletion, for its whole life (a background one without a window too): then nothing of it is
// cleaned.
FolderSet ChromiumCacheFolders(const platform::Ports& ports, const CleanSettings& settings,
                               const ChromiumBrowser& browser);

// Where Firefox keeps the local part of its profiles, "" when LOCALAPPDATA is unset.
std::string FirefoxProfiles(const CleanSettings& settings);
// The cache folders of every profile there. Firefox holds parent.lock, in the profile's roaming
// folder below APPDATA, open without sharing while it uses the profile: such a profile is left.
FolderSet FirefoxCacheFolders(const platform::Ports& ports, const CleanSettings& settings);

}  // namespace engine
