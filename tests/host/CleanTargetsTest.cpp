// The table of cleaning targets through the unattended clean and preview: a target that any reader of
// the table misses fails here; browsers' caches go and nothing else; the Recycle Bin's before and after.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/MainWindow.h"
#include "engine/CleanPreview.h"
#include "engine/KeepLists.h"
#include "screens/StartPage.h"
#include "screens/TargetsScreen.h"
#include "support/HeadlessWorld.h"

namespace {

using Lock = fake::FakeFileSystem::Lock;
constexpr const char* kIni = "C:\\Apps\\Clean.ini";

struct World : testing_support::HeadlessWorld {
    explicit World(const std::string& chosen) {
        env.programFolder = "C:\\Apps";
        env.SetVariable("Temp", "C:\\Temp");
        env.SetVariable("LOCALAPPDATA", "C:\\Local");
        env.SetVariable("APPDATA", "C:\\Roaming");
        files.AddFile(kIni, "[User]\r\nsFile0=C:\\Mine\r\n[Delete]\r\n" + chosen);
    }
    // A profile as a browser leaves it: caches beside the user's own files.
    void Profile(const std::string& path, std::initializer_list<const char*> caches) {
        for (const char* cache : caches) files.AddFile(path + "\\" + cache + "\\data\\f_1", cache);
        for (const char* own : {"Cookies", "Login Data", "places.sqlite"}) files.AddFile(path + "\\" + own, path + own);
    }
    std::map<std::string, std::string> State() {
        std::map<std::string, std::string> state;
        for (const std::string& path : files.Tree("C:\\")) state[path] = files.Content(path).value_or("(folder)");
        return state;
    }
    // Morvane.exe with these arguments ("A", "preview"): the record it leaves, which goes.
    std::string Run(const std::string& arguments) {
        env.commandArgs = arguments;
        env.exitCode.reset();
        app.Get<app::MainWindow>();  // ends at once: the record written, the exit code set
        app.Unload<app::MainWindow>();
        const std::string log = files.Content("C:\\Apps\\Morvane.log").value_or("");
        files.Erase("C:\\Apps\\Morvane.log");
        return log;
    }
};

// The word after the marker in a record: "36" of "In all: would remove 36 items".
std::string After(const std::string& record, const std::string& marker) {
    const std::size_t at = record.find(marker) + marker.size();
    return at < marker.size() ? "(none)" : record.substr(at, record.find(' ', at) - at);
}

// What each target cleans: a file of 5 bytes where it cleans, or an entry of the cache or the bin.
const std::map<std::string_view, std::string> kPlaced = {
    {"User", "C:\\Mine\\m.txt"},
    {"Temp", "C:\\Temp\\t.tmp"},
    {"Temporary Internet Files", "(the entry http://gone/)"},
    {"Chrome Cache", "C:\\Local\\Google\\Chrome\\User Data\\Default\\Cache\\f_1"},
    {"Edge Cache", "C:\\Local\\Microsoft\\Edge\\User Data\\Profile 1\\Code Cache\\f"},
    {"Brave Cache", "C:\\Local\\BraveSoftware\\Brave-Browser\\User Data\\ShaderCache\\f"},
    {"Firefox Cache", "C:\\Local\\Mozilla\\Firefox\\Profiles\\x.default\\startupCache\\f"},
    {"Recycle Bin", "(an item of the bin)"},
};

TEST(CleanTargets, EveryTargetReachesEveryReader) {
    const auto targets = engine::CleanTargets();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::string label(targets[i].label), key(targets[i].key);
        SCOPED_TRACE(label);
        ASSERT_TRUE(kPlaced.count(key)) << "a target this test puts nothing in place for";
        const std::string& placed = kPlaced.at(key);
        World world(key + "=Yes\r\n");
        world.cache.Add("http://gone/", platform::kNormalCacheEntry, 5), world.bin.Add("deleted.txt", 5);
        if (placed.starts_with("C:")) world.files.AddFile(placed, "12345");
        EXPECT_EQ(After(world.Run("preview"), "would remove "), "1");
        EXPECT_TRUE(world.Run("A").find(": 1 item removed, 5 bytes") != std::string::npos && world.env.exitCode == 0);
        EXPECT_FALSE(key == "Recycle Bin"                ? !world.bin.items.empty()
                     : key == "Temporary Internet Files" ? world.cache.Has("http://gone/")
                                                         : world.files.Exists(placed))
            << "the clean did not reach it";
        engine::SaveInternetKeepList(world.ports, {"http://kept/"});
        EXPECT_EQ(settings::ReadINI(world.ports, kIni, "Delete", key), "Yes") << "the keep-list writer dropped it";

        World resident(key + "=No\r\n");  // set up, even as "No": no first run
        resident.app.Get<app::MainWindow>();
        EXPECT_FALSE(resident.app.Exists<screens::StartPage>()) << "taken for a first run";
        resident.desktop.besideOnThread = true;  // the screen works its amounts out beside the windows
        screens::TargetsScreen& screen = resident.app.Load<screens::TargetsScreen>();
        EXPECT_EQ(screen.boxes.at(i)->Caption(), label);
        screen.boxes[i]->OnCheckedByUser(true);
        EXPECT_EQ(settings::ReadINI(resident.ports, kIni, "Delete", key), "Yes");
        resident.app.Unload(screen);  // gives the work up, which ends without it
        resident.desktop.FinishBeside();
    }
}

