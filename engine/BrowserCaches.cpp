#include "engine/BrowserCaches.h"

#include <algorithm>
#include <memory>

#include "platform/Text.h"

namespace engine {
namespace {

using platform::FileEntry;
using platform::FolderHandle;
using platform::FsError;

constexpr std::array<ChromiumBrowser, 3> kChromiumBrowsers = {{
    {"Chrome", "Chrome Cache", "Chrome cache", "Google\\Chrome\\User Data"},
    {"Edge", "Edge Cache", "Edge cache", "Microsoft\\Edge\\User Data"},
    {"Brave", "Brave Cache", "Brave cache", "BraveSoftware\\Brave-Browser\\User Data"},
}};

constexpr const char* kLinkLeft = "a link, left in place";
constexpr const char* kNotOpened = "could not be opened";

const FileEntry* Named(const std::vector<FileEntry>& entries, std::string_view name) {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const FileEntry& entry) { return text::EqualsNoCase(entry.name, name); });
    return found == entries.end() ? nullptr : &*found;
}

// A subfolder of an open folder as its listing shows it, opened through that folder's handle and
// never through a link; null, with the place recorded as skipped, when it is a link or cannot be
// opened.
std::unique_ptr<FolderHandle> OpenSubfolder(FolderHandle& parent, const std::string& path, const FileEntry& entry,
                                            FolderSet& set) {
    const std::string child = text::JoinPath(path, entry.name);
    if (entry.IsReparsePoint()) {
        set.skipped.push_back({child, kLinkLeft});
        return nullptr;
    }
    FolderHandle::Opened opened = parent.OpenFolder(entry);
    if (!opened.folder) set.skipped.push_back({child, opened.error == FsError::kLink ? kLinkLeft : kNotOpened});
    return std::move(opened.folder);
}

// The folder at path, reached by handle from the folder that holds it (which is opened by path):
// null when it is not there (set.absent) or was skipped.
std::unique_ptr<FolderHandle> OpenTop(platform::FileSystem& files, const std::string& path, FolderSet& set) {
    // Only looked at: the caches found are opened anew, for their own use, when they are purged.
    const auto holder = files.OpenFolder(std::string(text::ParentOf(path)), platform::FolderUse::kLook);
    const auto entries = holder ? holder->List() : std::nullopt;
    const FileEntry* entry = entries ? Named(*entries, text::FileNameOf(path)) : nullptr;
    if (!entry || !entry->IsDirectory()) {
        set.absent = true;
        return nullptr;
    }
    return OpenSubfolder(*holder, path, *entry, set);
}

// Adds the caches of one folder (a profile, or the user data folder) that are named so.
template <std::size_t N>
void AddCaches(FolderHandle& folder, const std::string& path, const std::vector<FileEntry>& entries,
               const std::array<std::string_view, N>& names, FolderSet& set) {
    for (const std::string_view name : names) {
        const FileEntry* entry = Named(entries, name);
        if (!entry || !entry->IsDirectory()) continue;
        if (const auto cache = OpenSubfolder(folder, path, *entry, set)) {
            set.folders.push_back({text::JoinPath(path, entry->name), cache->Identity()});
        }
    }
}

// Whether another program holds the file so that it cannot be opened for this: a lock that is
// there but cannot be tried counts as held.
bool Held(platform::FileSystem& files, const std::string& path, platform::FileSystem::OpenIntent intent) {
    const FsError tried = files.TryOpen(path, intent);
    return tried != FsError::kNone && tried != FsError::kNotFound;
}

}  // namespace

std::span<const ChromiumBrowser> ChromiumBrowsers() { return kChromiumBrowsers; }

bool IsChromiumProfile(std::string_view name) {
    if (text::EqualsNoCase(name, "Default") || text::EqualsNoCase(name, "Guest Profile")) return true;
    constexpr std::string_view kNumbered = "Profile ";
    if (name.size() <= kNumbered.size() || !text::EqualsNoCase(name.substr(0, kNumbered.size()), kNumbered)) {
        return false;
    }
    const std::string_view number = name.substr(kNumbered.size());
    return std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ChromiumUserData(const CleanSettings& settings, const ChromiumBrowser& browser) {
    return settings.localAppData.empty() ? std::string() : text::JoinPath(settings.localAppData, browser.userData);
}

FolderSet ChromiumCacheFolders(const platform::Ports& ports, const CleanSettings& settings,
                               const ChromiumBrowser& browser) {
    FolderSet set;
    const std::string userData = ChromiumUserData(settings, browser);
    if (userData.empty()) {
        set.absent = true;
        return set;
    }
    platform::FileSystem& files = *ports.fileSystem;
    const auto top = OpenTop(files, userData, set);
    if (!top) return set;
    if (Held(files, text::JoinPath(userData, "lockfile"), platform::FileSystem::OpenIntent::kDelete)) {
        set.skipped.push_back({userData, std::string(browser.name) + " is running"});
        return set;
    }
    const auto entries = top->List();
    if (!entries) {
        set.skipped.push_back({userData, "could not be listed"});
        return set;
    }
    for (const FileEntry& entry : *entries) {
        if (!entry.IsDirectory() || !IsChromiumProfile(entry.name)) continue;
        const std::string path = text::JoinPath(userData, entry.name);
        const auto profile = OpenSubfolder(*top, userData, entry, set);
        if (!profile) continue;
        if (const auto inside = profile->List()) {
            AddCaches(*profile, path, *inside, kChromiumProfileCaches, set);
        } else {
            set.skipped.push_back({path, "could not be listed"});
        }
    }
    AddCaches(*top, userData, *entries, kChromiumSharedCaches, set);
    return set;
}

std::string FirefoxProfiles(const CleanSettings& settings) {
    return settings.localAppData.empty() ? std::string()
                                         : text::JoinPath(settings.localAppData, "Mozilla\\Firefox\\Profiles");
}

FolderSet FirefoxCacheFolders(const platform::Ports& ports, const CleanSettings& settings) {
    FolderSet set;
    const std::string profiles = FirefoxProfiles(settings);
    if (profiles.empty()) {
        set.absent = true;
        return set;
    }
    platform::FileSystem& files = *ports.fileSystem;
    const auto top = OpenTop(files, profiles, set);
    if (!top) return set;
    const auto entries = top->List();
    if (!entries) {
        set.skipped.push_back({profiles, "could not be listed"});
        return set;
    }
    for (const FileEntry& entry : *entries) {
        if (!entry.IsDirectory()) continue;
        const std::string path = text::JoinPath(profiles, entry.name);
        // Without APPDATA the lock cannot be found: the profile may be in use.
        if (settings.appData.empty()) {
            set.skipped.push_back({path, "whether Firefox uses profile " + entry.name + " cannot be told"});
            continue;
        }
        if (Held(files, text::JoinPath(settings.appData, "Mozilla\\Firefox\\Profiles\\" + entry.name + "\\parent.lock"),
                 platform::FileSystem::OpenIntent::kRead)) {
            set.skipped.push_back({path, "Firefox profile " + entry.name + " is in use"});
            continue;
        }
        const auto profile = OpenSubfolder(*top, profiles, entry, set);
        if (!profile) continue;
        if (const auto inside = profile->List()) {
            AddCaches(*profile, path, *inside, kFirefoxCaches, set);
        } else {
            set.skipped.push_back({path, "could not be listed"});
        }
    }
    return set;
}

}  // namespace engine
