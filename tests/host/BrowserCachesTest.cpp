// The browsers' caches: which folders of which profiles a clean empties, what it never touches
// (every file beside the caches stays byte for byte), links and running browsers left alone, and
// the preview counting what the clean then removes.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/MainWindow.h"
#include "engine/BrowserCaches.h"
#include "engine/CleanPreview.h"
#include "engine/CleanTargets.h"
#include "engine/RecycleBinClean.h"
#include "platform/Text.h"
#include "support/HeadlessWorld.h"

namespace {

using Lock = fake::FakeFileSystem::Lock;

constexpr const char* kLocal = "C:\\Users\\ann\\AppData\\Local";
constexpr const char* kChrome = "C:\\Users\\ann\\AppData\\Local\\Google\\Chrome\\User Data";
constexpr const char* kFirefox = "C:\\Users\\ann\\AppData\\Local\\Mozilla\\Firefox\\Profiles";
constexpr const char* kRoaming = "C:\\Users\\ann\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles";

struct BrowserWorld : testing_support::HeadlessWorld {
    BrowserWorld() {
        env.programFolder = "C:\\Apps";
        env.SetVariable("LOCALAPPDATA", kLocal);
        env.SetVariable("APPDATA", "C:\\Users\\ann\\AppData\\Roaming");
        folders.SetFolder(36, "C:\\Windows");
        files.AddFolder("C:\\Windows");
        files.AddFile("C:\\Apps\\Clean.ini", "[Delete]\r\nChrome Cache=Yes\r\nFirefox Cache=Yes\r\n");
    }
    // A Chromium profile as a browser leaves it: caches beside the user's own data.
    void Chromium(const std::string& profile) {
        files.AddFile(profile + "\\Cache\\Cache_Data\\f_000001", "cached page");
        files.AddFile(profile + "\\Cache\\Cache_Data\\index", "idx");
        files.AddFile(profile + "\\Code Cache\\js\\0a1b", "code");
        files.AddFile(profile + "\\GPUCache\\data_0", "gpu");
        files.AddFile(profile + "\\DawnWebGPUCache\\x", "dawn");
        for (const char* own : {"Cookies", "History", "Login Data", "Preferences", "Bookmarks"}) {
            files.AddFile(profile + "\\" + own, std::string(own) + " of " + profile);
        }
        files.AddFile(profile + "\\Service Worker\\CacheStorage\\y", "kept by the site");
    }
    void ChromeWithDefault() {
        files.AddFile(std::string(kChrome) + "\\Local State", "{profiles}");
        files.AddFile(std::string(kChrome) + "\\ShaderCache\\s", "shader");
        files.AddFile(std::string(kChrome) + "\\GrShaderCache\\g", "gr");
        Chromium(std::string(kChrome) + "\\Default");
    }
    void Firefox(const std::string& name) {
        const std::string profile = std::string(kFirefox) + "\\" + name;
        files.AddFile(profile + "\\cache2\\entries\\E1", "entry");
        files.AddFile(profile + "\\startupCache\\startupCache.8.little", "start");
        files.AddFile(profile + "\\jumpListCache\\a.ico", "icon");
        files.AddFile(profile + "\\cookies.sqlite", "cookies of " + name);
        files.AddFile(profile + "\\places.sqlite", "places of " + name);
        files.AddFile(std::string(kRoaming) + "\\" + name + "\\parent.lock", "");
        files.AddFile(std::string(kRoaming) + "\\" + name + "\\prefs.js", "prefs");
    }
    // Every path with its content ("(folder)" for a folder), links as links.
    std::map<std::string, std::string> State() {
        std::map<std::string, std::string> state;
        for (const std::string& path : files.Tree("C:\\Users")) state[path] = files.Content(path).value_or("(folder)");
        for (const std::string& path : files.Tree("C:\\Elsewhere")) state[path] = files.Content(path).value_or("(folder)");
        return state;
    }
    engine::CleanSettings Settings() {
        return engine::CleanSettings::Read(settings::IniSnapshot(ports, "C:\\Apps\\Clean.ini"), env);
    }
};

std::size_t TargetOf(std::string_view key) {
    const auto targets = engine::CleanTargets();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (targets[i].key == key) return i;
    }
    ADD_FAILURE() << "no target " << key;
    return 0;
}

// What differs between two states, path by path.
std::vector<std::string> Differences(const std::map<std::string, std::string>& actual,
                                     const std::map<std::string, std::string>& expected) {
    std::vector<std::string> out;
    for (const auto& [path, content] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) out.push_back("gone: " + path);
        else if (found->second != content) out.push_back("changed: " + path);
    }
    for (const auto& [path, content] : actual) {
        if (!expected.count(path)) out.push_back("still there: " + path);
    }
    return out;
}

