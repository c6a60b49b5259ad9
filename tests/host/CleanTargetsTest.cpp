// The table of cleaning targets is the only source: every target of it reaches everything that
// names targets. A target added to the table and missed by any of them fails here.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/MainWindow.h"
#include "engine/CleanPreview.h"
#include "engine/CleanTargets.h"
#include "engine/KeepLists.h"
#include "engine/RecycleBinClean.h"
#include "screens/PreviewLine.h"
#include "screens/StartPage.h"
#include "screens/TargetsScreen.h"
#include "settings/SettingsFile.h"
#include "support/HeadlessWorld.h"

namespace {

using testing_support::HeadlessWorld;

constexpr const char* kIni = "C:\\Apps\\Clean.ini";

struct TargetWorld : HeadlessWorld {
    TargetWorld() {
        env.programFolder = "C:\\Apps";
        files.AddFile("C:\\Apps\\Morvane.exe");
        env.SetVariable("Temp", "C:\\Temp");
        env.SetVariable("LOCALAPPDATA", "C:\\Local");
        env.SetVariable("APPDATA", "C:\\Roaming");
        folders.SetFolder(36, "C:\\Windows");
        files.AddFolder("C:\\Windows");
    }
    void Choose(std::string_view key, const char* value) {
        files.AddFile(kIni, "[User]\r\nsFile0=C:\\Mine\r\n[Delete]\r\n" + std::string(key) + "=" + value +
                                "\r\n[Internet]\r\nsFile0=http://kept/\r\n");
    }
    std::string Log() { return files.Content("C:\\Apps\\Morvane.log").value_or(""); }
};

// What each target cleans, put in place for it, and whether it is still there: one row per
// target of the table.
struct Seed {
    std::function<void(TargetWorld&)> put;
    std::function<bool(TargetWorld&)> there;
};

Seed FileAt(std::string path) {
    return {[path](TargetWorld& w) { w.files.AddFile(path, "12345"); },
            [path](TargetWorld& w) { return w.files.Exists(path); }};
}

const std::map<std::string_view, Seed>& Seeds() {
    static const std::map<std::string_view, Seed> seeds = {
        {"User", FileAt("C:\\Mine\\m.txt")},
        {"Temp", FileAt("C:\\Temp\\t.tmp")},
        {"Temporary Internet Files",
         {[](TargetWorld& w) { w.cache.Add("http://gone/", platform::kNormalCacheEntry, 5); },
          [](TargetWorld& w) { return w.cache.Has("http://gone/"); }}},
        {"Chrome Cache", FileAt("C:\\Local\\Google\\Chrome\\User Data\\Default\\Cache\\f_1")},
        {"Edge Cache", FileAt("C:\\Local\\Microsoft\\Edge\\User Data\\Profile 1\\Code Cache\\f")},
        {"Brave Cache", FileAt("C:\\Local\\BraveSoftware\\Brave-Browser\\User Data\\ShaderCache\\f")},
        {"Firefox Cache", FileAt("C:\\Local\\Mozilla\\Firefox\\Profiles\\x.default\\startupCache\\f")},
        {"Recycle Bin",
         {[](TargetWorld& w) { w.bin.Add("deleted.txt", 5); }, [](TargetWorld& w) { return !w.bin.items.empty(); }}},
    };
    return seeds;
}

TEST(CleanTargets, EveryTargetReachesEveryReader) {
    const auto targets = engine::CleanTargets();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const engine::CleanTarget& target = targets[i];
        SCOPED_TRACE(target.label);
        const auto seed = Seeds().find(target.key);
        ASSERT_NE(seed, Seeds().end()) << "a target that no test puts anything in place for";
        const std::string label(target.label);

        // The preview and its line, the unattended preview's record, then the unattended clean.
        TargetWorld world;
        world.Choose(target.key, "Yes");
        seed->second.put(world);
        const engine::CleanSettings settings =
            engine::CleanSettings::Read(settings::IniSnapshot(world.ports, kIni), world.env);
        EXPECT_NE(screens::PreviewText(engine::PreviewClean(world.ports, settings)).find(std::string(target.shortName) + " 1"),
                  std::string::npos);
        EXPECT_EQ(engine::RunUnattendedPreview(world.ports), 0);
        EXPECT_NE(world.Log().find(label + " = Yes"), std::string::npos) << world.Log();
        EXPECT_NE(world.Log().find("would remove 1 "), std::string::npos) << world.Log();
        world.env.commandArgs = "A";
        world.app.Get<app::MainWindow>();
        EXPECT_EQ(world.env.exitCode, 0) << world.Log();
        EXPECT_FALSE(seed->second.there(world)) << "the clean did not reach it";
        EXPECT_NE(world.Log().find(": 1 item removed, 5 bytes"), std::string::npos) << world.Log();

        // The keep-list writer carries it over.
        engine::SaveInternetKeepList(world.ports, {"http://kept/"});
        EXPECT_EQ(settings::ReadINI(world.ports, kIni, "Delete", std::string(target.key)), "Yes");

        // Set up (even as "No") it is no first run; and the screen of every target has its box.
        TargetWorld resident;
        resident.Choose(target.key, "No");
        resident.app.Get<app::MainWindow>();
        EXPECT_FALSE(resident.app.Exists<screens::StartPage>()) << "taken for a first run";
        screens::TargetsScreen& screen = resident.app.Load<screens::TargetsScreen>();
        ASSERT_EQ(screen.boxes.size(), targets.size());
        EXPECT_EQ(screen.boxes[i]->Caption(), label);
        EXPECT_EQ(screen.boxes[i]->Value(), 0);
        screen.boxes[i]->OnCheckedByUser(true);
        EXPECT_EQ(settings::ReadINI(resident.ports, kIni, "Delete", std::string(target.key)), "Yes");
    }
}

}  // namespace