// Each layout, not running and running: the preview changes nothing and counts what the clean then
// removes; afterwards everything is as it was but for the contents of the caches that went.
TEST(BrowserCaches, EmptyTheCachesOfEveryProfileAndNothingElse) {
    struct Case {  // when nothing runs: the folders whose caches go, a line of the record, the exit code
        const char* layout;
        std::function<void(World&)> setUp;
        std::vector<std::string> emptied;
        std::string line;
        int exitCode;
    };
    const std::string ud = "C:\\Local\\Google\\Chrome\\User Data", ff = "C:\\Local\\Mozilla\\Firefox\\Profiles";
    const auto chrome = [&](World& w, std::initializer_list<const char*> profiles) {
        w.Profile(ud, {"ShaderCache", "GrShaderCache"});
        for (const char* profile : profiles) w.Profile(ud + "\\" + profile, {"Cache", "Code Cache", "GPUCache", "DawnWebGPUCache"});
    };
    const Case cases[] = {
        {"Default, Profile 3, Guest Profile, System Profile, folders that are no profile; a browser that ended",
         [&](World& w) {
             chrome(w, {"Default", "Profile 3", "Guest Profile", "System Profile", "Snapshots", "Profile x"});
             w.files.AddFile(ud + "\\lockfile");
         },
         {ud, ud + "\\Default", ud + "\\Profile 3", ud + "\\Guest Profile"}, "Chrome Cache = Yes, " + ud + ": 28 items", 0},
        {"a profile that is a link, a cache folder that is a junction",
         [&](World& w) {
             chrome(w, {"Default"});
             w.Profile("C:\\Elsewhere\\P", {"Cache"});
             w.files.AddLink(ud + "\\Profile 1", "C:\\Elsewhere\\P");
             w.files.Erase(ud + "\\Default\\GPUCache");
             w.files.AddFile("C:\\Elsewhere\\Documents\\thesis.doc", "years of work");
             w.files.AddLink(ud + "\\Default\\GPUCache", "C:\\Elsewhere\\Documents");
         },
         {ud, ud + "\\Default"}, ": 10 items removed, 54 bytes, 0 items left; 2 places skipped\r\n", 1},
        {"Firefox profiles, no Chrome",
         [&](World& w) {
             for (const char* name : {"a.default", "b.dev"}) {
                 w.Profile(ff + "\\" + name, {"cache2", "startupCache", "jumpListCache"});
                 w.files.AddFile("C:\\Roaming\\Mozilla\\Firefox\\Profiles\\" + std::string(name) + "\\parent.lock");
             }
         },
         {ff + "\\a.default", ff + "\\b.dev"}, "\r\nChrome Cache = Yes, " + ud + ": not there, nothing to clean\r\n", 0},
    };
    for (const Case& c : cases) {
        for (const bool running : {false, true}) {
            SCOPED_TRACE(std::string(c.layout) + (running ? ", running" : ""));
            World world("Chrome Cache=Yes\r\nFirefox Cache=Yes\r\n");
            c.setUp(world);
            if (running) {  // Chromium's lockfile: deletion not shared; Firefox's parent.lock: nothing shared
                world.files.AddFile(ud + "\\lockfile");
                world.files.SetLock(ud + "\\lockfile", Lock::kInUse);
                for (const std::string& lock : world.files.Tree("C:\\Roaming")) world.files.SetLock(lock, Lock::kExclusive);
            }
            auto expected = world.State();
            const std::string preview = world.Run("preview");
            const std::optional<int> previewCode = world.env.exitCode;
            EXPECT_EQ(world.State(), expected) << "the preview changed something";
            const std::string log = world.Run("A");
            for (const std::string& folder : running ? std::vector<std::string>{} : c.emptied) {
                for (const char* cache : {"Cache", "Code Cache", "GPUCache", "DawnWebGPUCache", "ShaderCache", "GrShaderCache",
                                          "cache2", "startupCache", "jumpListCache"}) {
                    std::erase_if(expected, [&](const auto& item) { return item.first.starts_with(folder + "\\" + cache + "\\"); });
                }
            }
            EXPECT_EQ(world.State(), expected);
            EXPECT_EQ(After(preview, "In all: would remove "), After(log, "In all: "));
            EXPECT_NE(log.find(running ? "\r\nChrome Cache = Yes: skipped, Chrome is running\r\n" : c.line), std::string::npos) << log;
            EXPECT_EQ(world.env.exitCode, running ? 1 : c.exitCode);
            EXPECT_EQ(previewCode, world.env.exitCode) << "the preview ends as the clean does";
        }
    }
}

// The Recycle Bin through the shell alone (emptied for real under Wine in e2e_browsers_tests): what
// it held before and after when the shell leaves something, as Wine's leaves a deleted folder.
TEST(BrowserCaches, TheRecycleBinSaysWhatItHeldBeforeAndAfter) {
    World world("Recycle Bin=Yes\r\n");
    world.bin.items = {{"a.txt", 3}, {"folder", 0, true}};
    EXPECT_EQ(After(world.Run("preview"), "In all: would remove "), "2");
    EXPECT_NE(world.Run("A").find("Recycle Bin = Yes: held 2 items, 3 bytes, then 1 item, 0 bytes; 1 item removed, 3 "
                                  "bytes, 1 item left\r\nIn all: 1 item removed, 3 bytes; 1 item left\r\nOutcome: cleaned, "
                                  "not everything could be removed\r\nLeft in place (1 of 1):\r\n  not removed by the "
                                  "shell: Recycle Bin: 1 item\r\n"),
              std::string::npos);
    EXPECT_EQ(world.env.exitCode, 1);
}

}  // namespace