std::vector<std::string> Reasons(const engine::DeleteTally& tally) {
    std::vector<std::string> reasons;
    for (const engine::SkippedPlace& place : tally.skipped) reasons.push_back(place.reason);
    return reasons;
}

// For each layout, not running and running: the preview changes nothing and counts what the
// clean then removes; the clean empties exactly the caches named and leaves every other file,
// link and link target as it was.
TEST(BrowserCaches, EmptyTheCachesOfEveryProfileAndNothingElse) {
    struct Case {
        const char* layout;
        std::function<void(BrowserWorld&)> setUp;
        std::vector<std::string> gone;     // folders whose contents go when nothing runs
        std::vector<std::string> skipped;  // why places are left, when nothing runs
        bool chromeRuns;                   // a running Chrome would be seen
    };
    const std::string ud = kChrome;
    const std::string ff = kFirefox;
    const std::vector<std::string> defaultCaches = {ud + "\\Default\\Cache", ud + "\\Default\\Code Cache",
                                                    ud + "\\Default\\GPUCache", ud + "\\Default\\DawnWebGPUCache",
                                                    ud + "\\ShaderCache", ud + "\\GrShaderCache"};
    const auto with = [&](std::vector<std::string> more) {
        more.insert(more.end(), defaultCaches.begin(), defaultCaches.end());
        return more;
    };
    const Case cases[] = {
        {"Default, Profile 3 and Guest Profile",
         [](BrowserWorld& w) {
             w.ChromeWithDefault();
             w.Chromium(std::string(kChrome) + "\\Profile 3");
             w.Chromium(std::string(kChrome) + "\\Guest Profile");
         },
         with({ud + "\\Profile 3\\Cache", ud + "\\Profile 3\\Code Cache", ud + "\\Profile 3\\GPUCache",
               ud + "\\Profile 3\\DawnWebGPUCache", ud + "\\Guest Profile\\Cache", ud + "\\Guest Profile\\Code Cache",
               ud + "\\Guest Profile\\GPUCache", ud + "\\Guest Profile\\DawnWebGPUCache"}),
         {},
         true},
        {"System Profile and folders that are no profile",
         [](BrowserWorld& w) {
             w.ChromeWithDefault();
             w.Chromium(std::string(kChrome) + "\\System Profile");
             w.Chromium(std::string(kChrome) + "\\Snapshots");
             w.Chromium(std::string(kChrome) + "\\Profile x");
             w.files.AddFile(std::string(kChrome) + "\\Default\\Cache Backup\\b", "not a cache of ours");
         },
         defaultCaches, {}, true},
        {"a profile that is a link",
         [](BrowserWorld& w) {
             w.ChromeWithDefault();
             w.Chromium("C:\\Elsewhere\\Profile");
             w.files.AddLink(std::string(kChrome) + "\\Profile 1", "C:\\Elsewhere\\Profile");
         },
         defaultCaches, {"a link, left in place"}, true},
        {"a cache folder that is a junction",
         [](BrowserWorld& w) {
             w.ChromeWithDefault();
             w.files.Erase(std::string(kChrome) + "\\Default\\GPUCache");
             w.files.AddFile("C:\\Elsewhere\\Documents\\thesis.doc", "years of work");
             w.files.AddLink(std::string(kChrome) + "\\Default\\GPUCache", "C:\\Elsewhere\\Documents");
         },
         {ud + "\\Default\\Cache", ud + "\\Default\\Code Cache", ud + "\\Default\\DawnWebGPUCache", ud + "\\ShaderCache",
          ud + "\\GrShaderCache"},
         {"a link, left in place"},
         true},
        {"the user data folder is a link",
         [](BrowserWorld& w) {
             w.Chromium("C:\\Elsewhere\\User Data\\Default");
             w.files.AddLink(kChrome, "C:\\Elsewhere\\User Data");
         },
         {}, {"a link, left in place"}, false},
        {"missing folders",
         [](BrowserWorld& w) {
             w.files.AddFile(std::string(kChrome) + "\\Default\\Preferences", "no caches yet");
             w.files.AddFolder(kFirefox);
         },
         {}, {}, true},
        {"a stale lock of a browser that ended",
         [](BrowserWorld& w) {
             w.ChromeWithDefault();
             w.files.AddFile(std::string(kChrome) + "\\lockfile", "");
         },
         defaultCaches, {}, true},
        {"Firefox profiles",
         [](BrowserWorld& w) {
             w.Firefox("abcd.default-release");
             w.Firefox("wxyz.dev");
         },
         {ff + "\\abcd.default-release\\cache2", ff + "\\abcd.default-release\\startupCache",
          ff + "\\abcd.default-release\\jumpListCache", ff + "\\wxyz.dev\\cache2", ff + "\\wxyz.dev\\startupCache",
          ff + "\\wxyz.dev\\jumpListCache"},
         {},
         false},
    };
    const std::size_t chrome = TargetOf("Chrome Cache");
    const std::size_t firefox = TargetOf("Firefox Cache");
    for (const Case& c : cases) {
        for (const bool running : {false, true}) {
            SCOPED_TRACE(std::string(c.layout) + (running ? ", running" : ", not running"));
            BrowserWorld world;
            c.setUp(world);
            if (running) {
                // Chromium holds its lockfile, deletion not shared; Firefox its parent.lock, nothing shared.
                if (c.chromeRuns) {
                    world.files.AddFile(std::string(kChrome) + "\\lockfile", "");
                    world.files.SetLock(std::string(kChrome) + "\\lockfile", Lock::kInUse);
                }
                for (const std::string& lock : world.files.Tree(kRoaming)) {
                    if (text::EndsWith(lock, "parent.lock")) world.files.SetLock(lock, Lock::kExclusive);
                }
            }
            const auto before = world.State();
            engine::DeleteTally previewed[2], cleaned[2];
            for (int b = 0; b < 2; ++b) previewed[b] = engine::PreviewTarget(world.ports, world.Settings(), b ? firefox : chrome);
            ASSERT_EQ(Differences(world.State(), before), std::vector<std::string>{}) << "the preview changed it";
            for (int b = 0; b < 2; ++b) {
                engine::CleanTargets()[b ? firefox : chrome].clean(world.ports, world.Settings(), cleaned[b], nullptr,
                                                                   engine::CleanMode::kClean);
                EXPECT_EQ(previewed[b].removedItems, cleaned[b].removedItems);
                EXPECT_EQ(previewed[b].removedBytes, cleaned[b].removedBytes);
                EXPECT_EQ(previewed[b].keptItems, cleaned[b].keptItems);
                EXPECT_EQ(previewed[b].skipped, cleaned[b].skipped);
            }
            // What stays: everything but what lay inside the emptied caches, which stay themselves.
            auto expected = before;
            const bool firefoxRuns = running && !world.files.Tree(kRoaming).empty();
            for (const std::string& cache : c.gone) {
                const bool ofChrome = text::StartsWith(cache, kChrome);
                if (running && ((ofChrome && c.chromeRuns) || (!ofChrome && firefoxRuns))) continue;
                std::erase_if(expected, [&](const auto& item) { return text::StartsWith(item.first, cache + "\\"); });
                EXPECT_EQ(world.files.Attributes(cache).value_or(0) & platform::kAttrDirectory, platform::kAttrDirectory)
                    << cache << " stays";
            }
            EXPECT_EQ(Differences(world.State(), expected), std::vector<std::string>{});
            std::vector<std::string> reasons = Reasons(cleaned[0]);
            const std::vector<std::string> firefoxReasons = Reasons(cleaned[1]);
            reasons.insert(reasons.end(), firefoxReasons.begin(), firefoxReasons.end());
            if (!running) {
                EXPECT_EQ(reasons, c.skipped);
            } else if (c.chromeRuns) {
                EXPECT_EQ(reasons.empty() ? "" : reasons.front(), "Chrome is running");
            }
            if (firefoxRuns) {
                EXPECT_EQ(firefoxReasons, (std::vector<std::string>{"Firefox profile abcd.default-release is in use",
                                                                     "Firefox profile wxyz.dev is in use"}));
            }
        }
    }
}

TEST(BrowserCaches, ProfileNames) {
    for (const char* name : {"Default", "Profile 1", "Profile 12", "Guest Profile", "default", "profile 3"}) {
        EXPECT_TRUE(engine::IsChromiumProfile(name)) << name;
    }
    for (const char* name : {"System Profile", "Profile", "Profile ", "Profile x", "Profile 1a", "Snapshots", "Crashpad"}) {
        EXPECT_FALSE(engine::IsChromiumProfile(name)) << name;
    }
}

}  // namespace

namespace {

// The unattended clean and preview of the new targets: each record line, the line for each
// place skipped, and the exit code.
TEST(BrowserCaches, TheRecordSaysWhatWasSkippedAndWhatTheBinHeldBeforeAndAfter) {
    struct Case {
        const char* what;
        const char* chosen;
        std::function<void(BrowserWorld&)> setUp;
        std::vector<std::string> cleanLines;
        int exitCode;
        std::vector<std::string> previewLines;
    };
    const std::string ud = kChrome;
    const Case cases[] = {
        {"Chrome runs", "Chrome Cache",
         [](BrowserWorld& w) {
             w.ChromeWithDefault();
             w.files.AddFile(std::string(kChrome) + "\\lockfile", "");
             w.files.SetLock(std::string(kChrome) + "\\lockfile", Lock::kInUse);
         },
         {"\r\nChrome Cache = Yes: skipped, Chrome is running\r\n", "\r\nSkipped: Chrome Cache, " + ud + ": Chrome is running\r\n",
          "Outcome: cleaned, not everything could be removed\r\n"},
         1,
         {"\r\nChrome Cache = Yes: skipped, Chrome is running\r\n"}},
        {"a Firefox profile in use", "Firefox Cache",
         [](BrowserWorld& w) {
             w.Firefox("a.default");
             w.Firefox("b.dev");
             w.files.SetLock(std::string(kRoaming) + "\\a.default\\parent.lock", Lock::kExclusive);
         },
         {"\r\nFirefox Cache = Yes, " + std::string(kFirefox) + ": 4 items removed, 14 bytes, 0 items left; 1 place skipped\r\n",
          "\r\nSkipped: Firefox Cache, " + std::string(kFirefox) + "\\a.default: Firefox profile a.default is in use\r\n"},
         1,
         {": would remove 4 items, 14 bytes; 1 place skipped\r\n"}},
        {"no Chrome", "Chrome Cache", [](BrowserWorld&) {},
         {"\r\nChrome Cache = Yes, " + ud + ": not there, nothing to clean\r\n", "Outcome: cleaned\r\n"}, 0, {}},
        {"the bin emptied", "Recycle Bin",
         [](BrowserWorld& w) {
             w.bin.Add("a.txt", 3);
             w.bin.Add("b.txt", 5);
         },
         {"\r\nRecycle Bin = Yes: held 2 items, 8 bytes, then 0 items, 0 bytes; 2 items removed, 8 bytes, 0 items left\r\n"},
         0,
         {"\r\nRecycle Bin = Yes: would remove 2 items, 8 bytes\r\n"}},
        {"a folder the shell leaves in the bin", "Recycle Bin",
         [](BrowserWorld& w) {
             w.bin.Add("a.txt", 3);
             w.bin.Add("folder", 0, true);
         },
         {"held 2 items, 3 bytes, then 1 item, 0 bytes; 1 item removed, 3 bytes, 1 item left\r\n",
          "  not removed by the shell: Recycle Bin: 1 item\r\n"},
         1,
         {}},
        {"a bin the shell cannot read", "Recycle Bin", [](BrowserWorld& w) { w.bin.unreadable = true; },
         {"\r\nRecycle Bin = Yes: could not be cleaned at all\r\n", "Refused: Recycle Bin could not be read by the shell\r\n"},
         1,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BrowserWorld world;
        world.files.AddFile("C:\\Apps\\Clean.ini", std::string("[Delete]\r\n") + c.chosen + "=Yes\r\n");
        c.setUp(world);
        EXPECT_EQ(engine::RunUnattendedPreview(world.ports), 0);
        const std::string preview = world.files.Content("C:\\Apps\\Morvane.log").value_or("");
        for (const std::string& line : c.previewLines) EXPECT_NE(preview.find(line), std::string::npos) << line << preview;
        world.files.Erase("C:\\Apps\\Morvane.log");
        world.env.commandArgs = "A";
        world.app.Get<app::MainWindow>();
        EXPECT_EQ(world.env.exitCode, c.exitCode);
        const std::string log = world.files.Content("C:\\Apps\\Morvane.log").value_or("");
        for (const std::string& line : c.cleanLines) EXPECT_NE(log.find(line), std::string::npos) << line << log;
    }
}

// A stop asked before the bin's turn leaves it as it was; the shell is never called.
TEST(BrowserCaches, AStopBeforeTheBinSkipsIt) {
    BrowserWorld world;
    world.bin.Add("a.txt", 3);
    engine::CleanProgress progress;
    progress.RequestStop();
    engine::DeleteTally tally;
    engine::CleanRecycleBin(world.bin, tally, &progress);
    EXPECT_TRUE(tally.stopped);
    EXPECT_EQ(world.bin.emptied, 0);
    EXPECT_EQ(world.bin.items.size(), 1u);
}

}  // namespace
